#include "SafetyCopies.h"

#include "Interchange.h"
#include "XmlTry.h"
#include "platform/Database.h"
#include "platform/FileModes.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace SafetyCopies {

namespace {
const QString kPrefix = QStringLiteral("zvData-");
const QString kSuffix = QStringLiteral(".zvx");
} // namespace

QString Folder(const QString& programFolder) {
    return QDir(programFolder).filePath(QStringLiteral("Backups"));
}

QStringList List(const QString& programFolder) {
    const QDir dir(Folder(programFolder));
    // The names sort as their times do.
    return dir.entryList({kPrefix + u'*' + kSuffix}, QDir::Files | QDir::NoSymLinks, QDir::Name);
}

QString Write(Database& db, const QString& programFolder, const QString& version,
              const QDateTime& now) {
    const QString folder = Folder(programFolder);
    // Not followed: trimming there would delete what is not ours.
    if (QFileInfo(folder).isSymLink())
        throw XmlFileError(QCoreApplication::translate(
            "SafetyCopies", "Backups is a link to another folder; safety copies are kept only "
                            "in a folder of the program's own, so nothing was changed."));
    if (!FileModes::MakeFolder(folder))
        throw XmlFileError(QCoreApplication::translate("SafetyCopies", WriteFailureText));
    const QString stamp = now.toString(QStringLiteral("yyyy-MM-dd-HHmmss-zzz"));
    QString path = QDir(folder).filePath(kPrefix + stamp + kSuffix);
    // Two in one millisecond: the second gets a number.
    for (int n = 2; QFile::exists(path); ++n)
        path = QDir(folder).filePath(kPrefix + stamp + u'-' + QString::number(n) + kSuffix);
    try {
        Interchange::WriteBackup(db, path, version);
    } catch (const DbError&) {
        throw;
    } catch (const std::exception&) {
        QFile::remove(path);
        throw XmlFileError(QCoreApplication::translate("SafetyCopies", WriteFailureText));
    }
    QStringList copies = List(programFolder);
    while (copies.size() > Keep)
        QFile::remove(QDir(folder).filePath(copies.takeFirst()));
    return path;
}

} // namespace SafetyCopies
