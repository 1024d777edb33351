#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class AppContext;

// "About...": the program's name, label and version, and the maker's
// addresses as links.
class TAboutDlg : public QDialog {
    Q_OBJECT
public:
    TAboutDlg(AppContext& context, QWidget* parent);

    QLabel* Image_App;
    QLabel* Label_AppName;
    QLabel* lbl_version;
    QLabel* lbl_web;
    QLabel* lbl_support;
    QLabel* lbl_Sales;
    QPushButton* Btn_Close;

private:
    void FormCreate();
    AppContext& m_context;
};

// A label that looks and acts as a link: blue, underlined, the hand cursor,
// run by a click or by Enter once focused.
QLabel* MakeLinkLabel(QWidget* parent, const char* name, const QString& text);
