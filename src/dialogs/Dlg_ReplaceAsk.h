#pragma once

#include "core/Interchange.h"

#include <QDialog>

class QLabel;
class QPushButton;

// "Confirm Replace": the stored row above (what Yes replaces), the file's
// record below (what Yes writes).
class TReplaceAskDlg : public QDialog {
    Q_OBJECT
public:
    explicit TReplaceAskDlg(QWidget* parent);
    // Fills the texts and asks; closing by the window button is Closed.
    Interchange::Answer Ask(const Interchange::ReplaceQuestion& q);

    QLabel* Label_Caption;
    QLabel* Label_oldTitle;
    QLabel* Label_oldTime;
    QLabel* Label2;
    QLabel* Label_newTitle;
    QLabel* Label_newTime;
    QPushButton* Button1; // Yes
    QPushButton* Button4; // All
    QPushButton* Button2; // No
    QPushButton* Button3; // Abort
};
