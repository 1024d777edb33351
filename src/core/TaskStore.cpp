#include "TaskStore.h"

#include "platform/Database.h"
#include "platform/pU_Funcs.h"

namespace TaskStore {

namespace {
// The id is bound: one prepared statement serves every row of a command.
const QString kWhereTid = QStringLiteral(" where tid=?");

void OpenRowForEdit(Query& q, const QString& tid) {
    OpenQuery(q, QStringLiteral("select * from tasks") + kWhereTid, {tid});
    q.edit();
}

void PostAndClose(Query& q) {
    q.post();
    q.close();
}

void Exec(Query& q, const QString& sql, const QStringList& params) {
    q.setSql(sql, params);
    q.execSql();
}

// Runs sql, whose %1 stands for a list of ids, for each batch of ids, the
// values bound before them.
void InBatches(Query& q, const QString& sql, const std::vector<Query::Param>& values,
               const QStringList& ids) {
    constexpr qsizetype batch = 500;
    const int first = int(values.size()) + 1;
    for (qsizetype at = 0; at < ids.size(); at += batch) {
        const qsizetype n = std::min(batch, ids.size() - at);
        QStringList marks;
        std::vector<Query::Param> params = values;
        for (qsizetype i = 0; i < n; ++i) {
            marks << u'?' + QString::number(first + i);
            params.emplace_back(ids.at(at + i));
        }
        q.execWith(sql.arg(marks.join(u',')), params);
    }
}
} // namespace

void StampNewTask(TTaskInfo& t, TDateTime now) {
    t.tid = NewGuid();
    t.checkFlag = t.alarmFlag = t.dueFlag = false;
    t.textColor = t.backgroundColor = 0;
    t.createTime = now;
    t.editTime = now;
}

void Insert(Query& q, const TTaskInfo& t) {
    OpenQuery(q, QStringLiteral("select * from tasks where 1=0"));
    q.append();
    q.setText(QStringLiteral("tid"), t.tid);
    q.setText(QStringLiteral("pid"), t.pid);
    q.setText(QStringLiteral("content"), t.content);
    q.setBool(QStringLiteral("checkFlag"), t.checkFlag);
    q.setInt(QStringLiteral("textColor"), t.textColor);
    q.setInt(QStringLiteral("backgroundColor"), t.backgroundColor);
    q.setBool(QStringLiteral("alarmFlag"), t.alarmFlag);
    q.setBool(QStringLiteral("dueFlag"), t.dueFlag);
    q.setDateTime(QStringLiteral("createTime"), t.createTime);
    q.setDateTime(QStringLiteral("editTime"), t.editTime);
    PostAndClose(q);
}

void WriteContent(Query& q, const QString& tid, const QString& content, TDateTime editTime) {
    OpenRowForEdit(q, tid);
    q.setText(QStringLiteral("content"), content);
    q.setDateTime(QStringLiteral("editTime"), editTime);
    PostAndClose(q);
}

void WriteExpandFlag(Query& q, const QString& tid, bool expanded) {
    Exec(q,
         QStringLiteral("update tasks set expandFlag=") +
             (expanded ? QStringLiteral("True") : QStringLiteral("False")) + kWhereTid,
         {tid});
}

void WriteFlagAndTime(Query& q, const QStringList& tids, const QString& flagName, bool flag,
                      const QString& timeName, TDateTime time) {
    InBatches(q,
              QStringLiteral("update tasks set %2=?1, %3=?2 where tid in (%1)")
                  .arg(QStringLiteral("%1"), flagName, timeName),
              {qint64(flag ? 1 : 0), time}, tids);
}

void WriteColors(Query& q, const QStringList& tids, qint32 textColor, qint32 backgroundColor) {
    InBatches(q,
              QStringLiteral("update tasks set textColor=?1, backgroundColor=?2 where tid in (%1)"),
              {qint64(textColor), qint64(backgroundColor)}, tids);
}

void WriteParent(Query& q, const QStringList& tids, const QString& pid) {
    InBatches(q, QStringLiteral("update tasks set pid=?1 where tid in (%1)"), {pid}, tids);
}

void Delete(Query& q, const QStringList& tids) {
    InBatches(q, QStringLiteral("delete from tasks where tid in (%1) or pid in (%1)"), {}, tids);
}

void WriteFromOutside(Query& q, const TTaskInfo& t, const QString& pid, bool exists,
                      bool writeExpand) {
    const auto time = [](bool flag, TDateTime v) {
        return flag ? Query::Param(v) : Query::Param(nullptr);
    };
    // Only a top-level row opens.
    const qint64 expand = pid == RootPid() && t.expandFlag;
    if (!exists) {
        q.execWith(QStringLiteral("insert into tasks (tid, pid, content, checkFlag, dueFlag,"
                                  " alarmFlag, expandFlag, textColor, backgroundColor, createTime,"
                                  " editTime, checkTime, alarmTime, dueTime)"
                                  " values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                   {t.tid, pid, t.content, qint64(t.checkFlag), qint64(t.dueFlag),
                    qint64(t.alarmFlag), expand, qint64(t.textColor), qint64(t.backgroundColor),
                    t.createTime, t.editTime, time(t.checkFlag, t.checkTime),
                    time(t.alarmFlag, t.alarmTime), time(t.dueFlag, t.dueTime)});
        return;
    }
    q.execWith(QStringLiteral("update tasks set pid=?, content=?, checkFlag=?, dueFlag=?,"
                              " alarmFlag=?, expandFlag=coalesce(?, expandFlag), textColor=?,"
                              " backgroundColor=?, createTime=?, editTime=?,"
                              " checkTime=coalesce(?, checkTime), alarmTime=coalesce(?, alarmTime),"
                              " dueTime=coalesce(?, dueTime) where tid=?"),
               {pid, t.content, qint64(t.checkFlag), qint64(t.dueFlag), qint64(t.alarmFlag),
                writeExpand ? Query::Param(expand) : Query::Param(nullptr), qint64(t.textColor),
                qint64(t.backgroundColor), t.createTime, t.editTime, time(t.checkFlag, t.checkTime),
                time(t.alarmFlag, t.alarmTime), time(t.dueFlag, t.dueTime), t.tid});
}

} // namespace TaskStore
