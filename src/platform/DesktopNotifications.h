#pragma once

#include <QDBusConnection>
#include <QList>
#include <QObject>
#include <QPair>
#include <QString>

class QDBusServiceWatcher;

// What one desktop notification says and offers.
struct DesktopNote {
    QString summary; // plain text
    QString body;    // plain text; escaped here for a server that reads markup
    QString iconPath;
    QList<QPair<QString, QString>> actions; // key and caption; "default" is a click on it
    bool critical = false;
};

// The desktop's notification server on the session bus
// (org.freedesktop.Notifications). Usable only where one is running that
// offers buttons; it may go and come back while the program runs.
class DesktopNotifications : public QObject {
    Q_OBJECT
public:
    // desktopEntry: the name of the program's .desktop file, without ".desktop".
    DesktopNotifications(QDBusConnection bus, const QString& desktopEntry,
                         QObject* parent = nullptr);

    bool usable() const { return m_usable; }
    // Why not, in words for the Options window; empty while usable.
    QString whyNot() const { return m_whyNot; }

    // Shows note, or puts it in place of the notification replaces; the
    // server's id, 0 when it failed (the server is then taken as gone).
    quint32 show(const DesktopNote& note, quint32 replaces = 0);
    // wait: the server has it before this returns (the program is ending).
    void close(quint32 id, bool wait = false);

    // The reasons a server gives when a notification closes.
    enum CloseReason : quint32 { Expired = 1, ByUser = 2, ByCall = 3, Undefined = 4 };

signals:
    void actionInvoked(quint32 id, const QString& key);
    void closed(quint32 id, quint32 reason);
    // The server went away (its notifications with it) or a new one came.
    void serverChanged();

private slots:
    void onActionInvoked(uint id, const QString& key);
    void onClosed(uint id, uint reason);

private:
    void probe();

    QDBusConnection m_bus;
    QString m_desktopEntry;
    QDBusServiceWatcher* m_watcher = nullptr;
    bool m_usable = false;
    bool m_markup = false;
    QString m_whyNot;
};
