#include "TzvTasksFrame.h"

#include "TaskDelegate.h"
#include "TaskTree.h"
#include "gui/pU_Boxes.h"

#include <QPainter>
#include <QPrinter>

// Print: the tree as it is shown, on as many pages as it needs.

void TzvTasksFrame::Action_PrintExecute() {
    if (m_editingNode)
        return;
    QPrinter printer(QPrinter::HighResolution);
    if (!AskPrint(printer))
        return;
    PrintTree(printer);
}

int TzvTasksFrame::PrintTree(QPrinter& printer) {
    // The shown rows: hidden tasks and the sub-tasks of collapsed ones stay out.
    struct Row {
        QModelIndex index;
        int x, y, height;
    };
    std::vector<Row> rows;
    QStyleOptionViewItem option;
    option.initFrom(VtTasks->viewport());
    option.font = VtTasks->font();
    option.fontMetrics = VtTasks->fontMetrics();
    option.state = QStyle::State_Enabled | QStyle::State_Active;
    option.features = QStyleOptionViewItem::WrapText;
    const int width = VtTasks->viewport()->width();
    int y = 0;
    const auto add = [&](const QModelIndex& index, int x) {
        const int h = m_delegate->sizeHint(option, index).height();
        rows.push_back({index, x, y, h});
        y += h;
    };
    for (int r = 0; r < m_model->rowCount(); ++r) {
        const QModelIndex top = m_model->index(r, 0);
        add(top, VtTasks->indentation());
        if (VtTasks->isExpanded(top))
            for (int c = 0; c < m_model->rowCount(top); ++c)
                add(m_model->index(c, 0, top), 2 * VtTasks->indentation());
    }

    QPainter p;
    if (!p.begin(&printer))
        return 0;
    // Printed as large as the screen shows it, measured by the text height:
    // the same text in points on the printer against its pixels on screen.
    QFont inPoints = option.font;
    if (inPoints.pixelSize() > 0)
        inPoints.setPointSizeF(inPoints.pixelSize() * 72.0 / qMax(1, VtTasks->logicalDpiY()));
    const double scale =
        QFontMetricsF(inPoints, &printer).height() / qMax(1.0, QFontMetricsF(option.font).height());
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    const int pageW = qMax(1, int(page.width() / scale));
    const int pageH = qMax(1, int(page.height() / scale));
    const int across = qMax(1, (width + pageW - 1) / pageW);
    // Pages down break between rows; a row taller than a page is cut.
    std::vector<std::pair<size_t, size_t>> downs; // first row, end row
    for (size_t i = 0; i < rows.size();) {
        size_t j = i + 1;
        while (j < rows.size() && rows[j].y + rows[j].height - rows[i].y <= pageH)
            ++j;
        downs.emplace_back(i, j);
        i = j;
    }
    if (downs.empty())
        downs.emplace_back(0, 0);
    int pages = 0;
    for (const auto& [first, end] : downs) {
        const int top = first < rows.size() ? rows[first].y : 0;
        for (int column = 0; column < across; ++column) {
            if (pages++ > 0)
                printer.newPage();
            p.save();
            p.scale(scale, scale);
            p.fillRect(QRect(0, 0, pageW, pageH), Qt::white);
            p.setClipRect(QRect(0, 0, pageW, pageH));
            p.translate(-column * pageW, -top);
            for (size_t k = first; k < end; ++k) {
                QStyleOptionViewItem o = option;
                o.rect = QRect(rows[k].x, rows[k].y, width - rows[k].x, rows[k].height);
                m_delegate->paint(&p, o, rows[k].index);
            }
            p.restore();
        }
    }
    p.end();
    return pages;
}
