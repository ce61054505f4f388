#include "core/analysis/analysis.h"

#include "core/analysis/appearance/appearance.h"
#include "core/analysis/combination/combination.h"
#include "core/analysis/division/division.h"
#include "core/analysis/interval/interval.h"

#include <array>

namespace mirkano {

namespace {

Legend balls(int pixels, Rgb mainColor, Rgb bonusColor)
{
    Legend l;
    l.kind = Legend::Kind::Balls;
    l.ballPixels = pixels;
    l.mainColor = mainColor;
    l.bonusColor = bonusColor;
    return l;
}

Legend swatch(Rgb color, const QString& text)
{
    Legend l;
    l.kind = Legend::Kind::Swatch;
    l.swatchColor = color;
    l.swatchText = text;
    return l;
}

// A number in full-width digits, as the descriptions write them; at least
// `digits` digits with leading zeros ("０１").
QString fullWidth(int n, int digits = 1)
{
    QString text = QStringLiteral("%1").arg(n, digits, 10, QLatin1Char('0'));
    for (QChar& c : text)
        c = QChar(c.unicode() - u'0' + u'０');
    return text;
}

// A window's size follows its sheet where the sheet has more or fewer
// columns or rows than Loto 6's: a column width of 1 (one character of the
// sheet font, 8 pixels) is 120 twips, a row of height 10 (16 pixels) 240.
constexpr int kTwipsPerCharWidth = 120;
constexpr int kTwipsPerRow = 240;

std::vector<Analysis> makeAnalyses(GameId id)
{
    const Game& g = game(id);
    const Game& loto6 = game(GameId::Loto6);
    // Differences to Loto 6: numbers in the pool, main numbers, bonus numbers
    // and numbers per draw.
    const int dPool = g.pool - loto6.pool;
    const int dMains = g.mains - loto6.mains;
    const int dBonuses = g.bonuses - loto6.bonuses;
    const int dDrawn = g.numbersPerDraw() - loto6.numbersPerDraw();
    const auto widen = [](int twips, double charWidths) { return twips + int(charWidths * kTwipsPerCharWidth); };

    std::vector<Analysis> list;
    {
        // A row per number; the appearance columns scroll.
        WindowFacts f{QStringLiteral("出現頻度分析"), 12530 + dPool * kTwipsPerRow, 13800,
                      QStringLiteral("過去の当選番号の出現回数を数字別に分析します"),
                      balls(13, {62, 128, 255}, colors::bonusMark)};
        list.push_back({"frequency", f, &buildFrequencySheet});
    }
    list.push_back({"count-groups",
                    {QStringLiteral("回数別頻度分析"), 8355, 3405,
                     QStringLiteral("過去の当選番号から出現回数別の数字を分析します"), {}},
                    &buildCountGroupsSheet});
    // The draw's numbers twice, each column 5 wide.
    list.push_back({"appearance-count",
                    {QStringLiteral("出現回数分析"), 13995, widen(9870, 2 * dDrawn * 5),
                     QStringLiteral("過去の当選数字が何回出現したか分析します"), {}},
                    &buildAppearanceCountSheet});
    list.push_back({"appearance-interval",
                    {QStringLiteral("出現間隔分析"), 13920, widen(9850, 2 * dDrawn * 5),
                     QStringLiteral("過去の当選数字が何回前に出現しているか分析します"), {}},
                    &buildAppearanceIntervalSheet});
    list.push_back({"number-interval",
                    {QStringLiteral("数字間隔分析"), 13905, widen(9870, 2 * dDrawn * 5),
                     QStringLiteral("当選数字を第１数字～第%1数字別に前回数字との数字の間隔を分析します")
                         .arg(fullWidth(g.mains)),
                     {}},
                    &buildNumberIntervalSheet});
    {
        // A column 2 wide per number.
        WindowFacts f{QStringLiteral("バラツキ分析"), 12750, widen(12800, dPool * 2),
                      QStringLiteral("過去の当選番号のバラツキを数字別に分析します"),
                      balls(19, colors::mainMark, colors::bonusMark)};
        f.followsResize = true;
        list.push_back({"dispersion", f, &buildDispersionSheet});
    }
    // Main numbers 7 wide, bonus numbers 9 (two bonus numbers: 10 each).
    const int pullBonusWidth = g.bonuses * (g.bonuses == 1 ? 9 : 10) - loto6.bonuses * 9;
    list.push_back({"pull",
                    {QStringLiteral("引っ張り分析"), 13600, widen(7700, dMains * 7 + pullBonusWidth),
                     QStringLiteral("過去の当選数字に前回出現した数字が入っているか分析します"),
                     swatch({128, 255, 255}, QStringLiteral(":前回の数字"))},
                    &buildPullSheet});
    list.push_back({"consecutive",
                    {QStringLiteral("連番・飛び石分析"), 13500, widen(7550, 2 * dMains * 4),
                     QStringLiteral("過去の当選番号の連続数字と一つ飛び数字の傾向を分析します"), {}},
                    &buildConsecutiveSheet});
    list.push_back({"number-sum",
                    {QStringLiteral("数字合計分析"), 13800, widen(8000, dMains * 5 + dBonuses * 7),
                     QStringLiteral("過去の当選番号の本数字＋ボーナス数字合計を分析します"), {}},
                    &buildNumberSumSheet});
    list.push_back({"low-high",
                    {QStringLiteral("低数字・高数字の組合せパターン分析"), 13700, widen(7740, dDrawn * 5),
                     QStringLiteral("過去の当選番号を低数字（０１～%1）と高数字（%2～%3）に分けて"
                                    "組合せパターンを分析します（ボーナス数字は入れていません）")
                         .arg(fullWidth(g.lowHighSplit(), 2), fullWidth(g.lowHighSplit() + 1, 2),
                              fullWidth(g.pool, 2)),
                     {}},
                    &buildLowHighSheet});
    list.push_back({"even-odd",
                    {QStringLiteral("偶数・奇数の組合せパターン分析"), 13700, widen(7740, dDrawn * 5),
                     QStringLiteral("過去の当選番号を偶数と奇数に分類して分析します"), {}},
                    &buildEvenOddSheet});
    {
        WindowFacts f{QStringLiteral("5分割傾向分析"), 13750, widen(8750, dDrawn * 5),
                      QStringLiteral("過去の当選番号を５つのグループに分けて傾向を分析します"), {}};
        f.printGreyed = true;
        list.push_back({"five-division", f, &buildFiveDivisionSheet});
    }
    {
        // The three groupings share one window but for caption and description.
        Legend legend = balls(13, colors::mainMark, colors::bonusMark);
        legend.kind = Legend::Kind::BallsAndSwatch;
        legend.swatchColor = {224, 224, 224};
        legend.swatchText = QStringLiteral(":該当する当選番号なし");
        const auto division = [&](const char* id, const char16_t* caption, const char16_t* description,
                                  SheetBuilder build) {
            WindowFacts f{QString::fromUtf16(caption), 12600, widen(12365, dPool * 2),
                          QString::fromUtf16(description), legend};
            f.printGreyed = true;
            list.push_back({id, f, build});
        };
        division("division-6", u"6分割データ分析", u"過去の当選番号の６グループに分類して分析します",
                 &buildDivision6Sheet);
        division("division-7", u"7分割データ分析", u"過去の当選番号の７グループに分類して分析します",
                 &buildDivision7Sheet);
        division("division-11", u"11分割データ分析", u"過去の当選番号の１１グループに分類して分析します",
                 &buildDivision11Sheet);
    }
    list.push_back({"last-digit",
                    {QStringLiteral("下一桁出現傾向分析"), 13980, 7400,
                     QStringLiteral("過去の当選番号の下一桁の数字の出現傾向を分析します"), {}},
                    &buildLastDigitSheet});
    list.push_back({"last-digit-run",
                    {QStringLiteral("下一桁連続出現回数分析"), 13935, 7400,
                     QStringLiteral("過去の当選番号の下一桁数字が何回続けて出現しているか分析します"), {}},
                    &buildLastDigitRunSheet});
    return list;
}

}  // namespace

const std::vector<Analysis>& analyses(GameId game)
{
    static const std::array<std::vector<Analysis>, 3> lists{
        makeAnalyses(GameId::Loto6), makeAnalyses(GameId::Loto7), makeAnalyses(GameId::MiniLoto)};
    return lists[std::size_t(game)];
}

const Analysis* findAnalysis(GameId game, std::string_view id)
{
    for (const Analysis& a : analyses(game))
        if (id == a.id)
            return &a;
    return nullptr;
}

}  // namespace mirkano
