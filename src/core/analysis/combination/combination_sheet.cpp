#include "core/analysis/combination/combination_sheet.h"

#include "core/analysis/draw_columns.h"

#include <array>

namespace mirkano::combination {

namespace {

struct PatternLetter {
    char letter;
    bool recolours;  // "A" keeps the cell's own background
    Rgb background;
};

// One letter for each count 0 … 7 of the largest draw (Loto 7 has eight
// patterns, Loto 6 seven, Mini Loto six).
constexpr std::array<PatternLetter, 8> kPatternLetters = {{
    {'A', false, {}},
    {'B', true, colors::lightCyan},
    {'C', true, colors::lightGreen},
    {'D', true, colors::lightYellow},
    {'E', true, colors::white},
    {'F', true, colors::lightMagenta},
    {'G', true, colors::lightRed},
    {'H', true, colors::lightGrey},
}};

// The two header rows starting at row r: the title row, then the digit
// labels; mirrored, the labels come first, next to the data.
void drawDigitHeader(Sheet& s, int r, bool mirrored)
{
    const int titleRow = mirrored ? r + 1 : r;
    const int labelRow = mirrored ? r : r + 1;
    constexpr int c = kDigitColumns;

    s.setColors({2, r, c, r + 1}, colors::blue, colors::lightRed);

    s.setBorder(Block::cell(1, titleRow), BorderOutline);
    s.setText(1, titleRow, QStringLiteral("回数"));
    // The title spans the ten digit columns as one framed cell.
    s.clearBorder({2, titleRow, c, titleRow});
    s.setBorder({2, titleRow, c, titleRow}, BorderOutline);
    s.setText(2, titleRow,
              QString(43, QLatin1Char(' ')) + QStringLiteral("下一桁数字") + QString(27, QLatin1Char(' ')) +
                  QStringLiteral("　　　") + QString(18, QLatin1Char(' ')));
    s.setHAlign(Block::cell(2, titleRow), HAlign::Left);
    s.setAllowOverflow(true);
    s.setRowHeight(titleRow, 20);

    s.setBorder({2, labelRow, c, labelRow}, BorderOutline);
    for (int d = 0; d <= 9; ++d)
        s.setText(digitColumn(d), labelRow, d);
}

}  // namespace

Sheet makePatternSheet(const Game& game, int latestDrawNo, const PatternTexts& texts)
{
    const int rows = latestDrawNo + 1;
    const PatternColumns cols(game);
    const int c = cols.count();
    Sheet s;
    s.setUp({.columns = c, .rows = rows, .visibleColumns = c, .visibleRows = 51,
             .scrollBars = ScrollBars::Vertical, .frozenRows = 1, .frozenColumns = 0,
             .columnWidth = 5, .rowHeight = 10});
    s.setRowHeight(1, 20);
    s.setColumnWidth(1, 6);
    s.setColumnWidth(cols.letter, 7);
    s.setColors({1, 2, 1, rows}, colors::red, colors::lightYellow);
    s.setBackground({cols.firstBonus, 2, cols.firstCount - 1, rows}, colors::lightYellow);
    s.setColors({cols.firstCount, 2, cols.firstCount, rows}, colors::blue, colors::lightCyan);
    s.setColors({cols.secondCount, 2, cols.secondCount, rows}, colors::blue, colors::white);
    s.setBorder({1, 1, c, rows}, BorderAll);

    // The main-number headers read as one framed title cell.
    s.clearBorder({2, 1, cols.firstBonus - 1, 1});
    s.setBorder({2, 1, cols.firstBonus - 1, 1}, BorderOutline);
    s.setColors({1, 1, c, 1}, colors::blue, colors::lightRed);
    s.setText(4, 1, texts.mainTitle);
    s.setHAlign(Block::cell(4, 1), HAlign::Left);
    s.setAllowOverflow(true);
    s.setText(1, 1, QStringLiteral("回数"));
    for (int j = 0; j < game.bonuses; ++j)
        s.setText(cols.firstBonus + j, 1, bonusColumnName(game, j, QStringLiteral("ボ数"), s.columnWidth(cols.firstBonus + j)));
    s.setText(cols.firstCount, 1, texts.firstCount);
    s.setText(cols.secondCount, 1, texts.secondCount);
    s.setText(cols.letter, 1, QStringLiteral("パターン"));
    return s;
}

void writePatternLetter(Sheet& s, int index, int col, int row)
{
    const PatternLetter& p = kPatternLetters.at(std::size_t(index));
    s.setText(col, row, QString(QLatin1Char(p.letter)));
    if (p.recolours)
        s.setBackground(Block::cell(col, row), p.background);
}


Sheet makeDigitSheet(int latestDrawNo)
{
    const int rows = latestDrawNo + 4;
    constexpr int c = kDigitColumns;
    Sheet s;
    s.setUp({.columns = c, .rows = rows, .visibleColumns = 29, .visibleRows = 52,
             .scrollBars = ScrollBars::Vertical, .frozenRows = 2, .frozenColumns = 0,
             .columnWidth = 5, .rowHeight = 10});
    s.setColors({1, 1, 1, rows}, colors::red, colors::lightYellow);
    s.setBorder({1, 2, c, rows}, BorderAll);
    drawDigitHeader(s, 1, false);
    drawDigitHeader(s, latestDrawNo + 3, true);
    return s;
}

}  // namespace mirkano::combination
