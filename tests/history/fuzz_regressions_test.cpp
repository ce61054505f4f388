// Every input the fuzz targets once failed on (fuzz/regressions/<target>/),
// and their seed corpus, replayed through the same checks in the normal suite.

#include "fuzz_checks.h"
#include "support/fixtures.h"

#include <QDirIterator>
#include <QFile>

#include <gtest/gtest.h>

using namespace mirkano;

namespace {

// The files kept for one target, regressions first.
QStringList keptInputs(const QString& target)
{
    QStringList files;
    for (const char* kind : {"regressions", "corpus"}) {
        QDirIterator it(QStringLiteral(MIRKANO_FUZZ_DIR "/%1/%2").arg(QLatin1String(kind), target), QDir::Files);
        while (it.hasNext())
            files << it.next();
    }
    files.sort();
    return files;
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

TEST(FuzzRegressions, CsvReaderHandlesEveryKeptInput)
{
    const QStringList files = keptInputs(QStringLiteral("history_csv"));
    ASSERT_FALSE(files.isEmpty());
    for (const QString& file : files) {
        SCOPED_TRACE(file.toStdString());
        EXPECT_EQ(fuzz::checkCsv(readAll(file)), "");
    }
}

TEST(FuzzRegressions, HistoryLoaderHandlesEveryKeptInput)
{
    const QStringList files = keptInputs(QStringLiteral("history_file"));
    ASSERT_FALSE(files.isEmpty());
    test::TempDir dir;
    for (const QString& file : files) {
        SCOPED_TRACE(file.toStdString());
        EXPECT_EQ(fuzz::checkHistoryFile(readAll(file), dir.path(QString())), "");
    }
}

TEST(FuzzRegressions, SettingsReaderHandlesEveryKeptInput)
{
    const QStringList files = keptInputs(QStringLiteral("reflect_settings"));
    ASSERT_FALSE(files.isEmpty());
    test::TempDir dir;
    for (const QString& file : files) {
        SCOPED_TRACE(file.toStdString());
        EXPECT_EQ(fuzz::checkSettings(readAll(file), dir.path(QString())), "");
    }
}
