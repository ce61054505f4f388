#include "core/sheet/sheet.h"

#include <algorithm>
#include <array>
#include <memory>
#include <mutex>
#include <string_view>

namespace mirkano {

namespace {

const QString kEmptyText;

// The texts of the numbers 0 … kSharedNumbers - 1, made a chunk at a time on
// first use and shared by every sheet; copying one costs no allocation.
class NumberTexts {
public:
    const QString& get(int n)
    {
        Chunk& chunk = m_chunks[std::size_t(n) / kChunk];
        std::call_once(chunk.once, [&] {
            const int first = n / int(kChunk) * int(kChunk);
            chunk.texts = std::make_unique<QString[]>(kChunk);
            for (std::size_t i = 0; i < kChunk; ++i)
                chunk.texts[i] = QString::number(first + int(i));
        });
        return chunk.texts[std::size_t(n) % kChunk];
    }

private:
    static constexpr std::size_t kChunk = 512;
    struct Chunk {
        std::once_flag once;
        std::unique_ptr<QString[]> texts;
    };
    std::array<Chunk, (std::size_t(Sheet::kSharedNumbers) + kChunk - 1) / kChunk> m_chunks;
};

NumberTexts& numberTexts()
{
    static NumberTexts texts;
    return texts;
}

const QString& markText()
{
    static const QString mark = QStringLiteral("●");
    return mark;
}

}  // namespace

std::size_t Sheet::StyleHash::operator()(const CellStyle& s) const
{
    // Every member is a byte or a struct of bytes, so the bytes are the value.
    static_assert(sizeof(CellStyle) == 25);
    return std::hash<std::string_view>{}(
        std::string_view(reinterpret_cast<const char*>(&s), sizeof(CellStyle)));
}

void Sheet::setSize(int columns, int rows)
{
    columns = std::max(columns, 0);
    rows = std::max(rows, 0);
    if (columns == m_columns && rows == m_rows)
        return;
    std::vector<Slot> cells(std::size_t(columns) * std::size_t(rows));
    for (int r = 1; r <= m_rows; ++r)
        for (int c = 1; c <= m_columns; ++c) {
            if (c <= columns && r <= rows)
                cells[std::size_t(r - 1) * std::size_t(columns) + std::size_t(c - 1)] = at(c, r);
            else
                releaseText(at(c, r));
        }
    m_cells = std::move(cells);
    m_columns = columns;
    m_rows = rows;
    m_columnWidths.resize(std::size_t(columns), m_defaultColumnWidth);
    m_rowHeights.resize(std::size_t(rows), m_defaultRowHeight);
}

Cell Sheet::cell(int col, int row) const
{
    const CellStyle& s = style(col, row);
    return Cell{s, text(col, row)};
}

const QString& Sheet::text(int col, int row) const
{
    if (!contains(col, row))
        return kEmptyText;
    const std::uint32_t t = at(col, row).text;
    if (t == 0)
        return kEmptyText;
    if (t == kMarkText)
        return markText();
    if (t < kOwnTextBase)
        return numberTexts().get(int(t - 1));
    if (t >= kSheetSharedBase)
        return m_sharedTexts[t - kSheetSharedBase];
    return m_texts[t - kOwnTextBase];
}

const CellStyle& Sheet::style(int col, int row) const
{
    if (!contains(col, row))
        return m_styles.front();
    return m_styles[at(col, row).style];
}

void Sheet::releaseText(Slot& slot)
{
    if (slot.text >= kOwnTextBase && slot.text < kSheetSharedBase) {
        m_texts[slot.text - kOwnTextBase] = QString();
        m_freeTexts.push_back(slot.text);
    }
    slot.text = 0;
}

void Sheet::setText(int col, int row, const QString& text)
{
    if (!contains(col, row))
        return;
    Slot& slot = at(col, row);
    if (text.isEmpty()) {
        releaseText(slot);
        return;
    }
    if (text.size() == 1 && text == markText()) {
        releaseText(slot);
        slot.text = kMarkText;
        return;
    }
    if (slot.text >= kOwnTextBase && slot.text < kSheetSharedBase) {
        m_texts[slot.text - kOwnTextBase] = text;
        return;
    }
    if (!m_freeTexts.empty()) {
        slot.text = m_freeTexts.back();
        m_freeTexts.pop_back();
        m_texts[slot.text - kOwnTextBase] = text;
        return;
    }
    slot.text = kOwnTextBase + std::uint32_t(m_texts.size());
    m_texts.push_back(text);
}

std::uint32_t Sheet::addSharedText(const QString& text)
{
    m_sharedTexts.push_back(text);
    return kSheetSharedBase + std::uint32_t(m_sharedTexts.size() - 1);
}

void Sheet::setSharedText(int col, int row, std::uint32_t shared)
{
    if (!contains(col, row))
        return;
    Slot& slot = at(col, row);
    releaseText(slot);
    slot.text = m_sharedTexts[shared - kSheetSharedBase].isEmpty() ? 0 : shared;
}

void Sheet::setText(int col, int row, int number)
{
    if (number < 0 || number >= kSharedNumbers) {
        setText(col, row, QString::number(number));
        return;
    }
    if (!contains(col, row))
        return;
    Slot& slot = at(col, row);
    releaseText(slot);
    slot.text = std::uint32_t(number) + 1;
}

std::uint32_t Sheet::styleIndex(const CellStyle& s)
{
    const auto [it, added] = m_styleIndex.try_emplace(s, std::uint32_t(m_styles.size()));
    if (added)
        m_styles.push_back(s);
    return it->second;
}

void Sheet::StyleChange::apply(CellStyle& s) const
{
    switch (what) {
    case Fg: s.fg = a; break;
    case Bg: s.bg = a; break;
    case Colors: s.fg = a, s.bg = b; break;
    case Kind: s.kind = CellKind(value); break;
    case HAlign: s.hAlign = mirkano::HAlign(value); break;
    case VAlign: s.vAlign = mirkano::VAlign(value); break;
    case Centre:
        s.kind = CellKind::Static;
        s.hAlign = mirkano::HAlign::Center;
        s.vAlign = mirkano::VAlign::Center;
        break;
    case Border: {
        const mirkano::Border line = on ? mirkano::Border{true, a} : mirkano::Border{};
        if (value & BorderLeft) s.left = line;
        if (value & BorderRight) s.right = line;
        if (value & BorderTop) s.top = line;
        if (value & BorderBottom) s.bottom = line;
        break;
    }
    }
}

std::uint32_t Sheet::changed(std::uint32_t from, const StyleChange& change)
{
    if (m_changeMemo.empty())
        m_changeMemo.resize(kChangeMemoSize);
    std::size_t h = from * 31u + change.what * 7u + change.value + change.a.r * 3u + change.a.g * 5u +
                    change.a.b * 11u + change.b.r * 13u + change.b.g * 17u + change.b.b * 19u;
    ChangeMemo& memo = m_changeMemo[h % kChangeMemoSize];
    if (memo.from == from && memo.change == change)
        return memo.to;
    CellStyle s = m_styles[from];
    change.apply(s);
    memo = {from, change, styleIndex(s)};
    return memo.to;
}

void Sheet::setCell(int col, int row, const Cell& cell)
{
    if (!contains(col, row))
        return;
    setText(col, row, cell.text);
    at(col, row).style = styleIndex(static_cast<const CellStyle&>(cell));
}

// Applies a change to the style of every cell in the block (clipped to the
// sheet). Neighbouring cells mostly share a style, so the last mapping from
// old to new entry is kept at hand.
void Sheet::restyle(Block b, const StyleChange& change)
{
    const int c1 = std::max(b.col1, 1), c2 = std::min(b.col2, m_columns);
    const int r1 = std::max(b.row1, 1), r2 = std::min(b.row2, m_rows);
    if (c1 > c2 || r1 > r2)
        return;
    std::uint32_t lastOld = at(c1, r1).style;
    std::uint32_t lastNew = changed(lastOld, change);
    for (int r = r1; r <= r2; ++r) {
        Slot* slot = &at(c1, r);
        for (int c = c1; c <= c2; ++c, ++slot) {
            if (slot->style != lastOld) {
                lastOld = slot->style;
                lastNew = changed(lastOld, change);
            }
            slot->style = lastNew;
        }
    }
}

void Sheet::setForeground(Block b, Rgb color)
{
    restyle(b, {.what = StyleChange::Fg, .a = color});
}

void Sheet::setBackground(Block b, Rgb color)
{
    restyle(b, {.what = StyleChange::Bg, .a = color});
}

void Sheet::setColors(Block b, Rgb fg, Rgb bg)
{
    restyle(b, {.what = StyleChange::Colors, .a = fg, .b = bg});
}

void Sheet::setKind(Block b, CellKind kind)
{
    restyle(b, {.what = StyleChange::Kind, .value = std::uint8_t(kind)});
}

void Sheet::setHAlign(Block b, HAlign align)
{
    restyle(b, {.what = StyleChange::HAlign, .value = std::uint8_t(align)});
}

void Sheet::setVAlign(Block b, VAlign align)
{
    restyle(b, {.what = StyleChange::VAlign, .value = std::uint8_t(align)});
}

// Sets (or clears) the chosen sides of every cell in the block and/or the
// outline of the block.
void Sheet::setBorder(Block b, unsigned sides, Rgb color)
{
    const auto line = [&](unsigned which) {
        return StyleChange{.what = StyleChange::Border, .value = std::uint8_t(which), .on = true, .a = color};
    };
    if (sides & BorderAll)
        restyle(b, line(sides & BorderAll));
    if (sides & BorderOutline) {
        restyle({b.col1, b.row1, b.col1, b.row2}, line(BorderLeft));
        restyle({b.col2, b.row1, b.col2, b.row2}, line(BorderRight));
        restyle({b.col1, b.row1, b.col2, b.row1}, line(BorderTop));
        restyle({b.col1, b.row2, b.col2, b.row2}, line(BorderBottom));
    }
}

void Sheet::clearBorder(Block b, unsigned sides)
{
    const auto none = [](unsigned which) {
        return StyleChange{.what = StyleChange::Border, .value = std::uint8_t(which)};
    };
    if (sides & BorderAll)
        restyle(b, none(sides & BorderAll));
    if (sides & BorderOutline) {
        restyle({b.col1, b.row1, b.col1, b.row2}, none(BorderLeft));
        restyle({b.col2, b.row1, b.col2, b.row2}, none(BorderRight));
        restyle({b.col1, b.row1, b.col2, b.row1}, none(BorderTop));
        restyle({b.col1, b.row2, b.col2, b.row2}, none(BorderBottom));
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
    // Cells made by this call start as static text centred both ways; only
    // cells kept from before may hold anything else.
    const bool hadCells = !m_cells.empty();
    setSize(l.columns, l.rows);
    setVisibleSize(l.visibleColumns, l.visibleRows);
    setScrollBars(l.scrollBars);
    setFrozenRows(l.frozenRows);
    setFrozenColumns(l.frozenColumns);
    setAllRowHeights(l.rowHeight);
    setAllColumnWidths(l.columnWidth);
    if (hadCells) {
        restyle({1, 1, m_columns, m_rows}, {.what = StyleChange::Centre});
    }
}

}  // namespace mirkano
