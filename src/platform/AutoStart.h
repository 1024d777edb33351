#pragma once

#include <QString>

// Start at log-in through an XDG autostart entry named "Zarvik Tasquel".
// On means the entry exists; turning on never replaces an existing entry;
// turning off removes it. A folder that cannot be used reads as off and
// ignores changes, silently.
class AutoStart {
public:
    static constexpr const char* EntryName = "Zarvik Tasquel";

    AutoStart(QString autostartDir, QString executablePath)
        : m_dir(std::move(autostartDir)), m_exe(std::move(executablePath)) {}
    // $XDG_CONFIG_HOME/autostart, by default ~/.config/autostart.
    static QString defaultDir();

    QString entryPath() const;
    bool isAutoStart() const;
    void setAutoStart(bool on) const;
    static QString desktopEntry(const QString& executablePath);

private:
    bool folderUsable() const;
    QString m_dir;
    QString m_exe;
};
