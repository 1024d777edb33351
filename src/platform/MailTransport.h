#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

// One recipient of a prepared message: class 1 To, 2 Cc, 3 Bcc.
struct MailRecipient {
    int recipClass = 1;
    QString name;
    QString address;
    QByteArray entryId;
    bool resolved = false; // handed out by the mail system, freed by it
};

struct MailMessage {
    QString subject;
    QString noteText;
    std::vector<MailRecipient> recipients;
    QStringList files; // absolute paths
};

// The user's mail system, with the operations a send needs. Results are the
// mail codes: 0 success, 1 user abort or no mail program, 2 general failure...
class MailTransport {
public:
    virtual ~MailTransport() = default;
    virtual int logon(const QString& profile, const QString& password, unsigned flags,
                      unsigned long& session) = 0;
    virtual int logoff(unsigned long session) = 0;
    virtual int resolveName(unsigned long session, const QString& name, unsigned flags,
                            MailRecipient& resolved) = 0;
    virtual int sendMail(unsigned long session, const MailMessage& message, unsigned flags) = 0;
    virtual void freeBuffer(const MailRecipient& resolved) = 0;

    // A hand-off that goes on after sendMail has answered 0 (the desktop's
    // mail program may run for minutes) reports its end here: 0 or a code.
    std::function<void(int code)> finished;
};

// The desktop's mail program through xdg-email: a name resolves to itself;
// xdg-email missing answers 1 at once; it is not waited for, and its end
// reports 0, or 2 for any failure, through finished.
std::unique_ptr<MailTransport> MakeXdgEmailTransport();

// Makes the transport of new mail components; empty: xdg-email.
using MailTransportFactory = std::function<std::unique_ptr<MailTransport>()>;
void SetMailTransportFactory(MailTransportFactory factory);
std::unique_ptr<MailTransport> MakeMailTransport();
