// Every menu item and dialog control can be reached by its access letter,
// and no two in one menu or one dialog page share it, in each language.
#include "FrameHarness.h"
#include "app/Translations.h"
#include "dialogs/Dlg_ReplaceAsk.h"
#include "dialogs/SecurityPage.h"
#include "dialogs/TAboutDlg.h"
#include "dialogs/TOptionsDlg.h"
#include "dialogs/TupdateDlg.h"
#include "platform/IniFile.h"
#include "tasks/TaskDialogs.h"
#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScopeGuard>
#include <QTabWidget>

namespace {

// The letter after a single '&', or a null character.
QChar AccessLetter(const QString& text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != u'&')
            continue;
        if (text[i + 1] != u'&')
            return text[i + 1].toLower();
        ++i;
    }
    return {};
}

// Collects the faults of one group of items that are reachable together.
class Group {
public:
    explicit Group(QString where) : m_where(std::move(where)) {}
    void add(const QString& text) {
        const QString shown = text.section(u'\t', 0, 0);
        const QChar letter = AccessLetter(shown);
        if (letter.isNull())
            faults << m_where + ": no letter in \"" + shown + "\"";
        else if (m_seen.contains(letter))
            faults << m_where + ": \"" + m_seen[letter] + "\" and \"" + shown + "\" share " +
                          letter;
        else
            m_seen.insert(letter, shown);
    }
    QStringList faults;

private:
    QString m_where;
    QHash<QChar, QString> m_seen;
};

QStringList MenuFaults(const QString& where, const QList<QAction*>& actions) {
    Group group(where);
    QStringList faults;
    for (QAction* a : actions) {
        if (a->isSeparator() || !a->isVisible())
            continue;
        group.add(a->text());
        // A Move To menu lists the tasks themselves.
        if (a->menu() && !a->menu()->objectName().contains(u"Move", Qt::CaseInsensitive) &&
            !a->text().contains(u"Move") && !a->text().contains(u"Verschieben"))
            faults << MenuFaults(where + " > " + a->text(), a->menu()->actions());
    }
    return group.faults + faults;
}

// The controls of a dialog page that is on screen now: buttons, labels of
// fields and tabs, and the fields themselves, which need a label's letter.
QStringList PageFaults(const QString& where, QWidget* dialog) {
    Group group(where);
    QSet<QWidget*> labelled;
    for (QWidget* w : dialog->findChildren<QWidget*>()) {
        if (!w->isVisible())
            continue;
        if (auto* b = qobject_cast<QAbstractButton*>(w); b && !b->text().isEmpty())
            group.add(b->text());
        else if (auto* l = qobject_cast<QLabel*>(w); l && l->buddy()) {
            group.add(l->text());
            labelled.insert(l->buddy());
        } else if (auto* g = qobject_cast<QGroupBox*>(w); g && g->isCheckable())
            group.add(g->title());
        else if (auto* t = qobject_cast<QTabWidget*>(w))
            for (int i = 0; i < t->count(); ++i)
                group.add(t->tabText(i));
    }
    for (QWidget* w : dialog->findChildren<QWidget*>()) {
        const bool field = qobject_cast<QLineEdit*>(w) || qobject_cast<QAbstractSpinBox*>(w) ||
                           qobject_cast<QComboBox*>(w);
        if (field && w->isVisible() && w->isEnabled() && !labelled.contains(w) &&
            !qobject_cast<QAbstractSpinBox*>(w->parentWidget()) &&
            !qobject_cast<QComboBox*>(w->parentWidget()))
            group.faults << where + ": the field " + w->objectName() + " has no letter";
    }
    return group.faults;
}

QStringList DialogFaults(QDialog* d) {
    d->show();
    QStringList faults;
    if (auto* tabs = d->findChild<QTabWidget*>()) {
        for (int i = 0; i < tabs->count(); ++i) {
            tabs->setCurrentIndex(i);
            faults << PageFaults(d->windowTitle() + " / " + tabs->tabText(i), d);
        }
    } else {
        faults << PageFaults(d->windowTitle(), d);
    }
    d->hide();
    return faults;
}

} // namespace

class TestAccessKeys : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::FixGuiEnvironment(); }

    void everyItemHasItsOwnLetter_data() {
        QTest::addColumn<QString>("language");
        QTest::newRow("English") << QString();
        QTest::newRow("German") << QStringLiteral("de");
    }
    void everyItemHasItsOwnLetter() {
        QFETCH(QString, language);
        const auto english = qScopeGuard([] { UnloadTranslations(); });
        if (!language.isEmpty())
            QCOMPARE(LoadTranslations(QLocale(language)), language);
        test::ProgramFolder folder;
        test::Fill(folder.path(),
                   {test::Task("{A}", "root", "apple"), test::Task("{B}", "root", "banana", true)});
        test::Program p(folder.path());
        TzvTasksFrame* f = p.show();
        QStringList faults;
        for (int row : {0, 1}) { // texts follow the selection
            p.select({p.row(row)});
            faults << MenuFaults("menu bar", f->mainMenu()->actions());
            faults << MenuFaults("row menu", f->PopupMenu_Task->actions());
        }
        f->Action_ViewAsc->trigger();
        faults << MenuFaults("menu bar, sorted the other way", f->mainMenu()->actions());
        faults << MenuFaults("empty space menu", f->PopupMenu_Null->actions());
        if (p.mainFm->PopupMenu_Tray)
            faults << MenuFaults("tray menu", p.mainFm->PopupMenu_Tray->actions());

        QWidget* owner = p.mainFm.get();
        std::vector<std::unique_ptr<QDialog>> dialogs;
        dialogs.push_back(std::make_unique<TReminderSetDlg>(owner, true, 0));
        dialogs.push_back(std::make_unique<TDueSetDlg>(owner, true, 0));
        dialogs.push_back(std::make_unique<TColorSetDlg>(owner, 0, 0xFFFFFF));
        dialogs.push_back(std::make_unique<TtaskReminderDlg>(owner, "Call", QString()));
        dialogs.push_back(std::make_unique<TReplaceAskDlg>(owner));
        dialogs.push_back(std::make_unique<TupdateDlg>(p.mainFm->context(), owner));
        dialogs.push_back(std::make_unique<TAboutDlg>(p.mainFm->context(), owner));
        dialogs.push_back(std::make_unique<TPasswordDlg>(owner));
        AppOptions options;
        const AutoStart autostart(folder.path() + "/autostart", "/usr/bin/tasquel");
        dialogs.push_back(std::make_unique<TOptionsDlg>(
            owner, options, IniFile(folder.path() + "/other.ini"), autostart));
        for (const auto& d : dialogs)
            faults << DialogFaults(d.get());
        for (const QString& fault : faults)
            qWarning().noquote() << fault;
        QVERIFY2(faults.isEmpty(), qPrintable(QString::number(faults.size()) + " faults"));
    }
};

QTEST_MAIN(TestAccessKeys)
#include "test_access_keys.moc"
