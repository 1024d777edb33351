#include "ZvSndMsg.h"

#include <QApplication>
#include <QDir>
#include <QScopeGuard>

TZvSendMessage::TZvSendMessage(QObject* parent, std::unique_ptr<MailTransport> transport)
    : QObject(parent), m_transport(transport ? std::move(transport) : MakeMailTransport()) {
    setObjectName(QStringLiteral("ZvSendMessage1"));
    m_transport->finished = [self = QPointer<TZvSendMessage>(this)](int code) {
        if (self)
            emit self->SendFinished(code);
    };
}

TZvSendMessage::~TZvSendMessage() {
    try {
        Logoff();
    } catch (const std::exception&) {
        // Going away: there is no one to tell.
    }
}

void TZvSendMessage::Clear() {
    Attachments.clear();
    ToRecipients.clear();
    CcRecipients.clear();
    BccRecipients.clear();
    MessageText.clear();
}

QString TZvSendMessage::MapiErrorText(int code) {
    static const char* const texts[] = {nullptr,
                                        nullptr,
                                        QT_TR_NOOP("General Failure"),
                                        QT_TR_NOOP("Login Failure"),
                                        QT_TR_NOOP("Disk Full"),
                                        QT_TR_NOOP("Insufficient Memory"),
                                        QT_TR_NOOP("Access Denied"),
                                        QT_TR_NOOP("Unknown Error"),
                                        QT_TR_NOOP("Too Many Sessions"),
                                        QT_TR_NOOP("Too Many Files"),
                                        QT_TR_NOOP("Too Many Recipients"),
                                        QT_TR_NOOP("Attachment Not Found"),
                                        QT_TR_NOOP("Attachment Open Failure"),
                                        QT_TR_NOOP("Attachment Write Failure"),
                                        QT_TR_NOOP("Unknown Recipient"),
                                        QT_TR_NOOP("Bad Recipient Type"),
                                        QT_TR_NOOP("No Messages"),
                                        QT_TR_NOOP("Invalid Message"),
                                        QT_TR_NOOP("Text Too Large"),
                                        QT_TR_NOOP("Invalid Session"),
                                        QT_TR_NOOP("Type Not Supported"),
                                        QT_TR_NOOP("Ambiguous Recipient"),
                                        QT_TR_NOOP("Message In Use"),
                                        QT_TR_NOOP("Network Failure"),
                                        QT_TR_NOOP("Invalid Edit Fields"),
                                        QT_TR_NOOP("Invalid Recipients"),
                                        QT_TR_NOOP("Feature Not Supported")};
    if (code == 1)
        return tr("User Abort");
    if (code >= 2 && code < int(std::size(texts)))
        return tr(texts[code]);
    return tr("Unknown Error");
}

void TZvSendMessage::RaiseMapiError(int code) {
    if (code == 1)
        throw EMapiUserAbort();
    throw EMapiError(QStringLiteral("MAPI: %1. ErrorCode = %2").arg(MapiErrorText(code)).arg(code),
                     code);
}

void TZvSendMessage::Logon() {
    const unsigned flags = ProfileName.isEmpty() ? 0x49 : 0x09;
    const int result = m_transport->logon(ProfileName, Password, flags, m_session);
    if (result > 0)
        RaiseMapiError(result);
}

void TZvSendMessage::Logoff() {
    if (m_session == 0)
        return;
    const int result = m_transport->logoff(m_session);
    if (result > 0)
        RaiseMapiError(result);
    m_session = 0;
}

void TZvSendMessage::Send() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QString directory = QDir::currentPath();
    MailMessage message;
    // Whatever happens: what the mail system handed out goes back to it.
    const auto done = qScopeGuard([&] {
        for (const MailRecipient& r : message.recipients)
            if (r.resolved)
                m_transport->freeBuffer(r);
        QDir::setCurrent(directory);
        QApplication::restoreOverrideCursor();
    });
    if (m_session == 0)
        Logon();
    if (MessageMemo)
        MessageText = MessageMemo->toPlainText().split(u'\n');
    for (const QString& line : MessageText)
        message.noteText += line + QStringLiteral("\r\n");
    message.subject = SubjectEdit ? SubjectEdit->text() : Subject;
    const QStringList* lists[] = {&ToRecipients, &CcRecipients, &BccRecipients};
    for (int kind = 0; kind < 3; ++kind)
        for (const QString& name : *lists[kind]) {
            MailRecipient r;
            if (ResolveNames) {
                const int result =
                    m_transport->resolveName(m_session, name, Review ? 0x09 : 0x01, r);
                if (result > 0)
                    RaiseMapiError(result); // the guard frees those resolved so far
                r.resolved = true;
            } else {
                r.name = name;
                r.address = QStringLiteral("SMTP:") + name;
            }
            r.recipClass = kind + 1;
            message.recipients.push_back(r);
        }
    for (const QString& file : Attachments)
        message.files << QDir::current().absoluteFilePath(file);
    const unsigned flags = (!Review && !ToRecipients.isEmpty()) ? 0x01 : 0x09;
    const int result = m_transport->sendMail(m_session, message, flags);
    if (result > 0)
        RaiseMapiError(result);
}
