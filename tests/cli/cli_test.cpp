#include "cli/cli.h"
#include "core/history/history_csv.h"
#include "core/history/history_store.h"
#include "support/cli_run.h"
#include "support/fixtures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

#include <sstream>

#include <fcntl.h>
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

// Every usage error names the argument and the fault in Japanese, quotes at
// most the first 80 characters of what was typed, and prints the usage.
TEST(Cli, WrongUsageExitsWithTwoAndPrintsTheCommandsUsage)
{
    const QString db = QStringLiteral("x.mdb");
    const QString huge = QString(100'000, u'z');
    const QString cut = QString(80, u'z') + u'…';
    const struct {
        QStringList args;
        const char* usage;  // the usage printed: one command's line, or all of them
        QString message;
    } cases[] = {
        {{}, nullptr, QStringLiteral("コマンドを指定してください")},
        {{QStringLiteral("frobnicate")}, nullptr, QStringLiteral("コマンド「frobnicate」はありません")},
        {{huge}, nullptr, QStringLiteral("コマンド「%1」はありません").arg(cut)},
        {{QStringLiteral("import"), QStringLiteral("--csv"), kSample}, "mirkano-cli import --csv FILE --db FILE",
         QStringLiteral("オプション --db を指定してください")},
        {{QStringLiteral("tables"), QStringLiteral("--db")}, "mirkano-cli tables --db FILE",
         QStringLiteral("オプション --db の値がありません")},
        {{QStringLiteral("tables"), QStringLiteral("--db"), db, QStringLiteral("--csv"), kSample},
         "mirkano-cli tables --db FILE", QStringLiteral("コマンド tables にはオプション「--csv」がありません")},
        {{QStringLiteral("export"), QStringLiteral("--db"), db, QStringLiteral("extra")}, "mirkano-cli export --db FILE",
         QStringLiteral("余分な引数「extra」があります")},
        {{QStringLiteral("export"), QStringLiteral("--db"), huge}, "mirkano-cli export --db FILE",
         QStringLiteral("引数「%1」が長すぎます（4096 文字まで）").arg(cut)},
        {{QStringLiteral("sheet"), QStringLiteral("--db"), db, QStringLiteral("no-such-analysis")},
         "mirkano-cli sheet --db FILE ANALYSIS", QStringLiteral("分析「no-such-analysis」はありません。指定できる分析：frequency")},
        {{QStringLiteral("sheet"), QStringLiteral("--db"), db}, "mirkano-cli sheet --db FILE ANALYSIS",
         QStringLiteral("分析を 1 つ指定してください。")},
        {{QStringLiteral("sheet"), QStringLiteral("--db"), db, QStringLiteral("pull"), QStringLiteral("--reflect"), QStringLiteral("0")},
         "mirkano-cli sheet --db FILE ANALYSIS", QStringLiteral("--reflect は分析 prediction にだけ指定できます")},
        // An option the command does not take is refused, not ignored.
        {{QStringLiteral("sheet"), QStringLiteral("--db"), db, QStringLiteral("pull"), QStringLiteral("--verbose"), QStringLiteral("1")},
         "mirkano-cli sheet --db FILE ANALYSIS", QStringLiteral("コマンド sheet にはオプション「--verbose」がありません")},
        {{QStringLiteral("check"), QStringLiteral("--db"), db}, "mirkano-cli check --db FILE 1,2,3,4,5,6",
         QStringLiteral("6 つの数字をコンマで区切って 1 つの引数で指定してください（例：1,2,3,4,5,6）")},
        {{QStringLiteral("check"), QStringLiteral("--db"), db, QStringLiteral("1,2,3,4,5,") + huge.left(4000)},
         "mirkano-cli check --db FILE 1,2,3,4,5,6", QStringLiteral("6番目の「%1」は数字ではありません。").arg(cut)},
        {{QStringLiteral("backtest"), QStringLiteral("--db"), db, QStringLiteral("--from"), QStringLiteral("0")},
         "mirkano-cli backtest --db FILE", QStringLiteral("--from の「0」は 1～32767 の回数ではありません")},
        {{QStringLiteral("backtest"), QStringLiteral("--db"), db, QStringLiteral("--from"), huge.left(4000)},
         "mirkano-cli backtest --db FILE", QStringLiteral("--from の「%1」は 1～32767 の回数ではありません").arg(cut)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(u' ').left(100).toStdString());
        const CliRun r = runInProcess(c.args);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_TRUE(r.err.startsWith(QStringLiteral("mirkano-cli: ") + c.message)) << r.err.left(300).toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("使い方:"))) << r.err.toStdString();
        EXPECT_LT(r.err.size(), 1000);
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

// import --merge: new draws added with a summary on stdout; a conflict is
// refused (exit 1, the conflict on stderr, the file byte for byte) unless
// --prefer settles it; a wrong --prefer is wrong usage.
TEST(Cli, ImportMergeAddsNewDrawsAndSettlesConflictsOnlyWhenAsked)
{
    TempDir dir;
    const History full = test::sampleHistory();
    const QString db = dir.path(QStringLiteral("Mirkano.mdb"));
    saveHistory(db, History(full.begin(), full.begin() + 2000));
    const QString csv = dir.path(QStringLiteral("loto6.csv"));
    History changed = full;
    changed[0].numbers[6] = 1;  // draw 1's bonus differs: 2 8 10 13 27 30 + 1
    {
        QFile f(csv);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(historyToCsv(changed));
    }
    auto import = [&](QStringList extra) {
        return runInProcess(QStringList{QStringLiteral("import"), QStringLiteral("--csv"), csv, QStringLiteral("--db"), db,
                                        QStringLiteral("--merge")}
                            + extra);
    };
    const QByteArray before = readAll(db);
    const CliRun refused = import({});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("第1回　手元 2 8 10 13 27 30 + 39　取り込み 2 8 10 13 27 30 + 1")))
        << refused.err.toStdString();
    EXPECT_TRUE(refused.out.isEmpty());
    EXPECT_EQ(readAll(db), before);

    for (const QStringList& wrong : {QStringList{QStringLiteral("--prefer"), QStringLiteral("yours")},
                                     QStringList{QStringLiteral("--force")}}) {
        EXPECT_EQ(import(wrong).exitCode, 2);
        EXPECT_EQ(readAll(db), before);
    }

    const CliRun mine = import({QStringLiteral("--prefer"), QStringLiteral("mine")});
    EXPECT_EQ(mine.exitCode, 0) << mine.err.toStdString();
    EXPECT_EQ(mine.out, QByteArray("追加 137回、同じ 1999回、補完 0回、食い違い 1回（1回は手元の数字のままです）\n"));
    EXPECT_EQ(loadHistory(db), full);

    const CliRun theirs = import({QStringLiteral("--prefer"), QStringLiteral("theirs")});
    EXPECT_EQ(theirs.exitCode, 0) << theirs.err.toStdString();
    EXPECT_EQ(loadHistory(db), changed);
    // Nothing new: a summary, the file untouched.
    const QByteArray merged = readAll(db);
    const CliRun again = import({});
    EXPECT_EQ(again.exitCode, 0);
    EXPECT_EQ(again.out, QByteArray("追加 0回、同じ 2137回、補完 0回、食い違い 0回\n"));
    EXPECT_EQ(readAll(db), merged);
}

// A result that does not reach standard output (a full disk, a file size
// limit, a closed stream) ends in a message naming the cause and exit code 1,
// in every command that prints one; nothing is written anywhere else.
TEST(Cli, FailedWritesToStandardOutputEndInAMessageAndExitOne)
{
    TempDir dir;
    const QString db = dir.path(QStringLiteral("Mirkano.mdb"));
    History first30 = test::sampleHistory();
    first30.resize(30);
    saveHistory(db, first30);
    const QList<QStringList> commands = {
        {QStringLiteral("export"), QStringLiteral("--db"), db},
        {QStringLiteral("tables"), QStringLiteral("--db"), db},
        {QStringLiteral("sheet"), QStringLiteral("--db"), db, QStringLiteral("count-groups")},
        {QStringLiteral("sheet"), QStringLiteral("--db"), db, QStringLiteral("prediction"), QStringLiteral("--reflect"), QStringLiteral("0,3")},
        {QStringLiteral("check"), QStringLiteral("--db"), db, QStringLiteral("1,2,3,4,5,6")},
        {QStringLiteral("backtest"), QStringLiteral("--db"), db},
    };
    const QString full = QStringLiteral("mirkano-cli: 標準出力（/dev/full）に書き込めません：ディスクがいっぱいです。出力は不完全です。\n");
    for (const QStringList& args : commands) {
        SCOPED_TRACE(args.join(u' ').toStdString());
        // In-process, through the program's own output buffer.
        {
            const int fd = ::open("/dev/full", O_WRONLY | O_CLOEXEC);
            ASSERT_GE(fd, 0);
            std::ostringstream err;
            int code = -1;
            {
                cli::FdStreamBuf buffer(fd);
                std::ostream out(&buffer);
                cli::Streams streams{out, err};
                code = cli::runCli(args, streams);
            }
            ::close(fd);
            EXPECT_EQ(code, 1);
            EXPECT_EQ(QString::fromStdString(err.str()), full);
        }
        // The program with its standard output on /dev/full.
        QProcess p;
        p.setStandardOutputFile(QStringLiteral("/dev/full"));
        p.start(QStringLiteral(MIRKANO_CLI), args);
        ASSERT_TRUE(p.waitForFinished(60000));
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(p.exitCode(), 1);
        EXPECT_EQ(QString::fromUtf8(p.readAllStandardError()), full);
    }

    // The whole history into a file that may grow to 20 blocks: the history
    // does not fit, only its start is written, and the run says so.
    saveHistory(db, test::sampleHistory());
    const QString partial = dir.path(QStringLiteral("backup.csv"));
    const auto shell = [&](const QString& script) {
        QProcess p;
        p.start(QStringLiteral("sh"), {QStringLiteral("-c"), script, QStringLiteral(MIRKANO_CLI), QStringLiteral("export"),
                                       QStringLiteral("--db"), db});
        CliRun r;
        if (p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit) {
            r.exitCode = p.exitCode();
            r.err = QString::fromUtf8(p.readAllStandardError());
        }
        return r;
    };
    const CliRun cut = shell(QStringLiteral("trap '' XFSZ; ulimit -f 20; exec \"$0\" \"$@\" > '%1'").arg(partial));
    EXPECT_EQ(cut.exitCode, 1);
    EXPECT_EQ(cut.err, QStringLiteral("mirkano-cli: 標準出力（%1）に書き込めません：ファイルの大きさが書き込める上限を超えました。出力は不完全です。\n")
                           .arg(partial));
    const qint64 written = QFileInfo(partial).size();
    EXPECT_GT(written, 0);
    EXPECT_LT(written, historyToCsv(test::sampleHistory()).size());

    // A closed standard output: the history file, opened meanwhile, must not
    // take its place and receive the CSV.
    const QByteArray whole = readAll(db);
    const CliRun closed = shell(QStringLiteral("exec \"$0\" \"$@\" >&-"));
    EXPECT_EQ(closed.exitCode, 1);
    EXPECT_EQ(closed.err, QStringLiteral("mirkano-cli: 標準出力に書き込めません：出力先が閉じられています。出力は不完全です。\n"));
    EXPECT_EQ(readAll(db), whole);
}

// A history or CSV that cannot be opened is reported with the system's cause:
// a missing file, a link that points back to itself, a file without the
// permission to read it.
TEST(Cli, UnopenableFilesAreReportedWithTheirCause)
{
    TempDir dir;
    const QString loop = dir.path(QStringLiteral("loop.mdb"));
    ASSERT_TRUE(QFile::link(loop, loop));
    const QString missing = dir.path(QStringLiteral("none.mdb"));
    const struct {
        QString path;
        const char* cause;
    } cases[] = {{missing, "ファイルがありません"}, {loop, "シンボリックリンクが循環しています"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cause);
        const CliRun history = runInProcess({QStringLiteral("tables"), QStringLiteral("--db"), c.path});
        EXPECT_EQ(history.exitCode, 1);
        EXPECT_EQ(history.err, QStringLiteral("mirkano-cli: 履歴ファイル「%1」を開けません：%2\n").arg(c.path, QString::fromUtf8(c.cause)));
        const CliRun csv = runInProcess({QStringLiteral("import"), QStringLiteral("--csv"), c.path, QStringLiteral("--db"),
                                         dir.path(QStringLiteral("new.mdb"))});
        EXPECT_EQ(csv.exitCode, 1);
        EXPECT_EQ(csv.err, QStringLiteral("mirkano-cli: CSV「%1」を開けません：%2\n").arg(c.path, QString::fromUtf8(c.cause)));
    }

    // No permission to read. The superuser reads any file: the program then
    // runs as the unprivileged user "nobody".
    const QString locked = dir.path(QStringLiteral("Mirkano.mdb"));
    saveHistory(locked, test::makeHistory({{1, {1, 2, 3, 4, 5, 6, 7}}}));
    ASSERT_TRUE(QFile::setPermissions(locked, QFileDevice::WriteOwner));
    CliRun unreadable;
    if (::geteuid() != 0) {
        unreadable = runInProcess({QStringLiteral("tables"), QStringLiteral("--db"), locked});
    } else {
        ASSERT_TRUE(QFile::setPermissions(dir.path(QString()), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                                                                QFileDevice::ReadOther | QFileDevice::ExeOther));
        QProcess p;
        p.start(QStringLiteral("setpriv"), {QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"), QStringLiteral("--clear-groups"),
                                            QStringLiteral(MIRKANO_CLI), QStringLiteral("tables"), QStringLiteral("--db"), locked});
        if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit)
            GTEST_SKIP() << "cannot run the program as another user";
        unreadable.exitCode = p.exitCode();
        unreadable.err = QString::fromUtf8(p.readAllStandardError());
    }
    EXPECT_EQ(unreadable.exitCode, 1);
    EXPECT_EQ(unreadable.err, QStringLiteral("mirkano-cli: 履歴ファイル「%1」を開けません：読み取る権限がありません\n").arg(locked));
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

// The tool loads the update from its module only when the update runs: the
// download really starts through it, and a tool without its module says so
// in words while every other command works as before.
TEST(Cli, TheUpdateRunsFromItsModule)
{
    TempDir dir;
    const QString db = dir.path(QStringLiteral("Mirkano.mdb"));
    ASSERT_EQ(runInProcess({QStringLiteral("import"), QStringLiteral("--csv"), kSample, QStringLiteral("--db"), db}).exitCode, 0);
    const auto run = [&](const QString& tool, const QStringList& args) {
        QProcess p;
        p.start(tool, args);
        EXPECT_TRUE(p.waitForFinished(60000));
        return std::pair{p.exitCode(), QString::fromUtf8(p.readAllStandardError())};
    };
    const QStringList update{QStringLiteral("update"), QStringLiteral("--db"), db, QStringLiteral("--server"),
                             QStringLiteral("http://127.0.0.1:1/")};
    const auto [code, err] = run(QStringLiteral(MIRKANO_CLI), update);
    EXPECT_EQ(code, 1);
    EXPECT_TRUE(err.contains(QStringLiteral("サーバーが接続を拒否しました"))) << err.toStdString();

    const QString alone = dir.path(QStringLiteral("mirkano-cli"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(MIRKANO_CLI), alone));
    const auto [missingCode, missingErr] = run(alone, update);
    EXPECT_EQ(missingCode, 1);
    EXPECT_TRUE(missingErr.startsWith(QStringLiteral("mirkano-cli: 最新化の機能「%1」を読み込めません：")
                                          .arg(dir.path(QStringLiteral("mirkano-cli-update.so")))))
        << missingErr.toStdString();
    EXPECT_EQ(run(alone, {QStringLiteral("tables"), QStringLiteral("--db"), db}).first, 0);
}
