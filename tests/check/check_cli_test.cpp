// mirkano-cli check: the JSON of a ticket's wins over a real history file,
// and refused tickets.

#include "cli/cli.h"
#include "core/history/history_store.h"
#include "support/cli_run.h"
#include "support/fixtures.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using namespace mirkano;
using test::CliRun;
using test::runInProcess;

TEST(CheckCommand, PrintsTicketWinsAndCounts)
{
    test::TempDir dir;
    const QString db = dir.path(QStringLiteral("Mirkano.mdb"));
    saveHistory(db, test::makeHistory({
                        {1, {1, 2, 3, 4, 5, 6, 7}},
                        {2, {1, 2, 3, 4, 5, 10, 6}},
                        {3, {1, 2, 3, 10, 11, 12, 13}},
                        {4, {20, 21, 22, 23, 24, 25, 26}},
                    }));
    const CliRun r = runInProcess({QStringLiteral("check"), QStringLiteral("--db"), db, QStringLiteral("6,5,4,3,2,1")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject expected = QJsonDocument::fromJson(R"({
        "ticket": [1, 2, 3, 4, 5, 6],
        "wins": [{"draw": 3, "class": 5, "matches": 3, "bonus": false},
                 {"draw": 2, "class": 2, "matches": 5, "bonus": true},
                 {"draw": 1, "class": 1, "matches": 6, "bonus": false}],
        "counts": {"1": 1, "2": 1, "3": 0, "4": 0, "5": 1}})").object();
    EXPECT_EQ(QJsonDocument::fromJson(r.out).object(), expected) << r.out.toStdString();
}

TEST(CheckCommand, BadTicketIsAUsageErrorWithItsCause)
{
    test::TempDir dir;
    const QString db = dir.path(QStringLiteral("Mirkano.mdb"));
    saveHistory(db, test::makeHistory({{1, {1, 2, 3, 4, 5, 6, 7}}}));
    const struct {
        QStringList args;
        const char* message;
    } cases[] = {
        {{QStringLiteral("check"), QStringLiteral("--db"), db, QStringLiteral("1,2,3,4,5,5")}, "数字 5 が重複しています"},
        {{QStringLiteral("check"), QStringLiteral("--db"), db, QStringLiteral("1,2,3")}, "数字を6個入力してください"},
        {{QStringLiteral("check"), QStringLiteral("--db"), db}, "1,2,3,4,5,6"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(u' ').toStdString());
        const CliRun r = runInProcess(c.args);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.message))) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("mirkano-cli check --db FILE 1,2,3,4,5,6"))) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
    // A good ticket against a file that is not there is bad data.
    const CliRun missing = runInProcess({QStringLiteral("check"), QStringLiteral("--db"), dir.path(QStringLiteral("none.mdb")),
                                QStringLiteral("1,2,3,4,5,6")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.contains(QStringLiteral("none.mdb"))) << missing.err.toStdString();
}
