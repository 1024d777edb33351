#include "SecurityPage.h"

#include "gui/ThemeColors.h"
#include "gui/pU_Dialogs.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

SecurityPage::SecurityPage(QWidget* parent, bool protectedNow)
    : QWidget(parent), m_protectedNow(protectedNow) {
    setObjectName(QStringLiteral("page_Security"));
    cb_Protect = new QCheckBox(tr("&Protect the tasks with a password"), this);
    cb_Protect->setObjectName(QStringLiteral("cb_Protect"));
    cb_Protect->setChecked(protectedNow);
    Btn_Change = new QPushButton(tr("C&hange password..."), this);
    Btn_Change->setObjectName(QStringLiteral("Btn_Change"));
    lbl_State = new QLabel(this);
    lbl_State->setObjectName(QStringLiteral("lbl_State"));
    lbl_State->setWordWrap(true);
    auto* note =
        new QLabel(tr("With a password, the program asks for it at every start, and the database, "
                      "safety copies, backups and exports can be read only with it."),
                   this);
    note->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(cb_Protect);
    layout->addWidget(note);
    auto* row = new QHBoxLayout;
    row->addWidget(Btn_Change);
    row->addStretch();
    layout->addLayout(row);
    layout->addWidget(lbl_State);
    layout->addStretch();
    showState();

    connect(cb_Protect, &QCheckBox::clicked, this, [this](bool on) {
        if (on && !askNew())
            cb_Protect->setChecked(false);
        if (!on)
            m_new = m_protectedNow ? std::optional<QString>(QString()) : std::nullopt;
        showState();
    });
    connect(Btn_Change, &QPushButton::clicked, this, [this] {
        askNew();
        showState();
    });
}

bool SecurityPage::askNew() {
    TPasswordDlg dlg(this);
    if (dlg.exec() != QDialog::Accepted)
        return false;
    m_new = dlg.password();
    return true;
}

void SecurityPage::showState() {
    Btn_Change->setEnabled(cb_Protect->isChecked());
    if (!m_new)
        lbl_State->setText(m_protectedNow ? tr("The tasks are protected with your password.")
                                          : tr("The tasks have no password of yours."));
    else if (m_new->isEmpty())
        lbl_State->setText(tr("After OK, the password is taken away."));
    else
        lbl_State->setText(tr("After OK, the tasks are protected with the new password."));
}

TPasswordDlg::TPasswordDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("PasswordDlg"));
    setWindowTitle(tr("Password"));
    SetFixedDialogBorder(this);
    auto* warning =
        new QLabel(tr("A forgotten password cannot be recovered: without it, nobody can read "
                      "the tasks, not even with this program."),
                   this);
    warning->setWordWrap(true);
    ThemeColors::UseBlueText(warning);
    edt_New = new QLineEdit(this);
    edt_New->setObjectName(QStringLiteral("edt_New"));
    edt_New->setEchoMode(QLineEdit::Password);
    edt_Again = new QLineEdit(this);
    edt_Again->setObjectName(QStringLiteral("edt_Again"));
    edt_Again->setEchoMode(QLineEdit::Password);
    Btn_Ok = new QPushButton(tr("&OK"), this);
    Btn_Ok->setObjectName(QStringLiteral("Btn_Ok"));
    Btn_Ok->setDefault(true);
    Btn_Ok->setEnabled(false);
    auto* cancel = new QPushButton(tr("&Cancel"), this);
    auto* form = new QFormLayout;
    form->addRow(tr("&New password:"), edt_New);
    form->addRow(tr("&Repeat it:"), edt_Again);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Btn_Ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(warning);
    layout->addLayout(form);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    const auto same = [this] {
        Btn_Ok->setEnabled(!edt_New->text().isEmpty() && edt_New->text() == edt_Again->text());
    };
    connect(edt_New, &QLineEdit::textChanged, this, same);
    connect(edt_Again, &QLineEdit::textChanged, this, same);
    connect(Btn_Ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

QString TPasswordDlg::password() const {
    return edt_New->text();
}
