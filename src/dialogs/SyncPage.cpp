#include "SyncPage.h"

#include "gui/ThemeColors.h"
#include "sync/SyncEngine.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

SyncPage::SyncPage(QWidget* parent, const SyncSettings& settings, SyncHooks* hooks)
    : QWidget(parent), m_opened(settings), m_hooks(hooks) {
    setObjectName(QStringLiteral("SyncPage"));
    edt_Address = new QLineEdit(settings.address, this);
    edt_Address->setObjectName(QStringLiteral("edt_Address"));
    edt_Address->setPlaceholderText(QStringLiteral("https://"));
    edt_Address->setMinimumWidth(260);
    edt_User = new QLineEdit(settings.user, this);
    edt_User->setObjectName(QStringLiteral("edt_User"));
    edt_Password = new QLineEdit(this);
    edt_Password->setObjectName(QStringLiteral("edt_Password"));
    edt_Password->setEchoMode(QLineEdit::Password);
    spin_Interval = new QSpinBox(this);
    spin_Interval->setObjectName(QStringLiteral("spin_Interval"));
    spin_Interval->setRange(0, 24 * 60);
    spin_Interval->setValue(settings.interval);
    spin_Interval->setSpecialValueText(tr("only by hand"));
    cmb_List = new QComboBox(this);
    cmb_List->setObjectName(QStringLiteral("cmb_List"));
    FillLists({}, settings.list);
    cb_AllowPlain = new QCheckBox(tr("Allow u&nencrypted connection"), this);
    cb_AllowPlain->setObjectName(QStringLiteral("cb_AllowPlain"));
    cb_AllowPlain->setChecked(settings.allowPlain);
    lbl_Plain = new QLabel(
        tr("Without encryption, the password and the tasks can be read on their way."), this);
    lbl_Plain->setWordWrap(true);
    Btn_Test = new QPushButton(tr("&Test connection"), this);
    Btn_Test->setObjectName(QStringLiteral("Btn_Test"));
    Btn_Test->setEnabled(hooks && hooks->test);
    lbl_Test = new QLabel(this);
    lbl_Test->setObjectName(QStringLiteral("lbl_Test"));
    lbl_Test->setWordWrap(true);
    lbl_Test->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lbl_Secret = new QLabel(this);
    lbl_Secret->setObjectName(QStringLiteral("lbl_Secret"));
    lbl_Secret->setWordWrap(true);

    auto* form = new QFormLayout;
    form->addRow(tr("&Server address"), edt_Address);
    form->addRow(tr("&User name"), edt_User);
    form->addRow(tr("&Password"), edt_Password);
    form->addRow(tr("Task &list"), cmb_List);
    auto* every = new QHBoxLayout;
    every->addWidget(spin_Interval);
    every->addWidget(new QLabel(tr("minutes"), this));
    every->addStretch();
    auto* everyLabel = new QLabel(tr("Sync &every"), this);
    everyLabel->setBuddy(spin_Interval);
    form->addRow(everyLabel, every);
    auto* test = new QHBoxLayout;
    test->addWidget(Btn_Test);
    test->addWidget(lbl_Test, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(cb_AllowPlain);
    layout->addWidget(lbl_Plain);
    layout->addLayout(test);
    layout->addWidget(lbl_Secret);
    layout->addStretch();
    edt_Address->setAccessibleDescription(
        tr("The address of the task list, or of the server, which is then searched"));

    ShowPlainWarning();
    connect(cb_AllowPlain, &QCheckBox::toggled, this, [this] { ShowPlainWarning(); });
    connect(Btn_Test, &QPushButton::clicked, this, [this] { Btn_TestClick(); });

    if (hooks && hooks->storeMissing) {
        lbl_Secret->setText(tr("No secret store is running: the password is kept in memory "
                               "for this run only, and asked at the first sync of a run."));
    } else if (hooks && hooks->secrets && settings.isSet()) {
        QPointer<SyncPage> self(this);
        hooks->secrets->read(settings.accountKey(), [self](SecretStore::Outcome o, QString pw) {
            if (!self)
                return;
            if (o == SecretStore::Outcome::Done && self->edt_Password->text().isEmpty()) {
                self->edt_Password->setText(pw);
                self->m_openedPassword = pw;
            } else if (o == SecretStore::Outcome::NoStore) {
                self->m_hooks->storeMissing = true;
                self->lbl_Secret->setText(
                    tr("No secret store is running: the password is kept in memory for this "
                       "run only, and asked at the first sync of a run."));
            }
        });
    }
}

void SyncPage::ShowPlainWarning() {
    lbl_Plain->setVisible(cb_AllowPlain->isChecked());
    ThemeColors::UseBlueText(lbl_Plain); // the warning texts' colour
}

SyncSettings SyncPage::settings() const {
    SyncSettings s;
    s.address = edt_Address->text().trimmed();
    s.user = edt_User->text().trimmed();
    s.interval = spin_Interval->value();
    s.allowPlain = cb_AllowPlain->isChecked();
    s.list = cmb_List->currentData().toString();
    return s;
}

void SyncPage::FillLists(const std::vector<SyncTaskList>& lists, const QString& chosen) {
    cmb_List->clear();
    cmb_List->addItem(tr("The first one found"), QString());
    bool listed = chosen.isEmpty();
    for (const SyncTaskList& l : lists) {
        cmb_List->addItem(l.name.isEmpty() ? l.href : QStringLiteral("%1 (%2)").arg(l.name, l.href),
                          l.href);
        listed = listed || l.href == chosen;
    }
    if (!listed) // chosen before; the server's lists are not known yet
        cmb_List->addItem(chosen, chosen);
    cmb_List->setCurrentIndex(std::max(0, cmb_List->findData(chosen)));
}

std::optional<QString> SyncPage::password() const {
    if (edt_Password->text().isEmpty() && !edt_Password->isModified())
        return m_hooks && m_hooks->known ? m_hooks->known(settings()) : std::nullopt;
    return edt_Password->text();
}

bool SyncPage::changed() const {
    const SyncSettings s = settings();
    return s.address != m_opened.address || s.user != m_opened.user ||
           s.interval != m_opened.interval || s.allowPlain != m_opened.allowPlain ||
           s.list != m_opened.list || edt_Password->text() != m_openedPassword;
}

void SyncPage::Btn_TestClick() {
    const SyncSettings s = settings();
    Btn_Test->setEnabled(false);
    lbl_Test->setText(tr("Testing..."));
    QPointer<SyncPage> self(this);
    m_hooks->test({s.address, s.user, password().value_or(QString()), s.allowPlain, s.list},
                  [self](bool, QString text, std::vector<SyncTaskList> lists) {
                      if (!self)
                          return;
                      if (!lists.empty())
                          self->FillLists(lists, self->cmb_List->currentData().toString());
                      self->lbl_Test->setText(text);
                      self->Btn_Test->setEnabled(true);
                  });
}
