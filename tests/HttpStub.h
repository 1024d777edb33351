#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <functional>
#include <memory>

namespace test {

// A small HTTP/1.1 server on 127.0.0.1 that answers each request as the
// test says: a server that misbehaves on purpose.
class HttpStub : public QObject {
public:
    struct Request {
        QByteArray method, path, body, head;
    };
    struct Answer {
        int status = 200;
        QByteArray body;
        QList<QPair<QByteArray, QByteArray>> headers;
        qint64 padTo = 0;     // the body repeated up to this size
        qint64 announce = -1; // a Content-Length other than the body's
        int dripMs = 0;       // a byte of the body at a time, this far apart
    };
    std::function<Answer(const Request&)> answer;
    QList<Request> seen;

    HttpStub() {
        m_server.listen(QHostAddress::LocalHost, 0);
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* s = m_server.nextPendingConnection()) {
                connect(s, &QTcpSocket::readyRead, this, [this, s] { read(s); });
                connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
            }
        });
    }
    QString address(const QString& path = QStringLiteral("/")) const {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(path);
    }

private:
    void read(QTcpSocket* s) {
        QByteArray& buf = m_buffers[s];
        buf += s->readAll();
        for (;;) {
            const qsizetype end = buf.indexOf("\r\n\r\n");
            if (end < 0)
                return;
            const QList<QByteArray> lines = buf.left(end).split('\n');
            qint64 length = 0;
            for (const QByteArray& l : lines)
                if (l.toLower().startsWith("content-length:"))
                    length = l.mid(15).trimmed().toLongLong();
            if (buf.size() < end + 4 + length)
                return;
            const QList<QByteArray> first = lines.value(0).trimmed().split(' ');
            Request r{first.value(0), first.value(1), buf.mid(end + 4, length), buf.left(end)};
            buf.remove(0, end + 4 + length);
            seen << r;
            respond(s, answer ? answer(r) : Answer{404, {}, {}, 0});
        }
    }
    void respond(QTcpSocket* s, const Answer& a) {
        const qint64 size = a.padTo > 0 ? a.padTo : a.body.size();
        QByteArray head = "HTTP/1.1 " + QByteArray::number(a.status) + " X\r\nContent-Length: " +
                          QByteArray::number(a.announce >= 0 ? a.announce : size) + "\r\n";
        for (const auto& [k, v] : a.headers)
            head += k + ": " + v + "\r\n";
        s->write(head + "\r\n");
        if (a.padTo > 0) {
            // Block by block as the reader takes them: the event loop runs.
            auto left = std::make_shared<qint64>(size);
            const auto pump = [s, left] {
                static const QByteArray block(1 << 20, 'x');
                while (*left > 0 && s->bytesToWrite() < (4 << 20)) {
                    const qint64 n = qMin<qint64>(block.size(), *left);
                    s->write(block.constData(), n);
                    *left -= n;
                }
            };
            connect(s, &QTcpSocket::bytesWritten, s, pump);
            pump();
        } else if (a.dripMs > 0) {
            auto* timer = new QTimer(s);
            auto left = std::make_shared<QByteArray>(a.body);
            connect(timer, &QTimer::timeout, s, [s, left] {
                if (!left->isEmpty())
                    s->write(left->left(1)), left->remove(0, 1);
            });
            timer->start(a.dripMs);
        } else {
            s->write(a.body);
        }
    }
    QTcpServer m_server;
    QHash<QTcpSocket*, QByteArray> m_buffers;
};

} // namespace test
