#include "MailTransport.h"

#include <QProcess>

namespace {

class XdgEmailTransport : public MailTransport {
public:
    int logon(const QString&, const QString&, unsigned, unsigned long& session) override {
        session = 1; // the desktop needs no session
        return 0;
    }
    int logoff(unsigned long) override { return 0; }
    int resolveName(unsigned long, const QString& name, unsigned, MailRecipient& r) override {
        r.name = name;
        r.address = name;
        r.resolved = true;
        return 0;
    }
    int sendMail(unsigned long, const MailMessage& m, unsigned) override {
        QStringList args;
        if (!m.subject.isEmpty())
            args << QStringLiteral("--subject") << m.subject;
        if (!m.noteText.isEmpty())
            args << QStringLiteral("--body") << m.noteText;
        for (const QString& f : m.files)
            args << QStringLiteral("--attach") << f;
        QStringList to;
        for (const MailRecipient& r : m.recipients) {
            QString address = r.address.isEmpty() ? r.name : r.address;
            if (address.startsWith(QLatin1String("SMTP:"), Qt::CaseInsensitive))
                address = address.mid(5);
            if (r.recipClass == 2)
                args << QStringLiteral("--cc") << address;
            else if (r.recipClass == 3)
                args << QStringLiteral("--bcc") << address;
            else
                to << address;
        }
        args << to;
        QProcess p;
        p.start(QStringLiteral("xdg-email"), args);
        if (!p.waitForStarted(10000))
            return 1; // no mail program, as the original reports it
        if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit ||
            p.exitCode() != 0)
            return 2;
        return 0;
    }
    void freeBuffer(const MailRecipient&) override {}
};

MailTransportFactory& factory() {
    static MailTransportFactory f;
    return f;
}

} // namespace

std::unique_ptr<MailTransport> MakeXdgEmailTransport() {
    return std::make_unique<XdgEmailTransport>();
}

void SetMailTransportFactory(MailTransportFactory f) {
    factory() = std::move(f);
}

std::unique_ptr<MailTransport> MakeMailTransport() {
    return factory() ? factory()() : MakeXdgEmailTransport();
}
