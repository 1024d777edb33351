#pragma once

#include "platform/MailTransport.h"

#include <QLineEdit>
#include <QObject>
#include <QPlainTextEdit>
#include <QPointer>
#include <QStringList>
#include <memory>
#include <stdexcept>

// The user cancelled, or there is no mail program (code 1).
class EMapiUserAbort : public std::runtime_error {
public:
    EMapiUserAbort() : std::runtime_error("User Abort") {}
};

// Any other mail failure; keeps its code.
class EMapiError : public std::runtime_error {
public:
    EMapiError(const QString& text, int code)
        : std::runtime_error(text.toStdString()), m_code(code) {}
    int code() const { return m_code; }

private:
    int m_code;
};

// A prepared message handed to the user's mail program.
class TZvSendMessage : public QObject {
    Q_OBJECT
public:
    explicit TZvSendMessage(QObject* parent = nullptr,
                            std::unique_ptr<MailTransport> transport = nullptr);
    ~TZvSendMessage() override;

    // Published properties; the lists are copied on assignment.
    QStringList ToRecipients;
    QStringList CcRecipients;
    QStringList BccRecipients;
    QString Subject;
    QPointer<QLineEdit> SubjectEdit;      // when set, its text is the subject
    QStringList MessageText;              // one entry a line
    QPointer<QPlainTextEdit> MessageMemo; // when set, its lines replace MessageText
    QStringList Attachments;
    QString ProfileName;
    QString Password;
    bool Review = true;
    bool ResolveNames = true;

    unsigned long mailSession() const { return m_session; }
    MailTransport& transport() const { return *m_transport; }

    // Empties the attachments, recipients and text; Subject stays.
    void Clear();
    void Logon();
    void Logoff();
    void Send();
    // Throws the exception for a mail result code.
    [[noreturn]] static void RaiseMapiError(int code);
    static QString MapiErrorText(int code);

signals:
    // A message handed over by Send has reached its end in the mail
    // program: 0, or a mail code.
    void SendFinished(int code);

private:
    std::unique_ptr<MailTransport> m_transport;
    unsigned long m_session = 0;
};
