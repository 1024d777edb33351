#pragma once

#include "platform/Database.h"

#include <QObject>
#include <functional>

class TmainFm;
class TReplaceAskDlg;

// The import/export module: backup, restore and import of interchange files.
class TIoDm : public QObject {
    Q_OBJECT
public:
    explicit TIoDm(TmainFm* mainFm);

    bool BackupToFile();
    bool RestoreFromFile();
    bool ImportFromFile();
    // The replace dialog of the running restore, for tests.
    TReplaceAskDlg* replaceDialog() const { return m_replace; }
    // The safety copy written by the last Restore or Import (empty: none).
    QString lastSafetyCopy() const { return m_safetyCopy; }

private:
    TmainFm* m_main;
    std::function<void()> safetyCopy();
    TReplaceAskDlg* m_replace = nullptr;
    QString m_safetyCopy;
};
