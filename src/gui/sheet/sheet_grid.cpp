#include "gui/sheet/sheet_grid.h"

#include "gui/sheet/grid_actions.h"

#include <QFontInfo>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStaticText>

#include <algorithm>
#include <cmath>

namespace mirkano {

namespace {

QColor toColor(Rgb c) { return QColor(c.r, c.g, c.b); }

// Colour of the area beyond the last column and row.
const QColor kOutsideColor(160, 160, 160);
const QColor kActiveCellColor(0, 0, 0);
constexpr int kTextPadding = 1;
// A text too wide for its box is drawn down to this size and, at that size,
// narrowed down to this share of its width; a text that still does not fit is
// drawn at full size and cut off.
constexpr int kSmallestTextPixels = 10;
constexpr double kNarrowestText = 0.75;

Qt::Alignment toAlignment(const Cell& c)
{
    Qt::Alignment a;
    switch (c.hAlign) {
    case HAlign::Left: a |= Qt::AlignLeft; break;
    case HAlign::Center: a |= Qt::AlignHCenter; break;
    case HAlign::Right: a |= Qt::AlignRight; break;
    }
    switch (c.vAlign) {
    case VAlign::Top: a |= Qt::AlignTop; break;
    case VAlign::Center: a |= Qt::AlignVCenter; break;
    case VAlign::Bottom: a |= Qt::AlignBottom; break;
    }
    return a;
}

}  // namespace

SheetGrid::SheetGrid(QWidget* parent) : QAbstractScrollArea(parent), m_units(sheetFont())
{
    setFont(sheetFont());
    viewport()->setFont(sheetFont());
    setFocusPolicy(Qt::StrongFocus);
    setFrameShape(QFrame::StyledPanel);
    horizontalScrollBar()->setSingleStep(1);
    verticalScrollBar()->setSingleStep(1);
    // Selection, copy, CSV and print: see grid_actions.h.
    new GridActions(this);
}

void SheetGrid::setSheet(Sheet sheet)
{
    m_sheet = std::move(sheet);
    m_fits.clear();
    m_widths.clear();
    m_laidOut.clear();
    m_colPx.assign(std::size_t(m_sheet.columns()) + 1, 0);
    m_rowPx.assign(std::size_t(m_sheet.rows()) + 1, 0);
    for (int c = 1; c <= m_sheet.columns(); ++c)
        m_colPx[std::size_t(c)] = m_units.columnPixels(m_sheet.columnWidth(c));
    for (int r = 1; r <= m_sheet.rows(); ++r)
        m_rowPx[std::size_t(r)] = GridUnits::rowPixels(m_sheet.rowHeight(r));

    applyScrollBarPolicy();
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
    updateScrollBars();
    updateGeometry();
    viewport()->update();
}

void SheetGrid::applyScrollBarPolicy()
{
    const ScrollBars bars = m_sheet.scrollBars();
    const bool h = m_cut || bars == ScrollBars::Horizontal || bars == ScrollBars::Both;
    const bool v = m_cut || bars == ScrollBars::Vertical || bars == ScrollBars::Both;
    setHorizontalScrollBarPolicy(h ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(v ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
}

void SheetGrid::setCut(bool cut)
{
    if (cut == m_cut)
        return;
    m_cut = cut;
    applyScrollBarPolicy();
    updateScrollBars();
    viewport()->update();
}

int SheetGrid::columnPixels(int col) const
{
    return col >= 1 && col <= m_sheet.columns() ? m_colPx[std::size_t(col)] : 0;
}

int SheetGrid::rowPixels(int row) const
{
    return row >= 1 && row <= m_sheet.rows() ? m_rowPx[std::size_t(row)] : 0;
}

int SheetGrid::frozenWidth() const
{
    int w = 0;
    for (int c = 1; c <= std::min(m_sheet.frozenColumns(), m_sheet.columns()); ++c)
        w += columnPixels(c);
    return w;
}

int SheetGrid::frozenHeight() const
{
    int h = 0;
    for (int r = 1; r <= std::min(m_sheet.frozenRows(), m_sheet.rows()); ++r)
        h += rowPixels(r);
    return h;
}

QSize SheetGrid::sizeHint() const
{
    int w = 0, h = 0, allW = 0, allH = 0;
    const int visCols = std::min(m_sheet.visibleColumns(), m_sheet.columns());
    const int visRows = std::min(m_sheet.visibleRows(), m_sheet.rows());
    for (int c = 1; c <= m_sheet.columns(); ++c) {
        allW += columnPixels(c);
        if (c <= visCols)
            w += columnPixels(c);
    }
    for (int r = 1; r <= m_sheet.rows(); ++r) {
        allH += rowPixels(r);
        if (r <= visRows)
            h += rowPixels(r);
    }
    const ScrollBars bars = m_sheet.scrollBars();
    const bool hAllowed = bars == ScrollBars::Horizontal || bars == ScrollBars::Both;
    const bool vAllowed = bars == ScrollBars::Vertical || bars == ScrollBars::Both;
    if (hAllowed && allW > w)
        h += horizontalScrollBar()->sizeHint().height();
    if (vAllowed && allH > h)
        w += verticalScrollBar()->sizeHint().width();
    const int frame = 2 * frameWidth();
    return {w + frame, h + frame};
}

QSize SheetGrid::fittedSize(QSize room) const
{
    int allW = 0, allH = 0;
    for (int c = 1; c <= m_sheet.columns(); ++c)
        allW += columnPixels(c);
    for (int r = 1; r <= m_sheet.rows(); ++r)
        allH += rowPixels(r);
    const ScrollBars bars = m_sheet.scrollBars();
    const bool hAllowed = bars == ScrollBars::Horizontal || bars == ScrollBars::Both;
    const bool vAllowed = bars == ScrollBars::Vertical || bars == ScrollBars::Both;
    const int frame = 2 * frameWidth();
    const int hbarH = horizontalScrollBar()->sizeHint().height();
    const int vbarW = verticalScrollBar()->sizeHint().width();
    // A bar that shows narrows the room of the other: settle in two rounds.
    bool needH = false, needV = false;
    for (int round = 0; round < 2; ++round) {
        needH = hAllowed && allW + frame + (needV ? vbarW : 0) > room.width();
        needV = vAllowed && allH + frame + (needH ? hbarH : 0) > room.height();
    }
    return {std::min(room.width(), allW + frame + (needV ? vbarW : 0)),
            std::min(room.height(), allH + frame + (needH ? hbarH : 0))};
}

int SheetGrid::lastColumnOffset(int viewportWidth) const
{
    const int first = std::min(m_sheet.frozenColumns(), m_sheet.columns()) + 1;
    int room = viewportWidth - frozenWidth();
    int c = m_sheet.columns();
    while (c >= first && room - columnPixels(c) >= 0) {
        room -= columnPixels(c);
        --c;
    }
    // Columns first … c do not fit; scrolling past them shows the rest.
    return std::max(0, c - first + 1);
}

int SheetGrid::lastRowOffset(int viewportHeight) const
{
    const int first = std::min(m_sheet.frozenRows(), m_sheet.rows()) + 1;
    int room = viewportHeight - frozenHeight();
    int r = m_sheet.rows();
    while (r >= first && room - rowPixels(r) >= 0) {
        room -= rowPixels(r);
        --r;
    }
    return std::max(0, r - first + 1);
}

void SheetGrid::updateScrollBars()
{
    // The bars appear only when the content does not fit; showing one bar
    // narrows the room of the other, so settle the pair in two rounds.
    const QSize outer = size() - QSize(2 * frameWidth(), 2 * frameWidth());
    const bool hAllowed = horizontalScrollBarPolicy() != Qt::ScrollBarAlwaysOff;
    const bool vAllowed = verticalScrollBarPolicy() != Qt::ScrollBarAlwaysOff;
    const int hbarH = horizontalScrollBar()->sizeHint().height();
    const int vbarW = verticalScrollBar()->sizeHint().width();
    bool needH = false, needV = false;
    for (int round = 0; round < 2; ++round) {
        const int vw = outer.width() - (needV ? vbarW : 0);
        const int vh = outer.height() - (needH ? hbarH : 0);
        needH = hAllowed && lastColumnOffset(vw) > 0;
        needV = vAllowed && lastRowOffset(vh) > 0;
    }
    const int vw = outer.width() - (needV ? vbarW : 0);
    const int vh = outer.height() - (needH ? hbarH : 0);
    const int hMax = hAllowed ? lastColumnOffset(vw) : 0;
    const int vMax = vAllowed ? lastRowOffset(vh) : 0;
    horizontalScrollBar()->setRange(0, hMax);
    verticalScrollBar()->setRange(0, vMax);
    const int scrolledCols = std::max(1, m_sheet.columns() - m_sheet.frozenColumns());
    const int scrolledRows = std::max(1, m_sheet.rows() - m_sheet.frozenRows());
    horizontalScrollBar()->setPageStep(std::max(1, std::min(scrolledCols, m_sheet.visibleColumns() - m_sheet.frozenColumns())));
    verticalScrollBar()->setPageStep(std::max(1, std::min(scrolledRows, m_sheet.visibleRows() - m_sheet.frozenRows())));
}

void SheetGrid::resizeEvent(QResizeEvent* e)
{
    QAbstractScrollArea::resizeEvent(e);
    updateScrollBars();
}

int SheetGrid::firstScrolledColumn() const
{
    return std::min(m_sheet.frozenColumns(), m_sheet.columns()) + 1 + horizontalScrollBar()->value();
}

int SheetGrid::firstScrolledRow() const
{
    return std::min(m_sheet.frozenRows(), m_sheet.rows()) + 1 + verticalScrollBar()->value();
}

std::vector<SheetGrid::Span> SheetGrid::visibleColumns() const
{
    std::vector<Span> spans;
    const int limit = viewport()->width();
    int x = 0;
    const int frozen = std::min(m_sheet.frozenColumns(), m_sheet.columns());
    for (int c = 1; c <= frozen && x < limit; ++c) {
        spans.push_back({c, x, columnPixels(c)});
        x += columnPixels(c);
    }
    for (int c = firstScrolledColumn(); c <= m_sheet.columns() && x < limit; ++c) {
        spans.push_back({c, x, columnPixels(c)});
        x += columnPixels(c);
    }
    return spans;
}

std::vector<SheetGrid::Span> SheetGrid::visibleRows() const
{
    std::vector<Span> spans;
    const int limit = viewport()->height();
    int y = 0;
    const int frozen = std::min(m_sheet.frozenRows(), m_sheet.rows());
    for (int r = 1; r <= frozen && y < limit; ++r) {
        spans.push_back({r, y, rowPixels(r)});
        y += rowPixels(r);
    }
    for (int r = firstScrolledRow(); r <= m_sheet.rows() && y < limit; ++r) {
        spans.push_back({r, y, rowPixels(r)});
        y += rowPixels(r);
    }
    return spans;
}

QRect SheetGrid::cellRect(int col, int row) const
{
    const auto cols = visibleColumns();
    const auto rows = visibleRows();
    auto c = std::find_if(cols.begin(), cols.end(), [&](const Span& s) { return s.index == col; });
    auto r = std::find_if(rows.begin(), rows.end(), [&](const Span& s) { return s.index == row; });
    if (c == cols.end() || r == rows.end())
        return {};
    return {c->pos, r->pos, c->size, r->size};
}

QPoint SheetGrid::cellAt(QPoint pos) const
{
    int col = 0, row = 0;
    for (const Span& s : visibleColumns())
        if (pos.x() >= s.pos && pos.x() < s.pos + s.size)
            col = s.index;
    for (const Span& s : visibleRows())
        if (pos.y() >= s.pos && pos.y() < s.pos + s.size)
            row = s.index;
    return col && row ? QPoint(col, row) : QPoint(0, 0);
}

SheetGrid::TextFit SheetGrid::fitText(const QString& text, int width) const
{
    const auto key = std::make_pair(text, width);
    if (auto it = m_fits.find(key); it != m_fits.end())
        return it->second;
    TextFit fit;
    QFont f = font();
    const int full = f.pixelSize() > 0 ? f.pixelSize() : QFontInfo(f).pixelSize();
    for (int px = full - 1; px >= kSmallestTextPixels && !fit.fits; --px) {
        f.setPixelSize(px);
        const int advance = QFontMetrics(f).horizontalAdvance(text);
        if (advance <= width) {
            fit = {true, f, 1.0};
        } else if (px == kSmallestTextPixels && advance * kNarrowestText <= width) {
            fit = {true, f, double(width) / advance};
        }
    }
    m_fits.emplace(key, fit);
    return fit;
}

int SheetGrid::textWidth(const QString& text) const
{
    if (auto it = m_widths.constFind(text); it != m_widths.cend())
        return *it;
    const int width = QFontMetrics(font()).horizontalAdvance(text);
    m_widths.insert(text, width);
    return width;
}

// Draws a text in the grid's font, aligned in the box as drawText() would
// align a single line there.
void SheetGrid::drawPlainText(QPainter& p, const QRect& box, const Cell& cell) const
{
    auto it = m_laidOut.find(cell.text);
    if (it == m_laidOut.end()) {
        QStaticText laidOut(cell.text);
        laidOut.setTextFormat(Qt::PlainText);
        laidOut.prepare(QTransform(), font());
        it = m_laidOut.insert(cell.text, laidOut);
    }
    const QSizeF size = it->size();
    qreal x = box.x(), y = box.y();
    switch (cell.hAlign) {
    case HAlign::Left: break;
    case HAlign::Center: x += (box.width() - size.width()) / 2; break;
    case HAlign::Right: x += box.width() - size.width(); break;
    }
    switch (cell.vAlign) {
    case VAlign::Top: break;
    case VAlign::Center: y += (box.height() - size.height()) / 2; break;
    case VAlign::Bottom: y += box.height() - size.height(); break;
    }
    p.drawStaticText(QPointF(x, y), *it);
}

void SheetGrid::paintEvent(QPaintEvent*)
{
    QPainter p(viewport());
    p.fillRect(viewport()->rect(), kOutsideColor);
    const auto cols = visibleColumns();
    const auto rows = visibleRows();
    if (cols.empty() || rows.empty())
        return;

    // Backgrounds first, then texts (which may spill over empty neighbours),
    // then borders on top.
    for (const Span& r : rows)
        for (const Span& c : cols)
            p.fillRect(c.pos, r.pos, c.size, r.size, toColor(m_sheet.style(c.index, r.index).bg));

    for (const Span& r : rows) {
        // Right edge of the text painted last in this row: a text never
        // spills over a cell another text already runs across.
        int claimed = -1;
        for (std::size_t i = 0; i < cols.size(); ++i) {
            if (m_sheet.text(cols[i].index, r.index).isEmpty())
                continue;
            const Cell cell = m_sheet.cell(cols[i].index, r.index);
            int left = cols[i].pos, right = cols[i].pos + cols[i].size;
            const int textWidth = this->textWidth(cell.text);
            // Where the text may go within [left, right): a pixel off each
            // side and clear of the right line. A centred text stays centred
            // on its own cell, so it has as much room on either side as the
            // nearer end leaves it.
            const bool centred = cell.hAlign == HAlign::Center;
            const int centre = cols[i].pos + cols[i].size / 2;
            auto room = [&](int padding) {
                const int from = left + padding, to = right - padding - 1;
                if (!centred)
                    return QRect(from, r.pos, std::max(0, to - from), r.size);
                const int half = std::max(0, std::min(centre - from, to - centre));
                return QRect(centre - half, r.pos, 2 * half, r.size);
            };
            if (m_sheet.allowOverflow() && textWidth > room(kTextPadding).width()) {
                auto emptyAt = [&](std::size_t k) {
                    return m_sheet.text(cols[k].index, r.index).isEmpty();
                };
                std::size_t lo = i, hi = i;
                // Left-aligned text spills to the right, right-aligned text to
                // the left, centred text to both sides evenly.
                const bool goRight = cell.hAlign != HAlign::Right;
                const bool goLeft = cell.hAlign != HAlign::Left;
                bool grew = true;
                while (textWidth > room(kTextPadding).width() && grew) {
                    grew = false;
                    if (goRight && hi + 1 < cols.size() && emptyAt(hi + 1)) {
                        ++hi;
                        right += cols[hi].size;
                        grew = true;
                    }
                    if (textWidth <= room(kTextPadding).width())
                        break;
                    if (goLeft && lo > 0 && emptyAt(lo - 1) && cols[lo - 1].pos >= claimed) {
                        --lo;
                        left -= cols[lo].size;
                        grew = true;
                    }
                }
            }
            const QRect box(left, r.pos, right - left, r.size);
            claimed = right;
            p.save();
            p.setClipRect(box);
            p.setPen(toColor(cell.fg));
            // Where the text would stand at full size, and where its ink (the
            // text without leading and trailing spaces) would then be.
            QRect textBox = room(kTextPadding);
            const int x0 = centred ? centre - textWidth / 2
                           : cell.hAlign == HAlign::Right ? textBox.right() + 1 - textWidth
                                                          : textBox.left();
            const QString ink = cell.text.trimmed();
            int inkLeft = x0, inkRight = x0 + textWidth;
            if (ink.size() != cell.text.size()) {
                inkLeft = x0 + (ink.isEmpty() ? 0 : this->textWidth(cell.text.left(cell.text.indexOf(ink))));
                inkRight = inkLeft + this->textWidth(ink);
            }
            const bool whole = inkLeft >= left + kTextPadding && inkRight <= right - kTextPadding - 1;
            TextFit fit;
            if (!whole) {
                // A text wider than its room, such as a header that fills its
                // cell, is drawn a little smaller (and, if need be, narrower)
                // so that it stays whole; it may then use the cell up to its
                // lines.
                textBox = room(0);
                fit = fitText(cell.text, textBox.width());
            }
            if (fit.fits) {
                p.setFont(fit.font);
                if (fit.scaleX < 1.0) {
                    p.translate(textBox.left(), 0);
                    p.scale(fit.scaleX, 1.0);
                    textBox = QRect(0, textBox.top(), int(std::ceil(textBox.width() / fit.scaleX)), textBox.height());
                }
                p.drawText(textBox, int(toAlignment(cell)) | Qt::TextSingleLine, cell.text);
            } else {
                // At full size where it stands; what lies beyond the room it
                // got is cut off. The text's laid-out form is kept, so that
                // the many repeats of a number are shaped only once.
                drawPlainText(p, QRect(x0, r.pos, textWidth, r.size), cell);
            }
            p.restore();
        }
    }

    for (const Span& r : rows) {
        for (const Span& c : cols) {
            const CellStyle& cell = m_sheet.style(c.index, r.index);
            // A cell's right and bottom lines are its last pixel column and
            // row; its left and top lines coincide with its neighbours' lines.
            const int x1 = std::max(0, c.pos - 1), x2 = c.pos + c.size - 1;
            const int y1 = std::max(0, r.pos - 1), y2 = r.pos + r.size - 1;
            if (cell.left.on)
                p.fillRect(x1, y1, 1, y2 - y1 + 1, toColor(cell.left.color));
            if (cell.right.on)
                p.fillRect(x2, y1, 1, y2 - y1 + 1, toColor(cell.right.color));
            if (cell.top.on)
                p.fillRect(x1, y1, x2 - x1 + 1, 1, toColor(cell.top.color));
            if (cell.bottom.on)
                p.fillRect(x1, y2, x2 - x1 + 1, 1, toColor(cell.bottom.color));
        }
    }

    const QRect active = cellRect(m_sheet.activeColumn(), m_sheet.activeRow());
    if (!active.isEmpty()) {
        p.setPen(QPen(kActiveCellColor, 2));
        p.setBrush(Qt::NoBrush);
        p.drawRect(active.adjusted(1, 1, -1, -1));
    }
}

void SheetGrid::setActiveCell(int col, int row)
{
    if (!m_sheet.contains(col, row))
        return;
    if (col == m_sheet.activeColumn() && row == m_sheet.activeRow())
        return;
    m_sheet.setActiveCell(col, row);
    ensureVisible(col, row);
    viewport()->update();
    emit activeCellChanged(col, row);
}

void SheetGrid::ensureVisible(int col, int row)
{
    if (col > m_sheet.frozenColumns()) {
        QScrollBar* bar = horizontalScrollBar();
        if (col < firstScrolledColumn())
            bar->setValue(col - m_sheet.frozenColumns() - 1);
        while (bar->value() < bar->maximum()) {
            const QRect r = cellRect(col, m_sheet.frozenRows() < m_sheet.rows() ? firstScrolledRow() : 1);
            if (!r.isEmpty() && r.right() < viewport()->width())
                break;
            bar->setValue(bar->value() + 1);
        }
    }
    if (row > m_sheet.frozenRows()) {
        QScrollBar* bar = verticalScrollBar();
        if (row < firstScrolledRow())
            bar->setValue(row - m_sheet.frozenRows() - 1);
        while (bar->value() < bar->maximum()) {
            const QRect r = cellRect(m_sheet.frozenColumns() < m_sheet.columns() ? firstScrolledColumn() : 1, row);
            if (!r.isEmpty() && r.bottom() < viewport()->height())
                break;
            bar->setValue(bar->value() + 1);
        }
    }
}

void SheetGrid::mousePressEvent(QMouseEvent* e)
{
    const QPoint cell = cellAt(e->position().toPoint());
    if (!cell.isNull())
        setActiveCell(cell.x(), cell.y());
    QAbstractScrollArea::mousePressEvent(e);
}

int SheetGrid::lastDataRow() const
{
    for (int r = m_sheet.rows(); r >= 1; --r)
        for (int c = 1; c <= m_sheet.columns(); ++c)
            if (!m_sheet.text(c, r).isEmpty())
                return r;
    return 0;
}

void SheetGrid::goToLatest()
{
    const int row = lastDataRow();
    if (row > 0)
        setActiveCell(std::clamp(m_sheet.activeColumn(), 1, m_sheet.columns()), row);
}

int SheetGrid::rowsPerPage() const
{
    // The scrolled rows wholly in view, at least one.
    const int room = viewport()->height() - frozenHeight();
    int rows = 0, used = 0;
    for (int r = firstScrolledRow(); r <= m_sheet.rows(); ++r) {
        used += rowPixels(r);
        if (used > room)
            break;
        ++rows;
    }
    return std::max(1, rows);
}

void SheetGrid::keyPressEvent(QKeyEvent* e)
{
    // Cells are read-only: keys only move the active cell, as in a
    // spreadsheet (Enter to the next cell down, Home/End along the row,
    // Ctrl+Home/Ctrl+End to the first/last cell, PageUp/PageDown by a page).
    if (m_sheet.columns() < 1 || m_sheet.rows() < 1) {
        QAbstractScrollArea::keyPressEvent(e);
        return;
    }
    const bool ctrl = (e->modifiers() & Qt::ControlModifier) != 0;
    int col = std::max(1, m_sheet.activeColumn()), row = std::max(1, m_sheet.activeRow());
    switch (e->key()) {
    case Qt::Key_Left: --col; break;
    case Qt::Key_Right:
    case Qt::Key_Tab: ++col; break;
    case Qt::Key_Up: --row; break;
    case Qt::Key_Down:
    case Qt::Key_Return:
    case Qt::Key_Enter: ++row; break;
    case Qt::Key_Home:
        col = 1;
        if (ctrl)
            row = 1;
        break;
    case Qt::Key_End:
        col = m_sheet.columns();
        if (ctrl)
            row = m_sheet.rows();
        break;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown: {
        // The view moves by the page as well, so the active cell keeps its
        // place on the screen where the sheet lets it.
        const int page = rowsPerPage() * (e->key() == Qt::Key_PageDown ? 1 : -1);
        row += page;
        verticalScrollBar()->setValue(verticalScrollBar()->value() + page);
        break;
    }
    default: QAbstractScrollArea::keyPressEvent(e); return;
    }
    col = std::clamp(col, 1, m_sheet.columns());
    row = std::clamp(row, 1, m_sheet.rows());
    // Home or PageUp into the frozen part shows the sheet from its start on
    // that side.
    if (e->key() == Qt::Key_Home || e->key() == Qt::Key_PageUp) {
        if (col <= m_sheet.frozenColumns())
            horizontalScrollBar()->setValue(0);
        if (row <= m_sheet.frozenRows())
            verticalScrollBar()->setValue(0);
    }
    setActiveCell(col, row);
    ensureVisible(col, row);
    e->accept();
}

}  // namespace mirkano
