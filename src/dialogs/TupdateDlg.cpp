#include "TupdateDlg.h"
#include "gui/ThemeColors.h"

#include "gui/AppContext.h"
#include "gui/pU_Boxes.h"
#include "gui/pU_Dialogs.h"
#include "platform/IniFile.h"

#include <QAction>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

TupdateDlg::TupdateDlg(AppContext& context, QWidget* parent) : QDialog(parent), m_context(context) {
    setObjectName(QStringLiteral("updateDlg"));
    setWindowTitle(tr("Zarvik Update"));
    SetFixedDialogBorder(this);

    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setFixedSize(32, 32);
    picture->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32));
    auto* text1 = new QLabel(tr("Updates are published on the Zarvik website."), this);
    text1->setObjectName(QStringLiteral("Label1"));
    auto* text2 = new QLabel(tr("Would you like to see more information about these "
                                "updates and how to obtain them? "),
                             this);
    text2->setObjectName(QStringLiteral("Label2"));
    text2->setWordWrap(true);
    text2->setMinimumWidth(300);

    btn_Yes = new QPushButton(tr("&Yes"), this);
    btn_Yes->setObjectName(QStringLiteral("btn_Yes"));
    QFont bold = btn_Yes->font();
    bold.setBold(true);
    btn_Yes->setFont(bold);
    btn_Yes->setDefault(true);
    btn_No = new QPushButton(tr("&No"), this);
    btn_No->setObjectName(QStringLiteral("btn_No"));
    cb_ask = new QCheckBox(tr("Do not &ask me again."), this);
    cb_ask->setObjectName(QStringLiteral("cb_ask"));
    ThemeColors::UseBlueText(cb_ask);

    auto* texts = new QVBoxLayout;
    texts->addWidget(text1);
    texts->addWidget(text2);
    auto* top = new QHBoxLayout;
    top->addWidget(picture, 0, Qt::AlignTop);
    top->addSpacing(8);
    top->addLayout(texts, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cb_ask);
    buttons->addStretch();
    buttons->addWidget(btn_Yes);
    buttons->addWidget(btn_No);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addSpacing(6);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(btn_Yes, &QPushButton::clicked, this, [this] { btn_YesClick(); });
    connect(btn_No, &QPushButton::clicked, this, &QDialog::reject);
    connect(cb_ask, &QCheckBox::clicked, this, [this] { Guarded([this] { cb_askClick(); }); });

    // Runs from creation: an unanswered prompt goes away on its own.
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(5000);
    Timer1->setTimerType(Qt::PreciseTimer); // five seconds, not up to 5% less
    connect(Timer1, &QTimer::timeout, this, &QDialog::reject);
    Timer1->start();

    btn_Yes->setFocus();
    CentreOnScreen(this);
}

void TupdateDlg::btn_YesClick() {
    m_context.actions.update->trigger(); // the web site's page
    accept();
}

void TupdateDlg::cb_askClick() {
    AppOptions& options = m_context.options;
    options.visitWebEn = !cb_ask->isChecked();
    IniFile(m_context.configPath)
        .writeBool(QStringLiteral("option"), QStringLiteral("visitWebEn"), options.visitWebEn);
}
