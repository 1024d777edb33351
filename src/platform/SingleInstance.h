#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <memory>

// One running copy per user and desktop: a lock file marks the copy, a local
// server named after the title lets a second start ask it to come forward.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const QString& title, const QString& lockDir = QString(),
                            QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when this process is now the running copy. False when another
    // copy answered and was asked to come forward: this one should end.
    bool claim();
    void release();
    bool isOwner() const { return m_owner; }
    QString serverName() const { return m_name; }
    // The desktop this copy runs on, from WAYLAND_DISPLAY or DISPLAY, as a
    // name part (empty without either).
    static QString DesktopName();

signals:
    void activationRequested();

private:
    bool askRunningCopy() const;
    void listen();

    QString m_name;
    QString m_lockPath;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer m_server;
    bool m_owner = false;
};
