#include "core/shell/history_csv.h"
#include "support/fixtures.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

using namespace mirkano;
using test::TempDir;

namespace {

struct CliRun {
    int exitCode = -1;
    QByteArray out;
    QString err;
};

CliRun cli(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(MIRKANO_CLI), args);
    CliRun r;
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit)
        return r;
    r.exitCode = p.exitCode();
    r.out = p.readAllStandardOutput();
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

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
    const CliRun imported = cli({QStringLiteral("import"), QStringLiteral("--csv"), kSample, QStringLiteral("--db"), db});
    ASSERT_EQ(imported.exitCode, 0) << imported.err.toStdString();

    const CliRun tables = cli({QStringLiteral("tables"), QStringLiteral("--db"), db});
    ASSERT_EQ(tables.exitCode, 0) << tables.err.toStdString();
    const QJsonObject t = QJsonDocument::fromJson(tables.out).object();
    int sum = 0;
    for (const auto& v : t.value(QStringLiteral("NumberCount")).toObject())
        sum += v.toInt();
    EXPECT_EQ(sum, 7 * 2137);
    EXPECT_EQ(t.value(QStringLiteral("LatestDrawNo")).toInt(), 2137);

    const CliRun exported = cli({QStringLiteral("export"), QStringLiteral("--db"), db});
    ASSERT_EQ(exported.exitCode, 0);
    EXPECT_EQ(exported.out, historyToCsv(test::sampleHistory()));

    const CliRun sheet = cli({QStringLiteral("sheet"), QStringLiteral("--db"), db, QStringLiteral("count-groups")});
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
    const CliRun r = cli({QStringLiteral("import"), QStringLiteral("--csv"), csv, QStringLiteral("--db"), fresh});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("3行目：ボーナス数字 99 が 1～43 の範囲外です"))) << r.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(fresh));

    const QString existing = dir.path(QStringLiteral("Mirkano.mdb"));
    ASSERT_EQ(cli({QStringLiteral("import"), QStringLiteral("--csv"), kSample, QStringLiteral("--db"), existing}).exitCode, 0);
    const QByteArray before = readAll(existing);
    EXPECT_EQ(cli({QStringLiteral("import"), QStringLiteral("--csv"), csv, QStringLiteral("--db"), existing}).exitCode, 1);
    EXPECT_EQ(readAll(existing), before);

    // A history that cannot be read is bad data too.
    EXPECT_EQ(cli({QStringLiteral("tables"), QStringLiteral("--db"), csv}).exitCode, 1);
}

TEST(Cli, WrongUsageExitsWithTwo)
{
    const QStringList cases[] = {
        {},
        {QStringLiteral("frobnicate")},
        {QStringLiteral("import"), QStringLiteral("--csv"), kSample},
        {QStringLiteral("tables"), QStringLiteral("--db")},
        {QStringLiteral("tables"), QStringLiteral("--db"), QStringLiteral("x.mdb"), QStringLiteral("--csv"), kSample},
        {QStringLiteral("sheet"), QStringLiteral("--db"), QStringLiteral("x.mdb"), QStringLiteral("no-such-analysis")},
    };
    for (const QStringList& args : cases) {
        SCOPED_TRACE(args.join(u' ').toStdString());
        const CliRun r = cli(args);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_TRUE(r.err.contains(QStringLiteral("usage:"))) << r.err.toStdString();
    }
}
