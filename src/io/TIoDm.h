#pragma once

#include <QObject>
#include <functional>

class AppContext;
class QWidget;
class TReplaceAskDlg;

// The import/export module: backup, restore and import of interchange files.
class TIoDm : public QObject {
    Q_OBJECT
public:
    // window: the owner of its progress windows and questions.
    TIoDm(AppContext& context, QWidget* window);

    bool BackupToFile();
    bool RestoreFromFile();
    bool ImportFromFile();
    // An iCalendar file: true when it was read to its end; lastReport()
    // then gives its counts.
    bool ImportCalendarFromFile();
    QString lastReport() const { return m_report; }
    // The replace dialog of the running restore, for tests.
    TReplaceAskDlg* replaceDialog() const { return m_replace; }
    // The safety copy written by the last Restore or Import (empty: none).
    QString lastSafetyCopy() const { return m_safetyCopy; }

private:
    AppContext& m_context;
    QWidget* m_window;
    std::function<void()> safetyCopy();
    TReplaceAskDlg* m_replace = nullptr;
    QString m_safetyCopy;
    QString m_report;
};
