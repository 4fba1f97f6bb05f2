#pragma once
// A real Apache httpd with mod_dav, started by the test as its own process
// on 127.0.0.1 at a free port, with a configuration written into a
// temporary folder, and stopped by its process id when the object goes
// (also when the test fails).
//
//   /dav/   WebDAV with basic authentication (account "learner", password
//           "app-secret")
//   /full/  the same, but every upload is answered 507 (quota full)
//   /slow/  the same folder as /dav/, sent at 64 KiB a second, so that a
//           test can stop the server while a download is under way
//   /moved/      answered 307 to /dav/ of the same server
//   /elsewhere/  answered 307 to /dav/ on the server's second port
//
// With Tls::On the server speaks https only, with a certificate for
// 127.0.0.1 signed by an authority the object makes (openssl); a client
// trusts it only when the test adds CaCertificateFile() to its trusted
// authorities.

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>

class ApacheDav {
public:
    static constexpr const char* kAccount = "learner";
    static constexpr const char* kPassword = "app-secret";

    enum class Tls { Off, On };
    explicit ApacheDav(Tls tls = Tls::Off);
    ~ApacheDav();
    ApacheDav(const ApacheDav&) = delete;
    ApacheDav& operator=(const ApacheDav&) = delete;

    // Starts the server and waits until it answers; false (with the reason
    // in Error()) when it does not come up.
    bool Start();
    void Stop();
    bool Running() const;
    QString Error() const { return error_; }

    // "http://127.0.0.1:PORT/dav/" and friends ("https://" with Tls::On);
    // `host` names the same server otherwise ("localhost").
    QString Address(const char* location = "dav", const char* host = "127.0.0.1") const;
    // The authority that signed the server's certificate (PEM), with Tls::On.
    QString CaCertificateFile() const;
    // Requests the server's second port received (those of /elsewhere/'s
    // redirect), one "METHOD PATH STATUS" each.
    QStringList RequestsOnSecondPort() const;
    // The folder the server keeps the files of /dav/ in.
    QString Root() const;

private:
    bool MakeCertificates();

    QTemporaryDir dir_;
    QProcess process_;
    bool tls_ = false;
    int port_ = 0;
    int secondPort_ = 0;
    QString error_;
};

// While it lives, this test process (and only it) trusts the authority in
// `pemFile` for https, besides the system's; the program itself has no
// switch that weakens the certificate check.
class TrustedAuthority {
public:
    explicit TrustedAuthority(const QString& pemFile);
    ~TrustedAuthority();
    TrustedAuthority(const TrustedAuthority&) = delete;
    TrustedAuthority& operator=(const TrustedAuthority&) = delete;
    bool Added() const { return added_; }

private:
    bool added_ = false;
};
