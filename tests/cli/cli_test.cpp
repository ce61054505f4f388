#include "cli/cli.h"
#include "core/shell/history_csv.h"
#include "support/cli_run.h"
#include "support/fixtures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace mirkano;
using test::CliRun;
using test::runInProcess;
using test::TempDir;

#if defined(__SANITIZE_ADDRESS__)
#  define MIRKANO_ADDRESS_SANITIZER
#elif defined(__has_feature)
#  if __has_feature(address_sanitizer)
#    define MIRKANO_ADDRESS_SANITIZER
#  endif
#endif

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

const QString kSample = QStringLiteral(MIRKANO_SAMPLE_CSV);

}  // namespace

TEST(Cli, ImportThenTablesExportAndSheet)
{
    TempDir dir;
    const QString db = dir.path(QStringLiteral("Mirkano.mdb"));
    const CliRun imported = runInProcess({QStringLiteral("import"), QStringLiteral("--csv"), kSample, QStringLiteral("--db"), db});
    ASSERT_EQ(imported.exitCode, 0) << imported.err.toStdString();

    const CliRun tables = runInProcess({QStringLiteral("tables"), QStringLiteral("--db"), db});
    ASSERT_EQ(tables.exitCode, 0) << tables.err.toStdString();
    const QJsonObject t = QJsonDocument::fromJson(tables.out).object();
    int sum = 0;
    for (const auto& v : t.value(QStringLiteral("NumberCount")).toObject())
        sum += v.toInt();
    EXPECT_EQ(sum, 7 * 2137);
    EXPECT_EQ(t.value(QStringLiteral("LatestDrawNo")).toInt(), 2137);

    const CliRun exported = runInProcess({QStringLiteral("export"), QStringLiteral("--db"), db});
    ASSERT_EQ(exported.exitCode, 0);
    EXPECT_EQ(exported.out, historyToCsv(test::sampleHistory()));

    const CliRun sheet = runInProcess({QStringLiteral("sheet"), QStringLiteral("--db"), db, QStringLiteral("count-groups")});
    ASSERT_EQ(sheet.exitCode, 0) << sheet.err.toStdString();
    EXPECT_EQ(QJsonDocument::fromJson(sheet.out).object().value(QStringLiteral("analysis")).toString(),
              QStringLiteral("count-groups"));
}

TEST(Cli, BadCsvStopsTheImportAndChangesNothing)
{
    TempDir dir;
    const QString csv = dir.path(QStringLiteral("bad.csv"));
    {
        QFile f(csv);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("回数,第1数字,第2数字,第3数字,第4数字,第5数字,第6数字,ボーナス数字\n"
                "1,2,8,10,13,27,30,39\n"
                "2,1,9,16,20,21,43,99\n");
    }
    const QString fresh = dir.path(QStringLiteral("new.mdb"));
    const CliRun r = runInProcess({QStringLiteral("import"), QStringLiteral("--csv"), csv, QStringLiteral("--db"), fresh});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("3行目：ボーナス数字 99 が 1～43 の範囲外です"))) << r.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(fresh));

    const QString existing = dir.path(QStringLiteral("Mirkano.mdb"));
    ASSERT_EQ(runInProcess({QStringLiteral("import"), QStringLiteral("--csv"), kSample, QStringLiteral("--db"), existing}).exitCode, 0);
    const QByteArray before = readAll(existing);
    EXPECT_EQ(runInProcess({QStringLiteral("import"), QStringLiteral("--csv"), csv, QStringLiteral("--db"), existing}).exitCode, 1);
    EXPECT_EQ(readAll(existing), before);

    // A history that cannot be read is bad data too.
    EXPECT_EQ(runInProcess({QStringLiteral("tables"), QStringLiteral("--db"), csv}).exitCode, 1);
}

TEST(Cli, WrongUsageExitsWithTwoAndPrintsTheCommandsUsage)
{
    const struct {
        QStringList args;
        const char* usage;  // the usage printed: one command's line, or all of them
    } cases[] = {
        {{}, nullptr},
        {{QStringLiteral("frobnicate")}, nullptr},
        {{QStringLiteral("import"), QStringLiteral("--csv"), kSample}, "mirkano-cli import --csv FILE --db FILE"},
        {{QStringLiteral("tables"), QStringLiteral("--db")}, "mirkano-cli tables --db FILE"},
        {{QStringLiteral("tables"), QStringLiteral("--db"), QStringLiteral("x.mdb"), QStringLiteral("--csv"), kSample},
         "mirkano-cli tables --db FILE"},
        {{QStringLiteral("export"), QStringLiteral("--db"), QStringLiteral("x.mdb"), QStringLiteral("extra")},
         "mirkano-cli export --db FILE"},
        {{QStringLiteral("sheet"), QStringLiteral("--db"), QStringLiteral("x.mdb"), QStringLiteral("no-such-analysis")},
         "mirkano-cli sheet --db FILE ANALYSIS"},
        // An option the command does not take is refused, not ignored.
        {{QStringLiteral("sheet"), QStringLiteral("--db"), QStringLiteral("x.mdb"), QStringLiteral("pull"),
          QStringLiteral("--verbose"), QStringLiteral("1")},
         "mirkano-cli sheet --db FILE ANALYSIS"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(u' ').toStdString());
        const CliRun r = runInProcess(c.args);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_TRUE(r.err.contains(QStringLiteral("usage:"))) << r.err.toStdString();
        if (c.usage) {
            EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.usage))) << r.err.toStdString();
            EXPECT_EQ(r.err.count(QStringLiteral("mirkano-cli ")), 1) << "only the command's own line";
        } else {
            for (const mirkano::cli::CliCommand& command : mirkano::cli::cliCommands())
                EXPECT_TRUE(r.err.contains(QString::fromUtf8(command.usage))) << command.name;
        }
        EXPECT_TRUE(r.out.isEmpty());
    }
}

TEST(Cli, ImportNeverWritesOverItsOwnCsv)
{
    TempDir dir;
    const QString csv = dir.path(QStringLiteral("loto6.csv"));
    ASSERT_TRUE(QFile::copy(kSample, csv));
    const QString symlink = dir.path(QStringLiteral("link.mdb"));
    const QString hardlink = dir.path(QStringLiteral("hard.mdb"));
    ASSERT_TRUE(QFile::link(csv, symlink));
    ASSERT_EQ(::link(QFile::encodeName(csv).constData(), QFile::encodeName(hardlink).constData()), 0);
    const QByteArray before = readAll(csv);
    for (const QString& db : {csv, symlink, hardlink, dir.path(QStringLiteral("./loto6.csv"))}) {
        SCOPED_TRACE(db.toStdString());
        const CliRun r = runInProcess({QStringLiteral("import"), QStringLiteral("--csv"), csv, QStringLiteral("--db"), db});
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_TRUE(r.err.contains(QStringLiteral("--csv と --db が同じファイル「%1」を指しています").arg(db))) << r.err.toStdString();
        EXPECT_EQ(readAll(csv), before);
    }
    EXPECT_EQ(QDir(dir.path(QString())).entryList(QDir::Files | QDir::Hidden | QDir::System).size(), 3);
}

// Input far larger than any history is refused with a message; running out of
// memory anyway ends in a message and exit code 1, not an abort.
TEST(Cli, OversizeInputEndsInAMessage)
{
    TempDir dir;
    const CliRun zero = runInProcess({QStringLiteral("import"), QStringLiteral("--csv"), QStringLiteral("/dev/zero"),
                                      QStringLiteral("--db"), dir.path(QStringLiteral("Mirkano.mdb"))});
    EXPECT_EQ(zero.exitCode, 1);
    EXPECT_EQ(zero.err, QStringLiteral("mirkano-cli: CSV「/dev/zero」を開けません：デバイスで、通常のファイルではありません\n"));

#ifdef MIRKANO_ADDRESS_SANITIZER
    GTEST_SKIP() << "a memory limit does not go with the address sanitizer";
#endif
    // A wide CSV within the size limit, read by the program under a small memory limit.
    const QString wide = dir.path(QStringLiteral("wide.csv"));
    {
        QFile f(wide);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("回数,第1数字,第2数字,第3数字,第4数字,第5数字,第6数字,ボーナス数字,備考\n1,1,2,3,4,5,6,7,");
        f.write(QByteArray(30 << 20, 'x'));
        f.write("\n");
    }
    QProcess p;
    p.start(QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral("ulimit -v 150000; exec \"$0\" \"$@\""),
                                   QStringLiteral(MIRKANO_CLI), QStringLiteral("import"), QStringLiteral("--csv"), wide,
                                   QStringLiteral("--db"), dir.path(QStringLiteral("wide.mdb"))});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 1);
    EXPECT_EQ(QString::fromUtf8(p.readAllStandardError()), QStringLiteral("mirkano-cli: メモリが不足したため処理を中止しました。\n"));
    EXPECT_FALSE(QFileInfo::exists(dir.path(QStringLiteral("wide.mdb"))));
}

// The installed program: exit codes and the two streams as a caller sees them.
TEST(Cli, ProgramExitCodes)
{
    TempDir dir;
    const QString db = dir.path(QStringLiteral("Mirkano.mdb"));
    const auto run = [](const QStringList& args) {
        QProcess p;
        p.start(QStringLiteral(MIRKANO_CLI), args);
        CliRun r;
        if (p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit) {
            r.exitCode = p.exitCode();
            r.out = p.readAllStandardOutput();
            r.err = QString::fromUtf8(p.readAllStandardError());
        }
        return r;
    };
    EXPECT_EQ(run({QStringLiteral("import"), QStringLiteral("--csv"), kSample, QStringLiteral("--db"), db}).exitCode, 0);
    const CliRun exported = run({QStringLiteral("export"), QStringLiteral("--db"), db});
    EXPECT_EQ(exported.exitCode, 0);
    EXPECT_EQ(exported.out, historyToCsv(test::sampleHistory()));
    const CliRun missing = run({QStringLiteral("export"), QStringLiteral("--db"), dir.path(QStringLiteral("none.mdb"))});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.contains(QStringLiteral("none.mdb"))) << missing.err.toStdString();
    EXPECT_EQ(run({QStringLiteral("nothing")}).exitCode, 2);
}

// Named pipes in place of the history or the CSV end at once in a message
// naming the file and the cause; before, each command waited for a writer
// for ever.
TEST(Cli, NamedPipesEndInAMessageAtOnce)
{
    TempDir dir;
    const QString pipe = dir.path(QStringLiteral("Mirkano.mdb"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0644), 0);
    const QString cause = QStringLiteral("名前付きパイプで、通常のファイルではありません");
    const struct {
        QStringList args;
        QString message;
    } cases[] = {
        {{QStringLiteral("export"), QStringLiteral("--db"), pipe}, QStringLiteral("履歴ファイル「%1」を開けません：%2").arg(pipe, cause)},
        {{QStringLiteral("tables"), QStringLiteral("--db"), pipe}, QStringLiteral("履歴ファイル「%1」を開けません：%2").arg(pipe, cause)},
        {{QStringLiteral("import"), QStringLiteral("--csv"), pipe, QStringLiteral("--db"), dir.path(QStringLiteral("new.mdb"))},
         QStringLiteral("CSV「%1」を開けません：%2").arg(pipe, cause)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(u' ').toStdString());
        QProcess p;
        p.start(QStringLiteral(MIRKANO_CLI), c.args);
        if (!p.waitForFinished(20000)) {
            p.kill();
            p.waitForFinished();
            ADD_FAILURE() << "still waiting after 20 s";
            continue;
        }
        EXPECT_EQ(p.exitCode(), 1);
        EXPECT_EQ(QString::fromUtf8(p.readAllStandardError()), QStringLiteral("mirkano-cli: ") + c.message + u'\n');
    }
    EXPECT_FALSE(QFileInfo::exists(dir.path(QStringLiteral("new.mdb"))));
}

// The CSV sent into the history itself ("export --db F >> F", also through a
// link) or into another history file would spoil it: refused, the file
// untouched. Into a CSV it goes as before.
TEST(Cli, ExportNeverWritesIntoAHistoryFile)
{
    TempDir dir;
    const QString db = dir.path(QStringLiteral("Mirkano.mdb"));
    ASSERT_EQ(runInProcess({QStringLiteral("import"), QStringLiteral("--csv"), kSample, QStringLiteral("--db"), db}).exitCode, 0);
    const QString other = dir.path(QStringLiteral("other.mdb"));
    ASSERT_TRUE(QFile::copy(db, other));
    const QString link = dir.path(QStringLiteral("link.csv"));
    ASSERT_EQ(::symlink(QFile::encodeName(db).constData(), QFile::encodeName(link).constData()), 0);
    const QByteArray before = readAll(db);
    const struct {
        QString out;
        QString shown;
        QString cause;
    } cases[] = {
        {db, db, QStringLiteral("ミルカノの履歴ファイルです。上書きすると当選データが失われます")},
        {link, db, QStringLiteral("ミルカノの履歴ファイルです。上書きすると当選データが失われます")},
        {other, other, QStringLiteral("履歴ファイルなどのデータベースで、CSV ではありません。上書きするとその中身が失われます")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.out.toStdString());
        QProcess p;
        p.setStandardOutputFile(c.out, QIODevice::Append);
        p.start(QStringLiteral(MIRKANO_CLI), {QStringLiteral("export"), QStringLiteral("--db"), db});
        ASSERT_TRUE(p.waitForFinished(60000));
        EXPECT_EQ(p.exitCode(), 1);
        EXPECT_EQ(QString::fromUtf8(p.readAllStandardError()),
                  QStringLiteral("mirkano-cli: CSV を「%1」に書き出せません：%2\n").arg(c.shown, c.cause));
        EXPECT_EQ(readAll(c.out), before);
    }

    const QString csv = dir.path(QStringLiteral("backup.csv"));
    QProcess p;
    p.setStandardOutputFile(csv);
    p.start(QStringLiteral(MIRKANO_CLI), {QStringLiteral("export"), QStringLiteral("--db"), link});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0);
    EXPECT_EQ(readAll(csv), historyToCsv(test::sampleHistory()));
}
