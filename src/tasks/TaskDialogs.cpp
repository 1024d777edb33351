#include "TaskDialogs.h"
#include "gui/ThemeColors.h"

#include "gui/ColorValues.h"
#include "gui/pU_Boxes.h"
#include "gui/pU_Dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSoundEffect>
#include <QStyle>
#include <QTimeEdit>
#include <QUrl>
#include <QVBoxLayout>
#include <cmath>

namespace {

QHBoxLayout* buttonRow(std::initializer_list<QPushButton*> buttons) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    for (QPushButton* b : buttons)
        row->addWidget(b);
    return row;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    return b;
}

// Equal when less than a millisecond apart.
bool notLater(TDateTime a, TDateTime b) {
    return (a - b) * 86400000.0 < 1.0;
}

} // namespace

// ---------------------------------------------------------- TReminderSetDlg

TReminderSetDlg::TReminderSetDlg(QWidget* parent, bool flag, TDateTime time)
    : QDialog(parent), alarmFlag(flag), alarmTime(time) {
    setObjectName(QStringLiteral("ReminderSetDlg"));
    setWindowTitle(tr("Set Reminder"));
    SetFixedDialogBorder(this);
    cb_reminder = new QCheckBox(tr("&Enable Reminder"), this);
    cb_reminder->setObjectName(QStringLiteral("cb_reminder"));
    edt_date = new QDateEdit(this);
    edt_date->setObjectName(QStringLiteral("edt_date"));
    edt_date->setCalendarPopup(true);
    edt_date->setDisplayFormat(QLocale().dateFormat(QLocale::ShortFormat));
    edt_time = new QTimeEdit(this);
    edt_time->setObjectName(QStringLiteral("edt_time"));
    edt_time->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    lbl_warning = new QLabel(tr("Date or time may be incorrect!"), this);
    lbl_warning->setObjectName(QStringLiteral("lbl_warning"));
    QFont bold = lbl_warning->font();
    bold.setBold(true);
    lbl_warning->setFont(bold);
    ThemeColors::UseBlueText(lbl_warning);
    img_warning = new QLabel(this);
    img_warning->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(16, 16));
    btn_ok = button(this, "btn_ok", tr("&OK"));
    btn_ok->setDefault(true);
    Button2 = button(this, "Button2", tr("&Cancel"));

    auto* form = new QFormLayout;
    form->addRow(cb_reminder);
    form->addRow(tr("&Date:"), edt_date);
    form->addRow(tr("&Time:"), edt_time);
    auto* warning = new QHBoxLayout;
    warning->addWidget(img_warning);
    warning->addWidget(lbl_warning, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(warning);
    layout->addLayout(buttonRow({btn_ok, Button2}));
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // On show: the stored moment, or tomorrow at the present time of day.
    cb_reminder->setChecked(alarmFlag);
    const QDateTime now = Clock::CurrentDateTime();
    if (alarmFlag) {
        edt_date->setDate(DatePart(alarmTime));
        edt_time->setTime(TimePart(alarmTime));
    } else {
        edt_date->setDate(now.addDays(1).date());
        edt_time->setTime(QTime(now.time().hour(), now.time().minute(), now.time().second()));
    }
    lbl_warning->hide();
    img_warning->hide();
    UpdateWarning();
    cb_reminder->setFocus();

    connect(edt_date, &QDateEdit::dateChanged, this, [this] { PickerChange(); });
    connect(edt_time, &QTimeEdit::timeChanged, this, [this] { PickerChange(); });
    connect(cb_reminder, &QCheckBox::clicked, this, [this](bool on) {
        if (on)
            UpdateWarning(); // unticking leaves the warning as it is
    });
    connect(btn_ok, &QPushButton::clicked, this, [this] {
        alarmFlag = cb_reminder->isChecked();
        alarmTime = combined();
        accept();
    });
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    CentreOnScreen(this);
}

TDateTime TReminderSetDlg::combined() const {
    return ToDateTime(edt_date->date(), edt_time->time());
}

bool TReminderSetDlg::warningShown() const {
    return !lbl_warning->isHidden();
}

void TReminderSetDlg::UpdateWarning() {
    const bool show = cb_reminder->isChecked() && notLater(combined(), Clock::Now());
    lbl_warning->setVisible(show);
    img_warning->setVisible(show);
}

void TReminderSetDlg::PickerChange() {
    cb_reminder->setChecked(true);
    UpdateWarning();
}

// ---------------------------------------------------------------- TDueSetDlg

TDueSetDlg::TDueSetDlg(QWidget* parent, bool flag, TDateTime time)
    : QDialog(parent), dueFlag(flag), dueTime(time) {
    setObjectName(QStringLiteral("DueSetDlg"));
    setWindowTitle(tr("Set Due Date"));
    SetFixedDialogBorder(this);
    cb_due = new QCheckBox(tr("&Enable Due Date"), this);
    cb_due->setObjectName(QStringLiteral("cb_due"));
    edt_due = new QDateEdit(this);
    edt_due->setObjectName(QStringLiteral("edt_due"));
    edt_due->setCalendarPopup(true);
    edt_due->setDisplayFormat(QLocale().dateFormat(QLocale::ShortFormat));
    edt_due->setAccessibleName(tr("Due date"));
    Btn_Ok = button(this, "Btn_Ok", tr("&OK"));
    Btn_Ok->setDefault(true);
    Button2 = button(this, "Button2", tr("&Cancel"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(cb_due);
    auto* date = new QFormLayout;
    date->addRow(tr("&Date:"), edt_due);
    layout->addLayout(date);
    layout->addLayout(buttonRow({Btn_Ok, Button2}));
    layout->setSizeConstraint(QLayout::SetFixedSize);

    cb_due->setChecked(dueFlag);
    const TDateTime shown = dueFlag ? dueTime : Clock::Now();
    edt_due->setDate(DatePart(shown));
    m_timeOfDay = TimePart(shown);
    edt_due->setFocus();

    connect(edt_due, &QDateEdit::dateChanged, this, [this] { cb_due->setChecked(true); });
    connect(Btn_Ok, &QPushButton::clicked, this, [this] {
        dueFlag = cb_due->isChecked();
        dueTime = ToDateTime(edt_due->date(), m_timeOfDay);
        accept();
    });
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    CentreOnScreen(this);
}

// ---------------------------------------------------------- TtaskReminderDlg

QStringList TtaskReminderDlg::SnoozeItems() {
    static const char* const texts[] = {
        QT_TR_NOOP("5 Minutes"),  QT_TR_NOOP("10 Minutes"), QT_TR_NOOP("15 Minutes"),
        QT_TR_NOOP("30 Minutes"), QT_TR_NOOP("45 Minutes"), QT_TR_NOOP("1 Hour"),
        QT_TR_NOOP("2 Hours"),    QT_TR_NOOP("3 Hours"),    QT_TR_NOOP("4 Hours"),
        QT_TR_NOOP("5 Hours"),    QT_TR_NOOP("6 Hours"),    QT_TR_NOOP("7 Hours"),
        QT_TR_NOOP("8 Hours"),    QT_TR_NOOP("1 Day"),      QT_TR_NOOP("2 Days"),
        QT_TR_NOOP("3 Days"),     QT_TR_NOOP("4 Days"),     QT_TR_NOOP("5 Days"),
        QT_TR_NOOP("6 Days"),     QT_TR_NOOP("1 Week"),     QT_TR_NOOP("2 Weeks"),
        QT_TR_NOOP("3 Weeks")};
    QStringList items;
    for (const char* t : texts)
        items << tr(t);
    return items;
}

TDateTime TtaskReminderDlg::SnoozeTime(int position, TDateTime now) {
    // Minutes of each interval; exact fractions of a day are added.
    static const int minutes[] = {5,    10,   15,   30,    45,    60,   120,  180,
                                  240,  300,  360,  420,   480,   1440, 2880, 4320,
                                  5760, 7200, 8640, 10080, 20160, 30240};
    const int m = position >= 0 && position < int(std::size(minutes)) ? minutes[position] : 1440;
    return now + m / 1440.0;
}

TtaskReminderDlg::TtaskReminderDlg(QWidget* parent, const QString& text, const QString& soundPath)
    : QDialog(parent), reminderText(text), m_soundPath(soundPath) {
    setObjectName(QStringLiteral("taskReminderDlg"));
    setWindowTitle(tr("Task Reminder"));
    // A fixed dialog without a close button: it ends by Snooze or Dismiss.
    SetFixedDialogBorder(this, false);
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setAccessibleName(tr("Reminder text"));
    // A long line wraps rather than hiding its end to the right.
    Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setFixedSize(320, 120);
    Label1 = new QLabel(tr("Click \"Snooze\" to be alarmed again &in:"), this);
    comb_Snooze = new QComboBox(this);
    comb_Snooze->setObjectName(QStringLiteral("comb_Snooze"));
    comb_Snooze->addItems(SnoozeItems());
    comb_Snooze->setCurrentIndex(0);
    Label1->setBuddy(comb_Snooze);
    btn_dismiss = button(this, "btn_dismiss", tr("&Dismiss"));
    btn_dismiss->setToolTip(tr("Dismiss reminder"));
    btn_snooze = button(this, "btn_snooze", tr("&Snooze"));
    btn_snooze->setDefault(true);
    lbl_waiting = new QLabel(this);
    lbl_waiting->setObjectName(QStringLiteral("lbl_waiting"));
    btn_snoozeAll = button(this, "btn_snoozeAll", tr("Snooze a&ll"));
    btn_snoozeAll->setToolTip(tr("Snooze every reminder that is due"));
    btn_dismissAll = button(this, "btn_dismissAll", tr("Dismiss &all"));
    btn_dismissAll->setToolTip(tr("Dismiss every reminder that is due"));
    auto* waiting = new QHBoxLayout;
    waiting->addWidget(lbl_waiting, 1);
    waiting->addWidget(btn_snoozeAll);
    waiting->addWidget(btn_dismissAll);
    setWaiting(0);
    auto* snooze = new QHBoxLayout;
    snooze->addWidget(comb_Snooze, 1);
    snooze->addWidget(btn_snooze);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Memo1);
    layout->addWidget(Label1);
    layout->addLayout(snooze);
    layout->addLayout(buttonRow({btn_dismiss}));
    layout->addLayout(waiting);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    // Modal to the program's window only: the notification-area icon and
    // its menu (Exit) stay within reach.
    setWindowModality(Qt::WindowModal);

    connect(btn_snooze, &QPushButton::clicked, this, [this] {
        snoozeUntil = SnoozeTime(comb_Snooze->currentIndex(), Clock::Now());
        dismissed = false;
        accept();
    });
    connect(btn_dismiss, &QPushButton::clicked, this, [this] {
        dismissed = true;
        accept();
    });
    connect(btn_snoozeAll, &QPushButton::clicked, this, [this] {
        all = true;
        btn_snooze->click();
    });
    connect(btn_dismissAll, &QPushButton::clicked, this, [this] {
        all = true;
        btn_dismiss->click();
    });
    CentreOnScreen(this);
}

TtaskReminderDlg::~TtaskReminderDlg() = default;

void TtaskReminderDlg::setWaiting(int count) {
    lbl_waiting->setText(tr("and %1 more").arg(count));
    for (QWidget* w : {static_cast<QWidget*>(lbl_waiting), static_cast<QWidget*>(btn_snoozeAll),
                       static_cast<QWidget*>(btn_dismissAll)})
        w->setVisible(count > 0);
}

void TtaskReminderDlg::abandon() {
    abandoned = true;
    reject();
}

void TtaskReminderDlg::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    Memo1->setPlainText(reminderText);
    if (m_played || m_silent)
        return;
    m_played = true;
    // Played once, without waiting; a missing file or no sound device is
    // silently skipped.
    m_sound = new QSoundEffect(this);
    m_sound->setSource(QUrl::fromLocalFile(m_soundPath));
    m_sound->play();
}

void TtaskReminderDlg::closeEvent(QCloseEvent* e) {
    // Nor is the window manager's close (Alt+F4): it would leave the
    // reminder due, to pop up again at once. Closing from code still works.
    if (e->spontaneous())
        e->ignore();
    else
        QDialog::closeEvent(e);
}

void TtaskReminderDlg::keyPressEvent(QKeyEvent* e) {
    // Esc is not a way out: there is no cancel button.
    if (e->key() == Qt::Key_Escape) {
        e->accept();
        return;
    }
    QDialog::keyPressEvent(e);
}

// ------------------------------------------------------------- TColorSetDlg

namespace {
QIcon swatch(const QColor& c) {
    QPixmap pm(16, 12);
    pm.fill(c);
    QPainter p(&pm);
    p.setPen(Qt::gray);
    p.drawRect(0, 0, 15, 11);
    return QIcon(pm);
}
} // namespace

TColorSetDlg::TColorSetDlg(QWidget* parent, qint32 text, qint32 background)
    : QDialog(parent), textColor(text), backgroundColor(background) {
    setObjectName(QStringLiteral("ColorSetDlg"));
    setWindowTitle(tr("Set Color"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    const auto list = [this](const char* name) {
        auto* box = new QComboBox(this);
        box->setObjectName(QLatin1String(name));
        for (const auto& c : ColorValues::All())
            box->addItem(swatch(ColorValues::ToColor(c.value, palette()).isValid()
                                    ? ColorValues::ToColor(c.value, palette())
                                    : QColor(Qt::black)),
                         QCoreApplication::translate("ColorValues", c.name), c.value);
        return box;
    };
    auto* GroupBox1 = new QGroupBox(tr("Text Color"), this);
    cb_text = new QCheckBox(tr("Default &Text Color"), GroupBox1);
    cb_text->setObjectName(QStringLiteral("cb_text"));
    cbox_text = list("cbox_text");
    auto* g1 = new QFormLayout(GroupBox1);
    g1->addRow(cb_text);
    g1->addRow(tr("C&ustom: "), cbox_text);
    auto* GroupBox2 = new QGroupBox(tr("Background Color"), this);
    cb_bg = new QCheckBox(tr("Default &Background Color"), GroupBox2);
    cb_bg->setObjectName(QStringLiteral("cb_bg"));
    cbox_bg = list("cbox_bg");
    Select(cbox_bg, ColorValues::FromRgb(Qt::white));
    auto* g2 = new QFormLayout(GroupBox2);
    g2->addRow(cb_bg);
    g2->addRow(tr("Cu&stom: "), cbox_bg);
    Memo1 = new QPlainTextEdit(tr("  Zarvik Software"), this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setFocusPolicy(Qt::NoFocus);
    Memo1->setFixedHeight(48);
    btn_Default = button(this, "btn_Default", tr("&Default"));
    btn_Ok = button(this, "btn_Ok", tr("&OK"));
    btn_Ok->setDefault(true);
    Button2 = button(this, "Button2", tr("&Cancel"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(GroupBox1);
    layout->addWidget(GroupBox2);
    layout->addWidget(new QLabel(tr("Preview:"), this));
    layout->addWidget(Memo1);
    layout->addLayout(buttonRow({btn_Default, btn_Ok, Button2}));
    layout->setSizeConstraint(QLayout::SetFixedSize);
    FormShow();

    connect(cb_text, &QCheckBox::clicked, this, [this](bool on) {
        cbox_text->setEnabled(!on);
        UpdatePreview();
    });
    connect(cb_bg, &QCheckBox::clicked, this, [this](bool on) {
        cbox_bg->setEnabled(!on);
        UpdatePreview();
    });
    connect(cbox_text, &QComboBox::currentIndexChanged, this, [this] { UpdatePreview(); });
    connect(cbox_bg, &QComboBox::currentIndexChanged, this, [this] { UpdatePreview(); });
    connect(btn_Ok, &QPushButton::clicked, this, [this] {
        textColor = cb_text->isChecked() ? 0 : selectedValue(cbox_text);
        backgroundColor = cb_bg->isChecked() ? 0 : selectedValue(cbox_bg);
        accept();
    });
    connect(btn_Default, &QPushButton::clicked, this, [this] {
        textColor = backgroundColor = 0;
        accept();
    });
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
}

void TColorSetDlg::Select(QComboBox* box, qint32 value) {
    int i = box->findData(value);
    if (i < 0) {
        // A stored colour that is not in the list is offered as it is.
        const QColor c = ColorValues::ToColor(value, palette());
        box->addItem(swatch(c), c.name(), value);
        i = box->count() - 1;
    }
    box->setCurrentIndex(i);
}

qint32 TColorSetDlg::selectedValue(const QComboBox* box) const {
    // Black is all bits zero, which means the default.
    return box->currentData().toInt();
}

void TColorSetDlg::FormShow() {
    cb_text->setChecked(textColor == 0);
    cbox_text->setEnabled(textColor != 0);
    if (textColor != 0)
        Select(cbox_text, textColor);
    cb_bg->setChecked(backgroundColor == 0);
    cbox_bg->setEnabled(backgroundColor != 0);
    if (backgroundColor != 0)
        Select(cbox_bg, backgroundColor);
    UpdatePreview();
}

void TColorSetDlg::UpdatePreview() {
    // As a row shows it, on this palette.
    const QColor text =
        cb_text->isChecked() ? QColor() : ColorValues::ToColor(selectedValue(cbox_text), palette());
    const QColor chosenBack =
        cb_bg->isChecked() ? QColor() : ColorValues::ToColor(selectedValue(cbox_bg), palette());
    const QColor back = chosenBack.isValid() ? chosenBack : palette().color(QPalette::Base);
    QPalette p = Memo1->palette();
    p.setColor(QPalette::Text, ThemeColors::RowText(text, palette().color(QPalette::Text), back,
                                                    chosenBack.isValid()));
    p.setColor(QPalette::Base, back);
    Memo1->setPalette(p);
}
