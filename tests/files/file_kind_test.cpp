// Files the program reads must be regular files, found out without blocking;
// small files are written whole or not at all, also on a full disk; an export
// never writes over a history file.

#include "core/files/file_kind.h"
#include "core/files/file_write.h"
#include "core/history/history_store.h"
#include "support/fixtures.h"
#include "support/full_disk.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <csignal>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace mirkano;
using test::TempDir;

namespace {

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void makeLink(const QString& target, const QString& link)
{
    ASSERT_EQ(::symlink(QFile::encodeName(target).constData(), QFile::encodeName(link).constData()), 0);
}

void makeFifo(const QString& path)
{
    ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0644), 0);
}

// The names in the folder, hidden ones too.
QStringList namesIn(const QString& dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

}  // namespace

// Every kind of path, named by what it is; a named pipe neither hangs the
// check nor the open, also behind a link.
TEST(FileKind, OnlyARegularFileOpensAndNothingBlocks)
{
    TempDir dir;
    writeFile(dir.path(QStringLiteral("plain.csv")), "1,2,3\n");
    makeFifo(dir.path(QStringLiteral("pipe")));
    makeLink(dir.path(QStringLiteral("pipe")), dir.path(QStringLiteral("to-pipe")));
    makeLink(dir.path(QStringLiteral("plain.csv")), dir.path(QStringLiteral("to-plain")));
    makeLink(dir.path(QStringLiteral("loop-b")), dir.path(QStringLiteral("loop-a")));
    makeLink(dir.path(QStringLiteral("loop-a")), dir.path(QStringLiteral("loop-b")));
    makeLink(QStringLiteral("/dev/zero"), dir.path(QStringLiteral("to-zero")));
    ASSERT_TRUE(QDir().mkpath(dir.path(QStringLiteral("folder"))));

    const QString pipeCause = QStringLiteral("名前付きパイプで、通常のファイルではありません");
    const QString deviceCause = QStringLiteral("デバイスで、通常のファイルではありません");
    const struct {
        QString path, cause;
        bool missing;
    } cases[] = {
        {dir.path(QStringLiteral("plain.csv")), {}, false},
        {dir.path(QStringLiteral("to-plain")), {}, false},
        {dir.path(QStringLiteral("pipe")), pipeCause, false},
        {dir.path(QStringLiteral("to-pipe")), pipeCause, false},
        {dir.path(QStringLiteral("to-zero")), deviceCause, false},
        {QStringLiteral("/dev/urandom"), deviceCause, false},
        {dir.path(QStringLiteral("folder")), QStringLiteral("ファイルではなくフォルダーです"), false},
        {dir.path(QStringLiteral("loop-a")), QStringLiteral("シンボリックリンクが循環しています"), false},
        {dir.path(QStringLiteral("none")), QStringLiteral("ファイルがありません"), true},
        {dir.path(QStringLiteral("plain.csv/below")), QStringLiteral("ファイルがありません"), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        EXPECT_EQ(regularFileFault(c.path), c.cause);
        EXPECT_EQ(isMissing(c.path), c.missing);
        QFile file;
        EXPECT_EQ(openRegularFile(file, c.path), c.cause);
        EXPECT_EQ(file.isOpen(), c.cause.isEmpty());
        if (file.isOpen()) {
            EXPECT_EQ(file.readAll(), QByteArray("1,2,3\n"));
        }
    }
}

// A history file is told from text by its content alone, without a
// password; the same file through a link or a hard link is the same file.
TEST(FileKind, HistoryFilesAreToldFromText)
{
    TempDir dir;
    const QString history = dir.path(kHistoryFileName);
    saveHistory(history, test::makeHistory({{1, {1, 2, 3, 4, 5, 6, 7}}, {2, {8, 9, 10, 11, 12, 13, 14}}}));
    const QString other = dir.path(QStringLiteral("copy.mdb"));
    ASSERT_TRUE(QFile::copy(history, other));
    QByteArray plain("SQLite format 3", 16);
    plain.append(4096 - plain.size(), '\0');
    writeFile(dir.path(QStringLiteral("plain.db")), plain);
    writeFile(dir.path(QStringLiteral("text.csv")), QByteArray(4096, 'x'));
    QByteArray utf16("\xFF\xFE", 2);
    for (char c : QByteArray(2047, 'a'))
        utf16.append(c).append('\0');
    writeFile(dir.path(QStringLiteral("utf16.csv")), utf16);
    writeFile(dir.path(QStringLiteral("short.bin")), QByteArray(100, '\0'));
    // One encrypted file in about fifty has no NUL byte in its first
    // kilobyte; it is a database all the same.
    QByteArray lucky;
    {
        QFile f(history);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        lucky = f.readAll();
    }
    for (qsizetype i = 0; i < 1024; ++i)
        if (lucky[i] == '\0')
            lucky[i] = '\1';
    writeFile(dir.path(QStringLiteral("lucky.mdb")), lucky);
    makeLink(history, dir.path(QStringLiteral("link.csv")));
    ASSERT_EQ(::link(QFile::encodeName(history).constData(), QFile::encodeName(dir.path(QStringLiteral("hard.csv"))).constData()), 0);
    makeFifo(dir.path(QStringLiteral("pipe")));

    const QString own = QStringLiteral("ミルカノの履歴ファイルです。上書きすると当選データが失われます");
    const QString database = QStringLiteral("履歴ファイルなどのデータベースで、CSV ではありません。上書きするとその中身が失われます");
    const struct {
        const char* name;
        bool database;
        QString fault;
    } cases[] = {
        {"Mirkano.mdb", true, own},
        {"link.csv", true, own},
        {"hard.csv", true, own},
        {"copy.mdb", true, database},
        {"plain.db", true, database},
        {"lucky.mdb", true, database},
        {"text.csv", false, {}},
        {"utf16.csv", false, {}},
        {"short.bin", false, {}},
        {"pipe", false, {}},
        {"none.csv", false, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = dir.path(QString::fromUtf8(c.name));
        EXPECT_EQ(looksLikeDatabase(path), c.database);
        EXPECT_EQ(historyOverwriteFault(path, history), c.fault);
    }
}

// The file is replaced whole; a link stays a link and the file keeps its
// permissions; what is not a regular file is not replaced.
TEST(FileWrite, ReplacesWholeAndRefusesWhatIsNotARegularFile)
{
    TempDir dir;
    const QString target = dir.path(QStringLiteral("real.ini"));
    writeFile(target, "old");
    ASSERT_TRUE(QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner));
    makeLink(target, dir.path(QStringLiteral("link.ini")));
    EXPECT_EQ(writeFileWhole(dir.path(QStringLiteral("link.ini")), "new"), QString());
    EXPECT_EQ(readFile(target), QByteArray("new"));
    EXPECT_TRUE(QFileInfo(dir.path(QStringLiteral("link.ini"))).isSymLink());
    struct stat st;
    ASSERT_EQ(::stat(QFile::encodeName(target).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(writeFileWhole(dir.path(QStringLiteral("fresh.ini")), "x"), QString());
    EXPECT_EQ(readFile(dir.path(QStringLiteral("fresh.ini"))), QByteArray("x"));

    makeFifo(dir.path(QStringLiteral("pipe")));
    makeLink(dir.path(QStringLiteral("pipe")), dir.path(QStringLiteral("to-pipe")));
    ASSERT_TRUE(QDir().mkpath(dir.path(QStringLiteral("folder"))));
    EXPECT_EQ(writeFileWhole(dir.path(QStringLiteral("folder")), "x"), QStringLiteral("同じ名前のフォルダーがあります"));
    for (const char* name : {"pipe", "to-pipe"})
        EXPECT_EQ(writeFileWhole(dir.path(QString::fromUtf8(name)), "x"),
                  QStringLiteral("通常のファイルではない（名前付きパイプやデバイスなどの）ため、書き換えません"))
            << name;
    EXPECT_EQ(writeFileWhole(dir.path(QStringLiteral("no-folder/x.ini")), "x"),
              QStringLiteral("作業ファイルを作れません（フォルダーがありません）"));
    EXPECT_EQ(namesIn(dir.path(QString())),
              (QStringList{QStringLiteral("folder"), QStringLiteral("fresh.ini"), QStringLiteral("link.ini"),
                           QStringLiteral("pipe"), QStringLiteral("real.ini"), QStringLiteral("to-pipe")}));
}

// A write that fails part way (here: the process may write no more than 100
// bytes to a file) keeps the old file and leaves nothing beside it.
TEST(FileWrite, AFailedWriteKeepsTheOldFile)
{
    TempDir dir;
    const QString target = dir.path(QStringLiteral("settings.ini"));
    writeFile(target, "old content");
    struct rlimit before;
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &before), 0);
    const auto oldSignal = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = before;
    small.rlim_cur = 100;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const QString cause = writeFileWhole(target, QByteArray(300, 'n'));
    ::setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, oldSignal);

    EXPECT_EQ(cause, QStringLiteral("書き込めません（ファイルが大きすぎて書き込めません）"));
    EXPECT_EQ(readFile(target), QByteArray("old content"));
    EXPECT_EQ(namesIn(dir.path(QString())), QStringList{QStringLiteral("settings.ini")});
}

// On a real full disk, even a write small enough to sit in a buffer fails
// and keeps the old file.
TEST(FileWrite, AFullDiskKeepsTheOldFile)
{
    TempDir dir;
    const auto result = test::onFullDisk(
        dir.path(QString()), [](const QString& d) { writeFile(d + QStringLiteral("/a.ini"), "old"); },
        [](const QString& d) -> std::string {
            const QString cause = writeFileWhole(d + QStringLiteral("/a.ini"), QByteArray(300, 'n'));
            if (cause != QStringLiteral("書き込めません（ディスクがいっぱいです）"))
                return "cause: " + cause.toStdString();
            if (readFile(d + QStringLiteral("/a.ini")) != "old")
                return "the old file was changed";
            if (namesIn(d) != QStringList{QStringLiteral("a.ini"), QStringLiteral("filler")})
                return "left beside it: " + namesIn(d).join(u' ').toStdString();
            return {};
        });
    if (!result)
        GTEST_SKIP() << "no private mount namespace for a small file system here";
    EXPECT_EQ(*result, "");
}
