#include "Interchange.h"
#include "InterchangeFormat.h"
#include "TaskTreeModel.h"
#include "XmlTry.h"
#include "platform/Database.h"
#include "platform/pU_Funcs.h"

#include <QCoreApplication>
#include <pugixml.hpp>

// The writers: Database Backup and Export.

namespace Interchange {

namespace {

// A NUL would end the value there: it is left out, the rest is kept.
void setAttr(pugi::xml_node node, const char* name, const QString& value) {
    node.append_attribute(name).set_value(StorableText(value).toUtf8().constData());
}

QString flagText(bool v) {
    return v ? QStringLiteral("True") : QStringLiteral("False");
}

void startDocument(Txmltry& xml, const QString& version) {
    xml.LoadXml(QString::fromLatin1(Skeleton));
    xml.SetAttr(QStringLiteral("zarvik"), QStringLiteral("app"), QLatin1String(AppId));
    xml.SetAttr(QStringLiteral("zarvik"), QStringLiteral("appversion"), version);
    xml.SetAttr(QStringLiteral("zarvik"), QStringLiteral("time"), FormatIsoDateTime(Clock::Now()));
}

// One table's rows as record elements, in the order the database gives.
void writeTable(Database& db, pugi::xml_node section, const char* element, const char* table,
                const Column* columns, size_t count, int bias, const Progress& progress, int& done,
                int total) {
    Query q(db);
    OpenQuery(q, QStringLiteral("select * from %1").arg(QLatin1String(table)));
    std::vector<int> index(count);
    for (size_t c = 0; c < count; ++c) {
        index[c] = q.fieldIndex(QLatin1String(columns[c].column));
        if (index[c] < 0)
            throw DbError(QCoreApplication::translate("Interchange", "Field '%1' not found.")
                              .arg(QLatin1String(columns[c].column)));
    }
    for (; !q.eof(); q.next()) {
        pugi::xml_node record = section.append_child(element);
        for (size_t c = 0; c < count; ++c)
            setAttr(record, columns[c].attribute, ColumnText(q, index[c], columns[c].kind, bias));
        if (progress && (++done % 256) == 0)
            progress(done, total);
    }
}

int countRows(Database& db, const char* table) {
    Query q(db);
    OpenQuery(q, QStringLiteral("select count(*) as cnt from %1").arg(QLatin1String(table)));
    return q.integer(QStringLiteral("cnt"));
}

void writeTask(pugi::xml_node section, const TTaskInfo& t, const QString& pid, int bias) {
    pugi::xml_node r = section.append_child("task");
    setAttr(r, "tid", t.tid);
    setAttr(r, "pid", pid);
    setAttr(r, "content", t.content);
    setAttr(r, "check-flag", flagText(t.checkFlag));
    setAttr(r, "alarm-flag", flagText(t.alarmFlag));
    setAttr(r, "due-flag", flagText(t.dueFlag));
    setAttr(r, "text-color", QString::number(t.textColor));
    setAttr(r, "background-color", QString::number(t.backgroundColor));
    setAttr(r, "create-time", FormatIsoDateTime(t.createTime, true, bias));
    setAttr(r, "edit-time", FormatIsoDateTime(t.editTime, true, bias));
    setAttr(r, "check-time", FormatIsoDateTime(t.checkTime, true, bias));
    setAttr(r, "alarm-time", FormatIsoDateTime(t.alarmTime, true, bias));
    setAttr(r, "due-time", FormatIsoDateTime(t.dueTime, true, bias));
}

} // namespace

QString ColumnText(const Query& q, int i, Column::Kind kind, int bias) {
    switch (kind) {
    case Column::Text:
        return q.text(i);
    case Column::Flag:
        return q.isNull(i) ? QString() : flagText(q.boolean(i));
    case Column::Integer:
        return q.isNull(i) ? QString() : QString::number(q.integer(i));
    case Column::Time:
        return FormatIsoDateTime(q.dateTime(i), true, bias);
    }
    return QString();
}

int WriteBackup(Database& db, const QString& fileName, const QString& version,
                const ErrorBox& errorBox, const Progress& progress) {
    Txmltry xml(errorBox);
    startDocument(xml, version);
    const int bias = LocalOffsetBias();
    const int tasks = countRows(db, "tasks");
    const int total = countRows(db, "memos") + tasks;
    int done = 0;
    writeTable(db, xml.FindNode(QStringLiteral("zarvik,memos")), "memo", "memos", kMemoColumns,
               std::size(kMemoColumns), bias, progress, done, total);
    writeTable(db, xml.FindNode(QStringLiteral("zarvik,tasks")), "task", "tasks", kTaskColumns,
               std::size(kTaskColumns), bias, progress, done, total);
    xml.Invalidate();
    xml.SaveFile(fileName, true);
    if (progress)
        progress(total, total);
    return tasks;
}

int WriteExport(const std::vector<const TaskNode*>& selected, const QString& fileName,
                const QString& version, const ErrorBox& errorBox) {
    Txmltry xml(errorBox);
    startDocument(xml, version);
    const int bias = LocalOffsetBias();
    pugi::xml_node tasks = xml.FindNode(QStringLiteral("zarvik,tasks"));
    int written = 0;
    for (const TaskNode* node : selected) {
        writeTask(tasks, node->info, RootPid(), bias);
        ++written;
        if (node->isTopLevel())
            for (const auto& child : node->children()) {
                writeTask(tasks, child->info, child->info.pid, bias);
                ++written;
            }
    }
    xml.Invalidate();
    xml.SaveFile(fileName, true);
    return written;
}

} // namespace Interchange
