#pragma once

#include <QString>
#include <QStringList>
#include <exception>
#include <functional>
#include <optional>

// Every message box of the program goes through ShowMessageBox, so tests can
// answer it instead of a person.
enum BoxButtons { MB_OK = 0, MB_OKCANCEL = 1, MB_TWOCHOICES = 2 };
enum BoxResult { IDOK = 1, IDCANCEL = 2, IDSECOND = 3 };

using MessageBoxHandler =
    std::function<int(const QString& caption, const QString& text, int buttons)>;
// An empty handler restores the real boxes.
void SetMessageBoxHandler(MessageBoxHandler handler);

int ShowMessageBox(const QString& caption, const QString& text, int buttons);

// While a question, message or prompt waits for its answer, the event loop
// runs on: what the commands took before asking must not change under them.
// Each box and prompt of this seam is one; a dialog of its own opens one
// with a QuestionScope around its exec().
class QuestionScope {
public:
    QuestionScope();
    ~QuestionScope();
    QuestionScope(const QuestionScope&) = delete;
    QuestionScope& operator=(const QuestionScope&) = delete;
};
bool QuestionOpen();
int AskBox(const QString& text);
// A question with two answers besides Cancel: IDOK for the first,
// IDSECOND for the second, IDCANCEL.
int AskChoice(const QString& text, const QString& first, const QString& second);
void ErrorBox(const QString& text);
void WarningBox(const QString& text);
void TipBox(const QString& text);

// File prompts go through one seam too. Returns the chosen file, or an empty
// text when the user cancelled. title says what the file is for; filter is
// "Name (*.ext)"; suffix is added to a name typed without one; a save prompt
// asks before replacing a file.
using FilePromptHandler = std::function<QString(bool save, const QString& filter)>;
void SetFilePromptHandler(FilePromptHandler handler);
QString AskSaveFileName(const QString& title, const QString& filter, const QString& suffix);
QString AskOpenFileName(const QString& title, const QString& filter, const QString& suffix);

// A save prompt that offers several file types ("Name (*.ext)" each) and
// asks before replacing a file. Returns the chosen name (empty: cancelled)
// and, in type, the position of the chosen filter.
using TypedSavePromptHandler = std::function<QString(const QStringList& filters, int& type)>;
void SetTypedSavePromptHandler(TypedSavePromptHandler handler);
QString AskSaveFileNameTyped(const QString& title, const QStringList& filters, int& type);

// The print prompt: true when the user chose to print on printer.
using PrintPromptHandler = std::function<bool(class QPrinter& printer)>;
void SetPrintPromptHandler(PrintPromptHandler handler);
bool AskPrint(QPrinter& printer);

// A password prompt: the typed password, or nothing when cancelled.
using PasswordPromptHandler = std::function<std::optional<QString>(const QString& text)>;
void SetPasswordPromptHandler(PasswordPromptHandler handler);
std::optional<QString> AskPassword(const QString& text);

// The application title, caption of the general error display.
QString AppTitle();
// The edition's label, after the product's name.
QString AppLabel();
// The general error display: the error's own text under the title.
void ShowError(const QString& text);
void ShowError(const std::exception& e);
// The same, unless this text was shown before in this run: a settings file
// that cannot be written is said once, not at every reload.
void ShowErrorOnce(const QString& text);
// The picture loader's error for files that could not be read.
void ShowPictureError(const QStringList& paths);

// Runs a command; whatever it throws ends it and is shown in the general
// error display, and the program goes on.
template <typename F> void Guarded(F&& fn) {
    try {
        fn();
    } catch (const std::exception& e) {
        ShowError(e);
    }
}
