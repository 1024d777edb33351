#include "SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QRegularExpression>
#include <QThread>
#include <unistd.h>

namespace {
const QByteArray kRaise = "raise\n";
const QByteArray kDone = "ok\n";
} // namespace

QString SingleInstance::DesktopName() {
    QString display = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (display.isEmpty()) {
        display = qEnvironmentVariable("DISPLAY");
        // ":0" and ":0.0" are one desktop: the screen number is dropped.
        static const QRegularExpression screen(QStringLiteral("\\.[0-9]+$"));
        if (display.contains(u':'))
            display.remove(screen);
    }
    // A socket path or host name: only what a file name can carry.
    static const QRegularExpression unsafe(QStringLiteral("[^A-Za-z0-9_-]"));
    display.replace(unsafe, QStringLiteral("_"));
    return display;
}

SingleInstance::SingleInstance(const QString& title, const QString& lockDir, QObject* parent)
    : QObject(parent) {
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty())
        user = QString::number(getuid());
    m_name = title + u'-' + user;
    if (const QString desktop = DesktopName(); !desktop.isEmpty())
        m_name += u'-' + desktop;
    m_name.replace(u' ', u'_');
    m_lockPath = (lockDir.isEmpty() ? QDir::tempPath() : lockDir) + u'/' + m_name + ".lock";
    m_lock = std::make_unique<QLockFile>(m_lockPath);
    m_lock->setStaleLockTime(0);
    connect(&m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* s = m_server.nextPendingConnection()) {
            connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
            connect(s, &QLocalSocket::readyRead, this, [this, s] {
                if (!s->canReadLine())
                    return;
                if (s->readLine() == kRaise) {
                    emit activationRequested();
                    s->write(kDone);
                    s->flush();
                }
                s->disconnectFromServer();
            });
        }
    });
}

SingleInstance::~SingleInstance() {
    release();
}

void SingleInstance::listen() {
    QLocalServer::removeServer(m_name);
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    m_server.listen(m_name);
}

bool SingleInstance::askRunningCopy() const {
    QLocalSocket s;
    s.connectToServer(m_name);
    if (!s.waitForConnected(1500))
        return false;
    s.write(kRaise);
    if (!s.waitForBytesWritten(1500))
        return false;
    while (!s.canReadLine())
        if (!s.waitForReadyRead(3000))
            return false;
    return s.readLine() == kDone;
}

bool SingleInstance::claim() {
    if (m_owner)
        return true;
    for (int attempt = 0; attempt < 3; ++attempt) {
        // tryLock takes over a lock whose process has died.
        if (m_lock->tryLock(0)) {
            m_owner = true;
            listen();
            return true;
        }
        if (askRunningCopy())
            return false;
        QThread::msleep(300); // a copy that is starting may not listen yet
    }
    // The owner is alive but never answers: treat its lock as stale.
    QFile::remove(m_lockPath);
    if (m_lock->tryLock(0)) {
        m_owner = true;
        listen();
        return true;
    }
    return false;
}

void SingleInstance::release() {
    if (!m_owner)
        return;
    m_server.close();
    m_lock->unlock();
    m_owner = false;
}
