#pragma once

#include "sync/SyncSettings.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

// The Options page of the sync account: where the server is, who signs in,
// how often, and a test that says what the server holds.
class SyncPage : public QWidget {
    Q_OBJECT
public:
    SyncPage(QWidget* parent, const SyncSettings& settings, SyncHooks* hooks);

    QLineEdit* edt_Address;
    QLineEdit* edt_User;
    QLineEdit* edt_Password;
    QSpinBox* spin_Interval;
    QCheckBox* cb_AllowPlain;
    QComboBox* cmb_List; // the server's task lists, found by the test
    QPushButton* Btn_Test;
    QLabel* lbl_Test;
    QLabel* lbl_Secret;

    SyncSettings settings() const;
    // What the field holds; left empty and untouched, the password this
    // run knows for the account.
    std::optional<QString> password() const;
    // The account as typed differs from the one the page opened with.
    bool changed() const;

private:
    void Btn_TestClick();
    void ShowPlainWarning();
    // The choices: the first list found, the lists given, and the chosen one.
    void FillLists(const std::vector<SyncTaskList>& lists, const QString& chosen);

    SyncSettings m_opened;
    QString m_openedPassword;
    SyncHooks* m_hooks;
    QLabel* lbl_Plain;
};
