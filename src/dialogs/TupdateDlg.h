#pragma once

#include <QDialog>

class QCheckBox;
class QPushButton;
class QTimer;
class AppContext;

// "Zarvik Update": asks once at start whether to look for a newer version
// on the web site; answers No by itself after five seconds.
class TupdateDlg : public QDialog {
    Q_OBJECT
public:
    TupdateDlg(AppContext& context, QWidget* parent);

    QPushButton* btn_Yes;
    QPushButton* btn_No;
    QCheckBox* cb_ask;
    QTimer* Timer1;

private:
    void btn_YesClick();
    void cb_askClick();
    AppContext& m_context;
};
