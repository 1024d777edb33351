#include "Dlg_ReplaceAsk.h"
#include "gui/ThemeColors.h"

#include "gui/pU_Dialogs.h"
#include "platform/pU_Funcs.h"

#include <QLabel>
#include <QLocale>
#include <QPushButton>

namespace {
enum Result { Closed = 0, Yes = 10, No, Abort, All };

QLabel* label(QWidget* parent, const char* name, int x, int y) {
    auto* l = new QLabel(parent);
    l->setObjectName(QLatin1String(name));
    l->move(x, y);
    return l;
}

QString dateTimeText(TDateTime t) {
    return t == 0 ? QString() : QLocale().toString(FromDateTime(t), QLocale::ShortFormat);
}
} // namespace

TReplaceAskDlg::TReplaceAskDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ReplaceAskDlg"));
    setWindowTitle(tr("Confirm Replace"));
    SetFixedDialogBorder(this);
    QFont f(QStringLiteral("Tahoma"));
    f.setPixelSize(13);
    setFont(f);
    setFixedSize(463, 250);

    Label_Caption = label(this, "Label_Caption", 56, 24);
    Label_oldTitle = label(this, "Label_oldTitle", 80, 56);
    Label_oldTime = label(this, "Label_oldTime", 80, 80);
    Label2 = label(this, "Label2", 56, 104);
    Label2->setText(tr("with this one?"));
    Label_newTitle = label(this, "Label_newTitle", 80, 144);
    Label_newTime = label(this, "Label_newTime", 80, 168);
    for (QLabel* title : {Label_oldTitle, Label_newTitle}) {
        title->setFixedSize(360, 16);
        ThemeColors::UseBlueText(title);
    }
    const auto button = [this](const char* name, const QString& text, int x, int result) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        b->setGeometry(x, 200, 75, 25);
        connect(b, &QPushButton::clicked, this, [this, result] { done(result); });
        return b;
    };
    Button1 = button("Button1", tr("&Yes"), 88, Yes);
    Button4 = button("Button4", tr("&All"), 176, All);
    Button2 = button("Button2", tr("&No"), 264, No);
    Button3 = button("Button3", tr("A&bort"), 352, Abort);
    // Tab order: Yes, No, Abort, All.
    setTabOrder(Button1, Button2);
    setTabOrder(Button2, Button3);
    setTabOrder(Button3, Button4);
    Button1->setDefault(true);
    CentreOnScreen(this);
}

Interchange::Answer TReplaceAskDlg::Ask(const Interchange::ReplaceQuestion& q) {
    // The kind is the interchange file's element name.
    const QString kind = q.kind == u"task" ? tr("task") : q.kind == u"memo" ? tr("memo") : q.kind;
    Label_Caption->setText(tr("Would you like to replace the existing %1").arg(kind));
    Label_Caption->adjustSize();
    // Cut at the label's edge, on one line.
    const auto fit = [](QLabel* l, const QString& text) {
        l->setText(l->fontMetrics().elidedText(FlattenLineBreaks(text), Qt::ElideNone, l->width()));
    };
    // Yes writes the file's record over the stored row: the stored one is
    // the one "replaced", the file's the one "with this one".
    fit(Label_oldTitle, q.dbContent);
    fit(Label_newTitle, q.fileContent);
    Label_oldTime->setText(tr("modified: ") + dateTimeText(q.dbEditTime));
    Label_oldTime->adjustSize();
    Label_newTime->setText(tr("modified: ") + dateTimeText(q.fileEditTime));
    Label_newTime->adjustSize();
    switch (exec()) {
    case Yes:
        return Interchange::Answer::Yes;
    case No:
        return Interchange::Answer::No;
    case Abort:
        return Interchange::Answer::Abort;
    case All:
        return Interchange::Answer::All;
    default:
        return Interchange::Answer::Closed;
    }
}
