#include "DavClient.h"

#include <QCoreApplication>
#include <QHostAddress>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslError>
#include <QTimer>
#include <memory>

namespace {

bool isLoopback(const QUrl& url) {
    const QString host = url.host();
    if (host.compare(QStringLiteral("localhost"), Qt::CaseInsensitive) == 0)
        return true;
    const QHostAddress a(host);
    return !a.isNull() && a.isLoopback();
}

// Scheme, host and port: where credentials were given, and nowhere else.
bool sameOrigin(const QUrl& a, const QUrl& b) {
    const auto port = [](const QUrl& u) {
        return u.port(u.scheme().toLower() == QLatin1String("https") ? 443 : 80);
    };
    return a.scheme().compare(b.scheme(), Qt::CaseInsensitive) == 0 &&
           a.host().compare(b.host(), Qt::CaseInsensitive) == 0 && port(a) == port(b);
}

// What Qt reads ahead of us: the limit holds before the bytes arrive.
constexpr qint64 kReadAhead = 1 << 20;

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
    start(method, url, body, headers, std::move(done), 0, url);
}

void DavClient::start(const QByteArray& method, const QUrl& url, const QByteArray& body,
                      const Headers& headers, std::function<void(const Reply&)> done, int redirects,
                      const QUrl& authOrigin) {
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
    if (!m_user.isEmpty() && sameOrigin(url, authOrigin))
        request.setRawHeader("Authorization",
                             "Basic " + (m_user + u':' + m_password).toUtf8().toBase64());
    for (const auto& [name, value] : headers)
        request.setRawHeader(name, value);
    if (!body.isEmpty() && !request.hasRawHeader("Content-Type"))
        request.setRawHeader("Content-Type", "application/xml; charset=utf-8");
    QNetworkReply* reply = m_net->sendCustomRequest(request, method, body);
    m_replies.insert(reply);
    // A body larger than any task list is no reply of a calendar server:
    // refused when announced, else once that much has come.
    reply->setReadBufferSize(kReadAhead);
    auto received = std::make_shared<QByteArray>();
    const auto tooLarge = [reply] {
        reply->setProperty("tooLarge", true);
        reply->abort();
    };
    connect(reply, &QNetworkReply::metaDataChanged, reply, [reply, tooLarge] {
        if (reply->header(QNetworkRequest::ContentLengthHeader).toLongLong() > MaxBody)
            tooLarge();
    });
    connect(reply, &QNetworkReply::readyRead, reply, [reply, received, tooLarge] {
        if (reply->property("tooLarge").toBool())
            return;
        *received += reply->read(MaxBody + 1 - received->size());
        if (received->size() > MaxBody)
            tooLarge();
    });
    // Never ignored; kept to say what the user can do about them.
    connect(reply, &QNetworkReply::sslErrors, reply, [reply](const QList<QSslError>& errors) {
        QStringList texts;
        for (const QSslError& e : errors)
            texts << e.errorString();
        reply->setProperty("sslErrors", texts.join(QStringLiteral("; ")));
    });
    auto* deadline = new QTimer(reply);
    deadline->setSingleShot(true);
    connect(deadline, &QTimer::timeout, reply, [reply] {
        reply->setProperty("late", true);
        reply->abort();
    });
    deadline->start(m_deadlineMs);
    connect(reply, &QNetworkReply::finished, this,
            [this, reply, received, method, url, body, headers, done, redirects, authOrigin] {
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
                                : reply->property("late").toBool()
                                    ? tr("The server took too long to answer.")
                                    : tr("The server did not answer in time.");
                    return done(r);
                }
                if (error != QNetworkReply::NoError && error < 100) {
                    r.status = 0;
                    const QString ssl = reply->property("sslErrors").toString();
                    r.failure =
                        ssl.isEmpty()
                            ? reply->errorString()
                            : tr("The server's certificate is not trusted by this system (%1). Ask "
                                 "the server's administrator for a certificate of a known "
                                 "authority, or add its issuer to the system's trusted "
                                 "certificates.")
                                  .arg(ssl);
                    return done(r);
                }
                r.body = std::move(*received) + reply->readAll();
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
                    return start(method, next, body, headers, done, redirects + 1, authOrigin);
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
