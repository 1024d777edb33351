#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPair>
#include <QSet>
#include <QString>
#include <QUrl>
#include <functional>

class QNetworkAccessManager;
class QNetworkReply;

// HTTP for WebDAV, never waiting: each request's answer comes to its
// callback from the event loop. https is checked against the system's
// certificates; plain http only goes to this machine unless allowed.
class DavClient : public QObject {
    Q_OBJECT
public:
    static constexpr qint64 MaxBody = 64 * 1024 * 1024;
    static constexpr int MaxRedirects = 5;
    // No byte for this long ends a request: a server building its first
    // listing of a large collection may think for a minute.
    static constexpr int TimeoutMs = 120000;
    // However the bytes trickle in, a request ends after this long.
    static constexpr int DeadlineMs = 10 * 60 * 1000;

    struct Reply {
        int status = 0;  // 0: no HTTP answer (network, TLS, timeout, refused here)
        QString failure; // why, when status is 0
        QByteArray body, etag, contentType;
        QUrl url; // the last one asked, after redirects
        bool ok() const { return status >= 200 && status < 300; }
    };
    using Headers = QList<QPair<QByteArray, QByteArray>>;

    explicit DavClient(QObject* parent = nullptr);
    void setAccount(const QString& user, const QString& password, bool allowPlain);
    void send(const QByteArray& method, const QUrl& url, const QByteArray& body,
              const Headers& headers, std::function<void(const Reply&)> done);
    void abortAll();
    int running() const { return int(m_replies.size()); }
    void setDeadline(int ms) { m_deadlineMs = ms; }

    // Why an address may not be used, or empty.
    static QString refusal(const QUrl& url, bool allowPlain);

private:
    void start(const QByteArray& method, const QUrl& url, const QByteArray& body,
               const Headers& headers, std::function<void(const Reply&)> done, int redirects,
               const QUrl& authOrigin);

    QNetworkAccessManager* m_net;
    QString m_user, m_password;
    bool m_allowPlain = false;
    int m_deadlineMs = DeadlineMs;
    QSet<QNetworkReply*> m_replies;
};
