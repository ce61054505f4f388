// help, --help, -h, COMMAND --help and --version: what they print, that they
// succeed, and that the help names only what the tool accepts.

#include "cli/cli.h"
#include "core/analysis/analysis.h"
#include "core/version.h"
#include "support/cli_run.h"
#include "support/fixtures.h"

#include <QFileInfo>

#include <gtest/gtest.h>

using namespace mirkano;
using test::CliRun;
using test::runInProcess;

TEST(CliHelp, HelpNamesEveryCommandAnalysisAndGameOnStandardOutput)
{
    for (const QString& name : {QStringLiteral("help"), QStringLiteral("--help"), QStringLiteral("-h")}) {
        SCOPED_TRACE(name.toStdString());
        const CliRun r = runInProcess({name});
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
        const QString out = QString::fromUtf8(r.out);
        for (const cli::CliCommand& c : cli::cliCommands())
            EXPECT_TRUE(out.contains(QString::fromUtf8(c.usage))) << c.name;
        for (const Game& g : games()) {
            for (const Analysis& an : analyses(g.id))
                EXPECT_TRUE(out.contains(QStringLiteral("  %1 ").arg(QString::fromLatin1(an.id)))) << an.id;
            EXPECT_TRUE(out.contains(QStringLiteral("check --db %1 %2").arg(g.historyFile, cli::ticketExample(g))))
                << g.cliName.toString().toStdString();
        }
        EXPECT_TRUE(out.contains(QStringLiteral("  prediction ")));
    }
}

// Each game's example, as the help prints it, is a ticket check accepts.
TEST(CliHelp, EveryTicketExampleIsAcceptedByCheck)
{
    test::TempDir dir;
    for (const Game& g : games()) {
        SCOPED_TRACE(g.cliName.toString().toStdString());
        const QString db = dir.path(g.historyFile.toString());
        ASSERT_EQ(runInProcess({QStringLiteral("import"), QStringLiteral("--csv"), test::sampleCsvPath(g.id),
                                QStringLiteral("--db"), db, QStringLiteral("--game"), g.cliName.toString()})
                      .exitCode,
                  0);
        const CliRun r = runInProcess({QStringLiteral("check"), QStringLiteral("--db"), db, cli::ticketExample(g)});
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_EQ(cli::ticketExample(g).split(u',').size(), g.mains);
    }
}

// COMMAND --help, COMMAND -h and help COMMAND print that command's usage and do
// nothing else, whatever else is on the line; help of a command that does not
// exist is wrong usage.
TEST(CliHelp, CommandHelpPrintsItsUsageAndRunsNothing)
{
    test::TempDir dir;
    const QString db = dir.path(QStringLiteral("new.mdb"));
    const QString csv = test::sampleCsvPath(GameId::Loto6);
    const struct {
        QStringList args;
        const char* usage;
        const char* also;  // a further section the command's help shows
    } cases[] = {
        {{QStringLiteral("import"), QStringLiteral("--csv"), csv, QStringLiteral("--db"), db, QStringLiteral("--help")},
         "mirkano-cli import --csv FILE", nullptr},
        {{QStringLiteral("sheet"), QStringLiteral("-h")}, "mirkano-cli sheet --db FILE ANALYSIS", "ANALYSIS（sheet の分析）:\n  frequency"},
        {{QStringLiteral("help"), QStringLiteral("check")}, "mirkano-cli check --db FILE", "券の例（check）:"},
        {{QStringLiteral("update"), QStringLiteral("--bogus"), QStringLiteral("--help")}, "mirkano-cli update --db FILE", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(u' ').toStdString());
        const CliRun r = runInProcess(c.args);
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        const QString out = QString::fromUtf8(r.out);
        EXPECT_TRUE(out.startsWith(QStringLiteral("使い方:\n  ") + QString::fromUtf8(c.usage))) << r.out.toStdString();
        for (const cli::CliCommand& other : cli::cliCommands())
            EXPECT_EQ(out.contains(QString::fromUtf8(other.usage)), QByteArray(other.usage).startsWith(c.usage)) << other.name;
        if (c.also) {
            EXPECT_TRUE(out.contains(QString::fromUtf8(c.also))) << r.out.toStdString();
        }
    }
    EXPECT_FALSE(QFileInfo::exists(db)) << "the import ran";

    const CliRun unknown = runInProcess({QStringLiteral("help"), QStringLiteral("nope")});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_TRUE(unknown.err.startsWith(QStringLiteral("mirkano-cli: コマンド「nope」はありません"))) << unknown.err.toStdString();
    EXPECT_TRUE(unknown.out.isEmpty());
}

TEST(CliHelp, VersionIsTheVersionWindowsAndTakesNoArguments)
{
    const CliRun r = runInProcess({QStringLiteral("--version")});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(QString::fromUtf8(r.out), QStringLiteral("mirkano-cli（ミルカノ） Ver3.60\n"));
    EXPECT_EQ(QString::fromUtf16(kVersionText), QStringLiteral("Ver3.60"));

    const CliRun extra = runInProcess({QStringLiteral("--version"), QStringLiteral("x")});
    EXPECT_EQ(extra.exitCode, 2);
    EXPECT_TRUE(extra.out.isEmpty());
}

// A usage error without a command keeps to the command lines and points at --help.
TEST(CliHelp, UsageErrorPointsAtTheFullHelp)
{
    const CliRun r = runInProcess({QStringLiteral("frobnicate")});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains(QStringLiteral("詳しくは mirkano-cli --help"))) << r.err.toStdString();
    EXPECT_FALSE(r.err.contains(QStringLiteral("券の例")));
    EXPECT_TRUE(r.out.isEmpty());
}
