// The two last-digit sheets: digits per draw, and runs of a digit over draws.

#include "core/analysis/combination/combination.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

#include <map>

using namespace mirkano;
using test::makeHistory;

namespace {

using Builder = Sheet (*)(const History&, const StartupTables&);

Sheet build(Builder b, const History& h) { return b(h, buildStartupTables(h)); }

const QString kTitle = QString(43, QLatin1Char(' ')) + QStringLiteral("下一桁数字") + QString(27, QLatin1Char(' ')) +
                       QStringLiteral("　　　") + QString(18, QLatin1Char(' '));

const QStringList kDigitLabels{"", "0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};

}  // namespace

TEST(LastDigitSheets, HeaderAtTheTopAndMirroredAtTheBottom)
{
    const History h = makeHistory({{1, {1, 2, 3, 4, 5, 6, 7}}, {2, {0, 2, 3, 4, 5, 6, 7}}, {3, {1, 2, 3, 4, 5, 6, 7}}});
    for (Builder b : {&buildLastDigitSheet, &buildLastDigitRunSheet}) {
        SCOPED_TRACE(b == &buildLastDigitSheet ? "last-digit" : "last-digit-run");
        const Sheet s = build(b, h);
        ASSERT_EQ(s.rows(), 7);  // two header rows, draws 1 … 3, two footer rows
        const QStringList titleRow = QStringList{"回数", kTitle} + QStringList(9, QString());
        EXPECT_EQ(test::rowTexts(s, 1, 1, 11), titleRow);
        EXPECT_EQ(test::rowTexts(s, 2, 1, 11), kDigitLabels);
        EXPECT_EQ(test::rowTexts(s, 6, 2, 11), kDigitLabels.mid(1));
        EXPECT_EQ(test::rowTexts(s, 7, 1, 11), titleRow);
        for (int row = 1; row <= 7; ++row)
            EXPECT_EQ(s.rowHeight(row), row == 1 || row == 7 ? 20 : 10) << row;
        EXPECT_EQ(s.columnWidth(1), 5);
        EXPECT_EQ(s.cell(2, 1).hAlign, HAlign::Left);
        EXPECT_EQ(s.cell(2, 7).hAlign, HAlign::Left);

        struct Case {
            int col, row;
            Rgb fg, bg;
            const char* sides;
        };
        const Case cases[] = {
            {1, 1, colors::red, colors::lightYellow, "LRTB"},
            {2, 1, colors::blue, colors::lightRed, "L-TB"},  // the title reads as one framed cell
            {6, 1, colors::blue, colors::lightRed, "--TB"},
            {11, 1, colors::blue, colors::lightRed, "-RTB"},
            {1, 2, colors::red, colors::lightYellow, "LRTB"},
            {6, 2, colors::blue, colors::lightRed, "LRTB"},
            {1, 4, colors::red, colors::lightYellow, "LRTB"},
            {6, 4, colors::black, colors::white, "LRTB"},
            {6, 6, colors::blue, colors::lightRed, "LRTB"},
            {1, 7, colors::red, colors::lightYellow, "LRTB"},
            {2, 7, colors::blue, colors::lightRed, "L-TB"},
            {6, 7, colors::blue, colors::lightRed, "--TB"},
            {11, 7, colors::blue, colors::lightRed, "-RTB"},
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << c.col << "," << c.row);
            EXPECT_EQ(s.cell(c.col, c.row).fg, c.fg);
            EXPECT_EQ(s.cell(c.col, c.row).bg, c.bg);
            EXPECT_EQ(test::borderSides(s.cell(c.col, c.row)), c.sides);
        }
    }
}

TEST(LastDigitSheet, RepeatsEachDigitOncePerNumberAndColoursByCount)
{
    struct Case {
        const char* what;
        std::array<int, kMaxNumbersPerDraw> numbers;
        std::map<int, QString> texts;  // digit -> text; every other digit empty
    };
    const Case cases[] = {
        {"four, two and one", {3, 13, 23, 30, 40, 41, 43}, {{3, "3333"}, {0, "00"}, {1, "1"}}},
        {"three, the bonus included", {10, 20, 1, 2, 4, 5, 30}, {{0, "000"}, {1, "1"}, {2, "2"}, {4, "4"}, {5, "5"}}},
        {"all different", {1, 2, 3, 4, 5, 6, 7}, {{1, "1"}, {2, "2"}, {3, "3"}, {4, "4"}, {5, "5"}, {6, "6"}, {7, "7"}}},
        {"five of one digit", {1, 11, 21, 31, 41, 9, 19}, {{1, "11111"}, {9, "99"}}},
    };
    const std::map<int, Rgb> colourOfLength = {{0, colors::white},      {1, colors::white},
                                               {2, colors::lightCyan},  {3, colors::lightGreen},
                                               {4, colors::lightRed},   {5, colors::lightRed}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Sheet s = build(&buildLastDigitSheet, makeHistory({{2, c.numbers}}));
        EXPECT_EQ(s.text(1, 3), QStringLiteral("2"));
        for (int digit = 0; digit <= 9; ++digit) {
            const auto it = c.texts.find(digit);
            const QString text = it == c.texts.end() ? QString() : it->second;
            EXPECT_EQ(s.text(digit + 2, 3), text) << digit;
            EXPECT_EQ(s.cell(digit + 2, 3).bg, colourOfLength.at(int(text.size()))) << digit;
        }
    }
}

TEST(LastDigitSheet, IncompleteDrawsLeaveEmptyRowsAboveTheFooter)
{
    const Sheet s = build(&buildLastDigitSheet, makeHistory({
        {1, {1, 2, 3, 4, 5, 6, 7}},
        {2, {1, 2, 3, 4, 5, 6, 0}},
        {3, {11, 12, 13, 14, 15, 16, 17}},
    }));
    ASSERT_EQ(s.rows(), 7);
    EXPECT_EQ(s.text(1, 3), QStringLiteral("1"));
    EXPECT_EQ(s.text(1, 4), QStringLiteral("3"));
    EXPECT_EQ(test::rowTexts(s, 4, 2, 11), (QStringList{"", "1", "2", "3", "4", "5", "6", "7", "", ""}));
    EXPECT_EQ(test::rowTexts(s, 5, 1, 11), QStringList(11, QString()));
    EXPECT_EQ(test::rowTexts(s, 6, 1, 11), kDigitLabels);
}

TEST(LastDigitSheet, RealHistory)
{
    const History h = test::sampleHistory();
    const Sheet s = build(&buildLastDigitSheet, h);
    ASSERT_EQ(s.rows(), 2137 + 4);
    // Every draw is complete, so the footer follows the last draw directly.
    EXPECT_EQ(s.text(1, 2139), QStringLiteral("2137"));
    EXPECT_EQ(test::rowTexts(s, 2140, 1, 11), kDigitLabels);
    EXPECT_EQ(s.text(2, 2141), kTitle);
    for (int row = 3; row <= 2139; ++row) {
        int characters = 0;
        for (int digit = 0; digit <= 9; ++digit) {
            const QString& t = s.text(digit + 2, row);
            characters += int(t.size());
            ASSERT_EQ(t, QString(t.size(), QChar(u'0' + digit))) << row;
        }
        ASSERT_EQ(characters, 7) << row;
    }
    // Draw 1 is 2 8 10 13 27 30, bonus 39.
    EXPECT_EQ(test::rowTexts(s, 3, 2, 11), (QStringList{"00", "", "2", "3", "", "", "", "7", "8", "9"}));
}
