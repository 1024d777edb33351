#include "TzvTasksFrame.h"

#include "TaskTree.h"
#include "core/ListWriters.h"
#include "gui/AppContext.h"
#include "gui/pU_Boxes.h"
#include "platform/FileWriter.h"
#include "platform/WebSite.h"
#include "platform/ZvVersionInfo.h"

#include <QFileInfo>

// Save Task and Save All: the plain-text and HTML task lists.

void TzvTasksFrame::Action_SaveExecute() {
    SaveTasks(false);
}

void TzvTasksFrame::Action_SaveAllExecute() {
    SaveTasks(true);
}

void TzvTasksFrame::SaveTasks(bool all) {
    if (m_editingNode)
        return;
    if (!all && SelectedNodes().empty()) {
        WarningBox(tr("Please select a task!"));
        return;
    }
    int type = 0;
    const QString chosen =
        AskSaveFileNameTyped(all ? tr("Save All") : tr("Save Task"),
                             {tr("Text file (*.txt)"), tr("HTML file (*.htm *.html)")}, type);
    if (chosen.isEmpty())
        return;
    // The type follows the filter, whatever extension was typed.
    const QFileInfo fi(chosen);
    const QString base = fi.path() + u'/' + fi.completeBaseName();
    const QString name = base + (type == 1 ? QStringLiteral(".html") : QStringLiteral(".txt"));
    // The dialog asked about the name typed, not always the one written.
    if (name != chosen && QFileInfo::exists(name) &&
        AskBox(
            tr("%1 already exists.\nDo you want to replace it?").arg(QFileInfo(name).fileName())) !=
            IDOK)
        return;
    if (type == 1)
        WriteTasksHtml(all, name);
    else
        WriteTasksText(all, name);
}

bool TzvTasksFrame::WriteTasksText(bool all, const QString& fileName) {
    return WriteList(all, fileName, ListWriters::TasksText);
}

bool TzvTasksFrame::WriteTasksHtml(bool all, const QString& fileName) {
    return WriteList(all, fileName, ListWriters::TasksHtml);
}

bool TzvTasksFrame::WriteList(bool all, const QString& fileName,
                              QByteArray (*writer)(const std::vector<const TaskNode*>&,
                                                   const ListWriters::Context&)) {
    if (all)
        SelectAllVisibleSiblings();
    const auto selected = SelectedNodes();
    const std::vector<const TaskNode*> nodes(selected.begin(), selected.end());
    const ListWriters::Context context{m_context.fileVersion(), WebSite::ProductPage(),
                                       Clock::CurrentDateTime(), QLocale::system()};
    const QByteArray bytes = writer(nodes, context);
    // Written aside and renamed: a failed write never leaves half a list in
    // place of a good one.
    const bool ok = FileWriter::TryWrite(fileName, bytes);
    if (!ok)
        ErrorBox(tr("File write failure!"));
    if (all)
        VtTasks->clearSelection();
    return ok;
}

// Select All over the shown rows: those beside the selection's anchor, or
// every shown top-level task.
void TzvTasksFrame::SelectAllVisibleSiblings() {
    const QModelIndex anchor = VtTasks->selectionModel()->currentIndex();
    const QModelIndex parent = anchor.isValid() && VtTasks->selectionModel()->isSelected(anchor)
                                   ? anchor.parent()
                                   : QModelIndex();
    const int n = m_model->rowCount(parent);
    if (n == 0)
        return;
    VtTasks->selectionModel()->select(
        QItemSelection(m_model->index(0, 0, parent), m_model->index(n - 1, 0, parent)),
        QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}
