#include "core/game/game.h"
#include "core/game/game_files.h"

#include "support/fixtures.h"

#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

#include <gtest/gtest.h>

using namespace mirkano;

// The published odds of every game, exactly, and classes that cover each
// outcome at most once.
TEST(Game, PrizeOddsAreExact)
{
    const Game& loto6 = game(GameId::Loto6);
    const Game& loto7 = game(GameId::Loto7);
    const Game& mini = game(GameId::MiniLoto);
    // Loto 6: 1等 1/6,096,454, 2等 6/6,096,454; Loto 7: 1等 1/10,295,472; Mini: 1等 1/169,911, 2等 5/169,911.
    EXPECT_EQ(loto6.outcomes() / loto6.prizeOutcomes(1), 6'096'454u);
    EXPECT_EQ(loto6.prizeOutcomes(2) * 6'096'454u, loto6.outcomes() * 6);
    EXPECT_EQ(loto7.outcomes() / loto7.prizeOutcomes(1), 10'295'472u);
    EXPECT_EQ(mini.outcomes() / mini.prizeOutcomes(1), 169'911u);
    EXPECT_EQ(mini.prizeOutcomes(2) * 169'911u, mini.outcomes() * 5);
    // Loto 7 6等: three mains and one or both bonuses among the other four
    // numbers of the ticket, 35·(C(30,4) − C(28,4)) / C(37,7).
    EXPECT_DOUBLE_EQ(loto7.prizeProbability(6),
                     double(35 * (choose(30, 4) - choose(28, 4))) / double(choose(37, 7)));
    EXPECT_EQ(choose(37, 7), 10'295'472u);
    // Every (main, bonus) match pair falls in at most one class, and the
    // classes' chances add up to at most 1.
    for (const Game& g : games()) {
        SCOPED_TRACE(g.cliName.toString().toStdString());
        double sum = 0;
        for (int c = 1; c <= g.prizeClassCount(); ++c)
            sum += g.prizeProbability(c);
        EXPECT_GT(sum, 0.0);
        EXPECT_LT(sum, 1.0);
        for (int m = 0; m <= g.mains; ++m)
            for (int b = 0; b <= g.bonuses; ++b) {
                int classes = 0;
                for (int c = 1; c <= g.prizeClassCount(); ++c)
                    classes += g.prizeClassOf(m, b) == c;
                EXPECT_LE(classes, 1);
            }
    }
}

TEST(Game, FactsOfEachGame)
{
    struct Case {
        GameId id;
        const char16_t* name;
        int pool, mains, bonuses, classes, split;
    };
    for (const Case& c : {Case{GameId::Loto6, u"ロト6", 43, 6, 1, 5, 21}, Case{GameId::Loto7, u"ロト7", 37, 7, 2, 6, 18},
                          Case{GameId::MiniLoto, u"ミニロト", 31, 5, 1, 4, 15}}) {
        const Game& g = game(c.id);
        EXPECT_EQ(g.name, QStringView(c.name));
        EXPECT_EQ(g.pool, c.pool);
        EXPECT_EQ(g.mains, c.mains);
        EXPECT_EQ(g.bonuses, c.bonuses);
        EXPECT_EQ(g.prizeClassCount(), c.classes);
        EXPECT_EQ(g.lowHighSplit(), c.split);
        EXPECT_EQ(gameByCliName(g.cliName), c.id);
    }
    EXPECT_EQ(game(GameId::Loto6).historyFile, u"Mirkano.mdb");
    EXPECT_EQ(game(GameId::Loto6).settingsFile, u"ミルカノ.ini");
    EXPECT_FALSE(gameByCliName(u"loto5"));
    // Loto 6's classes as the ticket check has always paid them.
    const Game& loto6 = game(GameId::Loto6);
    EXPECT_EQ(loto6.prizeClassOf(6, 0), 1);
    EXPECT_EQ(loto6.prizeClassOf(5, 1), 2);
    EXPECT_EQ(loto6.prizeClassOf(5, 0), 3);
    EXPECT_EQ(loto6.prizeClassOf(4, 1), 4);
    EXPECT_EQ(loto6.prizeClassOf(3, 0), 5);
    EXPECT_EQ(loto6.prizeClassOf(2, 1), 0);
    // Loto 7: three mains win only with a bonus.
    EXPECT_EQ(game(GameId::Loto7).prizeClassOf(3, 0), 0);
    EXPECT_EQ(game(GameId::Loto7).prizeClassOf(3, 2), 6);
}

TEST(LastGame, IsRememberedBesideTheHistoriesAndFallsBackToLoto6)
{
    test::TempDir dir;
    const QString folder = QFileInfo(dir.path(QStringLiteral("x"))).absolutePath();
    EXPECT_EQ(gameHistoryPath(folder, GameId::Loto7), dir.path(QStringLiteral("Mirkano7.mdb")));
    EXPECT_EQ(gameSettingsPath(folder, GameId::MiniLoto), dir.path(QStringLiteral("ミルカノミニ.ini")));
    EXPECT_EQ(readLastGame(folder), GameId::Loto6);  // nothing recorded yet
    EXPECT_EQ(writeLastGame(folder, GameId::MiniLoto), QString());
    EXPECT_EQ(readLastGame(folder), GameId::MiniLoto);
    const QString record = dir.path(kLastGameFileName);
    // A record nobody can use, or a pipe that would block a plain read, is Loto 6.
    for (const QByteArray& bytes : {QByteArray("loto5\n"), QByteArray(), QByteArray(100000, 'x')}) {
        QFile f(record);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
        f.close();
        EXPECT_EQ(readLastGame(folder), GameId::Loto6) << bytes.left(8).constData();
    }
    QFile::remove(record);
    ASSERT_EQ(mkfifo(QFile::encodeName(record).constData(), 0600), 0);
    EXPECT_EQ(readLastGame(folder), GameId::Loto6);
    // A record that cannot be replaced leaves the old one, with the cause.
    EXPECT_FALSE(writeLastGame(folder, GameId::Loto7).isEmpty());
}
