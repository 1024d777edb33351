#pragma once

#include <QDialog>
#include <QWidget>
#include <optional>

class QCheckBox;
class QLabel;
class QPushButton;

// Options > Security: a password of the user's own for the tasks. The
// choice is made here and carried out by the caller after OK.
class SecurityPage : public QWidget {
    Q_OBJECT
public:
    SecurityPage(QWidget* parent, bool protectedNow);

    QCheckBox* cb_Protect;
    QPushButton* Btn_Change;
    QLabel* lbl_State;

    // The new password (empty: none any more), or nothing when unchanged.
    std::optional<QString> newPassword() const { return m_new; }

private:
    // Asks for a new password twice; false when the user cancelled.
    bool askNew();
    void showState();
    bool m_protectedNow;
    std::optional<QString> m_new;
};

// The new password, typed twice, after the warning that it cannot be
// recovered.
class TPasswordDlg : public QDialog {
    Q_OBJECT
public:
    explicit TPasswordDlg(QWidget* parent);
    class QLineEdit* edt_New;
    class QLineEdit* edt_Again;
    QPushButton* Btn_Ok;
    QString password() const;
};
