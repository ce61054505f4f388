// mirkano-cli backtest: the JSON over a real history file, its options, and
// refused options.

#include "cli/cli.h"
#include "core/backtest/backtest.h"
#include "core/history/history_store.h"
#include "support/cli_run.h"
#include "predict/game_samples.h"
#include "support/fixtures.h"
#include "money/yen_fixture.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using namespace mirkano;
using test::CliRun;
using test::runInProcess;

TEST(BacktestCommand, PrintsTheCountsAndExpectationsOfTheRealHistory)
{
    test::TempDir dir;
    const QString db = dir.path(QStringLiteral("Mirkano.mdb"));
    saveHistory(db, test::sampleHistory());

    const CliRun r = runInProcess({QStringLiteral("backtest"), QStringLiteral("--db"), db, QStringLiteral("--reflect"),
                             QStringLiteral("1,4")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject o = QJsonDocument::fromJson(r.out).object();
    EXPECT_EQ(o.keys(), (QStringList{"draws", "expectedMultiple", "expectedSingle", "from", "multiple", "single"}));
    EXPECT_EQ(o.value("from").toInt(), 15 + 10 + 6);
    EXPECT_EQ(o.value("draws").toInt(), 2137 - 31 + 1);
    ReflectFlags flags;
    flags.on[1] = flags.on[4] = true;
    const BacktestResult expected = runBacktest(test::sampleHistory(), flags);
    for (const char* key : {"single", "multiple", "expectedSingle", "expectedMultiple"}) {
        const QJsonArray a = o.value(QLatin1String(key)).toArray();
        ASSERT_EQ(a.size(), 7) << key;
        double sum = 0;
        for (const auto& v : a)
            sum += v.toDouble();
        EXPECT_NEAR(sum, QByteArray(key).startsWith("expected") ? 1.0 : 2107.0, 1e-9) << key;
    }
    for (int k = 0; k <= 6; ++k) {
        EXPECT_EQ(o.value("single").toArray()[k].toInt(), expected.single[std::size_t(k)]);
        EXPECT_EQ(o.value("expectedMultiple").toArray()[k].toDouble(), expected.expectedMultiple[std::size_t(k)]);
    }

    // --from: the first draw tested; past the end nothing is, and from is N.
    const CliRun late = runInProcess({QStringLiteral("backtest"), QStringLiteral("--db"), db, QStringLiteral("--from"),
                                QStringLiteral("2100")});
    ASSERT_EQ(late.exitCode, 0) << late.err.toStdString();
    EXPECT_EQ(QJsonDocument::fromJson(late.out).object().value("draws").toInt(), 38);
    const CliRun none = runInProcess({QStringLiteral("backtest"), QStringLiteral("--db"), db, QStringLiteral("--from"),
                                QStringLiteral("3000")});
    ASSERT_EQ(none.exitCode, 0) << none.err.toStdString();
    EXPECT_EQ(QJsonDocument::fromJson(none.out).object().value("from").toInt(), 3000);
    EXPECT_EQ(QJsonDocument::fromJson(none.out).object().value("draws").toInt(), 0);
}

TEST(BacktestCommand, BadOptionsAreUsageErrors)
{
    for (const QStringList& extra : {QStringList{"--from", "0"}, QStringList{"--from", "x"}, QStringList{"--from", "-5"},
                                     QStringList{"--reflect", "12"}, QStringList{"--reflect", "a"},
                                     QStringList{"extra"}}) {
        SCOPED_TRACE(extra.join(u' ').toStdString());
        const CliRun r = runInProcess(QStringList{QStringLiteral("backtest"), QStringLiteral("--db"), QStringLiteral("x.mdb")} + extra);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_TRUE(r.err.contains(QStringLiteral("mirkano-cli backtest --db FILE [--reflect 0,3,...] [--from N]")))
            << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
}

TEST(BacktestCommand, Loto7AndMiniLotoRealHistories)
{
    // Arrays of 0 … k matches; the counts add up to the draws tested and the
    // expectations to 1.
    for (const GameId id : {GameId::Loto7, GameId::MiniLoto}) {
        const Game& g = game(id);
        SCOPED_TRACE(g.cliName.toString().toStdString());
        test::TempDir dir;
        const QString db = dir.path(g.historyFile.toString());
        const History& h = test::gameSample(id);
        if (!test::saveGameFile(db, h, id))
            GTEST_SKIP() << "the history file does not keep this game's history yet";
        const CliRun r = runInProcess({QStringLiteral("backtest"), QStringLiteral("--db"), db, QStringLiteral("--game"),
                                       g.cliName.toString(), QStringLiteral("--reflect"), QStringLiteral("0,3")});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        const QJsonObject o = QJsonDocument::fromJson(r.out).object();
        const BacktestResult expected = runBacktest(h, id, [] {
            ReflectFlags f;
            f.on[0] = f.on[3] = true;
            return f;
        }());
        EXPECT_EQ(o.value("from").toInt(), 16);
        EXPECT_EQ(o.value("draws").toInt(), int(h.size()) - 15);
        for (const char* key : {"single", "multiple", "expectedSingle", "expectedMultiple"}) {
            const QJsonArray a = o.value(QLatin1String(key)).toArray();
            ASSERT_EQ(a.size(), g.mains + 1) << key;
            double sum = 0;
            for (const auto& v : a)
                sum += v.toDouble();
            EXPECT_NEAR(sum, QByteArray(key).startsWith("expected") ? 1.0 : double(expected.draws), 1e-9) << key;
        }
        for (int k = 0; k <= g.mains; ++k)
            EXPECT_EQ(o.value("multiple").toArray()[k].toInt(), expected.multiple[std::size_t(k)]);
    }
}

// With prize data for every draw but the last four, the single prediction's
// money is added; the rest of the output is as without.
TEST(BacktestCommand, MoneyWithThePrizeData)
{
    test::TempDir dir;
    const QString db = dir.path(QStringLiteral("Mirkano.mdb"));
    const History h = test::sampleHistory();
    PrizeTable prizes;
    for (const DrawRecord& d : h)
        if (d.drawNo <= 2133)
            prizes.push_back(test::loto6Prizes(d.drawNo, {100'000'000, 10'000'000, 300'000, 6'000, 1'000}));
    saveHistory(db, h, GameId::Loto6, prizes);
    const CliRun r = runInProcess({QStringLiteral("backtest"), QStringLiteral("--db"), db});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject o = QJsonDocument::fromJson(r.out).object();
    EXPECT_EQ(o.keys(), (QStringList{"draws", "expectedMultiple", "expectedSingle", "from", "money", "multiple", "single"}));
    const QJsonObject money = o.value("money").toObject();
    EXPECT_EQ(money.keys(), (QStringList{"cost", "draws", "expected", "tickets", "won"}));
    // Every tested draw's single prediction holds six numbers: four of them
    // (2134 … 2137) without prize data.
    EXPECT_EQ(money.value("tickets").toInt(), o.value("draws").toInt());
    EXPECT_EQ(money.value("draws").toInt(), o.value("draws").toInt() - 4);
    EXPECT_EQ(money.value("cost").toInteger(), 200 * money.value("draws").toInteger());
    // A random ticket at these prizes is worth (100,000,000 + 6 × 10,000,000
    // + 216 × 300,000 + 9,990 × 6,000 + 155,400 × 1,000) / 6,096,454.
    EXPECT_EQ(money.value("expected").toInteger(),
              std::llround(money.value("draws").toInt() * 440'140'000.0 / 6'096'454.0));
    const BacktestResult expected = runBacktest(h, GameId::Loto6, ReflectFlags{}, prizes);
    EXPECT_EQ(money.value("won").toInteger(), expected.money->won);
}
