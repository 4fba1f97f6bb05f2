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

#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <QUrl>

class ApacheDav {
public:
    static constexpr const char* kAccount = "learner";
    static constexpr const char* kPassword = "app-secret";

    ApacheDav();
    ~ApacheDav();
    ApacheDav(const ApacheDav&) = delete;
    ApacheDav& operator=(const ApacheDav&) = delete;

    // Starts the server and waits until it answers; false (with the reason
    // in Error()) when it does not come up.
    bool Start();
    void Stop();
    bool Running() const;
    QString Error() const { return error_; }

    // "http://127.0.0.1:PORT/dav/" and friends.
    QString Address(const char* location = "dav") const;
    // The folder the server keeps the files of /dav/ in.
    QString Root() const;

private:
    QTemporaryDir dir_;
    QProcess process_;
    int port_ = 0;
    QString error_;
};
