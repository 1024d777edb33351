#pragma once

#include <QLabel>
#include <QStatusBar>

// A status bar of two panels, 21 pixels and the rest, that carries a small
// picture over its first panel.
class TZvStatusBar : public QStatusBar {
    Q_OBJECT
public:
    explicit TZvStatusBar(QWidget* parent = nullptr) : QStatusBar(parent) {
        setSizeGripEnabled(false);
        // The first panel keeps its width while its picture is hidden.
        auto* panel = new QWidget(this);
        panel->setFixedSize(21, 18);
        StatusImage = new QLabel(panel);
        StatusImage->setObjectName(QStringLiteral("StatusImage"));
        StatusImage->setGeometry(0, 0, 21, 18);
        StatusImage->setAlignment(Qt::AlignCenter);
        m_text = new QLabel(this);
        m_text->setObjectName(QStringLiteral("StatusText"));
        m_text->setMinimumWidth(50);
        addWidget(panel);
        addWidget(m_text, 1);
    }
    QLabel* StatusImage;
    // A text cut off by a narrow window can still be read whole, as a tip.
    void setPanelText(const QString& t) {
        m_text->setText(t);
        m_text->setToolTip(
            m_text->fontMetrics().horizontalAdvance(t) > m_text->width() ? t : QString());
    }
    QString panelText() const { return m_text->text(); }

private:
    QLabel* m_text;
};
