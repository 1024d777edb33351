#pragma once

#include "core/TaskInfo.h"
#include "platform/Database.h"
#include "platform/FileModes.h"

#include <QAbstractItemModel>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QStringList>
#include <QTemporaryDir>
#include <ctime>
#include <memory>

#ifndef TASQUEL_DATA_DIR
#error "TASQUEL_DATA_DIR must name the data folder"
#endif

namespace test {

// The same surroundings for every test: C locale and one time zone.
inline void FixEnvironment(const char* tz = "UTC") {
    QLocale::setDefault(QLocale::c());
    qputenv("TZ", tz);
    tzset();
}

inline void SetZone(const char* tz) {
    qputenv("TZ", tz);
    tzset();
}

// A program folder of its own: the data files and, unless asked otherwise,
// an empty database.
class ProgramFolder {
public:
    explicit ProgramFolder(bool withDatabase = true) {
        // A copy elsewhere when the tests run as a user who cannot read
        // the source tree.
        copyTree(qEnvironmentVariable("TASQUEL_TEST_DATA", QStringLiteral(TASQUEL_DATA_DIR)),
                 m_dir.path());
        FileModes::MakeFolder(path() + QStringLiteral("Temp")); // as the program makes it
        if (withDatabase)
            Database::createEmpty(path() + QLatin1String(Database::FileName));
    }
    QString path() const { return m_dir.path() + u'/'; }
    QString configPath() const { return path() + QStringLiteral("zvConf.ini"); }

private:
    static void copyTree(const QString& from, const QString& to) {
        QDir src(from);
        QDir().mkpath(to);
        for (const QFileInfo& fi :
             src.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
            if (fi.isDir())
                copyTree(fi.filePath(), to + u'/' + fi.fileName());
            else
                QFile::copy(fi.filePath(), to + u'/' + fi.fileName());
        }
    }
    QTemporaryDir m_dir;
};

// Appends a task row with the columns that are set; 0 times are left
// empty, as the program leaves them.
inline void InsertTask(Database& db, const TTaskInfo& t) {
    Query q(db);
    OpenQuery(q, QStringLiteral("select * from tasks where 1=0"));
    q.append();
    q.setText(QStringLiteral("tid"), t.tid);
    q.setText(QStringLiteral("pid"), t.pid);
    q.setText(QStringLiteral("content"), t.content);
    q.setBool(QStringLiteral("checkFlag"), t.checkFlag);
    q.setBool(QStringLiteral("dueFlag"), t.dueFlag);
    q.setBool(QStringLiteral("alarmFlag"), t.alarmFlag);
    q.setBool(QStringLiteral("expandFlag"), t.expandFlag);
    q.setInt(QStringLiteral("textColor"), t.textColor);
    q.setInt(QStringLiteral("backgroundColor"), t.backgroundColor);
    if (t.createTime != 0)
        q.setDateTime(QStringLiteral("createTime"), t.createTime);
    for (const auto& [name, time] : {std::pair{"editTime", t.editTime},
                                     {"checkTime", t.checkTime},
                                     {"alarmTime", t.alarmTime},
                                     {"dueTime", t.dueTime}})
        if (time != 0)
            q.setDateTime(QLatin1String(name), time);
    q.post();
}

inline TTaskInfo Task(const QString& tid, const QString& pid, const QString& content,
                      bool checked = false, bool expanded = false) {
    TTaskInfo t;
    t.tid = tid;
    t.pid = pid;
    t.content = content;
    t.checkFlag = checked;
    t.expandFlag = expanded;
    return t;
}

// Writes the rows into the folder's database.
inline void Fill(const QString& folder, const QList<TTaskInfo>& tasks) {
    Database db;
    db.open(folder);
    for (const TTaskInfo& t : tasks)
        InsertTask(db, t);
}

// A task row as stored, read back.
struct StoredRow {
    QString tid, pid, content;
    bool checked = false, alarmFlag = false, dueFlag = false, expandNull = true,
         checkTimeNull = true;
    double editTime = 0, checkTime = 0, alarmTime = 0, dueTime = 0;
    int textColor = 0, backgroundColor = 0;
};

// The folder's task rows; tail: a where or order by clause.
inline QList<StoredRow> StoredRows(const QString& folder, const QString& tail = {}) {
    Database db;
    db.open(folder);
    Query q(db);
    QList<StoredRow> rows;
    for (OpenQuery(q, QStringLiteral("select * from tasks ") + tail); !q.eof(); q.next())
        rows.push_back({q.text("tid"), q.text("pid"), q.text("content"), q.boolean("checkFlag"),
                        q.boolean("alarmFlag"), q.boolean("dueFlag"),
                        q.isNull(q.fieldIndex(QStringLiteral("expandFlag"))),
                        q.isNull(q.fieldIndex(QStringLiteral("checkTime"))), q.dateTime("editTime"),
                        q.dateTime("checkTime"), q.dateTime("alarmTime"), q.dateTime("dueTime"),
                        q.integer("textColor"), q.integer("backgroundColor")});
    return rows;
}

// The row of tid; an empty one when there is none.
inline StoredRow StoredRowOf(const QString& folder, const QString& tid) {
    const auto rows = StoredRows(folder, QStringLiteral("where tid=") + QuotedStr(tid));
    return rows.isEmpty() ? StoredRow{} : rows.first();
}

// The stored texts in order.
inline QStringList StoredContents(const QString& folder) {
    QStringList t;
    for (const StoredRow& r : StoredRows(folder, QStringLiteral("order by content")))
        t << r.content;
    return t;
}

// Every column of the task rows as text, one line a row; tail: a where or
// order by clause.
inline QStringList TableText(Database& db, const QString& tail = QStringLiteral("order by tid")) {
    Query q(db);
    QStringList rows;
    for (OpenQuery(q, QStringLiteral("select * from tasks ") + tail); !q.eof(); q.next()) {
        QStringList cols;
        for (int i = 0; i < q.fieldCount(); ++i)
            cols << (q.isNull(i) ? QStringLiteral("<null>") : q.text(i));
        rows << cols.join(u'|');
    }
    return rows;
}

inline QByteArray ReadFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Replaces the file's bytes; false when it cannot be written.
[[nodiscard]] inline bool WriteFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

// The texts of the rows a model offers under parent.
inline QStringList Texts(const QAbstractItemModel& m, const QModelIndex& parent = {}) {
    QStringList t;
    for (int r = 0; r < m.rowCount(parent); ++r)
        t << m.index(r, 0, parent).data().toString();
    return t;
}

// "a(a1,a2) b(b1) c" for the tree a model offers.
inline QString Outline(const QAbstractItemModel& m) {
    QStringList parts;
    for (int r = 0; r < m.rowCount(); ++r) {
        const QModelIndex top = m.index(r, 0);
        QString s = top.data().toString();
        const QStringList kids = Texts(m, top);
        if (!kids.isEmpty())
            s += u'(' + kids.join(u',') + u')';
        parts << s;
    }
    return parts.join(u' ');
}

// Collects every message box instead of showing it; answers OK.
struct Boxes {
    struct Shown {
        QString caption, text;
    };
    QList<Shown> shown;
    int answer = 1;
    QStringList texts() const {
        QStringList t;
        for (const auto& s : shown)
            t << s.text;
        return t;
    }
};

} // namespace test
