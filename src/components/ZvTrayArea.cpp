#include "ZvTray.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSystemTrayIcon>
#include <QTextDocument>

namespace {

// The desktop's own notification area, through Qt.
class TQtNotifyArea : public TZvNotifyArea {
public:
    explicit TQtNotifyArea(QObject* parent) : TZvNotifyArea(parent), m_icon(this) {
        connect(&m_icon, &QSystemTrayIcon::activated, this,
                [this](QSystemTrayIcon::ActivationReason reason) {
                    switch (reason) {
                    case QSystemTrayIcon::Trigger:
                        emit callback(TZvTrayIcon::LeftDown);
                        break;
                    case QSystemTrayIcon::DoubleClick:
                        emit callback(TZvTrayIcon::LeftDouble);
                        break;
                    case QSystemTrayIcon::Context:
                        emit callback(TZvTrayIcon::RightDown);
                        break;
                    case QSystemTrayIcon::MiddleClick:
                        // Qt reports each middle click alone: a second one
                        // within the double-click time makes a double-click.
                        if (m_middle.isValid() &&
                            m_middle.elapsed() <= QApplication::doubleClickInterval()) {
                            m_middle.invalidate();
                            emit callback(TZvTrayIcon::MiddleDouble);
                        } else {
                            m_middle.start();
                            emit callback(TZvTrayIcon::MiddleDown);
                        }
                        break;
                    default:
                        break;
                    }
                });
        connect(&m_icon, &QSystemTrayIcon::messageClicked, this,
                [this] { emit callback(TZvTrayIcon::BalloonClicked); });
    }

    bool isAvailable() const override { return QSystemTrayIcon::isSystemTrayAvailable(); }

    bool notify(Command command, const TNotifyIconData& d) override {
        if (!isAvailable())
            return false;
        switch (command) {
        case Add:
        case Modify:
            if (d.flags & TNotifyIconData::Info) {
                static const QSystemTrayIcon::MessageIcon kinds[] = {
                    QSystemTrayIcon::NoIcon, QSystemTrayIcon::Information, QSystemTrayIcon::Warning,
                    QSystemTrayIcon::Critical};
                m_icon.showMessage(d.infoTitle, d.info,
                                   kinds[d.infoKind >= 0 && d.infoKind < 4 ? d.infoKind : 0],
                                   d.timeoutMs);
                return true;
            }
            m_icon.setIcon(d.icon);
            m_icon.setToolTip(d.flags & TNotifyIconData::Tip ? NotifyAreaToolTip(d.tip)
                                                             : QString());
            if (command == Add)
                m_icon.show();
            return true;
        case Delete:
            m_icon.hide();
            return true;
        }
        return false;
    }

private:
    QSystemTrayIcon m_icon;
    QElapsedTimer m_middle; // since the last lone middle click
};

NotifyAreaFactory& factory() {
    static NotifyAreaFactory f;
    return f;
}

} // namespace

QString NotifyAreaToolTip(const QString& hint) {
    QString tip = hint;
    tip.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    // Tested on one line: some readers of the tip look past the first.
    if (!Qt::mightBeRichText(QString(tip).replace(u'\n', u' ')))
        return tip;
    return QStringLiteral("<p style=\"white-space:pre\">") + tip.toHtmlEscaped() +
           QStringLiteral("</p>");
}

void SetNotifyAreaFactory(NotifyAreaFactory f) {
    factory() = std::move(f);
}

TZvNotifyArea* MakeNotifyArea(QObject* parent) {
    if (factory())
        return factory()(parent);
    return new TQtNotifyArea(parent);
}
