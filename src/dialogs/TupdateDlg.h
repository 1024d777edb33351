#pragma once

#include <QDialog>

class QCheckBox;
class QPushButton;
class QTimer;
class TmainFm;

// "Zarvik Update": asks once at start whether to look for a newer version
// on the web site; answers No by itself after five seconds.
class TupdateDlg : public QDialog {
    Q_OBJECT
public:
    explicit TupdateDlg(TmainFm* mainFm);

    QPushButton* btn_Yes;
    QPushButton* btn_No;
    QCheckBox* cb_ask;
    QTimer* Timer1;

private:
    void btn_YesClick();
    void cb_askClick();
    TmainFm* m_main;
};
