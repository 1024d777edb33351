#pragma once

#include "core/TaskInfo.h"
#include "platform/Database.h"

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
        QDir(m_dir.path()).mkpath(QStringLiteral("Temp"));
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
