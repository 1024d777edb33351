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

void WriteFlagAndTime(Query& q, const QString& tid, const QString& flagName, bool flag,
                      const QString& timeName, TDateTime time) {
    // One statement: it runs for each of many selected rows.
    q.execWith(QStringLiteral("update tasks set %1=?, %2=?").arg(flagName, timeName) + kWhereTid,
               {qint64(flag ? 1 : 0), time, tid});
}

void WriteColors(Query& q, const QString& tid, qint32 textColor, qint32 backgroundColor) {
    Exec(q, QStringLiteral("update tasks set textColor=?, backgroundColor=?") + kWhereTid,
         {QString::number(textColor), QString::number(backgroundColor), tid});
}

void WriteParent(Query& q, const QString& tid, const QString& pid) {
    Exec(q, QStringLiteral("update tasks set pid=?") + kWhereTid, {pid, tid});
}

void Delete(Query& q, const QString& tid) {
    Exec(q, QStringLiteral("delete from tasks where tid=?1 or pid=?1"), {tid});
}

} // namespace TaskStore
