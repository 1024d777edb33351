#pragma once

#include "TestSupport.h"
#include "app/TcommonDm.h"
#include "app/TmainFm.h"
#include "gui/pU_Boxes.h"
#include "io/TIoDm.h"
#include "tasks/TzvTasksFrame.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QDialog>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTimer>
#include <QtTest>

namespace test {

// The surroundings of every test of the windows: those of FixEnvironment
// and the Fusion style.
inline void FixGuiEnvironment() {
    FixEnvironment();
    QApplication::setStyle(QStringLiteral("Fusion"));
}

// The program as main() builds it, on a folder of its own, with every
// message box collected instead of shown.
class Program {
public:
    explicit Program(const QString& folder) {
        SetMessageBoxHandler([this](const QString& caption, const QString& text, int) {
            boxes.shown.push_back({caption, text});
            return boxes.answer;
        });
        mainFm = std::make_unique<TmainFm>(folder);
        io = mainFm->ioDm();
        common = mainFm->commonDm();
    }
    ~Program() {
        mainFm.reset();
        SetMessageBoxHandler({});
    }
    // Shows the window and waits until the posted reload and attaches ran.
    TzvTasksFrame* show() {
        mainFm->show();
        afterPosted();
        frame = mainFm->tasksFrame();
        if (frame)
            tester = std::make_unique<QAbstractItemModelTester>(
                frame->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        return frame;
    }
    TTaskTree* tree() const { return frame->tree(); }
    // Waits for the posted edit request to open the in-place editor.
    QPlainTextEdit* editor() const {
        QPlainTextEdit* e = nullptr;
        (void)QTest::qWaitFor(
            [&] {
                e = tree()->viewport()->findChild<QPlainTextEdit*>(QStringLiteral("TaskEditor"));
                return e && e->isVisible();
            },
            3000);
        if (!e)
            qFatal("the editor did not open");
        return e;
    }
    // Waits until what was posted so far, and what that posts in turn, has
    // run: a marker queued behind them comes through, twice. For checks
    // that something did not happen; wait on the outcome otherwise.
    static void afterPosted() {
        for (int generation = 0; generation < 2; ++generation) {
            bool reached = false;
            QMetaObject::invokeMethod(
                qApp, [&reached] { reached = true; }, Qt::QueuedConnection);
            QTRY_VERIFY(reached);
        }
    }
    // Selects exactly these rows.
    void select(std::initializer_list<QModelIndex> rows) const {
        tree()->clearSelection();
        for (const QModelIndex& i : rows)
            tree()->selectionModel()->select(i, QItemSelectionModel::Select |
                                                    QItemSelectionModel::Rows);
    }
    QModelIndex row(int r, int child = -1) const {
        const QModelIndex top = frame->model()->index(r, 0);
        return child < 0 ? top : frame->model()->index(child, 0, top);
    }

    Boxes boxes;
    QStringList passwordQuestions;

    // Started where the database asks for its password: typed is what the
    // user types each time; asked once more, Cancel.
    static std::unique_ptr<Program> Asked(const QString& folder, QStringList typed) {
        QStringList questions;
        SetPasswordPromptHandler([&](const QString& text) -> std::optional<QString> {
            questions << text;
            if (typed.isEmpty())
                return std::nullopt;
            return typed.takeFirst();
        });
        auto p = std::make_unique<Program>(folder);
        SetPasswordPromptHandler({});
        p->passwordQuestions = questions;
        return p;
    }
    std::unique_ptr<TmainFm> mainFm;
    TIoDm* io = nullptr;
    TcommonDm* common = nullptr;
    TzvTasksFrame* frame = nullptr;
    std::unique_ptr<QAbstractItemModelTester> tester;
};

// Calls fn once on each modal dialog of type D that comes up while it
// lives. It polls, so it also reaches a dialog whose own event loop was
// entered from a posted message.
template <typename D> class WhenModal {
public:
    explicit WhenModal(std::function<void(D*)> fn) : m_fn(std::move(fn)) {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            auto* d = qobject_cast<D*>(QApplication::activeModalWidget());
            if (d && d != m_last) {
                m_last = d;
                ++count;
                m_fn(d);
            }
        });
        m_timer.start();
    }
    int count = 0;

private:
    std::function<void(D*)> m_fn;
    QTimer m_timer;
    QPointer<D> m_last;
};

} // namespace test
