#include "TzvTasksFrame.h"

#include "components/ZvSndMsg.h"
#include "gui/AppContext.h"
#include "gui/pU_Boxes.h"

#include <QFile>

// E-mail Task: the selected tasks as an HTML page and an interchange file,
// attached to a prepared message in the user's mail program.

std::pair<QString, QString> TzvTasksFrame::MailWorkFiles() const {
    const QString temp = m_context.folder + QStringLiteral("Temp/");
    return {temp + QStringLiteral("Tasks.html"), temp + QStringLiteral("Tasks.zvx")};
}

// The mail program reads them at its own pace, so they stay until the
// program ends (or, after a crash, until it starts again).
void TzvTasksFrame::RemoveMailWorkFiles() const {
    const auto [html, zvx] = MailWorkFiles();
    QFile::remove(html);
    QFile::remove(zvx);
}

void TzvTasksFrame::Action_EmailExecute() {
    if (m_editingNode)
        return;
    // An empty list is no mail to send.
    if (SelectedNodes().empty()) {
        WarningBox(tr("Please select a task!"));
        return;
    }
    const auto [html, zvx] = MailWorkFiles();
    if (!WriteTasksHtml(false, html) || !ExportSelected(zvx))
        return; // the writer has said why
    // From here on a failure, the user's cancel included, ends it quietly.
    try {
        ZvSendMessage1->Clear();
        ZvSendMessage1->Subject = tr("To-Do List");
        ZvSendMessage1->MessageText
            << QStringLiteral("Tasks.html: ") +
                   tr("HTML file, you can open it with website browser.")
            << QStringLiteral("Tasks.zvx: ") +
                   tr("Zarvik data file, you can import it into Zarvik software directly.");
        ZvSendMessage1->Attachments << html << zvx;
        ZvSendMessage1->Send();
    } catch (const std::exception&) {
    }
}
