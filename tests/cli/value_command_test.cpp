// mirkano-cli value: the value of a ticket per draw and the next draw's
// ceiling as JSON, from a real history file.

#include "core/history/history_store.h"
#include "support/cli_run.h"
#include "support/fixtures.h"
#include "support/prize_samples.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using namespace mirkano;
using namespace mirkano::test;

TEST(ValueCommand, HistoryWithoutPrizeDataSaysHowToGetThem)
{
    TempDir dir;
    const QString db = dir.path(QStringLiteral("Mirkano.mdb"));
    saveHistory(db, makeHistory({{1, {1, 2, 3, 4, 5, 6, 7}}, {2, {8, 9, 10, 11, 12, 13, 14}}}), GameId::Loto6);
    const CliRun r = runInProcess({QStringLiteral("value"), QStringLiteral("--db"), db});
    EXPECT_EQ(r.exitCode, 0);
    const QJsonObject o = QJsonDocument::fromJson(r.out).object();
    EXPECT_EQ(o.value(QStringLiteral("game")).toString(), QStringLiteral("loto6"));
    EXPECT_EQ(o.value(QStringLiteral("price")).toInt(), 200);
    EXPECT_TRUE(o.value(QStringLiteral("draws")).toArray().isEmpty());
    EXPECT_TRUE(o.value(QStringLiteral("next")).isNull());
    EXPECT_TRUE(r.err.contains(QStringLiteral("賞金データ"))) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(db)) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("import --merge"))) << r.err.toStdString();

    // Another game than the file's is refused as by every command.
    const CliRun other = runInProcess({QStringLiteral("value"), QStringLiteral("--db"), db, QStringLiteral("--game"),
                                       QStringLiteral("loto7")});
    EXPECT_EQ(other.exitCode, 1);
    EXPECT_TRUE(other.out.isEmpty());
}

TEST(ValueCommand, EachDrawAndTheNextAsJson)
{
    // Draw 1 with its sales; draw 2 without, leaving a carry-over of
    // 150,000,000円 that draw 3 receives; draw 4 without prize data.
    const PrizeTable prizes = {
        loto6Draw(1, {1, 2, 100, 5000, 80000}, {100000000, 10000000, 500000, 9000, 1000}, 0, 1000000000),
        loto6Draw(2, {0, 3, 150, 6000, 90000}, {0, 8000000, 400000, 8000, 1000}, 150000000, std::nullopt),
        loto6Draw(3, {1, 2, 100, 5000, 85000}, {300000000, 9000000, 450000, 8500, 1000}, 0, std::nullopt),
    };
    TempDir dir;
    const QString db = dir.path(QStringLiteral("Mirkano.mdb"));
    saveHistory(db,
                makeHistory({{1, {1, 2, 3, 4, 5, 6, 7}},
                             {2, {8, 9, 10, 11, 12, 13, 14}},
                             {3, {15, 16, 17, 18, 19, 20, 21}},
                             {4, {22, 23, 24, 25, 26, 27, 28}}}),
                GameId::Loto6, prizes);

    const CliRun r = runInProcess({QStringLiteral("value"), QStringLiteral("--db"), db});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("1回は除きました"))) << r.err.toStdString();
    const QJsonObject o = QJsonDocument::fromJson(r.out).object();
    EXPECT_EQ(o.value(QStringLiteral("game")).toString(), QStringLiteral("loto6"));
    EXPECT_EQ(o.value(QStringLiteral("price")).toInt(), 200);
    const QJsonArray draws = o.value(QStringLiteral("draws")).toArray();
    ASSERT_EQ(draws.size(), 3);

    const QJsonObject d1 = draws[0].toObject();
    EXPECT_EQ(d1.value(QStringLiteral("draw")).toInt(), 1);
    EXPECT_EQ(d1.value(QStringLiteral("ticketsFrom")).toString(), QStringLiteral("sales"));
    EXPECT_EQ(d1.value(QStringLiteral("tickets")).toInteger(), 5000000);
    EXPECT_DOUBLE_EQ(d1.value(QStringLiteral("paidOut")).toDouble(), 59.0);
    EXPECT_NEAR(d1.value(QStringLiteral("random")).toDouble(), 513310000.0 / 6096454.0, 1e-9);
    EXPECT_NEAR(d1.value(QStringLiteral("ratio")).toDouble(), 513310000.0 / 6096454.0 / 59.0, 1e-9);

    const QJsonObject d2 = draws[1].toObject();
    EXPECT_EQ(d2.value(QStringLiteral("ticketsFrom")).toString(), QStringLiteral("fund"));
    EXPECT_EQ(d2.value(QStringLiteral("tickets")).toInteger(), 4133333);
    EXPECT_EQ(d2.value(QStringLiteral("carryIn")).toInteger(), 0);
    EXPECT_EQ(d2.value(QStringLiteral("carryOut")).toInteger(), 150000000);
    EXPECT_EQ(draws[2].toObject().value(QStringLiteral("carryIn")).toInteger(), 150000000);

    const QJsonObject next = o.value(QStringLiteral("next")).toObject();
    EXPECT_EQ(next.value(QStringLiteral("draw")).toInt(), 4);
    EXPECT_EQ(next.value(QStringLiteral("carryIn")).toInteger(), 0);
    EXPECT_DOUBLE_EQ(next.value(QStringLiteral("ceiling")).toDouble(), 90.0);
    EXPECT_FALSE(next.value(QStringLiteral("reachesPrice")).toBool());
}
