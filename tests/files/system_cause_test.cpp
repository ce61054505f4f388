// Failed file operations are described in Japanese: the system's and Qt's
// English texts ("No space left on device", "Existing file … is not
// writable") never reach a message.

#include "core/files/system_cause.h"
#include "support/fixtures.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace mirkano;
using test::TempDir;

TEST(SystemCause, FailedFileOperationsAreDescribedInJapanese)
{
    TempDir dir;
    const QString plain = dir.path(QStringLiteral("plain.txt"));
    {
        QFile f(plain);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    const QString loop = dir.path(QStringLiteral("loop"));
    ASSERT_TRUE(QFile::link(loop, loop));

    QFile full(QStringLiteral("/dev/full"));
    ASSERT_TRUE(full.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    EXPECT_EQ(full.write("x"), -1);

    QFile looping(loop), underFile(plain + QStringLiteral("/x")), missing(dir.path(QStringLiteral("none")));
    EXPECT_FALSE(looping.open(QIODevice::ReadOnly));
    EXPECT_FALSE(underFile.open(QIODevice::ReadOnly));
    EXPECT_FALSE(missing.open(QIODevice::ReadOnly));
    QSaveFile onFolder(dir.path(QString())), inNoFolder(dir.path(QStringLiteral("none/x.csv")));
    EXPECT_FALSE(onFolder.open(QIODevice::WriteOnly));
    EXPECT_FALSE(inNoFolder.open(QIODevice::WriteOnly));

    const struct {
        const QFileDevice* file;
        const char* cause;
    } cases[] = {
        {&full, "ディスクがいっぱいです"},
        {&looping, "シンボリックリンクが循環しています"},
        {&underFile, "パスの途中にフォルダーではないものがあります"},
        {&missing, "ファイルまたはフォルダーがありません"},
        {&onFolder, "ファイルではなくフォルダーです"},
        {&inNoFolder, "ファイルまたはフォルダーがありません"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file->errorString().toStdString());
        EXPECT_EQ(fileErrorCause(*c.file), QString::fromUtf8(c.cause));
    }
    EXPECT_EQ(readCause(fileErrno(missing)), QStringLiteral("ファイルがありません"));
    EXPECT_EQ(readCause(EACCES), QStringLiteral("読み取る権限がありません"));
    EXPECT_EQ(systemCause(EPIPE), QStringLiteral("出力先のパイプが閉じられています"));
    EXPECT_EQ(systemCause(9999), QStringLiteral("システムのエラー 9999"));

    // An existing file without write permission, replaced through a work
    // file (the superuser may write any file).
    if (::geteuid() != 0) {
        ASSERT_TRUE(QFile::setPermissions(plain, QFileDevice::ReadOwner));
        QSaveFile readOnly(plain);
        EXPECT_FALSE(readOnly.open(QIODevice::WriteOnly));
        EXPECT_EQ(fileErrorCause(readOnly), QStringLiteral("書き込む権限がありません"));
    }
}
