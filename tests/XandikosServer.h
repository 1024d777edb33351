#pragma once

#include "RadicaleServer.h"

namespace test {

// The second real CalDAV server: Xandikos on 127.0.0.1 with a free port and
// its own storage; one principal (/user/) whose default calendar takes
// tasks. It asks for no password: ours goes along and is ignored.
class XandikosServer {
public:
    XandikosServer() : m_port(FreePort()) {}
    ~XandikosServer() { m_process.stop(); }
    bool start() {
        return m_process.start(QStringLiteral("xandikos"),
                               {QStringLiteral("-d"), m_dir.path(), QStringLiteral("--defaults"),
                                QStringLiteral("-l"), QStringLiteral("127.0.0.1"),
                                QStringLiteral("-p"), QString::number(m_port)},
                               m_port, true);
    }
    QString address() const { return QStringLiteral("http://127.0.0.1:%1/").arg(m_port); }
#ifdef TESTS_DIR
    QString client(const QStringList& args) const {
        return RunClient(address(), QStringLiteral("user"), QStringLiteral("x"), args);
    }
#endif

private:
    QTemporaryDir m_dir;
    quint16 m_port;
    ServerProcess m_process;
};

} // namespace test
