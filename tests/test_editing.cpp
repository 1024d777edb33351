#include "FrameHarness.h"
#include "components/ZvStatusBar.h"
#include "core/TaskRules.h"
#include "platform/IniFile.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QToolButton>

namespace {

void fill(const QString& folder) {
    using test::Task;
    test::Fill(folder, {Task("{A}", "root", "alpha", false, false),
                        Task("{A1}", "{A}", "alpha one"), Task("{A2}", "{A}", "alpha two", true),
                        Task("{B}", "root", "beta", true), Task("{C}", "root", "Gamma milk")});
}

} // namespace

class TestEditing : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { test::FixGuiEnvironment(); }
    void cleanup() { Clock::SetForTesting({}); }

    void enterTypeCtrlEnterSavesOneTask() {
        test::ProgramFolder folder;
        test::Program p(folder.path());
        TzvTasksFrame* f = p.show();
        const QDateTime now(QDate(2026, 4, 1), QTime(7, 45, 30));
        Clock::SetForTesting([&] { return now; });
        QTest::keyClick(p.tree(), Qt::Key_Return);
        QPlainTextEdit* editor = p.editor();
        QVERIFY(f->editingNode());
        QCOMPARE(f->tipMode(), 2);
        QVERIFY(!f->Action_TaskAdd->isEnabled() && !f->Comb_ViewRange->isEnabled());
        QVERIFY(!f->Menu_ViewAll->isEnabled());
        // At least four lines tall while edited.
        QVERIFY(p.tree()->visualRect(p.row(0)).height() >= 4 * p.tree()->fontMetrics().height());
        QTest::keyClicks(editor, "buy it's");
        QTest::keyClick(editor, Qt::Key_Return); // a line break, not the end
        QTest::keyClicks(editor, "milk  ");
        QTest::keyClick(editor, Qt::Key_Return, Qt::ControlModifier);
        QTRY_VERIFY(!f->editingNode());
        const auto rows = test::StoredRows(folder.path());
        QCOMPARE(rows.size(), 1);
        QVERIFY(QRegularExpression("^\\{[0-9A-F]{8}(-[0-9A-F]{4}){3}-[0-9A-F]{12}\\}$")
                    .match(rows[0].tid)
                    .hasMatch());
        QCOMPARE(rows[0].pid, QStringLiteral("root"));
        QCOMPARE(rows[0].content, QStringLiteral("buy it's\r\nmilk"));
        QCOMPARE(FromDateTime(rows[0].editTime), now);
        QCOMPARE(rows[0].checkTime, 0.0); // never completed
        QCOMPARE(test::Texts(*f->model()), QStringList({"buy it's\r\nmilk"}));
        QVERIFY(p.tree()->selectionModel()->isRowSelected(0, {}));
        QCOMPARE(f->tipMode(), 0);
        QVERIFY(f->Action_TaskAdd->isEnabled());
        QVERIFY(f->trayHint().endsWith(QLatin1String("(1) buy it's  milk")));
    }

    // The row being added is already selected when its edit ends, so no
    // selection change tells the status bar; it must describe the saved row.
    void statusBarDescribesTheRowJustSaved() {
        test::ProgramFolder folder;
        test::Program p(folder.path());
        TzvTasksFrame* f = p.show();
        const QDateTime now(QDate(2026, 4, 1), QTime(7, 45, 30));
        Clock::SetForTesting([&] { return now; });
        QTest::keyClick(p.tree(), Qt::Key_Return);
        QTest::keyClicks(p.editor(), "first");
        QTest::keyClick(p.editor(), Qt::Key_Return, Qt::ControlModifier);
        const QString created = DateTimeText(ToDateTime(now)) + QStringLiteral(" created");
        QTRY_COMPARE(f->ZvStatusBar1->panelText(), created);
        QVERIFY(!f->ZvStatusBar1->panelText().contains(QLatin1String("1899")));
        QVERIFY(f->ZvStatusBar1->StatusImage->isHidden());

        // Editing the selected row again and completing it by key.
        f->Action_TaskComplete->trigger();
        QTest::keyClick(p.tree(), Qt::Key_F2);
        QTest::keyClicks(p.editor(), " again");
        QTest::keyClick(p.editor(), Qt::Key_Return, Qt::ControlModifier);
        QTRY_COMPARE(f->ZvStatusBar1->panelText(),
                     DateTimeText(ToDateTime(now)) + QStringLiteral(" completed"));
    }

    void cancelledOrEmptyNewRowsLeaveNoTrace_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("escape");
        QTest::newRow("nothing typed, kept") << "" << false;
        QTest::newRow("typed, Esc") << "soon gone" << true;
    }
    void cancelledOrEmptyNewRowsLeaveNoTrace() {
        QFETCH(QString, typed);
        QFETCH(bool, escape);
        test::ProgramFolder folder;
        fill(folder.path());
        test::Program p(folder.path());
        TzvTasksFrame* f = p.show();
        const int before = f->model()->rowCount();
        f->Action_TaskAdd->trigger();
        QPlainTextEdit* editor = p.editor();
        QCOMPARE(f->model()->rowCount(), before + 1);
        QTest::keyClicks(editor, typed);
        QTest::keyClick(editor, escape ? Qt::Key_Escape : Qt::Key_Return,
                        escape ? Qt::NoModifier : Qt::ControlModifier);
        QTRY_COMPARE(f->model()->rowCount(), before); // the unsaved row goes by a posted message
        QVERIFY(!f->editingNode());
        QCOMPARE(test::StoredRows(folder.path()).size(), 5);
    }

    void spacesOnlyAreSavedAsEmptyText() {
        test::ProgramFolder folder;
        test::Program p(folder.path());
        TzvTasksFrame* f = p.show();
        f->Action_TaskAdd->trigger();
        QTest::keyClicks(p.editor(), "   ");
        f->FinishEdit(); // as a click on the tip text does
        QTRY_VERIFY(!f->editingNode());
        const auto rows = test::StoredRows(folder.path());
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0].content, QString());
        QCOMPARE(f->RowText(p.row(0)), QStringLiteral("Input content here"));
    }

    void unchangedEditWritesNothing() {
        test::ProgramFolder folder;
        fill(folder.path());
        test::Program p(folder.path());
        TzvTasksFrame* f = p.show();
        p.tree()->setCurrentIndex(p.row(0));
        QTest::keyClick(p.tree(), Qt::Key_F2);
        QPlainTextEdit* editor = p.editor();
        QCOMPARE(editor->toPlainText(), QStringLiteral("alpha"));
        QTest::keyClick(editor, Qt::Key_Return, Qt::ControlModifier);
        QTRY_VERIFY(!f->editingNode());
        QCOMPARE(test::StoredRows(folder.path())[0].editTime, 0.0);

        // A real change is written with its edit time.
        f->Action_TaskEdit->trigger();
        editor = p.editor();
        QTest::keyClicks(editor, " plus");
        QTest::keyClick(editor, Qt::Key_Return, Qt::ControlModifier);
        QTRY_VERIFY(!f->editingNode());
        const test::StoredRow r = test::StoredRows(folder.path())[0];
        QCOMPARE(r.content, QStringLiteral("alpha plus"));
        QVERIFY(r.editTime > 0);
        QCOMPARE(r.tid, QStringLiteral("{A}"));
    }

    void subTaskGoesUnderTheTopLevelTask() {
        test::ProgramFolder folder;
        fill(folder.path());
        test::Program p(folder.path());
        TzvTasksFrame* f = p.show();
        // With a sub-task selected the new row is its sibling.
        p.tree()->setCurrentIndex(p.row(0)); // alpha, collapsed
        p.tree()->expand(p.row(0));
        p.tree()->setCurrentIndex(p.row(0, 1));
        QTest::keyClick(p.tree(), Qt::Key_Return, Qt::ControlModifier);
        QTest::keyClicks(p.editor(), "alpha three");
        QTest::keyClick(p.editor(), Qt::Key_Return, Qt::ControlModifier);
        QTRY_COMPARE(test::Texts(*f->model(), p.row(0)),
                     QStringList({"alpha one", "alpha two", "alpha three"}));
        const auto rows = test::StoredRows(folder.path());
        QCOMPARE(rows.last().pid, QStringLiteral("{A}"));

        // With nothing selected: under the last top-level task, which opens.
        p.tree()->clearSelection();
        f->Action_SubTaskAdd->trigger();
        QTest::keyClicks(p.editor(), "under gamma");
        QTest::keyClick(p.editor(), Qt::Key_Return, Qt::ControlModifier);
        QTRY_VERIFY(p.tree()->isExpanded(p.row(2)));
        QCOMPARE(test::StoredRows(folder.path()).last().pid, QStringLiteral("{C}"));
    }

    void subTaskOnAnEmptyTreeAsksForATask() {
        test::ProgramFolder folder;
        test::Program p(folder.path());
        TzvTasksFrame* f = p.show();
        f->Action_SubTaskAdd->trigger();
        QCOMPARE(p.boxes.shown.size(), 1);
        QCOMPARE(p.boxes.shown[0].caption, QStringLiteral("Tip"));
        QCOMPARE(p.boxes.shown[0].text, QStringLiteral("Please select a task!"));
        QVERIFY(!f->editingNode());
    }

    void deleteAsksAndRemovesSubTasks() {
        test::ProgramFolder folder;
        fill(folder.path());
        test::Program p(folder.path());
        TzvTasksFrame* f = p.show();
        p.tree()->setCurrentIndex(p.row(0));
        p.boxes.answer = IDCANCEL;
        QTest::keyClick(p.tree(), Qt::Key_Delete);
        QCOMPARE(p.boxes.shown.last().text,
                 QStringLiteral("Are you sure you want to delete this task?"));
        QCOMPARE(p.boxes.shown.last().caption, QStringLiteral("Ask"));
        QCOMPARE(test::StoredRows(folder.path()).size(), 5);
        p.boxes.answer = IDOK;
        QTest::keyClick(p.tree(), Qt::Key_Delete);
        QCOMPARE(test::Texts(*f->model()), QStringList({"beta", "Gamma milk"}));
        QCOMPARE(test::StoredRows(folder.path()).size(), 2);

        f->Action_SelectAll->trigger();
        f->Action_TaskDelete->trigger();
        QCOMPARE(p.boxes.shown.last().text,
                 QStringLiteral("Are you sure you want to delete these tasks?"));
        QCOMPARE(test::StoredRows(folder.path()).size(), 0);
        QCOMPARE(f->tipMode(), 1);
    }

    void markCompleteFollowsTheFirstSelected() {
        test::ProgramFolder folder;
        fill(folder.path());
        test::Program p(folder.path());
        TzvTasksFrame* f = p.show();
        auto* sel = p.tree()->selectionModel();
        sel->select(p.row(1),
                    QItemSelectionModel::Select | QItemSelectionModel::Rows); // beta, complete
        sel->select(p.row(2), QItemSelectionModel::Select | QItemSelectionModel::Rows); // gamma
        QCOMPARE(f->Action_TaskComplete->text(), QStringLiteral("U&nmark Complete"));
        f->Action_TaskComplete->trigger();
        auto rows = test::StoredRows(folder.path());
        QVERIFY(!rows[3].checked && !rows[4].checked);
        QVERIFY(rows[3].checkTime > 0);
        QCOMPARE(rows[4].checkTime, 0.0); // already unchecked: not written
        f->Action_TaskComplete->trigger();
        rows = test::StoredRows(folder.path());
        QVERIFY(rows[3].checked && rows[4].checked);
        QVERIFY(!rows[0].checked); // completion never spreads
    }

    void addTaskLeavesViewComplete() {
        test::ProgramFolder folder;
        fill(folder.path());
        IniFile(folder.configPath()).writeInteger("task", "viewRange", 1);
        test::Program p(folder.path());
        TzvTasksFrame* f = p.show();
        QCOMPARE(test::Texts(*f->model()), QStringList({"alpha", "beta"}));
        f->Action_TaskAdd->trigger();
        QCOMPARE(f->Comb_ViewRange->currentIndex(), 0);
        QCOMPARE(IniFile(folder.configPath()).readInteger("task", "viewRange", -1), 0);
        QTest::keyClick(p.editor(), Qt::Key_Escape);
        QTRY_VERIFY(!f->editingNode());
        // "View Incomplete" stays.
        f->Menu_Incomplete->trigger();
        f->Action_TaskAdd->trigger();
        QCOMPARE(f->Comb_ViewRange->currentIndex(), 2);
    }

    void doubleClickOnBlankSpaceStartsATask() {
        test::ProgramFolder folder;
        test::Program p(folder.path());
        TzvTasksFrame* f = p.show();
        QTest::mouseDClick(p.tree()->viewport(), Qt::LeftButton, {}, QPoint(50, 200));
        p.editor();
        QVERIFY(f->editingNode());
    }

    // Shift+F10 opens the row's menu; Ctrl+F goes to the search box.
    void menuAndSearchKeys() {
        test::ProgramFolder folder;
        fill(folder.path());
        test::Program p(folder.path());
        TzvTasksFrame* f = p.show();
        p.select({p.row(0)});
        QTest::keyClick(p.tree(), Qt::Key_F10, Qt::ShiftModifier);
        QTRY_VERIFY(f->PopupMenu_Task->isVisible());
        f->PopupMenu_Task->close();
        QTest::keyClick(p.tree(), Qt::Key_F, Qt::ControlModifier);
        QTRY_VERIFY(f->Edt_Search->hasFocus());
    }

    void searchFiltersExpandsAndClears() {
        test::ProgramFolder folder;
        fill(folder.path());
        test::Program p(folder.path());
        TzvTasksFrame* f = p.show();
        QCOMPARE(f->Edt_Search->text(), QStringLiteral("  Search..."));
        QTest::qWait(0);
        QApplication::sendEvent(f->Edt_Search, new QFocusEvent(QEvent::FocusIn));
        QCOMPARE(f->Edt_Search->text(), QString());
        QCOMPARE(f->Btn_Search->toolTip(), QStringLiteral("Clear search"));
        QTest::keyClicks(f->Edt_Search, " two ");
        QCOMPARE(test::Texts(*f->model()), QStringList({"alpha"}));
        QCOMPARE(test::Texts(*f->model(), p.row(0)), QStringList({"alpha two"}));
        QVERIFY(p.tree()->isExpanded(p.row(0)));
        Database db;
        db.open(folder.path());
        Query q(db);
        OpenQuery(q, "select * from tasks where tid='{A}'");
        QVERIFY(q.boolean("expandFlag")); // the match's parent stays open

        // An edit under the same search text is searched again.
        p.tree()->setCurrentIndex(f->model()->index(0, 0, p.row(0)));
        f->Action_TaskEdit->trigger();
        QPlainTextEdit* editor = p.editor();
        editor->selectAll();
        QTest::keyClicks(editor, "alpha three");
        QTest::keyClick(editor, Qt::Key_Return, Qt::ControlModifier);
        QTRY_VERIFY(!f->editingNode());
        QCOMPARE(f->model()->rowCount(), 0);
        QTRY_VERIFY(
            !p.tree()->viewport()->findChild<QPlainTextEdit*>(QStringLiteral("TaskEditor")));
        f->Edt_Search->setFocus();
        QTest::keyClick(f->Edt_Search, Qt::Key_Backspace);
        QTest::keyClicks(f->Edt_Search, "hree");
        QCOMPARE(test::Texts(*f->model(), p.row(0)), QStringList({"alpha three"}));
        QVERIFY(p.tree()->isExpanded(p.row(0))); // hidden and shown again: still open

        QTest::keyClicks(f->Edt_Search, "xyz");
        QCOMPARE(f->model()->rowCount(), 0);
        QCOMPARE(f->tipMode(), 3);
        QCOMPARE(f->Label_tip->text(), QStringLiteral("Search no result"));
        QTest::mouseClick(f->Label_tip, Qt::LeftButton);
        QCOMPARE(f->Edt_Search->text(), QStringLiteral("  Search..."));
        QCOMPARE(f->model()->rowCount(), 3);
        QVERIFY(p.tree()->isExpanded(p.row(0)));
        QCOMPARE(f->tipMode(), 0);

        // Case counts: "milk" does not find "Gamma milk"'s capital M... but
        // does find the lower-case word.
        QApplication::sendEvent(f->Edt_Search, new QFocusEvent(QEvent::FocusIn));
        QTest::keyClicks(f->Edt_Search, "Milk");
        QCOMPARE(f->model()->rowCount(), 0);
        QTest::keyClick(f->Edt_Search, Qt::Key_Escape);
        QCOMPARE(f->Edt_Search->text(), QStringLiteral("  Search..."));
        QCOMPARE(f->model()->rowCount(), 3);
    }

    void editingDisablesEveryCommand() {
        test::ProgramFolder folder;
        fill(folder.path());
        test::Program p(folder.path());
        TzvTasksFrame* f = p.show();
        p.tree()->setCurrentIndex(p.row(1));
        f->Action_TaskEdit->trigger();
        p.editor();
        for (QAction* a : f->findChildren<QAction*>())
            // Export stays enabled and ignores the request itself.
            if (a->objectName().startsWith(QLatin1String("Action_")) && a != f->Action_Export)
                QVERIFY2(!a->isEnabled(), qPrintable(a->objectName()));
        QVERIFY(!f->Menu_Moveto->isEnabled() && f->Menu_Moveto->actions().isEmpty());
        // Commands do nothing meanwhile.
        f->Action_TaskAddExecute();
        QCOMPARE(f->model()->rowCount(), 3);
    }
};

QTEST_MAIN(TestEditing)
#include "test_editing.moc"
