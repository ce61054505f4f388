// What every analysis sheet shares: its size for a given history, the
// visible size its window is made for, its scroll bars and its frozen rows
// and columns. One row per analysis; each analysis's own tests check what is
// its own (headers, colours, cell contents).

#include "core/analysis/analysis.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

using namespace mirkano;

namespace {

struct Layout {
    const char* id;
    const char* testName;
    int draws;  // the history: draws 1 … draws, each 1 2 3 4 5 6 + 7
    int columns, rows;
    int visibleColumns, visibleRows;
    ScrollBars scrollBars;
    int frozenRows, frozenColumns;
    double rowHeights[3];  // rows 1, 2 and 3: the header rows and the first rows below
    bool allowOverflow;    // long header texts spill over their empty neighbours
    bool noActiveCell;     // no data cell shows the selection
};

const Layout kLayouts[] = {
    // Columns: A + 2 number-strip columns, A = the highest count (30).
    {"frequency", "Frequency", 30, 32, 45, 51, 45, ScrollBars::Both, 2, 1, {15, 15, 10}, true, true},
    // One row per distinct count plus the header; all shown at once.
    {"count-groups", "CountGroups", 3, 2, 3, 2, 3, ScrollBars::Horizontal, 0, 0, {10, 10, 10}, true, true},
    // Rows: the latest draw number + 2 (header rows).
    {"appearance-count", "AppearanceCount", 2, 15, 4, 15, 52, ScrollBars::Vertical, 2, 0, {20, 12, 10}, true, false},
    // Rows: the latest draw number + 4 (header at the top and mirrored below).
    {"appearance-interval", "AppearanceInterval", 2, 15, 6, 15, 52, ScrollBars::Vertical, 2, 0, {15, 12, 10}, true, true},
    {"number-interval", "NumberInterval", 2, 15, 6, 15, 52, ScrollBars::Vertical, 2, 0, {15, 12, 10}, true, true},
    // Rows: the latest draw number + 3.
    {"dispersion", "Dispersion", 1, 45, 4, 45, 47, ScrollBars::Both, 2, 1, {15, 15, 10}, true, true},
    // Rows: the latest draw number + 1.
    {"pull", "Pull", 2, 8, 3, 8, 51, ScrollBars::Vertical, 1, 1, {15, 10, 10}, true, true},
    {"consecutive", "Consecutive", 2, 14, 3, 14, 51, ScrollBars::Vertical, 1, 0, {10, 10, 10}, true, false},
    {"number-sum", "NumberSum", 2, 10, 3, 10, 51, ScrollBars::Vertical, 1, 0, {20, 10, 10}, true, false},
    {"low-high", "LowHigh", 2, 11, 3, 11, 51, ScrollBars::Vertical, 1, 0, {20, 10, 10}, true, false},
    {"even-odd", "EvenOdd", 2, 11, 3, 11, 51, ScrollBars::Vertical, 1, 0, {20, 10, 10}, true, false},
    // Rows: the latest draw number + 2 (header at the top and repeated below).
    {"five-division", "FiveDivision", 2, 13, 4, 13, 51, ScrollBars::Vertical, 1, 0, {20, 10, 10}, true, true},
    // Rows: the latest draw number + 3; only the 11-group window freezes column 1.
    {"division-6", "Division6", 2, 45, 5, 45, 53, ScrollBars::Both, 3, 0, {15, 12, 9}, true, true},
    {"division-7", "Division7", 2, 45, 5, 45, 53, ScrollBars::Both, 3, 0, {15, 12, 9}, true, true},
    {"division-11", "Division11", 2, 45, 5, 45, 53, ScrollBars::Both, 3, 1, {15, 12, 9}, true, true},
    // Rows: the latest draw number + 4; shown 29 columns wide, as many as there are.
    {"last-digit", "LastDigit", 2, 11, 6, 29, 52, ScrollBars::Vertical, 2, 0, {20, 10, 10}, true, false},
    {"last-digit-run", "LastDigitRun", 2, 11, 6, 29, 52, ScrollBars::Vertical, 2, 0, {20, 10, 10}, true, false},
};

History identicalDraws(int draws)
{
    History h;
    for (int n = 1; n <= draws; ++n)
        h.push_back(DrawRecord{n, {1, 2, 3, 4, 5, 6, 7}});
    return h;
}

class SharedLayout : public ::testing::TestWithParam<Layout> {};

}  // namespace

TEST_P(SharedLayout, MatchesItsWindow)
{
    const Layout& l = GetParam();
    const Analysis* a = findAnalysis(l.id);
    ASSERT_NE(a, nullptr) << l.id;
    const History h = identicalDraws(l.draws);
    const Sheet s = a->build(h, buildStartupTables(h));
    EXPECT_EQ(s.columns(), l.columns);
    EXPECT_EQ(s.rows(), l.rows);
    EXPECT_EQ(s.visibleColumns(), l.visibleColumns);
    EXPECT_EQ(s.visibleRows(), l.visibleRows);
    EXPECT_EQ(s.scrollBars(), l.scrollBars);
    EXPECT_EQ(s.frozenRows(), l.frozenRows);
    EXPECT_EQ(s.frozenColumns(), l.frozenColumns);
    for (int r = 1; r <= 3; ++r)
        EXPECT_EQ(s.rowHeight(r), l.rowHeights[r - 1]) << "row " << r;
    EXPECT_EQ(s.allowOverflow(), l.allowOverflow);
    EXPECT_EQ(s.activeColumn() == 0 && s.activeRow() == 0, l.noActiveCell);
}

INSTANTIATE_TEST_SUITE_P(All, SharedLayout, ::testing::ValuesIn(kLayouts),
                         [](const auto& p) { return std::string(p.param.testName); });

// A new analysis cannot join the table of analyses without a layout row.
TEST(SharedLayoutTable, CoversEveryAnalysis)
{
    for (const Analysis& a : analyses()) {
        const bool listed = std::any_of(std::begin(kLayouts), std::end(kLayouts),
                                        [&](const Layout& l) { return std::string(l.id) == a.id; });
        EXPECT_TRUE(listed) << a.id;
    }
}
