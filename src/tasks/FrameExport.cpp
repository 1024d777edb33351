#include "TzvTasksFrame.h"

#include "core/Interchange.h"
#include "gui/AppContext.h"
#include "gui/pU_Boxes.h"

// Export: the selected tasks into an interchange file.

void TzvTasksFrame::Action_ExportExecute() {
    if (m_editingNode)
        return;
    if (SelectedNodes().empty()) {
        WarningBox(QStringLiteral("Please select a task!"));
        return;
    }
    const QString name = AskSaveFileName(Interchange::SaveFilter(), QStringLiteral("zvx"));
    if (!name.isEmpty())
        ExportSelected(name);
}

bool TzvTasksFrame::ExportSelected(const QString& fileName) {
    const auto selected = SelectedNodes();
    const std::vector<const TaskNode*> nodes(selected.begin(), selected.end());
    try {
        Interchange::WriteExport(nodes, fileName, m_context.fileVersion(), ErrorBox);
    } catch (const std::exception&) {
        ErrorBox(QStringLiteral("File Write Failure !"));
        return false;
    }
    return true;
}
