#pragma once

#include "platform/Clock.h"

#include <QCoreApplication>
#include <QString>
#include <functional>
#include <vector>

class Database;
class TaskNode;

// The interchange file: writers (backup, export) and readers (restore,
// import). The texts shown to the user come back through the callbacks.
namespace Interchange {

// The file dialogs' filters for interchange files.
inline QString SaveFilter() {
    return QCoreApplication::translate("Interchange", "Zarvik Database,  (*.zvx)");
}
inline QString OpenFilter() {
    return QCoreApplication::translate("Interchange", "Zarvik Database, (*.zvx)");
}

extern const char* const Skeleton;
extern const char* const AppId; // "Tally-Ward"

// Reports progress as done of total; may be empty.
using Progress = std::function<void(int done, int total)>;
using ErrorBox = std::function<void(const QString&)>;

// Every memo and task row; returns the number of tasks. Throws on database
// errors; XmlFileError when the file cannot be written.
int WriteBackup(Database& db, const QString& fileName, const QString& version,
                const ErrorBox& errorBox = {}, const Progress& progress = {});
// The given rows (siblings, in tree order), each top-level one followed by
// its sub-tasks; every given row is written with pid "root". Returns the
// number of tasks written.
int WriteExport(const std::vector<const TaskNode*>& selected, const QString& fileName,
                const QString& version, const ErrorBox& errorBox = {});

enum class Answer { Yes, No, Abort, All, Closed };
struct ReplaceQuestion {
    QString kind; // "memo" or "task"
    QString fileContent;
    TDateTime fileEditTime = 0;
    QString dbContent;
    TDateTime dbEditTime = 0;
};
using Ask = std::function<Answer(const ReplaceQuestion&)>;

// True when the file was read to its end or the user chose Abort; false
// after an error, which has been shown through errorBox.
// beforeChange runs once before the first row is written; what it throws
// ends the command with its message, nothing written.
bool RestoreFromFile(Database& db, const QString& fileName, const Ask& ask,
                     const ErrorBox& errorBox, const Progress& progress = {},
                     const std::function<void()>& beforeChange = {});
// True when every record was added under a new id.
bool ImportFromFile(Database& db, const QString& fileName, const ErrorBox& errorBox,
                    const Progress& progress = {}, const std::function<void()>& beforeChange = {});

// Line breaks as the database keeps them: one CR LF each.
QByteArray ToCrLf(const QByteArray& text);
QString ToCrLf(const QString& text);

} // namespace Interchange
