#include "core/predict/prediction_sheets.h"

namespace mirkano {

namespace {

// A label column, then one column per main number of the game: a row of
// numbers reads as one ticket (Loto 6: six, Loto 7: seven, Mini Loto: five).
constexpr std::array<int, kPredictionSheetCount> kRows = {5, 4, 3, 2};

// The header band over the number columns: Loto 6's six columns carry 25
// spaces, 本 数 字 and 26 spaces; other games scale the spaces with the
// number of columns, so the title stays over the middle of the band.
QString headerText(int numberColumns)
{
    const auto spaces = [numberColumns](int loto6) {
        return QString((loto6 * numberColumns + 3) / 6, QLatin1Char(' '));
    };
    return spaces(25) + QStringLiteral("本 数 字") + spaces(26);
}

Sheet setUpSheet(int index, const Game& g)
{
    const int columns = 1 + g.mains;
    const int rows = kRows[std::size_t(index)];
    Sheet s;
    s.setUp({.columns = columns, .rows = rows, .visibleColumns = columns, .visibleRows = rows,
             .scrollBars = ScrollBars::None, .frozenRows = 0, .frozenColumns = 0,
             .columnWidth = 5, .rowHeight = 10});
    s.setColumnWidth(1, 8);

    // Sheet 0 has horizontal rules and one vertical rule after the labels;
    // the others a full grid.
    const Block all{1, 1, columns, rows};
    if (index == 0) {
        s.setBorder(all, BorderTop | BorderBottom);
        s.setBorder({1, 1, 1, rows}, BorderRight);
    } else {
        s.setBorder(all, BorderAll);
    }
    switch (index) {
    case 0:
        for (int k = 0; k < int(kPeriods.size()); ++k)
            s.setText(1, 2 + k, QStringLiteral("%1回周期法").arg(kPeriods[std::size_t(k)], 2));
        break;
    case 1: s.setText(1, 3, QStringLiteral("消去法")); break;
    case 2: s.setText(1, 2, QStringLiteral("連発予想")); break;
    case 3: s.setText(1, 2, QStringLiteral("１発予想")); break;
    }
    s.setActiveCell(0, 0);

    // The header row reads as one band, and a label over several rows as
    // one tall cell.
    s.clearBorder({2, 1, columns, 1});
    if (index == 1 || index == 2)
        s.clearBorder({1, 2, 1, rows});
    s.setAllowOverflow(true);
    s.setText(2, 1, headerText(g.mains));
    s.setHAlign(Block::cell(2, 1), HAlign::Left);
    s.setColors({1, 1, columns, 1}, colors::blue, colors::lightRed);
    return s;
}

// Numbers a ticket to a row from column 2, starting at row 2, up to the
// last row.
void fillRows(Sheet& s, const std::vector<int>& numbers, int perRow)
{
    const std::size_t room = std::size_t(s.rows() - 1) * std::size_t(perRow);
    for (std::size_t i = 0; i < numbers.size() && i < room; ++i)
        s.setText(2 + int(i % std::size_t(perRow)), 2 + int(i / std::size_t(perRow)), numbers[i]);
}

}  // namespace

PredictionSheets buildPredictionSheets(const PeriodTables& tables, const Predictions& predictions)
{
    const Game& g = tables.game();
    PredictionSheets sheets;
    for (int i = 0; i < kPredictionSheetCount; ++i)
        sheets[std::size_t(i)] = setUpSheet(i, g);

    // The main positions only: the bonus positions have no column.
    Sheet& periods = sheets[0];
    for (int k = 0; k < int(kPeriods.size()); ++k)
        for (int p = 0; p < g.mains; ++p)
            if (const int n = tables.periods[std::size_t(k)][std::size_t(p)])
                periods.setText(2 + p, 2 + k, n);

    fillRows(sheets[1], predictions.elimination, g.mains);
    fillRows(sheets[2], predictions.multiple, g.mains);
    fillRows(sheets[3], predictions.single, g.mains);
    return sheets;
}

}  // namespace mirkano
