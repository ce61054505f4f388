// Every analysis for each game, on the game's real history: the sheet's size,
// the visible size its window is made for, and the header texts that name
// the game's numbers and positions. Loto 6's rows pin today's layout; Loto 7
// (7 of 1–37, two bonus numbers, draws 1–691) and Mini Loto (5 of 1–31, draws
// 1–1400) generalise it. Then the invariants on every real history: frequency
// marks and appearance counts add up.

#include "analysis/game_histories.h"
#include "core/analysis/analysis.h"
#include "core/analysis/appearance/appearance.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace mirkano;
using test::realHistory;

namespace {

constexpr GameId L6 = GameId::Loto6, L7 = GameId::Loto7, Mini = GameId::MiniLoto;

// Texts of one header row from a column on.
struct HeaderRow {
    int row, firstColumn;
    QStringList texts;
};

struct Case {
    const char* id;
    GameId game;
    int columns, rows, visibleColumns, visibleRows;
    std::vector<HeaderRow> headers;
};

QStringList positions(int mains, const QString& bonus, int bonuses, const QString& between = {})
{
    QStringList out;
    for (int k = 1; k <= mains; ++k) {
        out << QStringLiteral("第%1数字").arg(k);
        if (!between.isNull())
            out << between;
    }
    for (int j = 1; j <= bonuses; ++j) {
        out << (bonuses == 1 ? bonus : bonus + QString::number(j));
        if (!between.isNull())
            out << between;
    }
    return out;
}

QStringList blanks(int n) { return QStringList(n, QString()); }

const QString kPullTitle = QStringLiteral("        本 数 字         ");
const QString kFiveTitle = QStringLiteral("    本 数 字");
QString sumTitle(int lead)
{
    return QString(lead, QLatin1Char(' ')) + QStringLiteral("　本 数 字") + QString(30, QLatin1Char(' '));
}

std::vector<Case> cases()
{
    const QString bo = QStringLiteral("ボ数字");
    const QString narrow = QStringLiteral("ボ数");
    auto spanning = [](int pad, const char* title) {
        return QString(pad, QChar(0x3000)) + QString::fromUtf8(title) + QString(pad, QChar(0x3000));
    };
    return {
        // One row per number 1 … pool; a column per appearance of the most frequent number.
        {"frequency", L6, 402, 45, 51, 45, {{2, 1, {"数字", "1", "2"}}, {45, 1, {"43"}}}},
        {"frequency", L7, 197, 39, 51, 39, {{2, 1, {"数字", "1", "2"}}, {39, 1, {"37"}}}},
        {"frequency", Mini, 321, 33, 51, 33, {{2, 1, {"数字", "1", "2"}}, {33, 1, {"31"}}}},
        {"count-groups", L6, 2, 31, 2, 31, {{1, 1, {"出 現", "数 字"}}}},
        {"count-groups", L7, 2, 27, 2, 27, {{1, 1, {"出 現", "数 字"}}}},
        {"count-groups", Mini, 2, 27, 2, 27, {{1, 1, {"出 現", "数 字"}}}},
        // The draw's numbers, then the count of each.
        {"appearance-count", L6, 15, 2139, 15, 52,
         {{2, 1, QStringList{"回数"} + positions(6, bo, 1) + positions(6, bo, 1)},
          {1, 12, {"前回までの出現回数合計(回)"}}}},
        // The other games name a narrow bonus column ボ数 wherever it stands,
        // and centre each title on its group (full-width spaces either side).
        {"appearance-count", L7, 19, 693, 19, 52,
         {{2, 1, QStringList{"回数"} + positions(7, narrow, 2) + positions(7, narrow, 2)},
          {1, 2, QStringList{spanning(12, "当 選 数 字")} + blanks(8) + QStringList{spanning(12, "前回までの出現回数合計(回)")}}}},
        {"appearance-count", Mini, 13, 1402, 13, 52,
         {{2, 1, QStringList{"回数"} + positions(5, narrow, 1) + positions(5, narrow, 1)},
          {1, 2, QStringList{spanning(8, "当 選 数 字")} + blanks(5) + QStringList{spanning(8, "前回までの出現回数合計(回)")}}}},
        // Each number with its figure; the header again, mirrored, at the bottom.
        {"appearance-interval", L6, 15, 2141, 15, 52,
         {{2, 1, QStringList{"回数"} + positions(6, bo, 1, "出現")}, {2140, 2, positions(6, bo, 1, "出現")}}},
        {"appearance-interval", L7, 19, 695, 19, 52,
         {{2, 1, QStringList{"回数"} + positions(7, narrow, 2, "出現")}, {694, 2, positions(7, narrow, 2, "出現")}}},
        {"appearance-interval", Mini, 13, 1404, 13, 52,
         {{2, 1, QStringList{"回数"} + positions(5, narrow, 1, "出現")}, {1403, 2, positions(5, narrow, 1, "出現")}}},
        {"number-interval", L6, 15, 2141, 15, 52, {{2, 1, QStringList{"回数"} + positions(6, bo, 1, "差分")}}},
        {"number-interval", L7, 19, 695, 19, 52, {{2, 1, QStringList{"回数"} + positions(7, narrow, 2, "差分")}}},
        {"number-interval", Mini, 13, 1404, 13, 52, {{2, 1, QStringList{"回数"} + positions(5, narrow, 1, "差分")}}},
        // A column per number 1 … pool between two draw-number columns.
        {"dispersion", L6, 45, 2140, 45, 47, {{2, 42, {"41", "42", "43", "回"}}, {1, 22, {"数　　　　　　　字"}}}},
        {"dispersion", L7, 39, 694, 39, 47, {{2, 36, {"35", "36", "37", "回"}}, {1, 19, {"数　　　　　　　字"}}}},
        {"dispersion", Mini, 33, 1403, 33, 47, {{2, 30, {"29", "30", "31", "回"}}, {1, 16, {"数　　　　　　　字"}}}},
        {"pull", L6, 8, 2138, 8, 51,
         {{1, 1, QStringList{"回数", "", "", kPullTitle} + blanks(3) + QStringList{"ボーナス数字"}}}},
        {"pull", L7, 10, 692, 10, 51,
         {{1, 1, QStringList{"回数", "", "", kPullTitle} + blanks(4) + QStringList{"ボーナス数字1", "ボーナス数字2"}}}},
        {"pull", Mini, 7, 1401, 7, 51,
         {{1, 1, QStringList{"回数", "", kPullTitle} + blanks(3) + QStringList{"ボーナス数字"}}}},
        {"consecutive", L6, 14, 2138, 14, 51,
         {{1, 1, QStringList{"回数", "", "", "連番(本数字)"} + blanks(3) + QStringList{"回数", "", "", "飛び石(本数字)"}}}},
        {"consecutive", L7, 16, 692, 16, 51,
         {{1, 1, QStringList{"回数", "", "", "連番(本数字)"} + blanks(4) + QStringList{"回数", "", "", "飛び石(本数字)"}}}},
        {"consecutive", Mini, 12, 1401, 12, 51,
         {{1, 1, QStringList{"回数", "", "", "連番(本数字)"} + blanks(2) + QStringList{"回数", "", "", "飛び石(本数字)"}}}},
        {"number-sum", L6, 10, 2138, 10, 51,
         {{1, 1, QStringList{"回数", sumTitle(23)} + blanks(5) + QStringList{"本数字合計", "ボ数字", "本数字+ボ数字"}}}},
        {"number-sum", L7, 12, 692, 12, 51,
         {{1, 1, QStringList{"回数", sumTitle(27)} + blanks(6) + QStringList{"本数字合計", "ボ数字1", "ボ数字2", "本数字+ボ数字"}}}},
        {"number-sum", Mini, 9, 1401, 9, 51,
         {{1, 1, QStringList{"回数", sumTitle(19)} + blanks(4) + QStringList{"本数字合計", "ボ数字", "本数字+ボ数字"}}}},
        {"low-high", L6, 11, 2138, 11, 51, {{1, 8, {"ボ数", "低数字", "高数字", "パターン"}}}},
        {"low-high", L7, 13, 692, 13, 51, {{1, 9, {"ボ数1", "ボ数2", "低数字", "高数字", "パターン"}}}},
        {"low-high", Mini, 10, 1401, 10, 51, {{1, 7, {"ボ数", "低数字", "高数字", "パターン"}}}},
        {"even-odd", L6, 11, 2138, 11, 51, {{1, 8, {"ボ数", "偶数", "奇数", "パターン"}}}},
        {"even-odd", L7, 13, 692, 13, 51, {{1, 9, {"ボ数1", "ボ数2", "偶数", "奇数", "パターン"}}}},
        {"even-odd", Mini, 10, 1401, 10, 51, {{1, 7, {"ボ数", "偶数", "奇数", "パターン"}}}},
        // The header again in the last row; a counter per group.
        {"five-division", L6, 13, 2139, 13, 51,
         {{2139, 1, QStringList{"回数", "", "", kFiveTitle} + blanks(3) +
                        QStringList{"ボ数", "01～09", "10～19", "20～29", "30～39", "40～43"}}}},
        {"five-division", L7, 15, 693, 15, 51,
         {{693, 1, QStringList{"回数", "", "", kFiveTitle} + blanks(4) +
                       QStringList{"ボ数1", "ボ数2", "01～07", "08～14", "15～21", "22～29", "30～37"}}}},
        {"five-division", Mini, 12, 1402, 12, 51,
         {{1402, 1, QStringList{"回数", "", "", kFiveTitle} + blanks(2) +
                        QStringList{"ボ数", "01～06", "07～12", "13～18", "19～24", "25～31"}}}},
        {"division-6", L6, 45, 2140, 45, 53, {{3, 43, {"42", "43", "回"}}, {1, 22, {"数　　 字"}}}},
        {"division-6", L7, 39, 694, 39, 53, {{3, 37, {"36", "37", "回"}}, {1, 19, {"数　　 字"}}}},
        {"division-6", Mini, 33, 1403, 33, 53, {{3, 31, {"30", "31", "回"}}, {1, 16, {"数　　 字"}}}},
        {"division-7", L6, 45, 2140, 45, 53, {{1, 21, {"数　　 字"}}}},
        {"division-7", L7, 39, 694, 39, 53, {{1, 18, {"数　　 字"}}}},
        {"division-7", Mini, 33, 1403, 33, 53, {{1, 15, {"数　　 字"}}}},
        {"division-11", L6, 45, 2140, 45, 53, {{3, 1, {"回", "1"}}}},
        {"division-11", L7, 39, 694, 39, 53, {{3, 1, {"回", "1"}}}},
        {"division-11", Mini, 33, 1403, 33, 53, {{3, 1, {"回", "1"}}}},
        // Digits 0 … 9 for every game.
        {"last-digit", L6, 11, 2141, 29, 52, {{2, 2, {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"}}}},
        {"last-digit", L7, 11, 695, 29, 52, {{2, 2, {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"}}}},
        {"last-digit", Mini, 11, 1404, 29, 52, {{2, 2, {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"}}}},
        {"last-digit-run", L6, 11, 2141, 29, 52, {{2141, 1, {"回数"}}}},
        {"last-digit-run", L7, 11, 695, 29, 52, {{695, 1, {"回数"}}}},
        {"last-digit-run", Mini, 11, 1404, 29, 52, {{1404, 1, {"回数"}}}},
    };
}

}  // namespace

TEST(GameLayout, EachAnalysisOnEachGamesRealHistory)
{
    for (const Case& c : cases()) {
        const std::string name = std::string(c.id) + " / " + game(c.game).cliName.toString().toStdString();
        SCOPED_TRACE(name);
        const Analysis* a = findAnalysis(c.game, c.id);
        ASSERT_NE(a, nullptr);
        const History& h = realHistory(c.game);
        const Sheet s = a->build(h, buildStartupTables(h, c.game));
        EXPECT_EQ(s.columns(), c.columns);
        EXPECT_EQ(s.rows(), c.rows);
        EXPECT_EQ(s.visibleColumns(), c.visibleColumns);
        EXPECT_EQ(s.visibleRows(), c.visibleRows);
        for (const HeaderRow& r : c.headers)
            EXPECT_EQ(test::rowTexts(s, r.row, r.firstColumn, r.firstColumn + int(r.texts.size()) - 1), r.texts)
                << "row " << r.row;
    }
    // Every analysis of every game is in the table.
    for (GameId g : {L6, L7, Mini})
        for (const Analysis& a : analyses(g)) {
            const std::vector<Case> all = cases();
            EXPECT_TRUE(std::any_of(all.begin(), all.end(),
                                    [&](const Case& c) { return c.game == g && std::string(c.id) == a.id; }))
                << a.id;
        }
}

// The windows keep Loto 6's captions; the descriptions name the game's facts.
TEST(GameLayout, DescriptionsNameTheGamesFacts)
{
    for (GameId g : {L6, L7, Mini}) {
        ASSERT_EQ(analyses(g).size(), analyses(L6).size());
        for (std::size_t i = 0; i < analyses(g).size(); ++i)
            EXPECT_EQ(analyses(g)[i].facts.caption, analyses(L6)[i].facts.caption);
    }
    struct Text {
        GameId game;
        const char* id;
        const char16_t* description;
    };
    const Text texts[] = {
        {L6, "number-interval", u"当選数字を第１数字～第６数字別に前回数字との数字の間隔を分析します"},
        {L7, "number-interval", u"当選数字を第１数字～第７数字別に前回数字との数字の間隔を分析します"},
        {Mini, "number-interval", u"当選数字を第１数字～第５数字別に前回数字との数字の間隔を分析します"},
        {L6, "low-high",
         u"過去の当選番号を低数字（０１～２１）と高数字（２２～４３）に分けて組合せパターンを分析します（ボーナス数字は入れていません）"},
        {L7, "low-high",
         u"過去の当選番号を低数字（０１～１８）と高数字（１９～３７）に分けて組合せパターンを分析します（ボーナス数字は入れていません）"},
        {Mini, "low-high",
         u"過去の当選番号を低数字（０１～１５）と高数字（１６～３１）に分けて組合せパターンを分析します（ボーナス数字は入れていません）"},
        {L7, "frequency", u"過去の当選番号の出現回数を数字別に分析します"},
    };
    for (const Text& t : texts)
        EXPECT_EQ(findAnalysis(t.game, t.id)->facts.description, QString::fromUtf16(t.description)) << t.id;
}

// Each of the game's numbers leaves one mark per complete draw: the marks add
// up to (mains + bonuses) × draws, the bonus-coloured ones to bonuses × draws,
// and each number's strip is as long as its count.
TEST(GameInvariants, FrequencyMarksAddUp)
{
    for (GameId id : {L6, L7, Mini}) {
        SCOPED_TRACE(game(id).cliName.toString().toStdString());
        const History& h = realHistory(id);
        const StartupTables t = buildStartupTables(h, id);
        const Sheet s = buildFrequencySheet(h, t);
        const Game& g = game(id);
        long marks = 0, bonusMarks = 0;
        for (int n = 1; n <= g.pool; ++n) {
            int strip = 0;
            for (int c = 2; c < s.columns(); ++c)
                if (s.text(c, n + 2) == QStringLiteral("●")) {
                    ++strip;
                    bonusMarks += s.style(c, n + 2).fg == colors::bonusMark;
                }
            EXPECT_EQ(strip, t.numberCount[std::size_t(n)]) << n;
            marks += strip;
        }
        EXPECT_EQ(marks, long(g.numbersPerDraw()) * long(h.size()));
        EXPECT_EQ(bonusMarks, long(g.bonuses) * long(h.size()));
    }
}

// Each appearance counts the earlier appearances of its number, so the counts
// of every row add up, over the whole sheet, to Σ c·(c − 1)/2 over the final
// counts c; the last draw's counts are its numbers' counts less itself.
TEST(GameInvariants, AppearanceCountsAddUp)
{
    for (GameId id : {L6, L7, Mini}) {
        SCOPED_TRACE(game(id).cliName.toString().toStdString());
        const History& h = realHistory(id);
        const StartupTables t = buildStartupTables(h, id);
        const Sheet s = buildAppearanceCountSheet(h, t);
        const int perDraw = game(id).numbersPerDraw();
        long total = 0;
        for (int row = 3; row <= s.rows(); ++row)
            for (int k = 0; k < perDraw; ++k)
                total += s.text(perDraw + 2 + k, row).toLong();
        long expected = 0;
        for (int n = 1; n <= game(id).pool; ++n) {
            const long c = t.numberCount[std::size_t(n)];
            expected += c * (c - 1) / 2;
        }
        EXPECT_EQ(total, expected);
        const DrawRecord& last = h.back();
        for (int k = 0; k < perDraw; ++k)
            EXPECT_EQ(s.text(perDraw + 2 + k, s.rows()).toInt(), t.numberCount[std::size_t(last.numbers[std::size_t(k)])] - 1);
    }
}
