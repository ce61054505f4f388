#include "core/analysis/division/division.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace mirkano;
using test::makeHistory;

namespace {

constexpr Rgb kGridLine{136, 196, 255};
constexpr Rgb kEmptyGroup{210, 210, 210};
constexpr Rgb kMainMark{62, 158, 255};
constexpr Rgb kBonusMark{255, 128, 192};
const QString kMark = QStringLiteral("●");

// One grouping as the window shows it: each group's first and last column,
// the texts of the first and the last group letter (the letters between
// read like the first), the title cell's column and the extra edge right of
// column 1 in rows 1 and 2.
struct GroupingCase {
    const char* name;
    Grouping grouping;
    std::vector<std::pair<int, int>> columns;
    QString firstLetter;
    QString lastLetter;
    int titleColumn;
    bool column1RightEdge;
};

const GroupingCase kGroupings[] = {
    {"six", Grouping::Six, {{2, 8}, {9, 15}, {16, 22}, {23, 29}, {30, 36}, {37, 44}},
     QStringLiteral("             Ａ              "), QStringLiteral("                Ｆ              "), 22, false},
    {"seven", Grouping::Seven, {{2, 7}, {8, 13}, {14, 19}, {20, 25}, {26, 31}, {32, 37}, {38, 44}},
     QStringLiteral("           Ａ            "), QStringLiteral("             Ｇ          "), 21, false},
    {"eleven", Grouping::Eleven,
     {{2, 5}, {6, 9}, {10, 13}, {14, 17}, {18, 21}, {22, 25}, {26, 29}, {30, 33}, {34, 37}, {38, 41}, {42, 44}},
     QStringLiteral("       Ａ        "), QStringLiteral("   　Ｋ "), 21, true},
};

void PrintTo(const GroupingCase& g, std::ostream* os) { *os << g.name; }

Sheet build(const History& h, Grouping g) { return buildDivisionSheet(h, buildStartupTables(h), g); }

// One letter per group for the background of its cells in a row: 'g' grey,
// 'c' light cyan, 'w' white, '?' mixed or another colour.
std::string groupBackgrounds(const Sheet& s, const GroupingCase& g, int row)
{
    std::string out;
    for (const auto& [first, last] : g.columns) {
        const Rgb bg = s.cell(first, row).bg;
        bool same = true;
        for (int c = first; c <= last; ++c)
            same = same && s.cell(c, row).bg == bg;
        out += !same ? '?' : bg == kEmptyGroup ? 'g' : bg == colors::lightCyan ? 'c' : bg == colors::white ? 'w' : '?';
    }
    return out;
}

// The number columns of a row as one letter each: 'm' a main-number mark,
// 'b' a bonus mark, '.' empty, '?' anything else.
std::string marks(const Sheet& s, int row)
{
    std::string out;
    for (int c = 2; c <= 44; ++c) {
        const Cell& x = s.cell(c, row);
        out += x.text.isEmpty()                              ? '.'
               : x.text != kMark                             ? '?'
               : x.fg == kMainMark                           ? 'm'
               : x.fg == kBonusMark                          ? 'b'
                                                             : '?';
    }
    return out;
}

std::string expectedMarks(const std::array<int, kMaxNumbersPerDraw>& numbers)
{
    std::string out(43, '.');
    for (int k = 0; k < 7; ++k)
        out[std::size_t(numbers[std::size_t(k)] - 1)] = k == 6 ? 'b' : 'm';
    return out;
}

class DivisionGrouping : public testing::TestWithParam<GroupingCase> {};

}  // namespace

TEST_P(DivisionGrouping, Header)
{
    const GroupingCase& g = GetParam();
    const Sheet s = build(makeHistory({{2, {1, 2, 3, 4, 5, 6, 7}}}), g.grouping);
    ASSERT_EQ(s.rows(), 5);
    EXPECT_EQ(s.rowHeight(5), 9);
    for (int c : {1, 45})
        EXPECT_EQ(s.columnWidth(c), 3) << c;
    for (int c : {2, 23, 44})
        EXPECT_EQ(s.columnWidth(c), 2) << c;

    // Row 1: the title, pink and left-aligned over columns 2 to 44, inside
    // one outline.
    for (int c = 1; c <= 45; ++c) {
        SCOPED_TRACE(c);
        const Cell& x = s.cell(c, 1);
        EXPECT_EQ(x.text, c == g.titleColumn ? QStringLiteral("数　　 字") : QString());
        EXPECT_EQ(x.hAlign, c <= 44 ? HAlign::Left : HAlign::Center);
        if (c >= 2 && c <= 44) {
            EXPECT_EQ(x.fg, colors::black);
            EXPECT_EQ(x.bg, colors::lightRed);
            EXPECT_EQ(test::borderSides(x), c == 2 ? "L-TB" : c == 44 ? "-RTB" : "--TB");
            EXPECT_EQ(x.top.color, colors::defaultBorder);
        }
    }
    // The draw-number columns are painted after row 1: (1,1) ends yellow.
    for (int c : {1, 45})
        for (int r = 1; r <= 5; ++r) {
            EXPECT_EQ(s.cell(c, r).fg, colors::red) << c << "," << r;
            EXPECT_EQ(s.cell(c, r).bg, colors::lightYellow) << c << "," << r;
        }
    for (int r : {1, 2}) {
        EXPECT_EQ(test::borderSides(s.cell(1, r)), g.column1RightEdge ? "-R--" : "----") << r;
        EXPECT_EQ(test::borderSides(s.cell(45, r)), "----") << r;
    }

    // Row 2: one outlined box per group, its letter in the first column;
    // every second group on light cyan, from row 2 down.
    const int groups = int(g.columns.size());
    for (int i = 0; i < groups; ++i) {
        const auto [first, last] = g.columns[std::size_t(i)];
        SCOPED_TRACE(i);
        QString letter = i == groups - 1 ? g.lastLetter : g.firstLetter;
        letter.replace(u'Ａ', QChar(u'Ａ' + i));
        EXPECT_EQ(s.text(first, 2), letter);
        EXPECT_EQ(s.cell(first, 2).hAlign, HAlign::Left);
        for (int c = first + 1; c <= last; ++c)
            EXPECT_TRUE(s.text(c, 2).isEmpty()) << c;
        for (int c = first; c <= last; ++c)
            EXPECT_EQ(test::borderSides(s.cell(c, 2)), c == first ? "L-TB" : c == last ? "-RTB" : "--TB") << c;
        const Rgb band = i % 2 == 1 ? colors::lightCyan : colors::white;
        for (int r : {2, 3, 5})
            for (int c = first; c <= last; ++c)
                EXPECT_EQ(s.cell(c, r).bg, band) << c << "," << r;
    }

    // Row 3: the numbers in blue between two "回"; from row 3 down every
    // cell has light-blue edges.
    QStringList numbers{QStringLiteral("回")};
    for (int n = 1; n <= 43; ++n)
        numbers << QString::number(n);
    numbers << QStringLiteral("回");
    EXPECT_EQ(test::rowTexts(s, 3, 1, 45), numbers);
    for (int c = 2; c <= 44; ++c)
        EXPECT_EQ(s.cell(c, 3).fg, colors::blue) << c;
    for (int r : {3, 4, 5})
        for (int c : {1, 2, 30, 45}) {
            EXPECT_EQ(test::borderSides(s.cell(c, r)), "LRTB") << c << "," << r;
            EXPECT_EQ(s.cell(c, r).left.color, kGridLine) << c << "," << r;
        }
}

TEST_P(DivisionGrouping, RealHistory)
{
    const GroupingCase& g = GetParam();
    const History h = test::sampleHistory();
    const Sheet s = build(h, g.grouping);
    ASSERT_EQ(s.rows(), 2137 + 3);
    for (std::size_t i = 0; i < h.size(); ++i) {
        const int row = int(i) + 4;
        SCOPED_TRACE(row);
        ASSERT_EQ(s.text(1, row), QString::number(h[i].drawNo));
        ASSERT_EQ(s.text(45, row), QString::number(h[i].drawNo));
        ASSERT_EQ(marks(s, row), expectedMarks(h[i].numbers));
        std::string grey;
        for (std::size_t k = 0; k < g.columns.size(); ++k) {
            const auto [first, last] = g.columns[k];
            // Plain copies: clang 14 does not let lambdas capture structured bindings.
            const bool hit = std::any_of(h[i].all().begin(), h[i].all().end(),
                                         [lo = first, hi = last](int n) { return n + 1 >= lo && n + 1 <= hi; });
            grey += hit ? (k % 2 == 1 ? 'c' : 'w') : 'g';
        }
        ASSERT_EQ(groupBackgrounds(s, g, row), grey);
    }
}

INSTANTIATE_TEST_SUITE_P(Groupings, DivisionGrouping, testing::ValuesIn(kGroupings),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DivisionSheet, EmptyGroupsAreGreyedInTheirRow)
{
    struct Case {
        const char* what;
        Grouping grouping;
        std::array<int, kMaxNumbersPerDraw> numbers;
        std::string groups;  // see groupBackgrounds
    };
    const Case cases[] = {
        {"six: all in Ａ", Grouping::Six, {1, 2, 3, 4, 5, 6, 7}, "wggggg"},
        {"six: Ｆ holds only the bonus", Grouping::Six, {1, 2, 3, 4, 5, 6, 43}, "wggggc"},
        {"six: group edges", Grouping::Six, {7, 8, 14, 15, 35, 36, 43}, "wcwgwc"},
        {"six: 36 is in the wide last group", Grouping::Six, {1, 8, 15, 22, 29, 36, 2}, "wcwcwc"},
        {"seven: group edges", Grouping::Seven, {6, 7, 12, 13, 36, 37, 43}, "wcwggcw"},
        {"seven: the bonus alone fills Ｂ", Grouping::Seven, {1, 2, 3, 4, 5, 6, 7}, "wcggggg"},
        {"eleven: group edges", Grouping::Eleven, {4, 5, 8, 9, 40, 41, 43}, "wcwggggggcw"},
        {"eleven: seven groups at most", Grouping::Eleven, {1, 5, 9, 13, 17, 21, 25}, "wcwcwcwgggg"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const GroupingCase& g = *std::find_if(std::begin(kGroupings), std::end(kGroupings),
                                              [&](const GroupingCase& x) { return x.grouping == c.grouping; });
        const Sheet s = build(makeHistory({{1, c.numbers}}), c.grouping);
        EXPECT_EQ(groupBackgrounds(s, g, 4), c.groups);
        EXPECT_EQ(marks(s, 4), expectedMarks(c.numbers));
    }
}

TEST(DivisionSheet, IncompleteRowsLeaveNoGap)
{
    const Sheet s = build(makeHistory({
                              {1, {1, 2, 3, 4, 5, 6, 0}},
                              {2, {10, 11, 12, 13, 14, 15, 16}},
                              {3, {0, 0, 0, 0, 0, 0, 0}},
                              {5, {40, 41, 42, 43, 1, 2, 3}},
                          }),
                          Grouping::Six);
    ASSERT_EQ(s.rows(), 8);
    EXPECT_EQ(s.text(1, 4), QStringLiteral("2"));
    EXPECT_EQ(s.text(1, 5), QStringLiteral("5"));
    EXPECT_EQ(s.text(45, 5), QStringLiteral("5"));
    EXPECT_EQ(marks(s, 5), expectedMarks({40, 41, 42, 43, 1, 2, 3}));
    // The rows left over keep the bands and no grey.
    for (int r : {6, 7, 8}) {
        EXPECT_EQ(test::rowTexts(s, r, 1, 45), QStringList(45)) << r;
        EXPECT_EQ(groupBackgrounds(s, kGroupings[0], r), "wcwcwc") << r;
    }
}

TEST(DivisionSheet, EmptyHistoryShowsTheHeaderOnly)
{
    for (const GroupingCase& g : kGroupings) {
        const Sheet s = build({}, g.grouping);
        EXPECT_EQ(s.rows(), 3) << g.name;
        EXPECT_EQ(s.text(45, 3), QStringLiteral("回")) << g.name;
    }
}
