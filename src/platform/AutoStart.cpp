#include "AutoStart.h"

#include "FileWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

QString AutoStart::defaultDir() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/autostart");
}

QString AutoStart::entryPath() const {
    return m_dir + u'/' + QLatin1String(EntryName) + QStringLiteral(".desktop");
}

bool AutoStart::folderUsable() const {
    const QFileInfo dir(m_dir);
    if (dir.exists())
        return dir.isDir() && dir.isWritable();
    // A missing folder is fine as long as it can be made.
    QFileInfo parent(dir.absolutePath());
    while (!parent.exists() && !parent.isRoot())
        parent = QFileInfo(parent.absolutePath());
    return parent.isDir() && parent.isWritable();
}

bool AutoStart::isAutoStart() const {
    return folderUsable() && QFileInfo(entryPath()).isFile();
}

QString AutoStart::desktopEntry(const QString& executablePath) {
    // The desktop-entry rules for an Exec argument: quote when needed.
    QString exec = executablePath;
    static const QString special = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    bool quote = false;
    for (QChar c : exec)
        quote = quote || special.contains(c);
    if (quote) {
        QString q;
        for (QChar c : exec) {
            if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
                q += u'\\';
            q += c;
        }
        exec = u'"' + q + u'"';
    }
    exec.replace(u'%', QStringLiteral("%%"));
    return QStringLiteral("[Desktop Entry]\nType=Application\nName=%1\nExec=%2\n"
                          "X-GNOME-Autostart-enabled=true\n")
        .arg(QLatin1String(EntryName), exec);
}

void AutoStart::setAutoStart(bool on) const {
    if (!folderUsable())
        return;
    const QString path = entryPath();
    if (!on) {
        if (QFileInfo::exists(path))
            QFile::remove(path);
        return;
    }
    if (QFileInfo::exists(path) || !QDir().mkpath(m_dir))
        return;
    // Not written, the entry is simply not there: start with the desktop stays off.
    (void)FileWriter::TryWrite(path, desktopEntry(m_exe).toUtf8());
}
