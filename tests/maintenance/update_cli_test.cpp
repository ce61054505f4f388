// mirkano-cli update against a real HTTP server on the loopback: 0 when the
// history was replaced, 1 with the cause on stderr and the file untouched,
// 2 for wrong usage.

#include "cli/cli.h"
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

TEST(UpdateCli, ReplacesTheHistoryOrRefusesWithTheCauseAndTheFileUntouched)
{
    ensureCoreApplication();
    TempDir dir;
    const QString db = dir.path(QStringLiteral("Mirkano.mdb"));
    saveHistory(db, makeHistory({{1, {1, 2, 3, 4, 5, 6, 7}}}));
    const QByteArray old = fileBytes(db);
    const QByteArray good = historyBytes(dir, sampleHistory());
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

    http.serve({.body = good});
    const CliRun done = program(args(http.server()));
    EXPECT_EQ(done.exitCode, 0) << done.err.toStdString();
    EXPECT_EQ(fileBytes(db), good);

    // A history that would lose stored complete draws: refused with their
    // number unless --force is given.
    const QByteArray empty = historyBytes(dir, {});
    http.serve({.body = empty});
    const CliRun losing = program(args(http.server()));
    EXPECT_EQ(losing.exitCode, 1);
    EXPECT_TRUE(losing.err.contains(QStringLiteral("保存されている完全な当選データのうち %1回分が失われます")
                                        .arg(sampleHistory().size())))
        << losing.err.toStdString();
    EXPECT_TRUE(losing.err.contains(QStringLiteral("--force"))) << losing.err.toStdString();
    EXPECT_EQ(fileBytes(db), good);
    const CliRun forced = program(args(http.server()) << QStringLiteral("--force"));
    EXPECT_EQ(forced.exitCode, 0) << forced.err.toStdString();
    EXPECT_EQ(fileBytes(db), empty);
    http.serve({.body = good});
    ASSERT_EQ(program(args(http.server())).exitCode, 0);

    // A file that is not there is not created.
    const QString none = dir.path(QStringLiteral("none.mdb"));
    const CliRun missing = runInProcess({QStringLiteral("update"), QStringLiteral("--db"), none, QStringLiteral("--server"),
                                   http.server()});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.contains(QStringLiteral("'が存在しません"))) << missing.err.toStdString();
    EXPECT_FALSE(QFile::exists(none));

    for (const QStringList& wrong : {QStringList{QStringLiteral("update"), QStringLiteral("--db"), db},
                                     QStringList{QStringLiteral("update"), QStringLiteral("--server"), http.server()},
                                     args(http.server()) << QStringLiteral("extra")}) {
        const CliRun usage = runInProcess(wrong);
        EXPECT_EQ(usage.exitCode, 2);
        EXPECT_TRUE(usage.err.contains(QStringLiteral("mirkano-cli update --db FILE --server URL [--force]")));
    }
    EXPECT_EQ(fileBytes(db), good);
}
