// mirkano-cli value: the value of a ticket per draw and the next draw's
// ceiling as JSON, from a real history file.

#include "core/history/history_store.h"
#include "support/cli_run.h"
#include "support/fixtures.h"

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
