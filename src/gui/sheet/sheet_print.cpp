#include "gui/sheet/sheet_print.h"

#include "gui/sheet/grid_units.h"
#include "gui/sheet/sheet_grid.h"

#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>
#include <numeric>

namespace mirkano {

namespace {

constexpr double kSmallestShrink = 0.5;

// Splits first … last into runs whose sizes add up to at most `room`, each
// run holding at least one item. No items gives one empty run.
std::vector<std::vector<int>> runs(int first, int last, double room, const std::vector<int>& px)
{
    std::vector<std::vector<int>> out;
    std::vector<int> run;
    double used = 0;
    for (int i = first; i <= last; ++i) {
        const int size = px[std::size_t(i)];
        if (!run.empty() && used + size > room) {
            out.push_back(std::move(run));
            run.clear();
            used = 0;
        }
        run.push_back(i);
        used += size;
    }
    if (!run.empty() || out.empty())
        out.push_back(std::move(run));
    return out;
}

}  // namespace

QString pageNumberText(int page, int count)
{
    return QStringLiteral("%1 / %2 ページ").arg(page).arg(count);
}

SheetPages::SheetPages(const Sheet& sheet, QSizeF pageSize) : m_sheet(sheet), m_pageSize(pageSize)
{
    const GridUnits units(sheetFont());
    std::vector<int> colPx(std::size_t(sheet.columns()) + 1, 0), rowPx(std::size_t(sheet.rows()) + 1, 0);
    for (int c = 1; c <= sheet.columns(); ++c)
        colPx[std::size_t(c)] = units.columnPixels(sheet.columnWidth(c));
    for (int r = 1; r <= sheet.rows(); ++r)
        rowPx[std::size_t(r)] = GridUnits::rowPixels(sheet.rowHeight(r));

    const double width = std::max(1.0, pageSize.width());
    const double height = std::max(1.0, pageSize.height() - kHeaderPixels);
    const double allWidth = std::accumulate(colPx.begin(), colPx.end(), 0.0);
    m_shrink = allWidth > width ? std::max(kSmallestShrink, width / allWidth) : 1.0;
    const double roomW = width / m_shrink, roomH = height / m_shrink;

    // Frozen columns and rows repeat on every page, unless they alone fill it.
    int frozenCols = std::clamp(sheet.frozenColumns(), 0, sheet.columns());
    int frozenRows = std::clamp(sheet.frozenRows(), 0, sheet.rows());
    const auto sum = [](const std::vector<int>& px, int n) {
        return std::accumulate(px.begin() + 1, px.begin() + 1 + n, 0.0);
    };
    if (sum(colPx, frozenCols) >= roomW / 2)
        frozenCols = 0;
    if (sum(rowPx, frozenRows) >= roomH / 2)
        frozenRows = 0;

    const auto colRuns = runs(frozenCols + 1, sheet.columns(), roomW - sum(colPx, frozenCols), colPx);
    const auto rowRuns = runs(frozenRows + 1, sheet.rows(), roomH - sum(rowPx, frozenRows), rowPx);
    for (const auto& cr : colRuns)
        for (const auto& rr : rowRuns) {
            Page p;
            for (int c = 1; c <= frozenCols; ++c)
                p.cols.push_back(c);
            p.cols.insert(p.cols.end(), cr.begin(), cr.end());
            for (int r = 1; r <= frozenRows; ++r)
                p.rows.push_back(r);
            p.rows.insert(p.rows.end(), rr.begin(), rr.end());
            m_pages.push_back(std::move(p));
        }
    m_frozenCols = frozenCols;
    m_frozenRows = frozenRows;
}

Sheet SheetPages::pageSheet(int page) const
{
    const Page& p = m_pages[std::size_t(page)];
    Sheet s(int(p.cols.size()), int(p.rows.size()));
    for (std::size_t i = 0; i < p.cols.size(); ++i)
        s.setColumnWidth(int(i) + 1, m_sheet.columnWidth(p.cols[i]));
    for (std::size_t j = 0; j < p.rows.size(); ++j) {
        s.setRowHeight(int(j) + 1, m_sheet.rowHeight(p.rows[j]));
        for (std::size_t i = 0; i < p.cols.size(); ++i)
            s.setCell(int(i) + 1, int(j) + 1, m_sheet.cell(p.cols[i], p.rows[j]));
    }
    s.setFrozenColumns(std::min(m_frozenCols, s.columns()));
    s.setFrozenRows(std::min(m_frozenRows, s.rows()));
    s.setVisibleSize(s.columns(), s.rows());
    s.setScrollBars(ScrollBars::None);
    s.setAllowOverflow(m_sheet.allowOverflow());
    // The active cell is a mark of the screen, not of the sheet.
    s.setActiveCell(0, 0);
    return s;
}

void SheetPages::paint(QPainter& painter, int page, const QString& caption) const
{
    painter.save();
    painter.setFont(uiFont());
    painter.setPen(Qt::black);
    const QRectF header(0, 0, m_pageSize.width(), kHeaderPixels - 6);
    painter.drawText(header, Qt::AlignLeft | Qt::AlignVCenter, caption);
    painter.drawText(header, Qt::AlignRight | Qt::AlignVCenter, pageNumberText(page + 1, count()));
    painter.fillRect(QRectF(0, kHeaderPixels - 5, m_pageSize.width(), 1), Qt::black);

    const Sheet part = pageSheet(page);
    if (part.columns() > 0 && part.rows() > 0) {
        // A grid of its own paints the page, so that it looks as on screen.
        SheetGrid grid;
        grid.setFrameShape(QFrame::NoFrame);
        grid.setSheet(part);
        int w = 0, h = 0;
        for (int c = 1; c <= part.columns(); ++c)
            w += grid.columnPixels(c);
        for (int r = 1; r <= part.rows(); ++r)
            h += grid.rowPixels(r);
        grid.setAttribute(Qt::WA_DontShowOnScreen);
        grid.resize(w, h);
        grid.show();
        painter.translate(0, kHeaderPixels);
        painter.scale(m_shrink, m_shrink);
        grid.viewport()->render(&painter, QPoint(), QRegion(), QWidget::DrawWindowBackground);
    }
    painter.restore();
}

void printSheet(QPagedPaintDevice& device, const Sheet& sheet, const QString& caption)
{
    // Grid pixels are screen pixels at 96 to the inch.
    const double scale = device.logicalDpiX() / 96.0;
    const QRect area = device.pageLayout().paintRectPixels(device.logicalDpiX());
    const SheetPages pages(sheet, QSizeF(area.width() / scale, area.height() / scale));
    QPainter painter(&device);
    painter.scale(scale, scale);
    for (int i = 0; i < pages.count(); ++i) {
        if (i > 0)
            device.newPage();
        pages.paint(painter, i, caption);
    }
}

}  // namespace mirkano
