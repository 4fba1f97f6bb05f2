#pragma once
// A WebDAV client for one sync: PROPFIND, GET, PUT with If-Match or
// If-None-Match, MKCOL. Each call waits for its answer in a local event
// loop, so it is made on a worker thread, never on the window's thread;
// every request has a time limit, and Cancel() (from any thread) ends the
// one under way.
//
// The password goes only into the Authorization header of requests to the
// server; it is never part of a URL, a message or a log. Redirects are
// followed only within the same server (scheme, host and port), so the
// password never reaches a server the learner did not name.

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QNetworkReply>
#include <QString>
#include <QUrl>
#include <atomic>
#include <memory>

class QNetworkAccessManager;

struct DavReply {
    int status = 0;  // HTTP status; 0 when no answer came
    QNetworkReply::NetworkError error = QNetworkReply::NoError;
    bool timedOut = false;
    bool cancelled = false;
    bool tlsFailed = false;
    // The server sent the request to another server (scheme, host or
    // port), which is not followed: the password would go along.
    bool redirectRefused = false;
    QString redirectTarget;
    QByteArray body;
    QString etag;  // the ETag header, if any
    QUrl url;      // what answered: the request's, or where it was redirected

    bool ok() const { return status >= 200 && status < 300 && !cancelled && !timedOut; }
};

struct DavEntry {
    QString name;  // last path segment, decoded; empty for the listed folder itself
    bool folder = false;
    qint64 size = 0;
    QString etag;
    QDateTime modified;
};

class WebDavClient {
public:
    WebDavClient(QString account, QString password, int timeoutMs);
    ~WebDavClient();
    WebDavClient(const WebDavClient&) = delete;
    WebDavClient& operator=(const WebDavClient&) = delete;

    DavReply Propfind(const QUrl& url, int depth);
    DavReply Get(const QUrl& url);
    // ifMatch empty: only when the server has no such file (If-None-Match: *).
    DavReply Put(const QUrl& url, const QByteArray& bytes, const QString& ifMatch);
    // Unconditional, for the small notes the sync keeps beside the files.
    DavReply PutAlways(const QUrl& url, const QByteArray& bytes);
    DavReply Mkcol(const QUrl& url);

    // Ends the request under way and refuses the next ones.
    void Cancel() { cancelled_ = true; }
    bool Cancelled() const { return cancelled_; }

    // The entries of a PROPFIND answer (a 207 multistatus body). `listed` is
    // the URL that was listed: its own entry gets an empty name.
    static QList<DavEntry> ParseMultistatus(const QByteArray& body, const QUrl& listed);

private:
    DavReply Send(const QByteArray& verb, const QUrl& url, const QByteArray& body,
                  const QList<QPair<QByteArray, QByteArray>>& headers);
    DavReply SendOnce(const QByteArray& verb, const QUrl& url, const QByteArray& body,
                      const QList<QPair<QByteArray, QByteArray>>& headers);

    QByteArray authorization_;
    int timeoutMs_;
    std::atomic<bool> cancelled_{false};
    std::unique_ptr<QNetworkAccessManager> network_;
};

// What the learner is told about a request that failed (GBK), naming what
// was being done ("读取服务器上的文件列表" ...).
std::string DavFailureText(const DavReply& reply, const std::string& gbkDoing);
