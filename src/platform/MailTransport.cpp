#include "MailTransport.h"

#include <QObject>
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
        // xdg-email ends each line with its own CR: the body goes with line
        // feeds only, or the mail program would see CR CR LF.
        if (!m.noteText.isEmpty())
            args << QStringLiteral("--body")
                 << QString(m.noteText).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
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
        // Not waited for: a mail program in the foreground would hold the
        // window still until it ends. Nor killed when we end before it.
        auto* p = new QProcess;
        p->start(QStringLiteral("xdg-email"), args);
        if (!p->waitForStarted(10000)) {
            delete p;
            return 1; // no mail program, as the original reports it
        }
        QObject::connect(p, &QProcess::finished, p,
                         [p, report = finished](int code, QProcess::ExitStatus status) {
                             if (report)
                                 report(status == QProcess::NormalExit && code == 0 ? 0 : 2);
                             p->deleteLater();
                         });
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
