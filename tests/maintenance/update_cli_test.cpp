// mirkano-cli update against a real HTTP server on the loopback: 0 when the
// source was merged into the history (summary on stdout), 1 with the cause on
// stderr and the file untouched, 2 for wrong usage.

#include "cli/cli.h"
#include "core/history/history_csv.h"
#include "core/maintenance/history_update.h"
#include "maintenance/maintenance_support.h"
#include "support/cli_run.h"
#include "support/loopback_http.h"

#include <QEventLoop>
#include <QProcess>
#include <QTimer>

#include <gtest/gtest.h>

using namespace mirkano;
using namespace mirkano::test;

namespace {

// The installed program; the test's event loop keeps serving meanwhile.
CliRun program(const QStringList& args)
{
    QProcess p;
    QEventLoop loop;
    QObject::connect(&p, &QProcess::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(60'000, &loop, &QEventLoop::quit);
    p.start(QStringLiteral(MIRKANO_CLI), args);
    loop.exec();
    CliRun r;
    if (p.state() == QProcess::NotRunning && p.exitStatus() == QProcess::NormalExit) {
        r.exitCode = p.exitCode();
        r.err = QString::fromUtf8(p.readAllStandardError());
    }
    return r;
}

}  // namespace

TEST(UpdateCli, MergesTheSourceOrRefusesWithTheCauseAndTheFileUntouched)
{
    ensureCoreApplication();
    TempDir dir;
    const QString db = dir.path(QStringLiteral("Mirkano.mdb"));
    // The stored draw 1 differs from the real one (its bonus).
    const History full = sampleHistory();
    History mine{full[0]};
    mine[0].numbers[6] = 1;
    saveHistory(db, mine);
    const QByteArray old = fileBytes(db);
    const QByteArray good = historyBytes(dir, full);
    const auto args = [&](const QString& server) {
        return QStringList{QStringLiteral("update"), QStringLiteral("--db"), db, QStringLiteral("--server"), server};
    };

    LoopbackHttp http;
    for (auto run : {&runInProcess, &program}) {
        http.serve({.status = 404, .body = "no"});
        const CliRun refused = run(args(http.server()));
        EXPECT_EQ(refused.exitCode, 1);
        EXPECT_TRUE(refused.err.contains(QStringLiteral("HTTP 404"))) << refused.err.toStdString();
        EXPECT_EQ(fileBytes(db), old);
    }
    http.serve({.body = "<html>x</html>", .contentType = "text/html"});
    EXPECT_EQ(runInProcess(args(http.server())).exitCode, 1);
    EXPECT_EQ(fileBytes(db), old);

    // The conflict refuses the whole update until --prefer settles it.
    http.serve({.body = good});
    const CliRun conflict = program(args(http.server()));
    EXPECT_EQ(conflict.exitCode, 1);
    EXPECT_TRUE(conflict.err.contains(QStringLiteral("第1回　手元 2 8 10 13 27 30 + 1　取り込み 2 8 10 13 27 30 + 39")))
        << conflict.err.toStdString();
    EXPECT_EQ(fileBytes(db), old);
    const CliRun done = runInProcess(args(http.server()) << QStringLiteral("--prefer") << QStringLiteral("theirs"));
    EXPECT_EQ(done.exitCode, 0) << done.err.toStdString();
    EXPECT_EQ(done.out, QByteArray("追加 2136回、同じ 0回、補完 0回、食い違い 1回（1回を取り込み側の数字に置き換えました）\n"));
    EXPECT_EQ(loadHistory(db), full);

    // A valid but empty source loses nothing and writes nothing.
    const QByteArray merged = fileBytes(db);
    http.serve({.body = historyBytes(dir, {})});
    const CliRun empty = program(args(http.server()));
    EXPECT_EQ(empty.exitCode, 0) << empty.err.toStdString();
    EXPECT_EQ(fileBytes(db), merged);
    // A CSV at its own address, with one draw more.
    History more = full;
    more.push_back(DrawRecord{2138, {1, 2, 3, 4, 5, 6, 7}});
    http.serve({.body = historyToCsv(more), .contentType = "text/csv"});
    const CliRun csv = runInProcess(args(http.server() + QStringLiteral("/loto6.csv")));
    EXPECT_EQ(csv.exitCode, 0) << csv.err.toStdString();
    EXPECT_EQ(csv.out, QByteArray("追加 1回、同じ 2137回、補完 0回、食い違い 0回\n"));
    EXPECT_EQ(loadHistory(db), more);
    EXPECT_EQ(http.paths().last(), QStringLiteral("/loto6.csv"));

    // A file that is not there is not created.
    const QString none = dir.path(QStringLiteral("none.mdb"));
    const CliRun missing = runInProcess({QStringLiteral("update"), QStringLiteral("--db"), none, QStringLiteral("--server"),
                                   http.server()});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.contains(QStringLiteral("'が存在しません"))) << missing.err.toStdString();
    EXPECT_FALSE(QFile::exists(none));

    for (const QStringList& wrong : {QStringList{QStringLiteral("update"), QStringLiteral("--server"), http.server()},
                                     args(http.server()) << QStringLiteral("extra")}) {
        const CliRun usage = runInProcess(wrong);
        EXPECT_EQ(usage.exitCode, 2);
        EXPECT_TRUE(usage.err.contains(QStringLiteral("mirkano-cli update --db FILE [--server URL] [--prefer mine|theirs]")));
    }
    EXPECT_EQ(loadHistory(db), more);
}

TEST(UpdateCli, AGamesHistoryTakesOnlyThatGamesDraws)
{
    ensureCoreApplication();
    TempDir dir;
    const QString db = dir.path(QStringLiteral("Mirkano7.mdb"));
    const History full = sampleHistory(GameId::Loto7);
    saveHistory(db, History(full.begin(), full.begin() + 600), GameId::Loto7);
    const QByteArray old = fileBytes(db);
    const auto run = [&](const QString& server, QStringList more = {}) {
        return runInProcess(QStringList{QStringLiteral("update"), QStringLiteral("--db"), db, QStringLiteral("--server"),
                                        server} + more);
    };

    LoopbackHttp http;
    // The server's history file of another game, a CSV of another game, a --game that is not the file's.
    const QString fileUrl = http.server() + QStringLiteral("/download/Mirkano/Mirkano7.mdb");
    http.serve({.body = historyBytes(dir, sampleHistory(GameId::Loto6))});
    CliRun r = run(http.server());
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, QStringLiteral("mirkano-cli: 「%1」の当選データは使えません：ロト6の当選データで、ロト7の当選データではありません\n")
                         .arg(fileUrl));
    http.serve({.body = historyToCsv(sampleHistory(GameId::MiniLoto)), .contentType = "text/csv"});
    r = run(http.server() + QStringLiteral("/mini.csv"));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("ミニロトの当選データの CSV です（見出しの本数字が5個です）。ロト7の当選データとしては取り込めません")))
        << r.err.toStdString();
    r = run(http.server(), {QStringLiteral("--game"), QStringLiteral("loto6")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("はロト7の当選データです。ロト6の当選データとしては開けません"))) << r.err.toStdString();
    EXPECT_EQ(fileBytes(db), old);

    // The game's own history file, fetched from its own path on the server.
    http.serve({.body = historyBytes(dir, full)});
    r = run(http.server(), {QStringLiteral("--game"), QStringLiteral("loto7")});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QByteArray("追加 91回、同じ 600回、補完 0回、食い違い 0回\n"));
    EXPECT_EQ(http.paths().last(), QStringLiteral("/download/Mirkano/Mirkano7.mdb"));
    EXPECT_EQ(loadHistory(db, GameId::Loto7), full);
}

// Without --server the update takes the address set for the history's game,
// as the desktop program does: Loto 7's own, else Loto 6's server; with
// neither, it says how to set one.
TEST(UpdateCli, WithoutServerTheGamesOwnAddressIsUsed)
{
    ensureCoreApplication();
    TempDir dir;
    const QString db = dir.path(QStringLiteral("Mirkano7.mdb"));
    const History full = sampleHistory(GameId::Loto7);
    saveHistory(db, History(full.begin(), full.begin() + 690), GameId::Loto7);
    LoopbackHttp loto6, loto7;
    loto6.serve({.body = historyBytes(dir, full)});
    loto7.serve({.body = historyToCsv(full), .contentType = "text/csv"});
    const QStringList args{QStringLiteral("update"), QStringLiteral("--db"), db};

    qputenv(kServerVariable, loto6.server().toUtf8());
    qputenv("MIRKANO_SERVER_LOTO7", (loto7.server() + QStringLiteral("/loto7.csv")).toUtf8());
    CliRun r = runInProcess(args);
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(loto7.paths(), QStringList{QStringLiteral("/loto7.csv")});
    EXPECT_TRUE(loto6.paths().isEmpty());

    qunsetenv("MIRKANO_SERVER_LOTO7");
    r = runInProcess(args);
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(loto6.paths(), QStringList{QStringLiteral("/download/Mirkano/Mirkano7.mdb")});
    EXPECT_EQ(loadHistory(db, GameId::Loto7), full);

    qputenv(kServerVariable, (loto6.server() + QStringLiteral("/loto6.csv")).toUtf8());  // Loto 6's own CSV
    r = runInProcess(args);
    qunsetenv(kServerVariable);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, QStringLiteral("mirkano-cli: ロト7の当選データの取得先が設定されていません。--server でアドレスを指定するか、"
                                    "ミルカノのデータ管理 → 最新化の設定… で設定してください。\n"));
}
