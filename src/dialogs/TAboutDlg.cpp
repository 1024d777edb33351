#include "TAboutDlg.h"
#include "gui/ThemeColors.h"

#include "gui/AppContext.h"
#include "gui/pU_Boxes.h"
#include "gui/pU_Dialogs.h"
#include "platform/WebSite.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

QLabel* MakeLinkLabel(QWidget* parent, const char* name, const QString& text) {
    auto* l = new QLabel(parent);
    l->setObjectName(QLatin1String(name));
    l->setTextFormat(Qt::RichText);
    l->setText(
        QStringLiteral("<a href=\"go\" style=\"color:%1; text-decoration:underline\">")
            .arg(ThemeColors::Blue(parent ? parent->palette() : QApplication::palette()).name()) +
        text.toHtmlEscaped() + QStringLiteral("</a>"));
    l->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    l->setCursor(Qt::PointingHandCursor);
    return l;
}

TAboutDlg::TAboutDlg(AppContext& context, QWidget* parent) : QDialog(parent), m_context(context) {
    setObjectName(QStringLiteral("AboutDlg"));
    setWindowTitle(tr("About..."));
    SetFixedDialogBorder(this);

    Image_App = new QLabel(this);
    Image_App->setObjectName(QStringLiteral("Image_App"));
    Image_App->setFixedSize(65, 65);
    Image_App->setScaledContents(true);
    Label_AppName = new QLabel(this);
    Label_AppName->setObjectName(QStringLiteral("Label_AppName"));
    QFont bold = Label_AppName->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.4);
    Label_AppName->setFont(bold);
    lbl_version = new QLabel(this);
    lbl_version->setObjectName(QStringLiteral("lbl_version"));

    const QString site = WebSite::Address();
    lbl_web = MakeLinkLabel(this, "lbl_web", site.mid(site.indexOf(QLatin1String("//")) + 2));
    lbl_support = MakeLinkLabel(this, "lbl_support", WebSite::SupportMail());
    lbl_Sales = MakeLinkLabel(this, "lbl_Sales", WebSite::SalesMail());
    // The same as the Help menu's commands.
    connect(lbl_web, &QLabel::linkActivated, context.actions.website, &QAction::trigger);
    connect(lbl_support, &QLabel::linkActivated, context.actions.contact, &QAction::trigger);
    connect(lbl_Sales, &QLabel::linkActivated, this, [] {
        QDesktopServices::openUrl(QUrl(QStringLiteral("mailto:") + WebSite::SalesMail()));
    });

    auto* links = new QGridLayout;
    links->addWidget(new QLabel(tr("Website:"), this), 0, 0);
    links->addWidget(lbl_web, 0, 1);
    links->addWidget(new QLabel(tr("Support:"), this), 1, 0);
    links->addWidget(lbl_support, 1, 1);
    links->addWidget(new QLabel(tr("Sales:"), this), 2, 0);
    links->addWidget(lbl_Sales, 2, 1);
    if (!context.portable) {
        // Installed: the tasks are not beside the program, so say where.
        auto* data = new QLabel(QDir::toNativeSeparators(context.folder), this);
        data->setObjectName(QStringLiteral("lbl_data"));
        data->setTextInteractionFlags(Qt::TextSelectableByMouse);
        links->addWidget(new QLabel(tr("Data:"), this), 3, 0);
        links->addWidget(data, 3, 1);
    }
    links->setColumnStretch(1, 1);

    auto* texts = new QVBoxLayout;
    texts->addWidget(Label_AppName);
    texts->addWidget(lbl_version);
    texts->addSpacing(8);
    texts->addLayout(links);
    auto* top = new QHBoxLayout;
    top->addWidget(Image_App, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(texts, 1);

    auto* rights = new QLabel(tr("Copyright \u00a9 2026 Zarvik. All rights reserved.\n"
                                 "Warning: this program is protected by copyright "
                                 "law and international treaties."),
                              this);
    rights->setObjectName(QStringLiteral("lbl_rights"));
    Btn_Close = new QPushButton(tr("&Close"), this);
    Btn_Close->setObjectName(QStringLiteral("Btn_Close"));
    Btn_Close->setDefault(true);
    connect(Btn_Close, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Btn_Close);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addSpacing(8);
    layout->addWidget(rights);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    FormCreate();
    Btn_Close->setFocus();
    CentreOnScreen(this);
}

void TAboutDlg::FormCreate() {
    Label_AppName->setText(QStringLiteral("Zarvik Tasquel"));
    const QString picture = m_context.shareFolder + QStringLiteral("Images/appIcon.png");
    QPixmap pm;
    if (pm.load(picture)) {
        Image_App->setPixmap(pm);
    } else {
        ShowPictureError({picture});
        Image_App->hide();
    }
    lbl_version->setText(AppLabel() + u' ' + m_context.fileVersion());
}
