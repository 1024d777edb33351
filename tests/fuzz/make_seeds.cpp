// Writes the valid seeds of the fuzz corpus with the program's own writers:
// a backup, an export, an iCalendar export and settings files.  make_seeds CORPUS_DIR
#include "FuzzSupport.h"
#include "core/ICalendar.h"
#include "core/Interchange.h"
#include "core/TaskTreeModel.h"
#include "core/XmlTry.h"
#include "platform/IniFile.h"
#include "platform/Sealed.h"

#include <QCoreApplication>

namespace {
void put(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        std::abort();
    f.write(bytes);
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2)
        return 2;
    const QString out = QString::fromLocal8Bit(argv[1]);
    for (const char* sub : {"container", "xml", "ini", "ics", "sealed"})
        QDir(out).mkpath(QLatin1String(sub));
    Database& db = fuzz::TaskDatabase();
    fuzz::ResetTasks(db);
    db.exec(QStringLiteral(
        "update tasks set checkFlag=1, checkTime=46000.5, createTime=46000.25, editTime=46001,"
        " textColor=255, backgroundColor=16777215, alarmFlag=1, alarmTime=46002.75 where tid='{1}';"
        "insert into tasks (tid, pid, content, dueFlag, dueTime) values "
        "('{3}', 'root', 'two' || char(13) || char(10) || 'lines & <marks>', 1, 46003);"
        "insert into memos (mid, pid, content, createTime) values ('{M}', 'root', 'memo', "
        "46000);"));
    const QString backup = fuzz::Scratch().filePath(QStringLiteral("backup.zvx"));
    Interchange::WriteBackup(db, backup, QStringLiteral("1.7.5.30"));
    const QByteArray container = [&] {
        QFile f(backup);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    put(out + QStringLiteral("/container/backup.zvx"), container);
    put(out + QStringLiteral("/xml/backup.xml"), Txmltry::ReadContainer(backup));

    TaskTreeModel model;
    LoadTaskTree(db, model);
    std::vector<const TaskNode*> all;
    for (const auto& t : model.topLevel())
        all.push_back(t.get());
    const QString exported = fuzz::Scratch().filePath(QStringLiteral("export.zvx"));
    Interchange::WriteExport(all, exported, QStringLiteral("1.7.5.30"));
    put(out + QStringLiteral("/xml/export.xml"), Txmltry::ReadContainer(exported));
    std::vector<ICalendar::Entry> entries;
    model.forEachNode([&](TaskNode* n) {
        entries.push_back({&n->info, n->isTopLevel() ? QString() : n->parent()->info.tid});
    });
    put(out + QStringLiteral("/ics/export.ics"),
        ICalendar::WriteCalendar(entries, QStringLiteral("1.7.5.30")));

    const QString ini = fuzz::Scratch().filePath(QStringLiteral("zvConf.ini"));
    const IniFile settings(ini);
    settings.writeString(QStringLiteral("option"), QStringLiteral("visitWeb"),
                         QStringLiteral("2026-12-09T10:20:30.000Z"));
    settings.writeInteger(QStringLiteral("option"), QStringLiteral("hintSize"), 20);
    settings.writeBool(QStringLiteral("task"), QStringLiteral("viewListEn"), true);
    settings.writeStrings(QStringLiteral("form"),
                          {{QStringLiteral("Left"), QStringLiteral("10")},
                           {QStringLiteral("Top"), QStringLiteral("0x1F")}});
    QFile f(ini);
    f.open(QIODevice::ReadOnly);
    put(out + QStringLiteral("/ini/settings.ini"), f.readAll());
    // Sealed with "pw", at the fuzz target's own cheap key derivation.
    put(out + QStringLiteral("/sealed/empty.zvs"), Sealed::Seal({}, QStringLiteral("pw"), 2000));
    put(out + QStringLiteral("/sealed/text.zvs"),
        Sealed::Seal("<zarvik><tasks/></zarvik>", QStringLiteral("pw"), 2000));
    return 0;
}
