#include "support/apache_dav.h"

#include <grp.h>
#include <pwd.h>
#include <signal.h>
#include <unistd.h>
#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

namespace {

int FreePort() {
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0)) return 0;
    return probe.serverPort();
}

bool WriteText(const QString& path, const QByteArray& text) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text) == text.size();
}

QString ModuleFolder() {
    for (const char* folder : {"/usr/lib/apache2/modules", "/usr/lib64/httpd/modules", "/usr/lib/httpd/modules"}) {
        if (QFile::exists(QString(folder) + "/mod_dav.so")) return folder;
    }
    return "/usr/lib/apache2/modules";
}

QString ApacheBinary() {
    for (const char* name : {"apache2", "httpd"}) {
        QString found = QStandardPaths::findExecutable(name, {"/usr/sbin", "/usr/local/sbin"});
        if (found.isEmpty()) found = QStandardPaths::findExecutable(name);
        if (!found.isEmpty()) return found;
    }
    return QString();
}

}  // namespace

ApacheDav::ApacheDav(Tls tls) : tls_(tls == Tls::On) { dir_.setAutoRemove(true); }

ApacheDav::~ApacheDav() { Stop(); }

QString ApacheDav::Root() const { return dir_.path() + "/files"; }

QString ApacheDav::Address(const char* location, const char* host) const {
    return QString("%1://%2:%3/%4/").arg(tls_ ? "https" : "http", host).arg(port_).arg(location);
}

QString ApacheDav::CaCertificateFile() const { return dir_.path() + "/tls/ca.pem"; }

QStringList ApacheDav::RequestsOnSecondPort() const {
    QFile log(dir_.path() + "/logs/access.log");
    QStringList requests;
    if (!log.open(QIODevice::ReadOnly)) return requests;
    const QString prefix = QString::number(secondPort_) + " ";
    for (const QString& line : QString::fromUtf8(log.readAll()).split('\n'))
        if (line.startsWith(prefix)) requests << line.mid(prefix.size());
    return requests;
}

// An authority and a certificate for 127.0.0.1 signed by it, both for a day.
bool ApacheDav::MakeCertificates() {
    const QString openssl = QStandardPaths::findExecutable("openssl");
    if (openssl.isEmpty()) {
        error_ = "openssl is not installed (scripts/install-deps.sh installs it)";
        return false;
    }
    const QString tls = dir_.path() + "/tls";
    QDir().mkpath(tls);
    if (!WriteText(tls + "/server.ext",
                   "basicConstraints=CA:FALSE\nkeyUsage=digitalSignature,keyEncipherment\n"
                   "extendedKeyUsage=serverAuth\nsubjectAltName=IP:127.0.0.1\n"))
        return false;
    const QList<QStringList> steps = {
        {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "1", "-subj", "/CN=Lexilark test authority",
         "-keyout", tls + "/ca.key", "-out", tls + "/ca.pem"},
        {"req", "-newkey", "rsa:2048", "-nodes", "-subj", "/CN=127.0.0.1", "-keyout", tls + "/server.key", "-out",
         tls + "/server.csr"},
        {"x509", "-req", "-in", tls + "/server.csr", "-CA", tls + "/ca.pem", "-CAkey", tls + "/ca.key",
         "-CAcreateserial", "-days", "1", "-extfile", tls + "/server.ext", "-out", tls + "/server.pem"},
    };
    for (const QStringList& step : steps) {
        QProcess run;
        run.setProcessChannelMode(QProcess::MergedChannels);
        run.start(openssl, step);
        if (!run.waitForFinished(30000) || run.exitStatus() != QProcess::NormalExit || run.exitCode() != 0) {
            error_ = "openssl " + step.front() + " failed: " + QString::fromUtf8(run.readAll());
            return false;
        }
    }
    if (geteuid() == 0) {
        for (const char* file : {"/server.key", "/server.pem"})
            QFile::setPermissions(tls + file, QFileDevice::Permissions(0x6000));
    }
    return true;
}

bool ApacheDav::Running() const { return process_.state() == QProcess::Running; }

bool ApacheDav::Start() {
    const QString binary = ApacheBinary();
    if (binary.isEmpty()) {
        error_ = "apache2 is not installed (scripts/install-deps.sh installs it)";
        return false;
    }
    const QString base = dir_.path();
    for (const char* sub : {"files", "full", "locks", "logs"}) QDir(base).mkpath(sub);
    // Run as root, Apache hands its work to an unprivileged account, which
    // must be able to write the served folders.
    const bool root = geteuid() == 0;
    if (root) {
        for (const QString& path : {base, base + "/files", base + "/full", base + "/locks", base + "/logs"}) {
            QFile::setPermissions(path, QFileDevice::Permissions(0x7777));
        }
    }
    if (tls_ && !QFile::exists(base + "/tls/server.pem") && !MakeCertificates()) return false;
    const QByteArray hash = QCryptographicHash::hash(kPassword, QCryptographicHash::Sha1).toBase64();
    WriteText(base + "/users", QByteArray(kAccount) + ":{SHA}" + hash + "\n");
    if (root) QFile::setPermissions(base + "/users", QFileDevice::Permissions(0x4444));

    const QString modules = ModuleFolder();
    QByteArray config;
    const auto line = [&config](const QString& text) { config += text.toUtf8() + "\n"; };
    line("ServerRoot " + base);
    line("ServerName 127.0.0.1");
    if (!port_) port_ = FreePort();
    while (!secondPort_ || secondPort_ == port_) secondPort_ = FreePort();
    line(QString("Listen 127.0.0.1:%1").arg(port_));
    line(QString("Listen 127.0.0.1:%1").arg(secondPort_));
    for (const char* module : {"mpm_event", "authn_core", "authn_file", "authz_core", "authz_user", "auth_basic", "dav",
                               "dav_fs", "rewrite", "alias", "ratelimit", "filter", "env", "ssl", "socache_shmcb"}) {
        const QString file = QString("%1/mod_%2.so").arg(modules, module);
        if (QFile::exists(file)) line(QString("LoadModule %1_module %2").arg(module, file));
    }
    if (root) {
        const passwd* nobody = getpwnam("nobody");
        const group* nogroup = getgrnam("nogroup");
        line(QString("User %1").arg(nobody ? "nobody" : "daemon"));
        line(QString("Group %1").arg(nogroup ? "nogroup" : "nobody"));
    }
    line("PidFile " + base + "/httpd.pid");
    line("ErrorLog " + base + "/logs/error.log");
    line("DavLockDB " + base + "/locks/DavLock");
    line("LimitRequestBody 0");
    line("LogFormat \"%p %m %U %>s\" lexilark");
    line("CustomLog " + base + "/logs/access.log lexilark");
    if (tls_) {
        line("SSLEngine on");
        line("SSLCertificateFile " + base + "/tls/server.pem");
        line("SSLCertificateKeyFile " + base + "/tls/server.key");
    }
    line("Redirect 307 /moved /dav");
    line(QString("Redirect 307 /elsewhere %1://127.0.0.1:%2/dav").arg(tls_ ? "https" : "http").arg(secondPort_));
    const auto davFolder = [&](const QString& urlPath, const QString& folder, const QString& extra) {
        line("Alias /" + urlPath + " " + folder);
        line("<Directory " + folder + ">");
        line("  Dav On");
        line("  AuthType Basic");
        line("  AuthName lexilark-test");
        line("  AuthUserFile " + base + "/users");
        line("  Require valid-user");
        line(extra);
        line("</Directory>");
    };
    davFolder("dav", base + "/files", "");
    davFolder("full", base + "/full",
              "  RewriteEngine On\n  RewriteCond %{REQUEST_METHOD} =PUT\n  RewriteRule .* - [R=507,L]");
    line("Alias /slow " + base + "/files");
    line("<Location /slow>");
    line("  Dav On");
    line("  AuthType Basic");
    line("  AuthName lexilark-test");
    line("  AuthUserFile " + base + "/users");
    line("  Require valid-user");
    line("  SetOutputFilter RATE_LIMIT");
    line("  SetEnv rate-limit 64");
    line("</Location>");
    WriteText(base + "/httpd.conf", config);

    process_.setProcessChannelMode(QProcess::MergedChannels);
    process_.start(binary, {"-f", base + "/httpd.conf", "-d", base, "-DFOREGROUND"});
    if (!process_.waitForStarted(10000)) {
        error_ = "apache2 did not start: " + process_.errorString();
        return false;
    }
    const QDeadlineTimer deadline(15000);
    while (!deadline.hasExpired()) {
        if (process_.state() != QProcess::Running) break;
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port_));
        if (socket.waitForConnected(200)) return true;
        QThread::msleep(50);
    }
    QFile log(base + "/logs/error.log");
    log.open(QIODevice::ReadOnly);
    error_ = "apache2 did not answer: " + QString::fromUtf8(process_.readAll()) + QString::fromUtf8(log.readAll());
    Stop();
    return false;
}

void ApacheDav::Stop() {
    if (process_.state() == QProcess::NotRunning) return;
    const qint64 pid = process_.processId();
    if (pid > 0) ::kill(static_cast<pid_t>(pid), SIGTERM);
    if (!process_.waitForFinished(10000)) {
        process_.kill();
        process_.waitForFinished(5000);
    }
}

TrustedAuthority::TrustedAuthority(const QString& pemFile) {
    QSslConfiguration trusting = QSslConfiguration::defaultConfiguration();
    const QList<QSslCertificate> authorities = QSslCertificate::fromPath(pemFile);
    added_ = !authorities.isEmpty();
    trusting.addCaCertificates(authorities);
    QSslConfiguration::setDefaultConfiguration(trusting);
}

TrustedAuthority::~TrustedAuthority() {
    // Back to the system's authorities alone.
    QSslConfiguration plain = QSslConfiguration::defaultConfiguration();
    plain.setCaCertificates(QSslConfiguration::systemCaCertificates());
    QSslConfiguration::setDefaultConfiguration(plain);
}
