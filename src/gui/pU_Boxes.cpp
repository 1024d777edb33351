#include "pU_Boxes.h"

#include "pU_Dialogs.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSet>

namespace {
// The one handler of each seam: empty means the real window.
template <typename Handler> Handler& seam() {
    static Handler h;
    return h;
}
MessageBoxHandler& handler() {
    return seam<MessageBoxHandler>();
}
FilePromptHandler& fileHandler() {
    return seam<FilePromptHandler>();
}
TypedSavePromptHandler& typedHandler() {
    return seam<TypedSavePromptHandler>();
}
PrintPromptHandler& printHandler() {
    return seam<PrintPromptHandler>();
}
PasswordPromptHandler& passwordHandler() {
    return seam<PasswordPromptHandler>();
}
} // namespace

namespace {
int& openQuestions() {
    static int n = 0;
    return n;
}
} // namespace

QuestionScope::QuestionScope() {
    ++openQuestions();
}
QuestionScope::~QuestionScope() {
    --openQuestions();
}
bool QuestionOpen() {
    // A modal window of any kind counts too: Qt's own and the dialogs'.
    return openQuestions() > 0 || QApplication::activeModalWidget();
}

void SetMessageBoxHandler(MessageBoxHandler h) {
    handler() = std::move(h);
}

namespace {
// The folder of the last file chosen, where the next file prompt starts.
QString& lastFolder() {
    static QString folder;
    return folder;
}
QString chosen(const QFileDialog& dlg) {
    const QString file = dlg.selectedFiles().first();
    lastFolder() = QFileInfo(file).absolutePath();
    return file;
}

QString askFile(bool save, const QString& title, const QString& filter, const QString& suffix) {
    const QuestionScope asking;
    if (fileHandler())
        return fileHandler()(save, filter);
    QFileDialog dlg(QApplication::activeWindow(), title, lastFolder());
    dlg.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dlg.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dlg.setNameFilter(filter);
    dlg.setDefaultSuffix(suffix);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return QString();
    return chosen(dlg);
}
} // namespace

void SetFilePromptHandler(FilePromptHandler h) {
    fileHandler() = std::move(h);
}
QString AskSaveFileName(const QString& title, const QString& filter, const QString& suffix) {
    return askFile(true, title, filter, suffix);
}
QString AskOpenFileName(const QString& title, const QString& filter, const QString& suffix) {
    return askFile(false, title, filter, suffix);
}

void SetTypedSavePromptHandler(TypedSavePromptHandler h) {
    typedHandler() = std::move(h);
}

QString AskSaveFileNameTyped(const QString& title, const QStringList& filters, int& type) {
    type = 0;
    const QuestionScope asking;
    if (typedHandler())
        return typedHandler()(filters, type);
    QFileDialog dlg(QApplication::activeWindow(), title, lastFolder());
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setFileMode(QFileDialog::AnyFile);
    dlg.setNameFilters(filters);
    dlg.setSizeGripEnabled(true);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return QString();
    type = qMax(0, int(filters.indexOf(dlg.selectedNameFilter())));
    return chosen(dlg);
}

void SetPrintPromptHandler(PrintPromptHandler h) {
    printHandler() = std::move(h);
}

void SetPasswordPromptHandler(PasswordPromptHandler h) {
    passwordHandler() = std::move(h);
}
std::optional<QString> AskPassword(const QString& text) {
    const QuestionScope asking;
    if (passwordHandler())
        return passwordHandler()(text);
    QInputDialog dlg(QApplication::activeWindow());
    dlg.setWindowTitle(AppTitle());
    dlg.setLabelText(text);
    dlg.setTextEchoMode(QLineEdit::Password);
    dlg.setMinimumWidth(380); // the caption stays whole whatever the question
    // Only its own window waits: the notification-area icon's menu (Exit)
    // stays usable while the question is open.
    dlg.setWindowModality(Qt::WindowModal);
    if (dlg.exec() != QDialog::Accepted)
        return std::nullopt;
    return dlg.textValue();
}

bool AskPrint(QPrinter& printer) {
    const QuestionScope asking;
    if (printHandler())
        return printHandler()(printer);
    // A print to a file offers the same file next time.
    static QString lastOutput;
    if (printer.outputFileName().isEmpty() && !lastOutput.isEmpty())
        printer.setOutputFileName(lastOutput);
    QPrintDialog dlg(&printer, QApplication::activeWindow());
    if (dlg.exec() != QDialog::Accepted)
        return false;
    lastOutput = printer.outputFileName();
    return true;
}

namespace {
// The looks every box of the program shares.
void PrepareBox(QMessageBox& box, const QString& caption, const QString& text) {
    SetFixedDialogBorder(&box);
    box.setWindowTitle(caption);
    box.setText(text);
    box.setIcon(QMessageBox::NoIcon);
}
// The box leaves the screen now, not when the command the answer starts
// ends: its hiding goes out to the display server, and the window below
// may paint again. The box's own loop ran events just before, so callers
// already expect them here.
void Gone(QMessageBox& box) {
    box.hide();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}
} // namespace

int ShowMessageBox(const QString& caption, const QString& text, int buttons) {
    const QuestionScope asking;
    if (handler())
        return handler()(caption, text, buttons);
    QMessageBox box(QApplication::activeWindow());
    PrepareBox(box, caption, text);
    QPushButton* ok = box.addButton(QMessageBox::Ok);
    if (buttons == MB_OKCANCEL)
        box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(ok);
    box.exec();
    Gone(box);
    return box.clickedButton() == ok ? IDOK : IDCANCEL;
}

int AskBox(const QString& text) {
    return ShowMessageBox(QCoreApplication::translate("Boxes", "Ask"), text, MB_OKCANCEL);
}

int AskChoice(const QString& text, const QString& first, const QString& second) {
    const QString caption = QCoreApplication::translate("Boxes", "Ask");
    const QuestionScope asking;
    if (handler())
        return handler()(caption, text, MB_TWOCHOICES);
    QMessageBox box(QApplication::activeWindow());
    PrepareBox(box, caption, text);
    QPushButton* one = box.addButton(first, QMessageBox::AcceptRole);
    QPushButton* two = box.addButton(second, QMessageBox::AcceptRole);
    box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(one);
    box.exec();
    Gone(box);
    return box.clickedButton() == one ? IDOK : box.clickedButton() == two ? IDSECOND : IDCANCEL;
}
void ErrorBox(const QString& text) {
    ShowMessageBox(QCoreApplication::translate("Boxes", "Error"), text, MB_OK);
}
void WarningBox(const QString& text) {
    ShowMessageBox(QCoreApplication::translate("Boxes", "Warning"), text, MB_OK);
}
void TipBox(const QString& text) {
    ShowMessageBox(QCoreApplication::translate("Boxes", "Tip"), text, MB_OK);
}

QString AppTitle() {
    return QStringLiteral("Zarvik Tasquel Lite");
}

QString AppLabel() {
    return QStringLiteral("Lite");
}

void ShowError(const QString& text) {
    ShowMessageBox(AppTitle(), text, MB_OK);
}
void ShowError(const std::exception& e) {
    ShowError(QString::fromUtf8(e.what()));
}
void ShowErrorOnce(const QString& text) {
    static QSet<QString> shown;
    if (!shown.contains(text)) {
        shown.insert(text);
        ShowError(text);
    }
}
void ShowPictureError(const QStringList& paths) {
    ShowError(
        QCoreApplication::translate("Boxes", "Cannot open file \"%1\". The file could not be read.")
            .arg(paths.join(QStringLiteral("\", \""))));
}
