#include "TzvTasksFrame.h"

#include "components/ZvStatusBar.h"
#include "core/ICalendar.h"
#include "core/Interchange.h"
#include "gui/AppContext.h"
#include "gui/pU_Boxes.h"
#include "platform/FileWriter.h"

#include <QDir>

// Export: the selected tasks into an interchange file or an iCalendar file.

void TzvTasksFrame::Action_ExportExecute() {
    if (m_editingNode)
        return;
    if (SelectedNodes().empty()) {
        WarningBox(tr("Please select a task!"));
        return;
    }
    const QString name =
        AskSaveFileName(tr("Export"), Interchange::SaveFilter(), QStringLiteral("zvx"));
    if (!name.isEmpty() && ExportSelected(name))
        ZvStatusBar1->setPanelText(
            tr("Exported: %1 tasks to %2").arg(m_exported).arg(QDir::toNativeSeparators(name)));
}

bool TzvTasksFrame::ExportSelected(const QString& fileName) {
    const auto selected = SelectedNodes();
    const std::vector<const TaskNode*> nodes(selected.begin(), selected.end());
    try {
        m_exported = Interchange::WriteExport(nodes, fileName, m_context.fileVersion(), ErrorBox);
    } catch (const std::exception&) {
        ErrorBox(tr("File Write Failure !"));
        return false;
    }
    return true;
}

// Export to iCalendar: the selected tasks with their sub-tasks, or every
// task when none is selected.

void TzvTasksFrame::Action_ExportCalendarExecute() {
    if (m_editingNode)
        return;
    const QString name =
        AskSaveFileName(tr("Export to iCalendar"), ICalendar::FileFilter(), QStringLiteral("ics"));
    if (!name.isEmpty())
        ExportCalendar(name);
}

bool TzvTasksFrame::ExportCalendar(const QString& fileName) {
    std::vector<ICalendar::Entry> entries;
    const auto add = [&entries](const TaskNode* n) {
        entries.push_back({&n->info, n->isTopLevel() ? QString() : n->parent()->info.tid});
        for (const auto& c : n->children())
            entries.push_back({&c->info, n->info.tid});
    };
    const auto selected = SelectedNodes();
    if (selected.empty())
        for (const auto& n : m_model->topLevel())
            add(n.get());
    for (const TaskNode* n : selected)
        add(n);
    if (!FileWriter::TryWrite(fileName,
                              ICalendar::WriteCalendar(entries, m_context.fileVersion()))) {
        ErrorBox(tr("File Write Failure !"));
        return false;
    }
    ZvStatusBar1->setPanelText(
        tr("Exported: %1 tasks to %2").arg(entries.size()).arg(QDir::toNativeSeparators(fileName)));
    return true;
}
