// mirkano-cli stats: every figure of the statistics window as JSON, over
// the real histories of the games.

#include "core/game/game.h"
#include "support/cli_run.h"
#include "support/fixtures.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <cmath>

using namespace mirkano;
using namespace mirkano::test;

namespace {

// Every p-value of the report, wherever it stands.
void collectP(const QJsonValue& v, std::vector<double>& out)
{
    if (v.isObject()) {
        const QJsonObject o = v.toObject();
        for (auto it = o.begin(); it != o.end(); ++it) {
            if ((it.key() == QLatin1String("p") || it.key() == QLatin1String("pHolm")) && !it.value().isNull())
                out.push_back(it.value().toDouble(-1));
            collectP(it.value(), out);
        }
    } else if (v.isArray()) {
        for (const QJsonValue& x : v.toArray())
            collectP(x, out);
    }
}

QJsonObject run(const QStringList& args)
{
    const CliRun r = runInProcess(args);
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    return QJsonDocument::fromJson(r.out).object();
}

}  // namespace

TEST(StatsCommand, ReportsEveryTestOfEachGamesRealHistory)
{
    TempDir dir;
    for (const Game& g : games()) {
        SCOPED_TRACE(g.cliName.toString().toStdString());
        const QString db = dir.path(g.historyFile.toString());
        ASSERT_EQ(runInProcess({QStringLiteral("import"), QStringLiteral("--game"), g.cliName.toString(),
                                QStringLiteral("--csv"), sampleCsvPath(g.id), QStringLiteral("--db"), db})
                      .exitCode,
                  0);
        const QJsonObject s = run({QStringLiteral("stats"), QStringLiteral("--db"), db});
        const int draws = s.value(QStringLiteral("draws")).toInt();
        EXPECT_EQ(draws, int(sampleHistory(g.id).size()));
        EXPECT_EQ(s.value(QStringLiteral("game")).toString(), g.cliName.toString());
        EXPECT_EQ(s[QStringLiteral("uniformity")][QStringLiteral("df")].toInt(), g.pool - 1);
        EXPECT_EQ(s[QStringLiteral("bonusUniformity")][QStringLiteral("df")].toInt(), g.pool - 1);

        const QJsonArray numbers = s.value(QStringLiteral("numbers")).toArray();
        ASSERT_EQ(numbers.size(), g.pool);
        int observed = 0;
        for (const QJsonValue& n : numbers) {
            observed += n[QStringLiteral("observed")].toInt();
            EXPECT_DOUBLE_EQ(n[QStringLiteral("expected")].toDouble(), double(draws) * g.mains / g.pool);
            EXPECT_GE(n[QStringLiteral("pHolm")].toDouble(), n[QStringLiteral("p")].toDouble());
        }
        EXPECT_EQ(observed, draws * g.mains);

        // The sum: observed counts add up to the draws, the exact law to 1.
        const QJsonObject sum = s.value(QStringLiteral("sum")).toObject();
        int sumCount = 0;
        for (const QJsonValue& c : sum.value(QStringLiteral("observed")).toObject())
            sumCount += c.toInt();
        EXPECT_EQ(sumCount, draws);
        double total = 0;
        for (const QJsonValue& c : sum.value(QStringLiteral("exact")).toObject())
            total += c.toDouble();
        EXPECT_NEAR(total, 1.0, 1e-9);

        const double pair = 1.0 - double(choose(g.pool - g.mains + 1, g.mains)) / double(choose(g.pool, g.mains));
        EXPECT_NEAR(s[QStringLiteral("consecutive")][QStringLiteral("expected")].toDouble(), draws * pair, 1e-6);

        // The prediction's record is the prediction test's own count of matches.
        const QJsonObject backtest = run({QStringLiteral("backtest"), QStringLiteral("--db"), db});
        for (const char* which : {"single", "multiple"}) {
            int matches = 0;
            const QJsonArray counts = backtest.value(QLatin1String(which)).toArray();
            for (int k = 0; k < counts.size(); ++k)
                matches += k * counts[k].toInt();
            EXPECT_EQ(s[QStringLiteral("prediction")][QLatin1String(which)][QStringLiteral("matches")].toInt(), matches)
                << which;
        }

        // Every test of the table was run on a real history, each with its
        // corrected p-value beside the plain one.
        EXPECT_EQ(s.value(QStringLiteral("testsRun")).toInt(), 8);
        for (const QJsonValue& t : {s[QStringLiteral("uniformity")], s[QStringLiteral("bonusUniformity")],
                                   s[QStringLiteral("sum")], s[QStringLiteral("odd")], s[QStringLiteral("low")],
                                   s[QStringLiteral("consecutive")], s[QStringLiteral("prediction")][QStringLiteral("single")],
                                   s[QStringLiteral("prediction")][QStringLiteral("multiple")]})
            EXPECT_GE(t[QStringLiteral("pHolm")].toDouble(), t[QStringLiteral("p")].toDouble(2));

        std::vector<double> ps;
        collectP(s, ps);
        EXPECT_GT(ps.size(), std::size_t(g.pool));
        for (double p : ps)
            EXPECT_TRUE(p >= 0 && p <= 1) << p;
    }
}

// Twenty draws are too few for the χ² tests: their p-values are null, not a
// verdict, and no undefined figure is written as a number.
TEST(StatsCommand, ShortHistoryGivesNullWhereATestCannotBeRun)
{
    TempDir dir;
    QFile in(sampleCsvPath(GameId::Loto6));
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    QByteArray csv;
    for (int line = 0; line <= 20; ++line)
        csv += in.readLine();
    const QString csvPath = dir.path(QStringLiteral("short.csv")), db = dir.path(QStringLiteral("short.mdb"));
    QFile out(csvPath);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(csv);
    out.close();
    ASSERT_EQ(runInProcess({QStringLiteral("import"), QStringLiteral("--csv"), csvPath, QStringLiteral("--db"), db}).exitCode, 0);
    const QJsonObject s = run({QStringLiteral("stats"), QStringLiteral("--db"), db});
    EXPECT_EQ(s.value(QStringLiteral("draws")).toInt(), 20);
    for (const char* test : {"uniformity", "bonusUniformity"}) {
        EXPECT_TRUE(s[QLatin1String(test)][QStringLiteral("p")].isNull()) << test;
        EXPECT_TRUE(s[QLatin1String(test)][QStringLiteral("pHolm")].isNull()) << test;
        EXPECT_EQ(s[QLatin1String(test)][QStringLiteral("df")].toInt(), 42) << test;
    }
    EXPECT_TRUE(s[QStringLiteral("consecutive")][QStringLiteral("p")].isDouble());
    EXPECT_TRUE(s[QStringLiteral("sum")][QStringLiteral("variance")].isDouble());
    EXPECT_LT(s.value(QStringLiteral("testsRun")).toInt(), 8);
    // No figure anywhere stands in as −1.
    const QByteArray text = QJsonDocument(s).toJson(QJsonDocument::Compact);
    EXPECT_FALSE(text.contains(":-1,") || text.contains(":-1}")) << text.toStdString();
}

TEST(StatsCommand, RefusesWhatItCannotUse)
{
    const CliRun extra = runInProcess({QStringLiteral("stats"), QStringLiteral("--db"), QStringLiteral("x.mdb"),
                                       QStringLiteral("frequency")});
    EXPECT_EQ(extra.exitCode, 2);
    const CliRun missing = runInProcess({QStringLiteral("stats"), QStringLiteral("--db"), QStringLiteral("/nonexistent/x.mdb")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_FALSE(missing.err.isEmpty());
}
