#include "DavClient.h"

#include <QCoreApplication>
#include <QHostAddress>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace {

bool isLoopback(const QUrl& url) {
    const QString host = url.host();
    if (host.compare(QStringLiteral("localhost"), Qt::CaseInsensitive) == 0)
        return true;
    const QHostAddress a(host);
    return !a.isNull() && a.isLoopback();
}

} // namespace

DavClient::DavClient(QObject* parent) : QObject(parent), m_net(new QNetworkAccessManager(this)) {
    m_net->setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
}

void DavClient::setAccount(const QString& user, const QString& password, bool allowPlain) {
    m_user = user;
    m_password = password;
    m_allowPlain = allowPlain;
}

QString DavClient::refusal(const QUrl& url, bool allowPlain) {
    if (!url.isValid() || url.host().isEmpty())
        return tr("The server address is not a valid address.");
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("https"))
        return {};
    if (scheme != QLatin1String("http"))
        return tr("The server address must begin with https://.");
    if (!allowPlain && !isLoopback(url))
        return tr("The server address uses unencrypted http; allow it in Options to use it.");
    return {};
}

void DavClient::send(const QByteArray& method, const QUrl& url, const QByteArray& body,
                     const Headers& headers, std::function<void(const Reply&)> done) {
    start(method, url, body, headers, std::move(done), 0, url.host());
}

void DavClient::start(const QByteArray& method, const QUrl& url, const QByteArray& body,
                      const Headers& headers, std::function<void(const Reply&)> done, int redirects,
                      const QString& authHost) {
    if (const QString no = refusal(url, m_allowPlain); !no.isEmpty()) {
        Reply r;
        r.failure = no;
        r.url = url;
        QMetaObject::invokeMethod(
            this, [done, r] { done(r); }, Qt::QueuedConnection);
        return;
    }
    QNetworkRequest request(url);
    request.setTransferTimeout(TimeoutMs);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    // The credentials go to the host they were given for, nowhere else.
    if (!m_user.isEmpty() && url.host().compare(authHost, Qt::CaseInsensitive) == 0)
        request.setRawHeader("Authorization",
                             "Basic " + (m_user + u':' + m_password).toUtf8().toBase64());
    for (const auto& [name, value] : headers)
        request.setRawHeader(name, value);
    if (!body.isEmpty() && !request.hasRawHeader("Content-Type"))
        request.setRawHeader("Content-Type", "application/xml; charset=utf-8");
    QNetworkReply* reply = m_net->sendCustomRequest(request, method, body);
    m_replies.insert(reply);
    // A body larger than any task list is no reply of a calendar server.
    connect(reply, &QNetworkReply::downloadProgress, reply, [reply](qint64 received, qint64) {
        if (received > MaxBody) {
            reply->setProperty("tooLarge", true);
            reply->abort();
        }
    });
    connect(reply, &QNetworkReply::finished, this,
            [this, reply, method, url, body, headers, done, redirects, authHost] {
                m_replies.remove(reply);
                reply->deleteLater();
                Reply r;
                r.url = url;
                r.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
                if (reply->property("tooLarge").toBool()) {
                    r.status = 0;
                    r.failure = tr("The server's reply is too large.");
                    return done(r);
                }
                // Below 100: the connection itself failed (refused, gone, TLS,
                // timed out, stopped); the HTTP status is then no answer.
                const QNetworkReply::NetworkError error = reply->error();
                if (error == QNetworkReply::OperationCanceledError) {
                    r.status = 0;
                    r.failure = reply->property("aborted").toBool()
                                    ? tr("Synchronizing was stopped.")
                                    : tr("The server did not answer in time.");
                    return done(r);
                }
                if (error != QNetworkReply::NoError && error < 100) {
                    r.status = 0;
                    r.failure = reply->errorString();
                    return done(r);
                }
                r.body = reply->readAll();
                r.etag = reply->rawHeader("ETag");
                r.contentType = reply->rawHeader("Content-Type");
                if (r.status >= 300 && r.status < 400 && r.status != 304) {
                    const QUrl next = url.resolved(
                        reply->attribute(QNetworkRequest::RedirectionTargetAttribute).toUrl());
                    if (redirects >= MaxRedirects) {
                        r.status = 0;
                        r.failure = tr("The server redirects too many times.");
                        return done(r);
                    }
                    if (url.scheme() == QLatin1String("https") &&
                        next.scheme() != QLatin1String("https")) {
                        r.status = 0;
                        r.failure = tr("The server redirects to an unencrypted address.");
                        return done(r);
                    }
                    return start(method, next, body, headers, done, redirects + 1, authHost);
                }
                if (r.status == 0)
                    r.failure = reply->errorString();
                done(r);
            });
}

void DavClient::abortAll() {
    const auto replies = m_replies;
    for (QNetworkReply* r : replies) {
        if (r->isFinished())
            continue;
        r->setProperty("aborted", true);
        r->abort();
    }
}
