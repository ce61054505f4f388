// The sheet command for the prediction: the four sheets for the options
// given, and the usage errors of a bad option list.

#include "cli/cli.h"
#include "core/predict/prediction_sheets.h"
#include "core/sheet/sheet_json.h"
#include "core/history/history_store.h"
#include "core/history/startup_tables.h"
#include "support/cli_run.h"
#include "predict/game_samples.h"
#include "support/fixtures.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using namespace mirkano;
using test::CliRun;
using test::runInProcess;
using test::TempDir;

namespace {

class PredictionCli : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_dir = new TempDir;
        s_db = s_dir->path(QStringLiteral("Mirkano.mdb"));
        saveHistory(s_db, test::sampleHistory());
    }
    static void TearDownTestSuite() { delete s_dir; }

    static QStringList args(QStringList extra)
    {
        return QStringList{QStringLiteral("sheet"), QStringLiteral("--db"), s_db} + extra;
    }

    static TempDir* s_dir;
    static QString s_db;
};

TempDir* PredictionCli::s_dir = nullptr;
QString PredictionCli::s_db;

}  // namespace

TEST_F(PredictionCli, PrintsTheFourSheetsForTheOptionsGiven)
{
    const History h = test::sampleHistory();
    const PeriodTables t = buildPeriodTables(h);
    for (const auto& [list, flags] : {std::pair{QString(), ReflectFlags{}},
                                      std::pair{QStringLiteral("0,3"), ReflectFlags{{true, false, false, true}}},
                                      std::pair{QStringLiteral("11,11"), ReflectFlags{{false, false, false, false, false, false,
                                                                                       false, false, false, false, false, true}}}}) {
        SCOPED_TRACE(list.toStdString());
        QStringList extra{QStringLiteral("prediction")};
        if (!list.isNull())
            extra << QStringLiteral("--reflect") << list;
        const CliRun r = runInProcess(args(extra));
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        const QJsonObject out = QJsonDocument::fromJson(r.out).object();
        EXPECT_EQ(out.value(QStringLiteral("analysis")).toString(), QStringLiteral("prediction"));
        EXPECT_EQ(out.value(QStringLiteral("caption")).toString(), QStringLiteral("一発ミルカノ予想"));
        const PredictionSheets expected = buildPredictionSheets(t, predict(t, 2137, flags));
        const QJsonArray sheets = out.value(QStringLiteral("sheets")).toArray();
        ASSERT_EQ(sheets.size(), 4);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(sheets[i].toObject(), sheetToJson(expected[std::size_t(i)])) << i;
    }
    // Sheet 3 with options 0 and 3 on, as the window shows it.
    const QJsonArray cells = QJsonDocument::fromJson(runInProcess(args({QStringLiteral("prediction"), QStringLiteral("--reflect"),
                                                                 QStringLiteral("3,0")})).out)
                                 .object()[QStringLiteral("sheets")][3][QStringLiteral("cells")]
                                 .toArray();
    QStringList row2;
    for (const auto& c : cells)
        if (c[QStringLiteral("row")].toInt() == 2 && c[QStringLiteral("col")].toInt() >= 2)
            row2 << c[QStringLiteral("text")].toString();
    EXPECT_EQ(row2.join(QLatin1Char(',')), QStringLiteral("18,35,42,24,3,28"));
}

TEST_F(PredictionCli, BadOptionListIsAUsageErrorNamingTheItem)
{
    const struct {
        const char* list;
        const char* bad;
    } cases[] = {
        {"12", "12"}, {"-1", "-1"}, {"a", "a"}, {"0,,3", ""}, {"1,2,x", "x"},
        {" 1", " 1"}, {"0x1", "0x1"}, {"99999999999", "99999999999"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.list);
        const CliRun r = runInProcess(args({QStringLiteral("prediction"), QStringLiteral("--reflect"), QString::fromUtf8(c.list)}));
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_TRUE(r.err.contains(QStringLiteral("--reflect の「%1」は 0～11 のオプション番号ではありません").arg(QString::fromUtf8(c.bad))))
            << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("mirkano-cli sheet --db FILE ANALYSIS [--reflect 0,3,...]")));
    }
    // --reflect belongs to the prediction only.
    EXPECT_EQ(runInProcess(args({QStringLiteral("pull"), QStringLiteral("--reflect"), QStringLiteral("0")})).exitCode, 2);
}

TEST(PredictionCliGames, EachGamesSheetsFromItsFile)
{
    // The sheets of the file's game, with or without --game.
    for (const GameId id : {GameId::Loto7, GameId::MiniLoto}) {
        const Game& g = game(id);
        SCOPED_TRACE(g.cliName.toString().toStdString());
        TempDir dir;
        const QString db = dir.path(g.historyFile.toString());
        const History& h = test::gameSample(id);
        if (!test::saveGameFile(db, h, id))
            GTEST_SKIP() << "the history file does not keep this game's history yet";
        const PeriodTables t = buildPeriodTables(h, id);
        const PredictionSheets expected = buildPredictionSheets(t, predict(t, h.back().drawNo, {}));
        for (const QStringList& extra : {QStringList{}, QStringList{"--game", g.cliName.toString()}}) {
            const CliRun r = runInProcess(QStringList{QStringLiteral("sheet"), QStringLiteral("--db"), db,
                                                      QStringLiteral("prediction")} + extra);
            ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
            const QJsonArray sheets = QJsonDocument::fromJson(r.out).object().value(QStringLiteral("sheets")).toArray();
            ASSERT_EQ(sheets.size(), 4);
            for (int i = 0; i < 4; ++i)
                EXPECT_EQ(sheets[i].toObject(), sheetToJson(expected[std::size_t(i)])) << i;
        }
    }
}
