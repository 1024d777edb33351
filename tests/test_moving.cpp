#include "FrameHarness.h"

#include <QDragMoveEvent>
#include <QMenu>
#include <QMimeData>

namespace {

void fill(const QString& folder) {
    using test::Task;
    test::Fill(folder,
               {Task("{A}", "root", "a"), Task("{A1}", "{A}", "a1"), Task("{A2}", "{A}", "a2"),
                Task("{B}", "root", "b"), Task("{B1}", "{B}", "b1"), Task("{C}", "root", "c")});
}

QMap<QString, QString> parents(const QString& folder) {
    Database db;
    db.open(folder);
    Query q(db);
    QMap<QString, QString> map;
    for (OpenQuery(q, QStringLiteral("select * from tasks")); !q.eof(); q.next())
        map[q.text("content")] = q.text("pid");
    return map;
}

QAction* item(QMenu* menu, const QString& caption) {
    menu->aboutToShow();
    for (QAction* a : menu->actions())
        if (a->text() == caption)
            return a;
    return nullptr;
}

} // namespace

class TestMoving : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::FixGuiEnvironment(); }

    void subTaskToRootGoesFirst() {
        test::ProgramFolder folder;
        fill(folder.path());
        test::Program p(folder.path());
        TzvTasksFrame* f = p.show();
        p.tree()->expandAll();
        p.select({p.row(1, 0)}); // b1
        QAction* root = item(f->Menu_Moveto, "Root");
        QVERIFY(root);
        root->trigger();
        QCOMPARE(test::Outline(*f->model()), QStringLiteral("b1 a(a1,a2) b c"));
        QCOMPARE(parents(folder.path())["b1"], QStringLiteral("root"));
        QVERIFY(f->SelectedNodes().empty());
    }

    void severalMovedByMenuEndUpFirstInReverse() {
        test::ProgramFolder folder;
        fill(folder.path());
        test::Program p(folder.path());
        TzvTasksFrame* f = p.show();
        p.tree()->expandAll();
        p.select({p.row(0, 0), p.row(0, 1)}); // a1, a2
        item(f->MainMoveTo, "c")->trigger();
        QCOMPARE(test::Outline(*f->model()), QStringLiteral("a b(b1) c(a2,a1)"));
        QVERIFY(p.tree()->isExpanded(p.row(2)));
        const auto map = parents(folder.path());
        QCOMPARE(map["a1"], QStringLiteral("{C}"));
        QCOMPARE(map["a2"], QStringLiteral("{C}"));
    }

    void taskWithSubTasksBringsThemAlong() {
        test::ProgramFolder folder;
        fill(folder.path());
        {
            test::Program p(folder.path());
            TzvTasksFrame* f = p.show();
            p.select({p.row(0)}); // a, with a1 and a2
            item(f->Menu_Moveto, "b")->trigger();
            QCOMPARE(test::Outline(*f->model()), QStringLiteral("b(a,a1,a2,b1) c"));
            const auto map = parents(folder.path());
            QCOMPARE(map["a"], QStringLiteral("{B}"));
            QCOMPARE(map["a1"], QStringLiteral("{B}"));
            QCOMPARE(map["a2"], QStringLiteral("{B}"));
        }
        // Nothing is lost after a restart.
        test::Program again(folder.path());
        TzvTasksFrame* f = again.show();
        QCOMPARE(f->model()->totalCount(), 6);
        QCOMPARE(test::Outline(*f->model()), QStringLiteral("b(a,a1,a2,b1) c")); // sorted at start
    }

    void targetAmongTheSelectionStays() {
        test::ProgramFolder folder;
        fill(folder.path());
        test::Program p(folder.path());
        TzvTasksFrame* f = p.show();
        p.select({p.row(1), p.row(2)}); // b and c; drop on c
        f->tree()->dropRequested(p.row(2));
        QCOMPARE(test::Outline(*f->model()), QStringLiteral("a(a1,a2) c(b,b1)"));
        QCOMPARE(parents(folder.path())["c"], QStringLiteral("root"));
    }

    void dropOnSubTaskMeansItsParentAndGoesLast() {
        test::ProgramFolder folder;
        fill(folder.path());
        test::Program p(folder.path());
        TzvTasksFrame* f = p.show();
        p.tree()->expandAll();
        p.select({p.row(1, 0)}); // b1 onto a1
        f->tree()->dropRequested(p.row(0, 0));
        QCOMPARE(test::Outline(*f->model()), QStringLiteral("a(a1,a2,b1) b c"));
        QCOMPARE(parents(folder.path())["b1"], QStringLiteral("{A}"));

        // On blank space: to the end of the top level.
        p.select({p.row(0, 2)});
        f->tree()->dropRequested(QModelIndex());
        QCOMPARE(test::Outline(*f->model()), QStringLiteral("a(a1,a2) b c b1"));
        QCOMPARE(parents(folder.path())["b1"], QStringLiteral("root"));

        // A top-level task dropped on its own sub-task stays.
        p.select({p.row(0)});
        f->tree()->dropRequested(p.row(0, 1));
        QCOMPARE(test::Outline(*f->model()), QStringLiteral("a(a1,a2) b c b1"));
    }

    void dragOverTheFirstSelectedRowIsRefused() {
        test::ProgramFolder folder;
        fill(folder.path());
        test::Program p(folder.path());
        p.show();
        p.select({p.row(1)});
        QMimeData data;
        data.setText("b");
        const auto over = [&](const QModelIndex& i) {
            const QPoint at = p.tree()->visualRect(i).center();
            // A drag always enters before it moves.
            QDragEnterEvent enter(at, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(p.tree()->viewport(), &enter);
            QDragMoveEvent e(at, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(p.tree()->viewport(), &e);
            return e.isAccepted();
        };
        QVERIFY(!over(p.row(1)));
        QVERIFY(!p.tree()->isExpanded(p.row(2)));
        QVERIFY(over(p.row(0)));
        QVERIFY(p.tree()->isExpanded(p.row(0))); // hovering opens a task
    }
};

QTEST_MAIN(TestMoving)
#include "test_moving.moc"
