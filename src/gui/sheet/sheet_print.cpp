#include "gui/sheet/sheet_print.h"

#include "gui/sheet/grid_units.h"

#include <QFontMetrics>
#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>
#include <numeric>

namespace mirkano {

namespace {

// Below this scale the sheet's 12-pixel text would fall under 9 pixels.
constexpr double kLegibleScale = 0.75;
// Width of an A4 portrait page within 10 mm margins, in grid pixels.
constexpr double kPortraitWidth = (210.0 - 20.0) / 25.4 * 96.0;

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

struct SheetPixels {
    std::vector<int> cols, rows;
    int width = 0, height = 0;
};

SheetPixels sheetPixels(const Sheet& sheet)
{
    const GridUnits units(sheetFont());
    SheetPixels px;
    px.cols.assign(std::size_t(sheet.columns()) + 1, 0);
    px.rows.assign(std::size_t(sheet.rows()) + 1, 0);
    for (int c = 1; c <= sheet.columns(); ++c)
        px.width += px.cols[std::size_t(c)] = units.columnPixels(sheet.columnWidth(c));
    for (int r = 1; r <= sheet.rows(); ++r)
        px.height += px.rows[std::size_t(r)] = GridUnits::rowPixels(sheet.rowHeight(r));
    return px;
}

std::vector<SheetPainter::Span> allSpans(const std::vector<int>& px)
{
    std::vector<SheetPainter::Span> out;
    int pos = 0;
    for (std::size_t i = 1; i < px.size(); ++i) {
        out.push_back({int(i), pos, px[i]});
        pos += px[i];
    }
    return out;
}

}  // namespace

QSizeF pageArea(QPagedPaintDevice& device)
{
    const double scale = device.logicalDpiX() / 96.0;
    const QRect area = device.pageLayout().paintRectPixels(device.logicalDpiX());
    return QSizeF(area.width() / scale, area.height() / scale);
}

void scaleToGridPixels(QPainter& painter, QPagedPaintDevice& device)
{
    painter.scale(device.logicalDpiX() / 96.0, device.logicalDpiY() / 96.0);
}

QString pageNumberText(int page, int count)
{
    return QStringLiteral("%1 / %2 ページ").arg(page).arg(count);
}

QPageLayout::Orientation preferredOrientation(const Sheet& sheet)
{
    const SheetPixels px = sheetPixels(sheet);
    const bool wide = px.width > px.height || px.width * kLegibleScale > kPortraitWidth;
    return wide ? QPageLayout::Landscape : QPageLayout::Portrait;
}

SheetPages::SheetPages(const Sheet& sheet, QSizeF pageSize)
    : m_sheet(sheet), m_pageSize(pageSize), m_painter(sheetFont())
{
    m_painter.setForPaper(true);
    const SheetPixels px = sheetPixels(sheet);
    m_colPx = px.cols;
    m_rowPx = px.rows;

    const double width = std::max(1.0, pageSize.width());
    const double height = std::max(1.0, pageSize.height() - kHeaderPixels);
    m_scale = px.width > 0 ? std::clamp(width / px.width, kSmallestScale, kLargestScale) : 1.0;
    // Half a pixel more, so that rounding never pushes the last column of a
    // sheet scaled to the page width onto a page of its own.
    const double roomW = width / m_scale + 0.5, roomH = height / m_scale;

    // Frozen columns and rows repeat on every page, unless they alone fill
    // half of it.
    int frozenCols = std::clamp(sheet.frozenColumns(), 0, sheet.columns());
    int frozenRows = std::clamp(sheet.frozenRows(), 0, sheet.rows());
    const auto sum = [](const std::vector<int>& v, int n) {
        return std::accumulate(v.begin() + 1, v.begin() + 1 + n, 0.0);
    };
    if (sum(m_colPx, frozenCols) >= roomW / 2)
        frozenCols = 0;
    if (sum(m_rowPx, frozenRows) >= roomH / 2)
        frozenRows = 0;

    const auto colRuns = runs(frozenCols + 1, sheet.columns(), roomW - sum(m_colPx, frozenCols), m_colPx);
    const auto rowRuns = runs(frozenRows + 1, sheet.rows(), roomH - sum(m_rowPx, frozenRows), m_rowPx);
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
}

std::vector<SheetPainter::Span> SheetPages::spans(const std::vector<int>& items, const std::vector<int>& px) const
{
    std::vector<SheetPainter::Span> out;
    out.reserve(items.size());
    int pos = 0;
    for (int i : items) {
        out.push_back({i, pos, px[std::size_t(i)]});
        pos += px[std::size_t(i)];
    }
    return out;
}

QRectF SheetPages::cellRect(int page, int col, int row) const
{
    if (page < 0 || page >= count())
        return {};
    const auto cols = spans(columns(page), m_colPx);
    const auto rs = spans(rows(page), m_rowPx);
    auto c = std::find_if(cols.begin(), cols.end(), [&](const auto& s) { return s.index == col; });
    auto r = std::find_if(rs.begin(), rs.end(), [&](const auto& s) { return s.index == row; });
    if (c == cols.end() || r == rs.end())
        return {};
    return QRectF(c->pos * m_scale, kHeaderPixels + r->pos * m_scale, c->size * m_scale, r->size * m_scale);
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

    painter.translate(0, kHeaderPixels);
    painter.scale(m_scale, m_scale);
    m_painter.paint(painter, m_sheet, spans(columns(page), m_colPx), spans(rows(page), m_rowPx));
    painter.restore();
}

void paintSheetPages(QPainter& painter, QPagedPaintDevice& device, const Sheet& sheet, const QString& caption)
{
    const SheetPages pages(sheet, pageArea(device));
    for (int i = 0; i < pages.count(); ++i) {
        if (i > 0)
            device.newPage();
        pages.paint(painter, i, caption);
    }
}

void printSheet(QPagedPaintDevice& device, const Sheet& sheet, const QString& caption)
{
    QPainter painter(&device);
    scaleToGridPixels(painter, device);
    paintSheetPages(painter, device, sheet, caption);
}

void printOnOnePage(QPagedPaintDevice& device, const QString& caption, const QStringList& lines,
                    const std::vector<TitledSheet>& sheets)
{
    const QSizeF page = pageArea(device);
    QPainter painter(&device);
    scaleToGridPixels(painter, device);
    painter.setPen(Qt::black);

    QFont captionFont = uiFont();
    captionFont.setPixelSize(20);
    captionFont.setBold(true);
    painter.setFont(captionFont);
    double y = 0;
    const int captionHeight = QFontMetrics(captionFont).height();
    painter.drawText(QRectF(0, y, page.width(), captionHeight), Qt::AlignLeft | Qt::AlignVCenter, caption);
    y += captionHeight + 4;
    painter.fillRect(QRectF(0, y, page.width(), 1), Qt::black);
    y += 8;

    QFont textFont = uiFont();
    textFont.setPixelSize(16);
    painter.setFont(textFont);
    const QFontMetrics textMetrics(textFont);
    for (const QString& line : lines) {
        const QRectF box(0, y, page.width(), page.height() - y);
        const QRectF used = painter.boundingRect(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, line);
        painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, line);
        y += std::max(used.height(), double(textMetrics.height())) + 2;
    }
    y += 10;

    // The sheets as one block, scaled to the room left on the page.
    const QFont titleFont = uiFont();
    const int titleHeight = QFontMetrics(titleFont).height() + 4;
    constexpr int kGap = 12;
    std::vector<SheetPixels> px;
    int blockWidth = 0, blockHeight = 0;
    for (const TitledSheet& s : sheets) {
        px.push_back(sheetPixels(s.sheet));
        blockWidth = std::max({blockWidth, px.back().width, QFontMetrics(titleFont).horizontalAdvance(s.title)});
        blockHeight += titleHeight + px.back().height + kGap;
    }
    if (blockWidth <= 0 || blockHeight <= 0)
        return;
    const double scale = std::min({SheetPages::kLargestScale, page.width() / blockWidth,
                                   std::max(0.0, page.height() - y) / blockHeight});
    painter.translate(0, y);
    painter.scale(scale, scale);
    SheetPainter cells(sheetFont());
    cells.setForPaper(true);
    int top = 0;
    for (std::size_t i = 0; i < sheets.size(); ++i) {
        painter.setFont(titleFont);
        painter.setPen(Qt::black);
        painter.drawText(QRect(0, top, blockWidth, titleHeight), Qt::AlignLeft | Qt::AlignVCenter, sheets[i].title);
        top += titleHeight;
        painter.save();
        painter.translate(0, top);
        cells.paint(painter, sheets[i].sheet, allSpans(px[i].cols), allSpans(px[i].rows));
        painter.restore();
        top += px[i].height + kGap;
    }
}

}  // namespace mirkano
