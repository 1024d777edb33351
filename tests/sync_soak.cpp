// A soak of two copies of the program and an independent client on one
// Radicale: random commands in both windows (a Delete question answered
// only after syncs have landed under it), the client adding, editing and
// deleting, the syncs on their own timers and by hand. At the end every
// side syncs until nothing moves, and the trees and the server must agree.
//   sync_soak [SECONDS] [SEED]
#include "FrameHarness.h"
#include "RadicaleServer.h"
#include "platform/IniFile.h"
#include "sync/SyncEngine.h"

#include <QAction>
#include <QDir>
#include <QRandomGenerator>
#include <QSet>
#include <cstdio>
#include <tuple>

namespace {

struct Copy {
    test::ProgramFolder folder;
    std::unique_ptr<TmainFm> window;
    TzvTasksFrame* frame = nullptr;
    SyncEngine* engine = nullptr;
    bool asking = false;
};

// Every task as "tid|parent|text|done", sorted: the same on every side.
QStringList treeOf(const Copy& c) {
    QStringList rows;
    for (const TaskNode* n : c.frame->model()->flatNodes())
        rows << QStringLiteral("%1|%2|%3|%4")
                    .arg(n->info.tid, n->isTopLevel() ? QString() : n->parent()->info.tid,
                         n->info.content.section(u'\n', 0, 0).trimmed())
                    .arg(n->info.checkFlag);
    rows.sort();
    return rows;
}

std::vector<TaskNode*> shown(const Copy& c) {
    std::vector<TaskNode*> nodes;
    for (TaskNode* n : c.frame->model()->flatNodes())
        if (c.frame->model()->indexOf(n).isValid())
            nodes.push_back(n);
    return nodes;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    test::FixGuiEnvironment();
    const int seconds = argc > 1 ? atoi(argv[1]) : 180;
    const quint32 seed = argc > 2 ? quint32(atol(argv[2])) : QRandomGenerator::global()->generate();
    std::printf("seed %u, %d s\n", seed, seconds);
    QRandomGenerator rng(seed);
    test::RadicaleServer server;
    if (!server.start())
        return std::puts("radicale did not start"), 2;
    SetPasswordPromptHandler([&](const QString&) {
        return std::optional<QString>(QString::fromLatin1(server.Password));
    });
    Copy copies[2];
    int errors = 0, actions = 0, serial = 0;
    SetMessageBoxHandler([&](const QString&, const QString& text, int) {
        if (text.startsWith(QStringLiteral("Are you sure"))) {
            QTest::qWait(int(rng.bounded(6000))); // syncs land under the question
            return int(IDOK);
        }
        if (!text.startsWith(QStringLiteral("The server no longer has")))
            ++errors, std::printf("box: %s\n", qPrintable(text));
        return int(IDOK);
    });
    for (Copy& c : copies) {
        IniFile(c.folder.configPath())
            .writeStrings(QStringLiteral("sync"),
                          {{QStringLiteral("address"), server.address()},
                           {QStringLiteral("user"), server.Users[0]},
                           {QStringLiteral("interval"), QStringLiteral("1")}});
        c.window = std::make_unique<TmainFm>(c.folder.path());
        c.window->show();
        test::Program::afterPosted();
        c.frame = c.window->tasksFrame();
        c.engine = c.window->findChild<SyncEngine*>();
    }
    const auto act = [&] {
        Copy& c = copies[rng.bounded(2)];
        if (c.asking)
            return; // its question takes the keyboard
        ++actions;
        const auto nodes = shown(c);
        TaskNode* node = nodes.empty() ? nullptr : nodes[rng.bounded(int(nodes.size()))];
        const auto select = [&](TaskNode* n) {
            c.frame->tree()->clearSelection();
            c.frame->tree()->selectionModel()->select(c.frame->model()->indexOf(n),
                                                      QItemSelectionModel::Select |
                                                          QItemSelectionModel::Rows);
        };
        switch (node ? rng.bounded(9) : 0) {
        case 0:
        case 1:
            c.frame->AddTaskFromText(QStringLiteral("Task %1 it's").arg(++serial));
            break;
        case 2:
            c.frame->EditorKeep(node, QStringLiteral("Edited %1").arg(++serial));
            break;
        case 3:
            c.frame->model()->setData(c.frame->model()->indexOf(node),
                                      node->info.checkFlag ? Qt::Unchecked : Qt::Checked,
                                      Qt::CheckStateRole);
            break;
        case 4:
            select(node);
            c.asking = true;
            c.frame->Action_TaskDelete->trigger();
            c.asking = false;
            break;
        case 5: {
            // Under another top-level task, or back to the top.
            select(node);
            const auto targets = c.frame->MoveTargets();
            if (!targets.empty())
                c.frame->MoveSelectedTo(targets[rng.bounded(int(targets.size()))], true);
            break;
        }
        case 6:
            c.window->Action_Sync->trigger();
            break;
        default: {
            const QStringList uids = server.client(0, {"parents"}).split(u'\n', Qt::SkipEmptyParts);
            const QString uid = uids.isEmpty()
                                    ? QString()
                                    : uids[rng.bounded(int(uids.size()))].section(u'|', 0, 0);
            if (uid.isEmpty() || rng.bounded(3) == 0)
                server.client(0, {"add", QStringLiteral("phone-%1").arg(++serial),
                                  QStringLiteral("From the phone")});
            else
                server.client(0, {rng.bounded(4) ? "edit" : "delete", uid,
                                  QStringLiteral("Phone edit %1").arg(++serial)});
        }
        }
    };
    QTimer changes;
    QObject::connect(&changes, &QTimer::timeout, act);
    changes.start(400);
    QTest::qWait(seconds * 1000);
    changes.stop();
    QTest::qWait(7000); // a question still open is answered

    // Each side in turn until a whole round moves nothing.
    for (int round = 0; round < 6; ++round) {
        bool quiet = true;
        for (Copy& c : copies) {
            SyncResult result;
            bool done = false;
            const auto conn =
                QObject::connect(c.engine, &SyncEngine::finished,
                                 [&](const SyncResult& r) { result = r, done = !r.postponed; });
            (void)QTest::qWaitFor([&] { return !c.engine->running(); }, 120000);
            c.window->Action_Sync->trigger();
            (void)QTest::qWaitFor([&] { return done; }, 120000);
            QObject::disconnect(conn);
            std::printf("settle %d: %s\n", round, qPrintable(result.text()));
            quiet = quiet && result.ok && result.sent == 0 && result.received == 0;
        }
        if (quiet && round > 0)
            break;
    }
    const QStringList a = treeOf(copies[0]), b = treeOf(copies[1]);
    // The server's tree in two levels: each task under the top of its
    // chain of parents; a parent deleted there or a cycle leave it on top.
    QHash<QString, QString> parents;
    for (const QString& line : server.client(0, {"parents"}).split(u'\n', Qt::SkipEmptyParts))
        parents.insert(line.section(u'|', 0, 0), line.section(u'|', 1));
    QStringList server_;
    for (auto it = parents.constBegin(); it != parents.constEnd(); ++it) {
        QString top = it.key();
        QSet<QString> seen{top};
        while (parents.contains(parents.value(top)) && !seen.contains(parents.value(top)))
            seen.insert(top = parents.value(top));
        const bool cycle = parents.contains(parents.value(top));
        server_ << it.key() + u'|' + (cycle || top == it.key() ? QString() : top);
    }
    server_.sort();
    QStringList aParents;
    for (const QString& row : a)
        aParents << row.section(u'|', 0, 1);
    int conflicts = 0;
    for (const Copy& c : copies)
        conflicts += int(QDir(c.folder.path() + QStringLiteral("Backups"))
                             .entryList({QStringLiteral("Sync conflicts*")})
                             .size());
    std::printf("%d actions, %lld tasks, %d conflict files, %d error boxes\n", actions,
                qint64(a.size()), conflicts, errors);
    // Prints what only one side holds; true when they hold the same.
    const auto compare = [](const char* what, const QStringList& x, const char* xName,
                            const QStringList& y, const char* yName) {
        if (x == y)
            return true;
        std::printf("%s differ:\n", what);
        for (const auto& [from, to, name] : {std::tuple(&x, &y, xName), std::tuple(&y, &x, yName)})
            for (const QString& r : *from)
                if (!to->contains(r))
                    std::printf("  %s only: %s\n", name, qPrintable(r));
        return false;
    };
    const bool copiesSame = compare("the copies", a, "a", b, "b");
    const bool same =
        compare("the server and the copies", aParents, "here", server_, "server") && copiesSame;
    std::puts(same ? "the same tree on all three" : "NOT THE SAME");
    for (Copy& c : copies)
        c.window.reset();
    SetMessageBoxHandler({});
    return same && errors == 0 ? 0 : 1;
}
