#include "core/sheet/sheet.h"

#include <algorithm>

namespace mirkano {

namespace {
const Cell kOutsideCell{};
}

void Sheet::setSize(int columns, int rows)
{
    columns = std::max(columns, 0);
    rows = std::max(rows, 0);
    if (columns == m_columns && rows == m_rows)
        return;
    std::vector<Cell> cells(std::size_t(columns) * std::size_t(rows));
    const int keepCols = std::min(columns, m_columns);
    const int keepRows = std::min(rows, m_rows);
    for (int r = 0; r < keepRows; ++r)
        for (int c = 0; c < keepCols; ++c)
            cells[std::size_t(r) * std::size_t(columns) + std::size_t(c)] =
                std::move(m_cells[std::size_t(r) * std::size_t(m_columns) + std::size_t(c)]);
    m_cells = std::move(cells);
    m_columns = columns;
    m_rows = rows;
    m_columnWidths.resize(std::size_t(columns), m_defaultColumnWidth);
    m_rowHeights.resize(std::size_t(rows), m_defaultRowHeight);
}

const Cell& Sheet::cell(int col, int row) const
{
    if (!contains(col, row))
        return kOutsideCell;
    return m_cells[std::size_t(row - 1) * std::size_t(m_columns) + std::size_t(col - 1)];
}

void Sheet::setText(int col, int row, const QString& text)
{
    if (contains(col, row))
        at(col, row)->text = text;
}

void Sheet::setCell(int col, int row, const Cell& cell)
{
    if (contains(col, row))
        *at(col, row) = cell;
}

template <typename F>
void Sheet::forBlock(Block b, F&& f)
{
    const int c1 = std::max(b.col1, 1), c2 = std::min(b.col2, m_columns);
    const int r1 = std::max(b.row1, 1), r2 = std::min(b.row2, m_rows);
    for (int r = r1; r <= r2; ++r)
        for (int c = c1; c <= c2; ++c)
            f(*at(c, r));
}

void Sheet::setForeground(Block b, Rgb color)
{
    forBlock(b, [&](Cell& c) { c.fg = color; });
}

void Sheet::setBackground(Block b, Rgb color)
{
    forBlock(b, [&](Cell& c) { c.bg = color; });
}

void Sheet::setColors(Block b, Rgb fg, Rgb bg)
{
    forBlock(b, [&](Cell& c) { c.fg = fg, c.bg = bg; });
}

void Sheet::setKind(Block b, CellKind kind)
{
    forBlock(b, [&](Cell& c) { c.kind = kind; });
}

void Sheet::setHAlign(Block b, HAlign align)
{
    forBlock(b, [&](Cell& c) { c.hAlign = align; });
}

void Sheet::setVAlign(Block b, VAlign align)
{
    forBlock(b, [&](Cell& c) { c.vAlign = align; });
}

void Sheet::setBorder(Block b, unsigned sides, Rgb color)
{
    const Border line{true, color};
    if (sides & BorderAll) {
        forBlock(b, [&](Cell& c) {
            if (sides & BorderLeft) c.left = line;
            if (sides & BorderRight) c.right = line;
            if (sides & BorderTop) c.top = line;
            if (sides & BorderBottom) c.bottom = line;
        });
    }
    if (sides & BorderOutline) {
        forBlock({b.col1, b.row1, b.col1, b.row2}, [&](Cell& c) { c.left = line; });
        forBlock({b.col2, b.row1, b.col2, b.row2}, [&](Cell& c) { c.right = line; });
        forBlock({b.col1, b.row1, b.col2, b.row1}, [&](Cell& c) { c.top = line; });
        forBlock({b.col1, b.row2, b.col2, b.row2}, [&](Cell& c) { c.bottom = line; });
    }
}

void Sheet::clearBorder(Block b, unsigned sides)
{
    const Border none{};
    if (sides & BorderAll) {
        forBlock(b, [&](Cell& c) {
            if (sides & BorderLeft) c.left = none;
            if (sides & BorderRight) c.right = none;
            if (sides & BorderTop) c.top = none;
            if (sides & BorderBottom) c.bottom = none;
        });
    }
    if (sides & BorderOutline) {
        forBlock({b.col1, b.row1, b.col1, b.row2}, [&](Cell& c) { c.left = none; });
        forBlock({b.col2, b.row1, b.col2, b.row2}, [&](Cell& c) { c.right = none; });
        forBlock({b.col1, b.row1, b.col2, b.row1}, [&](Cell& c) { c.top = none; });
        forBlock({b.col1, b.row2, b.col2, b.row2}, [&](Cell& c) { c.bottom = none; });
    }
}

void Sheet::setAllColumnWidths(double width)
{
    m_defaultColumnWidth = width;
    std::fill(m_columnWidths.begin(), m_columnWidths.end(), width);
}

void Sheet::setColumnWidth(int col, double width)
{
    if (col >= 1 && col <= m_columns)
        m_columnWidths[std::size_t(col - 1)] = width;
}

double Sheet::columnWidth(int col) const
{
    if (col >= 1 && col <= m_columns)
        return m_columnWidths[std::size_t(col - 1)];
    return m_defaultColumnWidth;
}

void Sheet::setAllRowHeights(double height)
{
    m_defaultRowHeight = height;
    std::fill(m_rowHeights.begin(), m_rowHeights.end(), height);
}

void Sheet::setRowHeight(int row, double height)
{
    if (row >= 1 && row <= m_rows)
        m_rowHeights[std::size_t(row - 1)] = height;
}

double Sheet::rowHeight(int row) const
{
    if (row >= 1 && row <= m_rows)
        return m_rowHeights[std::size_t(row - 1)];
    return m_defaultRowHeight;
}

void Sheet::setUp(const SheetLayout& l)
{
    setSize(l.columns, l.rows);
    setVisibleSize(l.visibleColumns, l.visibleRows);
    setScrollBars(l.scrollBars);
    setFrozenRows(l.frozenRows);
    setFrozenColumns(l.frozenColumns);
    setAllRowHeights(l.rowHeight);
    setAllColumnWidths(l.columnWidth);
    const Block all{1, 1, m_columns, m_rows};
    setKind(all, CellKind::Static);
    setHAlign(all, HAlign::Center);
    setVAlign(all, VAlign::Center);
}

}  // namespace mirkano
