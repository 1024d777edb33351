#pragma once

#include "sync/DavClient.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>

namespace test {

inline quint16 FreePort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

// A server program of a test, started and waited for until its port
// answers, stopped when this goes.
class ServerProcess {
public:
    ~ServerProcess() { stop(); }
    // quiet: its log of every request is not wanted.
    bool start(const QString& program, const QStringList& args, quint16 port, bool quiet = false) {
        if (m_process.state() != QProcess::NotRunning)
            return true;
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        if (quiet)
            m_process.setStandardErrorFile(QProcess::nullDevice());
        m_process.start(program, args);
        if (!m_process.waitForStarted(10000))
            return false;
        for (int i = 0; i < 200; ++i) {
            QTcpSocket s;
            s.connectToHost(QHostAddress::LocalHost, port);
            if (s.waitForConnected(100))
                return true;
            if (m_process.state() == QProcess::NotRunning)
                return false;
            QThread::msleep(50);
        }
        return false;
    }
    void stop() {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.terminate();
        if (!m_process.waitForFinished(5000))
            m_process.kill(), m_process.waitForFinished(5000);
    }

private:
    QProcess m_process;
};

#ifdef TESTS_DIR
// The independent client (tests/caldav_client.py) on a list: what it printed.
// script: another client of tests/, whose first arguments are the same.
inline QString RunClient(const QString& url, const QString& user, const QString& password,
                         const QStringList& args, const char* script = "caldav_client.py") {
    QProcess p;
    const QString path = QStringLiteral(TESTS_DIR "/") + QLatin1String(script);
    p.start(QStringLiteral("/usr/bin/python3"), QStringList{path, url, user, password} + args);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
}
#endif

// A real CalDAV server for one test program: Radicale on 127.0.0.1 with a
// free port, its own storage and one user, stopped when this goes.
class RadicaleServer {
public:
    // Each test its own user, so its own task list.
    static constexpr const char* Users[] = {"ann", "bob", "cid", "dan", "eve", "fay", "gus",
                                            "hal", "ivy", "jon", "kim", "lea", "max", "ned"};
    static constexpr const char* Password = "it's secret";

    RadicaleServer() : m_port(FreePort()) {
        QByteArray users;
        for (const char* u : Users)
            users += QByteArray(u) + ':' + Password + '\n';
        write(QStringLiteral("users"), users);
        write(QStringLiteral("config"),
              "[server]\nhosts = 127.0.0.1:" + QByteArray::number(m_port) +
                  "\nmax_content_length = 100000000\n"
                  "[auth]\ntype = htpasswd\nhtpasswd_filename = " +
                  m_dir.filePath("users").toUtf8() +
                  "\nhtpasswd_encryption = plain\ndelay = 0\n"
                  "[storage]\nfilesystem_folder = " +
                  m_dir.filePath("collections").toUtf8() +
                  "\n[rights]\ntype = owner_only\n[logging]\nlevel = warning\n");
    }

    bool start() {
        return m_process.start(QStringLiteral("radicale"),
                               {QStringLiteral("--config"), m_dir.filePath("config")}, m_port);
    }
    void stop() { m_process.stop(); }
    QString address() const { return QStringLiteral("http://127.0.0.1:%1/").arg(m_port); }
#ifdef TESTS_DIR
    // The independent client on a user's list: what it printed.
    QString client(int user, const QStringList& args) const {
        return RunClient(address() + Users[user] + u'/', QString::fromLatin1(Users[user]),
                         QString::fromLatin1(Password), args);
    }
#endif
    // A calendar made under a user's home (MKCALENDAR with body): the status.
    int makeCalendar(int user, const QString& path, const QByteArray& body) const {
        DavClient http;
        http.setAccount(Users[user], Password, false);
        int status = 0;
        QEventLoop loop;
        http.send("MKCALENDAR", QUrl(address() + Users[user] + u'/' + path), body, {},
                  [&](const DavClient::Reply& r) {
                      status = r.status;
                      loop.quit();
                  });
        if (status == 0)
            loop.exec();
        return status;
    }
    QString storage() const {
        return m_dir.filePath("collections");
    }

private:
    void write(const QString& name, const QByteArray& bytes) {
        QFile f(m_dir.filePath(name));
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
    }
    QTemporaryDir m_dir;
    quint16 m_port;
    ServerProcess m_process;
};

} // namespace test
