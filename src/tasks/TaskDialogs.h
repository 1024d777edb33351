#pragma once

#include "platform/Clock.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QSoundEffect;
class QTimeEdit;

// "Set Reminder": a flag and a moment for the selected tasks.
class TReminderSetDlg : public QDialog {
    Q_OBJECT
public:
    TReminderSetDlg(QWidget* parent, bool alarmFlag, TDateTime alarmTime);
    bool alarmFlag = false;
    TDateTime alarmTime = 0;
    bool flag() const { return alarmFlag; }
    TDateTime time() const { return alarmTime; }
    // The date picker's date with the time picker's time of day.
    TDateTime combined() const;
    bool warningShown() const;

    QCheckBox* cb_reminder;
    QDateEdit* edt_date;
    QTimeEdit* edt_time;
    QLabel* lbl_warning;
    QLabel* img_warning;
    QPushButton* btn_ok;
    QPushButton* Button2;

private:
    void UpdateWarning();
    void PickerChange();
};

// "Set Due Date": a flag and a date for the selected tasks.
class TDueSetDlg : public QDialog {
    Q_OBJECT
public:
    TDueSetDlg(QWidget* parent, bool dueFlag, TDateTime dueTime);
    bool dueFlag = false;
    TDateTime dueTime = 0;
    bool flag() const { return dueFlag; }
    TDateTime time() const { return dueTime; }

    QCheckBox* cb_due;
    QDateEdit* edt_due;
    QPushButton* Btn_Ok;
    QPushButton* Button2;

private:
    QTime m_timeOfDay; // the picker edits the date only
};

// The reminder pop-up: shows the task's text with the alarm sound, and is
// snoozed or dismissed.
class TtaskReminderDlg : public QDialog {
    Q_OBJECT
public:
    TtaskReminderDlg(QWidget* parent, const QString& reminderText, const QString& soundPath);
    ~TtaskReminderDlg() override;
    // More reminders due after this one: "and 12 more", with buttons that
    // answer them all at once.
    void setWaiting(int count);
    // Without the sound: a later pop-up of the same burst.
    void setSilent(bool silent) { m_silent = silent; }
    bool silent() const { return m_silent; }
    // Closed unanswered because the program ends: the reminder stays due as
    // stored.
    void abandon();

    static QStringList SnoozeItems();
    // The new alarm time for the item at position, counted from now.
    static TDateTime SnoozeTime(int position, TDateTime now);

    QString reminderText;
    bool dismissed = false;
    TDateTime snoozeUntil = 0;
    bool all = false; // the answer is for every reminder due
    bool abandoned = false;

    QPlainTextEdit* Memo1;
    QLabel* Label1;
    QComboBox* comb_Snooze;
    QPushButton* btn_dismiss;
    QPushButton* btn_snooze;
    QLabel* lbl_waiting;
    QPushButton* btn_dismissAll;
    QPushButton* btn_snoozeAll;

protected:
    void showEvent(QShowEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    QString m_soundPath;
    QSoundEffect* m_sound = nullptr;
    bool m_played = false;
    bool m_silent = false;
};

// "Set Color": text and background colour values, each possibly the default.
class TColorSetDlg : public QDialog {
    Q_OBJECT
public:
    TColorSetDlg(QWidget* parent, qint32 textColor, qint32 backgroundColor);
    qint32 textColor;
    qint32 backgroundColor;

    QCheckBox* cb_text;
    QComboBox* cbox_text;
    QCheckBox* cb_bg;
    QComboBox* cbox_bg;
    QPlainTextEdit* Memo1;
    QPushButton* btn_Default;
    QPushButton* btn_Ok;
    QPushButton* Button2;

    qint32 selectedValue(const QComboBox* box) const;

private:
    void FormShow();
    void UpdatePreview();
    void Select(QComboBox* box, qint32 value);
};
