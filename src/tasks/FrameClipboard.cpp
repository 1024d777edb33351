#include "TzvTasksFrame.h"

#include "TaskDelegate.h"
#include "TaskTree.h"
#include "core/TaskHistory.h"
#include "core/TaskStore.h"
#include "gui/AppContext.h"
#include "platform/Transaction.h"
#include "platform/pU_Funcs.h"

#include <QClipboard>
#include <QGuiApplication>

// Copy and Paste: task texts through the system clipboard, as plain text.

void TzvTasksFrame::Action_CopyTaskExecute() {
    if (m_editingNode)
        return;
    QString text;
    for (const TaskNode* node : SelectedNodes()) {
        if (!text.isEmpty())
            text += u'\r'; // a carriage return alone, as the other programs expect
        text += node->info.content;
    }
    if (!text.isEmpty())
        QGuiApplication::clipboard()->setText(text);
}

void TzvTasksFrame::Action_PasteTaskExecute() {
    AddTaskFromText(QGuiApplication::clipboard()->text());
}

void TzvTasksFrame::AddTaskFromText(const QString& text) {
    if (m_editingNode) {
        if (QWidget* editor = openEditor())
            m_delegate->cancelAndClose(editor); // the edited text is dropped
        else
            EditorCancel(m_editingNode);
    }
    SwitchCompleteToAll(); // a new task is incomplete
    TTaskInfo info;
    info.pid = RootPid();
    // Trailing blanks, tabs and line breaks go, as every code up to 32.
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1).unicode() <= 32)
        --end;
    info.content = StorableText(text.left(end));
    TaskStore::StampNewTask(info, Clock::Now());
    // Stored first: the tree never holds a row the database does not.
    Transaction transaction(m_context.db);
    TaskStepRecorder step(m_context.db, tr("Paste"));
    step.watch(info.tid);
    TaskStore::Insert(ADOQuery1, info);
    TaskStep done = step.finish();
    transaction.commit();
    Remeasure(m_model->appendTopLevel(std::move(info)));
    PushStep(std::move(done));
    UpdateCommands();
    RefreshTrayHint();
}
