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

QString historySourceText(GameId id, int lastDrawNo)
{
    const QString name = game(id).name.toString();
    return lastDrawNo > 0 ? QStringLiteral("%1　第%2回まで").arg(name).arg(lastDrawNo)
                          : QStringLiteral("%1　当選データなし").arg(name);
}

QString historySourceText(GameId id, const History& history)
{
    const auto last = std::find_if(history.rbegin(), history.rend(), [](const DrawRecord& d) { return d.complete(); });
    return historySourceText(id, last == history.rend() ? 0 : last->drawNo);
}

void paintPageHeader(QPainter& painter, double width, const PageHeader& header, int number, int total)
{
    painter.save();
    const QFont font = uiFont();
    painter.setFont(font);
    painter.setPen(Qt::black);
    const QFontMetricsF metrics(font);
    const QRectF line(0, 0, width, SheetPages::kHeaderPixels - 6);
    const QString page = total > 0 ? pageNumberText(number, total) : QString();
    const double pageWidth = page.isEmpty() ? 0 : metrics.horizontalAdvance(page) + metrics.height();
    // The caption, then the source a wide gap after it; on a narrow page the
    // source gives way first.
    const double captionWidth = std::min(metrics.horizontalAdvance(header.caption), width - pageWidth);
    painter.drawText(QRectF(0, 0, captionWidth, line.height()), Qt::AlignLeft | Qt::AlignVCenter,
                     metrics.elidedText(header.caption, Qt::ElideRight, captionWidth));
    const double sourceLeft = captionWidth + 2 * metrics.height();
    const double sourceWidth = width - pageWidth - sourceLeft;
    if (!header.source.isEmpty() && sourceWidth > 0)
        painter.drawText(QRectF(sourceLeft, 0, sourceWidth, line.height()), Qt::AlignLeft | Qt::AlignVCenter,
                         metrics.elidedText(header.source, Qt::ElideRight, sourceWidth));
    if (!page.isEmpty())
        painter.drawText(line, Qt::AlignRight | Qt::AlignVCenter, page);
    painter.fillRect(QRectF(0, SheetPages::kHeaderPixels - 5, width, 1), Qt::black);
    painter.restore();
}

QPageLayout::Orientation preferredOrientation(const Sheet& sheet)
{
    const SheetPixels px = sheetPixels(sheet);
    const bool wide = px.width > px.height || px.width * kLegibleScale > kPortraitWidth;
    return wide ? QPageLayout::Landscape : QPageLayout::Portrait;
}

SheetPages::SheetPages(const Sheet& sheet, QSizeF pageSize, std::vector<int> tableStarts, double firstPageTop)
    : m_sheet(sheet), m_pageSize(pageSize), m_firstPageTop(std::max(0.0, firstPageTop)), m_painter(sheetFont())
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
    // Text above the sheet takes at most half of the first page.
    m_firstPageTop = std::min(m_firstPageTop, height / 2);
    const double firstRoomH = (height - m_firstPageTop) / m_scale;

    // Frozen columns repeat on every page, unless they alone fill half of it.
    int frozenCols = std::clamp(sheet.frozenColumns(), 0, sheet.columns());
    const auto sum = [](const std::vector<int>& v, int n) {
        return std::accumulate(v.begin() + 1, v.begin() + 1 + n, 0.0);
    };
    if (sum(m_colPx, frozenCols) >= roomW / 2)
        frozenCols = 0;

    const auto colRuns = runs(frozenCols + 1, sheet.columns(), roomW - sum(m_colPx, frozenCols), m_colPx);
    const auto rowRuns = rowPages(std::move(tableStarts), firstRoomH, roomH);
    for (const auto& cr : colRuns)
        for (const auto& rr : rowRuns) {
            Page p;
            for (int c = 1; c <= frozenCols; ++c)
                p.cols.push_back(c);
            p.cols.insert(p.cols.end(), cr.begin(), cr.end());
            p.rows = rr;
            m_pages.push_back(std::move(p));
        }
}

std::vector<std::vector<int>> SheetPages::rowPages(std::vector<int> tableStarts, double firstRoom, double room) const
{
    const int rows = m_sheet.rows();
    // Every table's header is as high as the frozen rows; it repeats on the
    // pages its table goes on over, unless it alone fills half of one.
    int headerRows = std::clamp(m_sheet.frozenRows(), 0, rows);
    const auto height = [&](int from, int count) {
        double h = 0;
        for (int r = from; r < from + count && r <= rows; ++r)
            h += m_rowPx[std::size_t(r)];
        return h;
    };
    if (height(1, headerRows) >= room / 2)
        headerRows = 0;
    std::erase_if(tableStarts, [&](int r) { return headerRows == 0 || r <= headerRows || r > rows; });
    std::sort(tableStarts.begin(), tableStarts.end());
    tableStarts.erase(std::unique(tableStarts.begin(), tableStarts.end()), tableStarts.end());

    std::vector<std::vector<int>> pages;
    std::vector<int> page;
    double used = 0;
    int body = 0;         // rows of the page besides its repeated header
    int tableHeader = 1;  // first row of the header of the table the rows belong to
    const auto repeat = [&](int header) {
        for (int r = header; r < header + headerRows && r <= rows; ++r)
            page.push_back(r);
        used = height(header, headerRows);
        // A further table's header may be higher than the first's.
        if (header != 1 && used >= room / 2) {
            page.clear();
            used = 0;
        }
    };
    const auto startPage = [&](bool withHeader) {
        pages.push_back(std::move(page));
        page.clear();
        used = 0;
        body = 0;
        if (withHeader)
            repeat(tableHeader);
    };
    repeat(1);
    auto next = tableStarts.begin();
    for (int r = headerRows + 1; r <= rows;) {
        const double pageRoom = pages.empty() ? firstRoom : room;
        if (next != tableStarts.end() && *next == r) {
            // A further table: its header goes with its first row onto a
            // page, in place.
            const double need = height(r, headerRows + 1);
            if (body > 0 && used + need > pageRoom)
                startPage(false);
            tableHeader = r;
            for (int k = 0; k < headerRows && r <= rows; ++k, ++r) {
                page.push_back(r);
                used += m_rowPx[std::size_t(r)];
            }
            ++body;
            ++next;
            continue;
        }
        if (body > 0 && used + m_rowPx[std::size_t(r)] > pageRoom)
            startPage(true);
        page.push_back(r);
        used += m_rowPx[std::size_t(r)];
        ++body;
        ++r;
    }
    pages.push_back(std::move(page));
    return pages;
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

double SheetPages::gridTop(int page) const { return kHeaderPixels + (page == 0 ? m_firstPageTop : 0.0); }

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
    return QRectF(c->pos * m_scale, gridTop(page) + r->pos * m_scale, c->size * m_scale, r->size * m_scale);
}

void SheetPages::paint(QPainter& painter, int page, const PageHeader& header, int firstNumber, int total) const
{
    paintPageHeader(painter, m_pageSize.width(), header, firstNumber + page, total > 0 ? total : count());
    painter.save();
    painter.translate(0, gridTop(page));
    painter.scale(m_scale, m_scale);
    m_painter.paint(painter, m_sheet, spans(columns(page), m_colPx), spans(rows(page), m_rowPx));
    painter.restore();
}

namespace {

constexpr double kLineGap = 2;

// The wrapped lines of text under the page header: their height across
// `width`, and painting them at the painter's origin.
double linesHeight(const QStringList& lines, double width)
{
    if (lines.isEmpty())
        return 0;
    const QFontMetricsF metrics(uiFont());
    double h = 0;
    for (const QString& line : lines)
        h += std::max(metrics.boundingRect(QRectF(0, 0, width, 1e6), Qt::AlignLeft | Qt::TextWordWrap, line).height(),
                      metrics.height())
             + kLineGap;
    return h + 8;  // a gap over the sheet
}

void paintLines(QPainter& painter, const QStringList& lines, double width)
{
    painter.save();
    painter.setFont(uiFont());
    painter.setPen(Qt::black);
    const QFontMetricsF metrics(uiFont());
    double y = 0;
    for (const QString& line : lines) {
        const QRectF box(0, y, width, 1e6);
        const QRectF used = painter.boundingRect(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, line);
        painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, line);
        y += std::max(used.height(), metrics.height()) + kLineGap;
    }
    painter.restore();
}

void printPages(QPagedPaintDevice& device, const Sheet& sheet, const PageHeader& header, const QStringList& lines)
{
    const QSizeF area = pageArea(device);
    const SheetPages pages(sheet, area, {}, linesHeight(lines, area.width()));
    QPainter painter(&device);
    scaleToGridPixels(painter, device);
    for (int i = 0; i < pages.count(); ++i) {
        if (i > 0)
            device.newPage();
        pages.paint(painter, i, header);
        if (i == 0 && !lines.isEmpty()) {
            painter.save();
            painter.translate(0, SheetPages::kHeaderPixels);
            paintLines(painter, lines, area.width());
            painter.restore();
        }
    }
}

}  // namespace

void printSheet(QPagedPaintDevice& device, const Sheet& sheet, const PageHeader& header)
{
    printPages(device, sheet, header, {});
}

void printSheetUnderLines(QPagedPaintDevice& device, const PageHeader& header, const QStringList& lines,
                          const Sheet& sheet)
{
    printPages(device, sheet, header, lines);
}

void printOnOnePage(QPagedPaintDevice& device, const PageHeader& header, const QStringList& lines,
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
    painter.drawText(QRectF(0, y, page.width(), captionHeight), Qt::AlignLeft | Qt::AlignVCenter, header.caption);
    // Where the figures come from, at the right of the caption's line.
    painter.setFont(uiFont());
    painter.drawText(QRectF(0, y, page.width(), captionHeight), Qt::AlignRight | Qt::AlignBottom, header.source);
    painter.setFont(captionFont);
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
