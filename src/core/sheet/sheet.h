#pragma once
// The result sheet: a grid of cells addressed by column and row, both counted
// from 1, holding everything a window shows in its grid. It is plain data; the
// desktop grid paints it and the command-line tool prints it. Writes outside
// the sheet are ignored, as a grid ignores them.

#include <QString>

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace mirkano {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend constexpr bool operator==(Rgb, Rgb) = default;
};

namespace colors {
inline constexpr Rgb black{0, 0, 0};
inline constexpr Rgb white{255, 255, 255};
inline constexpr Rgb red{255, 0, 0};
inline constexpr Rgb blue{0, 0, 255};
inline constexpr Rgb lightYellow{255, 255, 200};
inline constexpr Rgb lightRed{255, 200, 200};
inline constexpr Rgb lightCyan{200, 255, 255};
inline constexpr Rgb lightGreen{200, 255, 200};
inline constexpr Rgb lightMagenta{255, 200, 255};
inline constexpr Rgb lightGrey{225, 225, 225};
// Colour of a border drawn without an explicit colour.
inline constexpr Rgb defaultBorder{128, 128, 128};
// The light-blue grid lines of the analysis sheets.
inline constexpr Rgb gridLine{136, 196, 255};
// The marks of a draw's main numbers and of its bonus number.
inline constexpr Rgb mainMark{62, 158, 255};
inline constexpr Rgb bonusMark{255, 128, 192};
}  // namespace colors

enum class CellKind : std::uint8_t { Static, Edit };
enum class HAlign : std::uint8_t { Left, Center, Right };
enum class VAlign : std::uint8_t { Top, Center, Bottom };
enum class ScrollBars : std::uint8_t { None, Horizontal, Vertical, Both };

// Border sides, combinable. Outline draws the outer edges of a block only.
enum BorderSide : unsigned {
    BorderLeft = 1,
    BorderRight = 2,
    BorderTop = 4,
    BorderBottom = 8,
    BorderAll = 15,
    BorderOutline = 16,
};

struct Border {
    bool on = false;
    Rgb color = colors::defaultBorder;
    friend bool operator==(const Border&, const Border&) = default;
};

// Everything about a cell but its text. Cells that look alike share one
// entry of the sheet's style table.
struct CellStyle {
    Rgb fg = colors::black;
    Rgb bg = colors::white;
    CellKind kind = CellKind::Static;
    HAlign hAlign = HAlign::Center;
    VAlign vAlign = VAlign::Center;
    Border left, right, top, bottom;
    friend bool operator==(const CellStyle&, const CellStyle&) = default;
};

// One cell as a reader sees it: its style and its text.
struct Cell : CellStyle {
    QString text;
    friend bool operator==(const Cell&, const Cell&) = default;
};

// A rectangular block of cells, first and last column and row inclusive.
struct Block {
    int col1 = 1, row1 = 1, col2 = 1, row2 = 1;
    static constexpr Block cell(int col, int row) { return {col, row, col, row}; }
    static constexpr Block cols(int col1, int col2, int row1, int row2) {
        return {col1, row1, col2, row2};
    }
};

// The common layout every analysis sheet starts from; filled with designated
// initialisers so each number says what it is.
struct SheetLayout {
    int columns = 0;
    int rows = 0;
    int visibleColumns = 0;
    int visibleRows = 0;
    ScrollBars scrollBars = ScrollBars::Both;
    int frozenRows = 0;
    int frozenColumns = 0;
    double columnWidth = 5;
    double rowHeight = 10;
};

class Sheet {
public:
    Sheet() = default;
    Sheet(int columns, int rows) { setSize(columns, rows); }

    // Resizes the sheet; cells that stay inside keep their contents.
    void setSize(int columns, int rows);
    int columns() const { return m_columns; }
    int rows() const { return m_rows; }
    bool contains(int col, int row) const {
        return col >= 1 && col <= m_columns && row >= 1 && row <= m_rows;
    }

    // A cell outside the sheet reads as a default (empty, static) cell.
    Cell cell(int col, int row) const;
    const QString& text(int col, int row) const;
    const CellStyle& style(int col, int row) const;

    void setText(int col, int row, const QString& text);
    // Texts of the numbers 0 … kSharedNumbers - 1, and the mark "●" the
    // charts set in thousands of cells, are shared by every sheet.
    void setText(int col, int row, int number);
    static constexpr int kSharedNumbers = 32768;
    // A text many cells of this sheet show (a figure repeated down a long
    // column): added once, it stays with the sheet, and each cell showing
    // it holds only its index, not a copy of its own.
    std::uint32_t addSharedText(const QString& text);
    void setSharedText(int col, int row, std::uint32_t shared);
    // Text, colours, kind, alignment and borders at once.
    void setCell(int col, int row, const Cell& cell);

    // Block operations: the block is clipped to the sheet.
    void setForeground(Block b, Rgb color);
    void setBackground(Block b, Rgb color);
    void setColors(Block b, Rgb fg, Rgb bg);
    void setKind(Block b, CellKind kind);
    void setHAlign(Block b, HAlign align);
    void setVAlign(Block b, VAlign align);
    // Sides of every cell in the block (BorderLeft ... BorderAll), and/or the
    // outline of the block (BorderOutline); solid lines in the given colour.
    void setBorder(Block b, unsigned sides, Rgb color = colors::defaultBorder);
    void clearBorder(Block b, unsigned sides = BorderAll);

    // Column widths in character widths of the sheet font; row heights in the
    // grid's row-height unit. The "all" setters apply to every column/row.
    void setAllColumnWidths(double width);
    void setColumnWidth(int col, double width);
    double columnWidth(int col) const;
    void setAllRowHeights(double height);
    void setRowHeight(int row, double height);
    double rowHeight(int row) const;

    void setFrozenRows(int n) { m_frozenRows = n; }
    void setFrozenColumns(int n) { m_frozenColumns = n; }
    int frozenRows() const { return m_frozenRows; }
    int frozenColumns() const { return m_frozenColumns; }

    // Columns x rows shown at once; the grid sizes itself to them.
    void setVisibleSize(int columns, int rows) { m_visibleColumns = columns, m_visibleRows = rows; }
    int visibleColumns() const { return m_visibleColumns; }
    int visibleRows() const { return m_visibleRows; }

    void setScrollBars(ScrollBars s) { m_scrollBars = s; }
    ScrollBars scrollBars() const { return m_scrollBars; }

    // Lets a long text spill over empty cells to its right.
    void setAllowOverflow(bool on) { m_allowOverflow = on; }
    bool allowOverflow() const { return m_allowOverflow; }

    // The active cell; (0, 0) means no data cell shows the selection.
    void setActiveCell(int col, int row) { m_activeCol = col, m_activeRow = row; }
    int activeColumn() const { return m_activeCol; }
    int activeRow() const { return m_activeRow; }

    // The common start of every analysis sheet: size, visible size, scroll
    // bars, frozen rows/columns, default widths and heights, and every cell
    // static text centred both ways.
    void setUp(const SheetLayout& layout);

private:
    // A cell is two indexes: its text and its entry in the style table.
    // Text 0 is the empty text, 1 … kSharedNumbers the shared number texts
    // (number + 1), kMarkText the shared mark, above that a text of this
    // sheet owned by this one cell, and from kSheetSharedBase a text this
    // sheet shares among its cells.
    struct Slot {
        std::uint32_t text = 0;
        std::uint32_t style = 0;
    };
    static constexpr std::uint32_t kMarkText = std::uint32_t(kSharedNumbers) + 1;
    static constexpr std::uint32_t kOwnTextBase = kMarkText + 1;
    // From here on, the texts this sheet shares among its cells.
    static constexpr std::uint32_t kSheetSharedBase = 0x80000000u;
    struct StyleHash {
        std::size_t operator()(const CellStyle& s) const;
    };

    // One change of style a block operation makes to each of its cells.
    struct StyleChange {
        enum What : std::uint8_t { Fg, Bg, Colors, Kind, HAlign, VAlign, Border, Centre };
        What what;
        std::uint8_t value = 0;  // kind, alignment, or the sides (BorderLeft …) a border sets
        bool on = false;         // a border: drawn or cleared
        Rgb a{}, b{};
        friend bool operator==(const StyleChange&, const StyleChange&) = default;
        void apply(CellStyle& s) const;
    };
    // Recently made changes, old entry and change to new entry: block
    // operations on single cells then seldom consult the style table.
    struct ChangeMemo {
        std::uint32_t from = ~0u;
        StyleChange change{};
        std::uint32_t to = 0;
    };
    static constexpr std::size_t kChangeMemoSize = 256;

    void restyle(Block b, const StyleChange& change);
    std::uint32_t changed(std::uint32_t from, const StyleChange& change);
    std::uint32_t styleIndex(const CellStyle& s);
    void releaseText(Slot& slot);
    Slot& at(int col, int row) { return m_cells[std::size_t(row - 1) * std::size_t(m_columns) + std::size_t(col - 1)]; }
    const Slot& at(int col, int row) const { return m_cells[std::size_t(row - 1) * std::size_t(m_columns) + std::size_t(col - 1)]; }

    int m_columns = 0, m_rows = 0;
    std::vector<Slot> m_cells;
    std::vector<QString> m_texts;                 // owned texts, by text index - kOwnTextBase
    std::vector<QString> m_sharedTexts;           // shared texts, by text index - kSheetSharedBase
    std::vector<std::uint32_t> m_freeTexts;       // owned entries no cell uses any more
    std::vector<CellStyle> m_styles{CellStyle{}};  // entry 0: the default style
    std::unordered_map<CellStyle, std::uint32_t, StyleHash> m_styleIndex{{CellStyle{}, 0}};
    std::vector<ChangeMemo> m_changeMemo;
    double m_defaultColumnWidth = 5, m_defaultRowHeight = 10;
    std::vector<double> m_columnWidths, m_rowHeights;
    int m_frozenRows = 0, m_frozenColumns = 0;
    int m_visibleColumns = 0, m_visibleRows = 0;
    ScrollBars m_scrollBars = ScrollBars::Both;
    bool m_allowOverflow = false;
    int m_activeCol = 1, m_activeRow = 1;
};

}  // namespace mirkano
