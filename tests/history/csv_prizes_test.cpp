// The CSV reader's prize columns (N等口数, N等賞金, キャリーオーバー,
// 販売実績額) and their export.
#include "core/history/csv_prizes.h"
#include "core/history/history_csv.h"
#include "support/fixtures.h"
#include "support/prize_samples.h"

#include <gtest/gtest.h>

using namespace mirkano;

namespace {

const QByteArray kLoto6Header =
    "開催回,日付,第1数字,第2数字,第3数字,第4数字,第5数字,第6数字,BONUS数字,"
    "1等口数,2等口数,3等口数,4等口数,5等口数,1等賞金,2等賞金,3等賞金,4等賞金,5等賞金,キャリーオーバー,販売実績額\n";

CsvHistory readLoto6(const QByteArray& body)
{
    return parseGameHistoryCsv(kLoto6Header + body, QStringLiteral("in.csv"), GameId::Loto6);
}

QString errorOf(const QByteArray& body)
{
    try {
        readLoto6(body);
    } catch (const HistoryError& e) {
        return e.message();
    }
    return QStringLiteral("(no error)");
}

DrawPrizes prizes(int drawNo, std::initializer_list<std::optional<Yen>> fields)
{
    const std::vector<std::optional<Yen>> v(fields);
    return prizesFromFields(drawNo, v, GameId::Loto6);
}

}  // namespace

TEST(CsvPrizes, ReadsAmountsWithYenSeparatorsNoWinnerAndUnknownFields)
{
    const CsvHistory read = readLoto6(
        // 円, separators inside quotes, 「該当なし」, full-width digits and commas, an empty field.
        "1,2000/10/5,2,8,10,13,27,30,39,該当なし,2口,262,\"12,413\",174452,該当なし,\"40,961,900円\","
        "３７５，２００,6900,1000円,,1183183200\n"
        // No prize field known: no entry.
        "2,2000/10/12,1,9,16,20,21,43,5,,,,,,,,,,,,\n"
        // The 32-bit cap: taken, and named.
        "3,2000/10/19,1,5,15,31,36,38,13,0,1,0,0,0,0,0,0,0,0,2147483647,\n");
    EXPECT_EQ(read.rows.size(), 3u);
    ASSERT_EQ(read.prizes.size(), 2u);
    EXPECT_EQ(read.prizes[0],
              prizes(1, {0, 2, 262, 12413, 174452, 0, 40961900, 375200, 6900, 1000, std::nullopt, 1183183200}));
    EXPECT_EQ(read.prizes[1], prizes(3, {0, 1, 0, 0, 0, 0, 0, 0, 0, 0, kSuspectYen, std::nullopt}));
    EXPECT_EQ(read.warnings,
              QStringList{QStringLiteral("CSV「in.csv」の4行目（第3回）のキャリーオーバー 2,147,483,647 は、"
                                         "32ビットで切り詰められた値の疑いがあります"
                                         "（別の取得元の当選データと併合すると、その値に置き換えられます）")});
}

TEST(CsvPrizes, ABadAmountIsRefusedNamingLineFieldAndCause)
{
    const QString money = QStringLiteral("金額は 0 以上の円単位の整数で、1,234,567 や 1234567円、該当なし のように書きます");
    const QString separators = QStringLiteral("桁区切りのカンマの位置が正しくありません。") + money;
    const struct {
        const char* field;
        QString cause;
    } cases[] = {
        {"12a", money},
        {"-5", money},
        {"1.5", money},
        {"円", money},
        {"12口", money},  // 口 belongs to a 口数
        {"\"1,23\"", separators},
        {"\"1234,567\"", separators},
        {"\",123\"", separators},
        {"\"1,,234\"", separators},
        {"1000000000000000", QStringLiteral("999,999,999,999,999 を超える値は使えません")},
        {"9999999999999999", QStringLiteral("999,999,999,999,999 を超える値は使えません")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.field);
        const QString shown = QString::fromUtf8(c.field).remove(u'"');
        EXPECT_EQ(errorOf(QByteArray("1,2000/10/5,2,8,10,13,27,30,39,2,2,262,12413,174452,45513600,") + c.field
                          + ",375200,6900,1000,0,\n"),
                  QStringLiteral("CSV「in.csv」の2行目：2等賞金「%1」が読めません（%2）").arg(shown, c.cause));
    }
    // A 口数 names its own unit.
    EXPECT_EQ(errorOf("1,2000/10/5,2,8,10,13,27,30,39,2円,,,,,,,,,,,\n"),
              QStringLiteral("CSV「in.csv」の2行目：1等口数「2円」が読めません（口数は 0 以上の整数で、1,234 や 12口、"
                             "該当なし のように書きます）"));
    // A prize title twice is refused like a number title twice.
    EXPECT_EQ([] {
        try {
            parseGameHistoryCsv("回数,第1数字,第2数字,第3数字,第4数字,第5数字,第6数字,ボーナス数字,1等口数,１等口数\n",
                                QStringLiteral("in.csv"), GameId::Loto6);
        } catch (const HistoryError& e) {
            return e.message();
        }
        return QString();
    }(),
              QStringLiteral("CSV「in.csv」の1行目：見出し「１等口数」が重複しています"));
}

// The bundled real files: every draw with prize data is read whole, the
// fields each game has and no others, and the export reads back the same.
TEST(CsvPrizes, ReadsTheRealPrizeFilesAndExportsThemBack)
{
    const struct {
        GameId game;
        int draws, lastWithPrizes, lastWithSales;
    } cases[] = {
        {GameId::Loto6, 2137, 2133, 1197},
        {GameId::Loto7, 691, 691, 0},
        {GameId::MiniLoto, 1400, 1353, 0},
    };
    for (const auto& c : cases) {
        const Game& g = game(c.game);
        SCOPED_TRACE(g.cliName.toString().toStdString());
        const CsvHistory read = readGameHistoryCsv(test::samplePrizesCsvPath(c.game), std::nullopt);
        EXPECT_EQ(read.game, c.game);
        EXPECT_EQ(read.rows, test::sampleHistory(c.game));
        EXPECT_TRUE(read.warnings.isEmpty());
        ASSERT_EQ(read.prizes.size(), std::size_t(c.lastWithPrizes));
        for (const DrawPrizes& p : read.prizes) {
            ASSERT_TRUE(p.complete(g)) << p.drawNo;
            EXPECT_EQ(p.sales.has_value(), p.drawNo <= c.lastWithSales) << p.drawNo;
            EXPECT_EQ(p.carryOver.has_value(), hasCarryOver(c.game)) << p.drawNo;
            if (g.prizeClassCount() < kMaxPrizeClasses) {
                EXPECT_FALSE(p.winners[std::size_t(g.prizeClassCount())].has_value()) << p.drawNo;
            }
        }
        EXPECT_EQ(read.prizes.back().drawNo, c.lastWithPrizes);

        const QByteArray exported = historyToCsv(read.rows, c.game, read.prizes);
        const CsvHistory back = parseGameHistoryCsv(exported, QStringLiteral("x"), std::nullopt);
        EXPECT_EQ(back.game, c.game);
        EXPECT_EQ(back.rows, read.rows);
        EXPECT_EQ(back.prizes, read.prizes);
    }
    // Loto 6 draw 2054: one 1等 and one 2等 winner.
    const CsvHistory loto6 = readGameHistoryCsv(test::samplePrizesCsvPath(GameId::Loto6), GameId::Loto6);
    const DrawPrizes* d = findPrizes(loto6.prizes, 2054);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->winners[0], 1);
    EXPECT_EQ(d->winners[1], 1);
    // Without prize data the export is the plain layout.
    EXPECT_EQ(historyToCsv(loto6.rows, GameId::Loto6, {}), historyToCsv(loto6.rows, GameId::Loto6));
    EXPECT_TRUE(readGameHistoryCsv(test::sampleCsvPath(GameId::Loto6), GameId::Loto6).prizes.empty());
}
