#include "TOptionsDlg.h"

#include "SecurityPage.h"
#include "SyncPage.h"
#include "gui/pU_Boxes.h"
#include "gui/pU_Dialogs.h"
#include "platform/DesktopNotifications.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

QString TOptionsDlg::autoStartCaption() {
#ifdef Q_OS_WIN
    return tr("Start with &Windows");
#else
    return tr("Start at &log-in");
#endif
}

TOptionsDlg::TOptionsDlg(QWidget* parent, AppOptions& options, IniFile ini, AutoStart autoStart,
                         SyncHooks* hooks, bool protectedNow,
                         const DesktopNotifications* notifications)
    : QDialog(parent), m_options(options), m_ini(std::move(ini)), m_autoStart(std::move(autoStart)),
      m_hooks(hooks) {
    setObjectName(QStringLiteral("OptionsDlg"));
    setWindowTitle(tr("Options"));
    SetFixedDialogBorder(this);

    cb_AutoStart = new QCheckBox(autoStartCaption(), this);
    cb_AutoStart->setObjectName(QStringLiteral("cb_AutoStart"));
    cb_AutoMinimized = new QCheckBox(tr("Run program &minimized"), this);
    cb_AutoMinimized->setObjectName(QStringLiteral("cb_AutoMinimized"));
    cb_AddOpen = new QCheckBox(tr("&Add new item while open"), this);
    cb_AddOpen->setObjectName(QStringLiteral("cb_AddOpen"));
    cb_DesktopNotify = new QCheckBox(tr("Show reminders as desktop &notifications"), this);
    cb_DesktopNotify->setObjectName(QStringLiteral("cb_DesktopNotify"));
    lbl_NoDesktopNotify = new QLabel(this);
    lbl_NoDesktopNotify->setObjectName(QStringLiteral("lbl_NoDesktopNotify"));
    lbl_NoDesktopNotify->setWordWrap(true);
    lbl_NoDesktopNotify->setIndent(20); // under the box's text, not its square
    Btn_Ok = new QPushButton(tr("&OK"), this);
    Btn_Ok->setObjectName(QStringLiteral("Btn_Ok"));
    Btn_Ok->setDefault(true);
    Btn_Cancel = new QPushButton(tr("&Cancel"), this);
    Btn_Cancel->setObjectName(QStringLiteral("Btn_Cancel"));

    Tabs = new QTabWidget(this);
    Tabs->setObjectName(QStringLiteral("Tabs"));
    auto* general = new QWidget(Tabs);
    auto* group = new QGroupBox(general);
    auto* boxes = new QVBoxLayout(group);
    boxes->addWidget(cb_AutoStart);
    boxes->addWidget(cb_AutoMinimized);
    boxes->addWidget(cb_AddOpen);
    boxes->addWidget(cb_DesktopNotify);
    boxes->addWidget(lbl_NoDesktopNotify);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Btn_Ok);
    buttons->addWidget(Btn_Cancel);
    auto* generalLayout = new QVBoxLayout(general);
    generalLayout->addWidget(group);
    generalLayout->addStretch();
    page_Sync = new SyncPage(Tabs, SyncSettings::Read(m_ini), hooks);
    Tabs->addTab(general, tr("&General"));
    Tabs->addTab(page_Sync, tr("S&ync"));
    page_Security = new SecurityPage(Tabs, protectedNow);
    Tabs->addTab(page_Security, tr("Secu&rity"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Tabs);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize); // a fixed border

    cb_AutoStart->setChecked(m_autoStart.isAutoStart());
    cb_AutoMinimized->setChecked(m_options.runMinimizedEn);
    cb_AddOpen->setChecked(m_options.addOpenEn);
    // Without a server that shows buttons the box is off and says why; the
    // stored choice waits for one.
    const bool served = notifications && notifications->usable();
    cb_DesktopNotify->setEnabled(served);
    cb_DesktopNotify->setChecked(served && m_options.desktopNotifyEn);
    lbl_NoDesktopNotify->setVisible(!served);
    if (!served) {
        const QString why = notifications ? notifications->whyNot() : QString();
        lbl_NoDesktopNotify->setText(
            (why.isEmpty() ? tr("No notification server is running on this desktop.") : why) +
            u' ' + tr("Reminders open the program's own window."));
        cb_DesktopNotify->setToolTip(lbl_NoDesktopNotify->text());
    }

    connect(Btn_Ok, &QPushButton::clicked, this, [this] {
        Guarded([this] { Btn_OkClick(); });
        accept();
    });
    connect(Btn_Cancel, &QPushButton::clicked, this, &QDialog::reject);
    CentreOnScreen(this);
}

void TOptionsDlg::Btn_OkClick() {
    m_options.runMinimizedEn = cb_AutoMinimized->isChecked();
    m_options.addOpenEn = cb_AddOpen->isChecked();
    m_ini.writeBool(QStringLiteral("option"), QStringLiteral("runMinimizedEn"),
                    m_options.runMinimizedEn);
    m_ini.writeBool(QStringLiteral("option"), QStringLiteral("addOpenEn"), m_options.addOpenEn);
    if (cb_DesktopNotify->isEnabled()) {
        m_options.desktopNotifyEn = cb_DesktopNotify->isChecked();
        m_ini.writeBool(QStringLiteral("option"), QStringLiteral("desktopNotifyEn"),
                        m_options.desktopNotifyEn);
    }
    m_autoStart.setAutoStart(cb_AutoStart->isChecked());
    if (page_Sync->changed()) {
        const SyncSettings s = page_Sync->settings();
        s.write(m_ini);
        if (m_hooks && m_hooks->changed)
            m_hooks->changed(s, page_Sync->password());
    }
}
