#include "platform/webdavclient.h"

#include <QBuffer>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkRequest>
#include <QSslError>
#include <QTimer>
#include <QXmlStreamReader>

#include "core/gbktext.h"

namespace {

constexpr int kCancelPollMs = 50;
constexpr int kMaxRedirects = 5;

bool SameOrigin(const QUrl& a, const QUrl& b) {
    const auto defaultPort = [](const QUrl& url) { return url.scheme().toLower() == "https" ? 443 : 80; };
    return a.scheme().compare(b.scheme(), Qt::CaseInsensitive) == 0 &&
           a.host().compare(b.host(), Qt::CaseInsensitive) == 0 && a.port(defaultPort(a)) == b.port(defaultPort(b));
}

QString LastSegment(const QString& path) {
    QString trimmed = path;
    while (trimmed.endsWith('/')) trimmed.chop(1);
    return trimmed.mid(trimmed.lastIndexOf('/') + 1);
}

QString NormalisedPath(const QString& path) {
    QString p = QUrl::fromPercentEncoding(path.toUtf8());
    while (p.endsWith('/')) p.chop(1);
    return p;
}

}  // namespace

WebDavClient::WebDavClient(QString account, QString password, int timeoutMs)
    : authorization_("Basic " + (account + ":" + password).toUtf8().toBase64()),
      timeoutMs_(timeoutMs),
      network_(std::make_unique<QNetworkAccessManager>()) {
    // Credentials go with every request; a 401 is then an answer, not a
    // question (no dialog, no retry with other credentials).
    network_->setAutoDeleteReplies(false);
}

WebDavClient::~WebDavClient() = default;

DavReply WebDavClient::Send(const QByteArray& verb, const QUrl& url, const QByteArray& body,
                            const QList<QPair<QByteArray, QByteArray>>& headers) {
    // Redirects are followed here, the same request again, and only within
    // the same server: elsewhere the password would go along.
    QUrl target = url;
    for (int hop = 0;; ++hop) {
        DavReply reply = SendOnce(verb, target, body, headers);
        if (!reply.redirectRefused) return reply;
        const QUrl next = target.resolved(QUrl(reply.redirectTarget));
        if (hop >= kMaxRedirects || !next.isValid() || !SameOrigin(next, target)) {
            reply.redirectTarget = next.toString(QUrl::RemoveUserInfo | QUrl::RemoveQuery | QUrl::RemoveFragment);
            return reply;
        }
        target = next;
    }
}

DavReply WebDavClient::SendOnce(const QByteArray& verb, const QUrl& url, const QByteArray& body,
                                const QList<QPair<QByteArray, QByteArray>>& headers) {
    DavReply result;
    if (cancelled_) {
        result.cancelled = true;
        return result;
    }
    QNetworkRequest request(url);
    request.setRawHeader("Authorization", authorization_);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setTransferTimeout(timeoutMs_);
    for (const auto& [name, value] : headers) request.setRawHeader(name, value);

    auto* buffer = new QBuffer;
    buffer->setData(body);
    buffer->open(QIODevice::ReadOnly);
    QNetworkReply* reply = network_->sendCustomRequest(request, verb, buffer);
    buffer->setParent(reply);

    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QObject::connect(reply, &QNetworkReply::sslErrors, reply, [&result](const QList<QSslError>&) {
        // The certificate is checked; a failure is reported, never ignored.
        result.tlsFailed = true;
    });
    QTimer poll;
    poll.setInterval(kCancelPollMs);
    QObject::connect(&poll, &QTimer::timeout, reply, [this, reply] {
        if (cancelled_) reply->abort();
    });
    poll.start();
    if (!reply->isFinished()) loop.exec();
    poll.stop();

    result.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    result.error = reply->error();
    result.body = reply->readAll();
    result.etag = QString::fromLatin1(reply->rawHeader("ETag"));
    result.url = reply->url();
    if (result.error == QNetworkReply::OperationCanceledError) {
        if (cancelled_)
            result.cancelled = true;
        else
            result.timedOut = true;
    } else if (result.error == QNetworkReply::TimeoutError) {
        result.timedOut = true;
    } else if (result.error == QNetworkReply::SslHandshakeFailedError) {
        result.tlsFailed = true;
    }
    if (result.status >= 300 && result.status < 400 && reply->hasRawHeader("Location")) {
        // Not followed yet: Send() decides.
        result.redirectRefused = true;
        result.redirectTarget = QString::fromUtf8(reply->rawHeader("Location"));
    }
    // A body cut short by a dropped connection is no answer at all.
    if (result.error != QNetworkReply::NoError && result.status >= 200 && result.status < 300) result.status = 0;
    reply->deleteLater();
    return result;
}

DavReply WebDavClient::Propfind(const QUrl& url, int depth) {
    static const QByteArray kBody =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
        "<D:propfind xmlns:D=\"DAV:\"><D:prop><D:resourcetype/><D:getcontentlength/><D:getetag/>"
        "<D:getlastmodified/></D:prop></D:propfind>";
    return Send("PROPFIND", url, kBody,
                {{"Depth", QByteArray::number(depth)}, {"Content-Type", "application/xml; charset=utf-8"}});
}

DavReply WebDavClient::Get(const QUrl& url) { return Send("GET", url, {}, {}); }

DavReply WebDavClient::Put(const QUrl& url, const QByteArray& bytes, const QString& ifMatch) {
    QList<QPair<QByteArray, QByteArray>> headers = {{"Content-Type", "application/octet-stream"}};
    if (ifMatch.isEmpty()) {
        headers.append(qMakePair(QByteArray("If-None-Match"), QByteArray("*")));
    } else {
        // The weak mark only says the file is younger than the server's
        // clock tick; the tag itself is what must match.
        QString tag = ifMatch;
        if (tag.startsWith("W/")) tag = tag.mid(2);
        headers.append(qMakePair(QByteArray("If-Match"), tag.toLatin1()));
    }
    return Send("PUT", url, bytes, headers);
}

DavReply WebDavClient::PutAlways(const QUrl& url, const QByteArray& bytes) {
    return Send("PUT", url, bytes, {{"Content-Type", "text/plain; charset=utf-8"}});
}

DavReply WebDavClient::Mkcol(const QUrl& url) { return Send("MKCOL", url, {}, {}); }

QList<DavEntry> WebDavClient::ParseMultistatus(const QByteArray& body, const QUrl& listed) {
    QList<DavEntry> entries;
    const QString listedPath = NormalisedPath(listed.path(QUrl::FullyEncoded));
    QXmlStreamReader xml(body);
    DavEntry entry;
    QString href;
    bool inResponse = false;
    bool okStatus = true;
    while (!xml.atEnd()) {
        xml.readNext();
        const QStringView name = xml.name();
        if (xml.isStartElement()) {
            if (name == u"response") {
                inResponse = true;
                entry = DavEntry();
                href.clear();
                okStatus = true;
            } else if (!inResponse) {
                continue;
            } else if (name == u"href") {
                href = xml.readElementText().trimmed();
            } else if (name == u"collection") {
                entry.folder = true;
            } else if (name == u"getcontentlength") {
                entry.size = xml.readElementText().trimmed().toLongLong();
            } else if (name == u"getetag") {
                entry.etag = xml.readElementText().trimmed();
            } else if (name == u"getlastmodified") {
                entry.modified = QDateTime::fromString(xml.readElementText().trimmed(), Qt::RFC2822Date);
            } else if (name == u"status") {
                // A propstat of properties the server does not have.
                const QString status = xml.readElementText();
                if (!status.contains(" 200 ")) okStatus = okStatus && status.contains(" 404 ");
            }
        } else if (xml.isEndElement() && name == u"response" && inResponse) {
            inResponse = false;
            if (href.isEmpty() || !okStatus) continue;
            const QString path = NormalisedPath(QUrl(href).path(QUrl::FullyEncoded));
            entry.name = path == listedPath ? QString() : LastSegment(path);
            entries.append(entry);
        }
    }
    if (xml.hasError()) entries.clear();
    return entries;
}

std::string DavFailureText(const DavReply& reply, const std::string& gbkDoing) {
    const std::string nothing = Gbk("本机的文件没有改动。");
    if (reply.cancelled) return Gbk("同步已取消。") + nothing;
    if (reply.tlsFailed) {
        return Gbk("无法确认服务器的身份（证书有误或已过期），为保护密码没有连接。请检查服务器地址。") + nothing;
    }
    if (reply.redirectRefused) {
        std::string target = reply.redirectTarget.toStdString();
        return Gbk("服务器把请求转给了另一个地址（") + Gbk(target) +
               Gbk("），为保护密码没有跟过去。请在“同步”页填写网盘服务商给出的 WebDAV 地址。") + nothing;
    }
    if (reply.timedOut)
        return Gbk("服务器长时间没有回应（") + gbkDoing + Gbk("）。") + nothing +
               Gbk("可以照常学习，下次同步时再补上。");
    if (reply.status == 401 || reply.status == 403) {
        return Gbk("服务器拒绝了账号或密码（") + gbkDoing +
               Gbk("）。请在“同步”页检查账号和应用密码（坚果云要用“第三方应用管理”里生成的应用密码）。") + nothing;
    }
    if (reply.status == 507)
        return Gbk("服务器上的空间已满（") + gbkDoing + Gbk("）。请清理网盘空间后再同步。") + nothing;
    if (reply.status == 404 || reply.status == 405 || reply.status == 409) {
        return Gbk("服务器上没有这个地址（") + gbkDoing + Gbk("）。请检查服务器地址。") + nothing;
    }
    if (reply.status >= 500) {
        return Gbk("服务器出错（HTTP ") + std::to_string(reply.status) + Gbk("，") + gbkDoing +
               Gbk("），请稍后再同步。") + nothing;
    }
    if (reply.status == 0) {
        return Gbk("无法连接服务器（") + gbkDoing + Gbk("）。可以照常学习，有网络时再同步。") + nothing;
    }
    return Gbk("服务器的回答出乎意料（HTTP ") + std::to_string(reply.status) + Gbk("，") + gbkDoing + Gbk("）。") +
           nothing;
}
