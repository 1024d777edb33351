#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

class Database;

// Copies of the whole database, written before Restore and Import change
// anything, so that a wrong answer to their questions can be undone: each
// is a backup file like Database Backup writes, in Backups/ of the program
// folder, named by date and time. The newest Keep are kept.
namespace SafetyCopies {
constexpr int Keep = 10;
QString Folder(const QString& programFolder);
// Writes one and returns its path; throws XmlFileError("File write
// failure!") when it cannot, having written nothing that stays.
QString Write(Database& db, const QString& programFolder, const QString& version,
              const QDateTime& now);
// The copies there, oldest first.
QStringList List(const QString& programFolder);
} // namespace SafetyCopies
