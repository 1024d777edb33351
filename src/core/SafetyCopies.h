#pragma once

#include <QCoreApplication>
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
// What a command says when its safety copy cannot be written: not the
// chosen file's fault, and nothing has been changed.
inline const char* const WriteFailureText = QT_TRANSLATE_NOOP(
    "SafetyCopies",
    "The safety copy of the database could not be written into Backups, so nothing was changed.");
inline const QString WriteFailure = QString::fromLatin1(WriteFailureText);
// Writes one and returns its path; throws XmlFileError(WriteFailure) when
// it cannot, having written nothing that stays.
QString Write(Database& db, const QString& programFolder, const QString& version,
              const QDateTime& now);
// The copies there, oldest first.
QStringList List(const QString& programFolder);
} // namespace SafetyCopies
