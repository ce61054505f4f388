#include "gui/sheet/sheet_grid.h"

#include "gui/sheet/grid_actions.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

namespace mirkano {

namespace {

// Colour of the area beyond the last column and row.
const QColor kOutsideColor(160, 160, 160);
const QColor kActiveCellColor(0, 0, 0);

}  // namespace

SheetGrid::SheetGrid(QWidget* parent)
    : QAbstractScrollArea(parent), m_units(sheetFont()), m_painter(sheetFont())
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
    m_painter.clearCache();
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

void SheetGrid::paintEvent(QPaintEvent*)
{
    QPainter p(viewport());
    p.fillRect(viewport()->rect(), kOutsideColor);
    const auto cols = visibleColumns();
    const auto rows = visibleRows();
    if (cols.empty() || rows.empty())
        return;

    m_painter.paint(p, m_sheet, cols, rows);

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
