#include "DesktopNotifications.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QVariantMap>

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");
// A server that does not answer within this is as good as none: the
// reminder goes to the program's own window instead of waiting.
constexpr int kTimeoutMs = 2000;

QDBusMessage method(const QString& name) {
    return QDBusMessage::createMethodCall(kService, kPath, kInterface, name);
}

} // namespace

DesktopNotifications::DesktopNotifications(QDBusConnection bus, const QString& desktopEntry,
                                           QObject* parent)
    : QObject(parent), m_bus(std::move(bus)), m_desktopEntry(desktopEntry) {
    if (m_bus.isConnected()) {
        m_bus.connect(kService, kPath, kInterface, QStringLiteral("ActionInvoked"), this,
                      SLOT(onActionInvoked(uint, QString)));
        m_bus.connect(kService, kPath, kInterface, QStringLiteral("NotificationClosed"), this,
                      SLOT(onClosed(uint, uint)));
        m_watcher = new QDBusServiceWatcher(kService, m_bus,
                                            QDBusServiceWatcher::WatchForOwnerChange, this);
        connect(m_watcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
                [this](const QString&, const QString&, const QString& owner) {
                    if (owner.isEmpty()) {
                        m_usable = false;
                        m_whyNot = tr("The desktop's notification server has stopped.");
                    } else {
                        probe();
                    }
                    emit serverChanged();
                });
    }
    probe();
}

void DesktopNotifications::probe() {
    m_usable = false;
    m_markup = false;
    if (!m_bus.isConnected()) {
        m_whyNot = tr("There is no desktop session bus to reach a notification server.");
        return;
    }
    // Asking starts a server the bus can start on demand.
    const QDBusMessage reply =
        m_bus.call(method(QStringLiteral("GetCapabilities")), QDBus::Block, kTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        m_whyNot = tr("No notification server is running on this desktop.");
        return;
    }
    const QStringList caps = reply.arguments().constFirst().toStringList();
    if (!caps.contains(QStringLiteral("actions"))) {
        m_whyNot = tr("The desktop's notification server cannot show buttons.");
        return;
    }
    m_markup = caps.contains(QStringLiteral("body-markup"));
    m_usable = true;
    m_whyNot.clear();
}

quint32 DesktopNotifications::show(const DesktopNote& note, quint32 replaces) {
    if (!m_usable)
        return 0;
    QStringList actions;
    for (const auto& [key, caption] : note.actions)
        actions << key << caption;
    QVariantMap hints;
    hints.insert(QStringLiteral("urgency"), QVariant::fromValue(uchar(note.critical ? 2 : 1)));
    // Stays after a button is pressed, and until then: the program
    // withdraws it once the answer is written.
    hints.insert(QStringLiteral("resident"), true);
    hints.insert(QStringLiteral("desktop-entry"), m_desktopEntry);
    if (!note.iconPath.isEmpty())
        hints.insert(QStringLiteral("image-path"), note.iconPath);
    QDBusMessage call = method(QStringLiteral("Notify"));
    call << QCoreApplication::applicationName() << replaces << note.iconPath << note.summary
         << (m_markup ? note.body.toHtmlEscaped() : note.body) << actions << hints
         << qint32(0); // never expires
    const QDBusMessage reply = m_bus.call(call, QDBus::Block, kTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        m_usable = false;
        m_whyNot = tr("The desktop's notification server does not answer.");
        return 0;
    }
    return reply.arguments().constFirst().toUInt();
}

void DesktopNotifications::close(quint32 id, bool wait) {
    if (!id || !m_bus.isConnected())
        return;
    QDBusMessage call = method(QStringLiteral("CloseNotification"));
    call << id;
    if (wait)
        m_bus.call(call, QDBus::Block, kTimeoutMs);
    else
        m_bus.send(call);
}

void DesktopNotifications::onActionInvoked(uint id, const QString& key) {
    emit actionInvoked(id, key);
}

void DesktopNotifications::onClosed(uint id, uint reason) {
    emit closed(id, reason);
}
