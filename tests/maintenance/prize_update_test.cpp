// Prize data through the update, the CSV import and the export of the
// command-line tool, on the real files: a source without prize data never
// drops the stored ones, a source with them completes and settles them.
#include "core/history/history_csv.h"
#include "maintenance/maintenance_support.h"
#include "support/cli_run.h"
#include "support/loopback_http.h"
#include "support/prize_samples.h"

#include <gtest/gtest.h>

using namespace mirkano;
using namespace mirkano::test;

namespace {

QByteArray historyBytesWithPrizes(const TempDir& dir, const History& rows, GameId game, const PrizeTable& prizes)
{
    const QString path = dir.path(QStringLiteral("made-prizes.mdb"));
    QFile::remove(path);
    saveHistory(path, rows, game, prizes);
    const QByteArray bytes = fileBytes(path);
    QFile::remove(path);
    return bytes;
}

PrizeTable upTo(const PrizeTable& prizes, int lastDraw)
{
    PrizeTable out;
    for (const DrawPrizes& p : prizes)
        if (p.drawNo <= lastDraw)
            out.push_back(p);
    return out;
}

}  // namespace

TEST(PrizeUpdate, ASourceWithoutPrizeDataKeepsTheStoredOnesAndOneWithThemCompletes)
{
    ensureCoreApplication();
    TempDir dir;
    const CsvHistory real = readGameHistoryCsv(samplePrizesCsvPath(GameId::Loto6), GameId::Loto6);
    const QString db = dir.path(QStringLiteral("Mirkano.mdb"));
    // The first 2,000 draws, draw 5's carry-over as the 32-bit cap.
    PrizeTable stored = upTo(real.prizes, 2000);
    stored[4].carryOver = kSuspectYen;
    saveHistory(db, History(real.rows.begin(), real.rows.begin() + 2000), GameId::Loto6, stored);
    const auto update = [&](const QString& server) {
        return runInProcess({QStringLiteral("update"), QStringLiteral("--db"), db, QStringLiteral("--server"), server});
    };

    LoopbackHttp http;
    // The plain CSV: new draws, the stored prize data as they were.
    http.serve({.body = historyToCsv(real.rows, GameId::Loto6), .contentType = "text/csv"});
    const CliRun plain = update(http.server() + QStringLiteral("/loto6.csv"));
    EXPECT_EQ(plain.exitCode, 0) << plain.err.toStdString();
    EXPECT_EQ(plain.out, QByteArray("追加 137回、同じ 2000回、補完 0回、食い違い 0回。賞金データ：補完 0項目、食い違い 0項目\n"));
    EXPECT_EQ(loadHistory(db), real.rows);
    EXPECT_EQ(loadPrizes(db), stored);

    // A history file with the prize data: the rest completed, the cap replaced.
    http.serve({.body = historyBytesWithPrizes(dir, real.rows, GameId::Loto6, real.prizes)});
    const CliRun full = update(http.server());
    EXPECT_EQ(full.exitCode, 0) << full.err.toStdString();
    EXPECT_TRUE(full.out.contains("（2,147,483,647 だった 1項目を取り込み側の値に置き換えました）")) << full.out.toStdString();
    EXPECT_EQ(loadPrizes(db), real.prizes);
}

TEST(PrizeCli, ImportMergeAndExportCarryThePrizeData)
{
    TempDir dir;
    const QString csv = samplePrizesCsvPath(GameId::Loto7);
    const CsvHistory real = readGameHistoryCsv(csv, GameId::Loto7);
    const QString db = dir.path(QStringLiteral("Mirkano7.mdb"));
    const auto cli = [](QStringList args) { return runInProcess(args); };
    ASSERT_EQ(cli({"import", "--game", "loto7", "--csv", csv, "--db", db}).exitCode, 0);
    EXPECT_EQ(loadPrizes(db), real.prizes);
    // The export reads back as the same rows and prize data.
    const CliRun exported = cli({"export", "--db", db});
    ASSERT_EQ(exported.exitCode, 0);
    const CsvHistory back = parseGameHistoryCsv(exported.out, QStringLiteral("export"), std::nullopt);
    EXPECT_EQ(back.rows, real.rows);
    EXPECT_EQ(back.prizes, real.prizes);

    // A source with one field that differs and one carry-over at the cap.
    PrizeTable other = real.prizes;
    other[9].prize[0] = *other[9].prize[0] + 100;
    other[19].carryOver = kSuspectYen;
    const QString otherCsv = dir.path(QStringLiteral("other.csv"));
    {
        QFile f(otherCsv);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(historyToCsv(real.rows, GameId::Loto7, other));
    }
    const QByteArray before = fileBytes(db);
    const QStringList merge{"import", "--csv", otherCsv, "--db", db, "--merge"};
    const CliRun refused = cli(merge);
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("手元の当選データと賞金データが違う項目が 1項目あります")))
        << refused.err.toStdString();
    EXPECT_TRUE(refused.err.contains(QStringLiteral("第10回　1等賞金　手元 ")));
    EXPECT_TRUE(refused.err.contains(QStringLiteral("（第20回）のキャリーオーバー 2,147,483,647 は、")));
    EXPECT_EQ(fileBytes(db), before);

    const CliRun mine = cli(QStringList(merge) << "--prefer" << "mine");
    EXPECT_EQ(mine.exitCode, 0);
    EXPECT_EQ(fileBytes(db), before);
    const CliRun theirs = cli(QStringList(merge) << "--prefer" << "theirs");
    EXPECT_EQ(theirs.exitCode, 0) << theirs.err.toStdString();
    EXPECT_TRUE(theirs.out.endsWith("賞金データ：補完 0項目、食い違い 1項目（1項目を取り込み側の値に置き換えました）\n"))
        << theirs.out.toStdString();
    PrizeTable expected = real.prizes;
    expected[9].prize[0] = other[9].prize[0];  // the stored carry-over stays: the source's is the cap
    EXPECT_EQ(loadPrizes(db), expected);

    // A history made anew from a CSV without prize columns keeps the stored ones.
    const QString plain = dir.path(QStringLiteral("plain.csv"));
    {
        QFile f(plain);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(historyToCsv(real.rows, GameId::Loto7));
    }
    EXPECT_EQ(cli({"import", "--csv", plain, "--db", db}).exitCode, 0);
    EXPECT_EQ(loadPrizes(db), expected);
}
