// The settings file ミルカノ.ini: the exact bytes written, reading back, the
// lines a reader skips, what is not read at all, and failed writes.

#include "core/predict/reflect_settings.h"
#include "support/fixtures.h"
#include "support/full_disk.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>

#include <gtest/gtest.h>

#include <csignal>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace mirkano;
using test::TempDir;

namespace {

QByteArray sjis(const QString& text)
{
    QStringEncoder encode("Shift_JIS");
    return encode(text);
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

ReflectFlags flagsOn(std::initializer_list<int> options)
{
    ReflectFlags f;
    for (int i : options)
        f.on[std::size_t(i)] = true;
    return f;
}

}  // namespace

TEST(ReflectSettings, WritesTwelveShiftJisLinesAndReadsThemBack)
{
    TempDir dir;
    const QString path = dir.path(kSettingsFileName);
    const ReflectFlags flags = flagsOn({0, 3, 10, 11});
    writeReflectFlags(path, flags);

    const QByteArray bytes = readFile(path);
    EXPECT_EQ(bytes, sjis(QStringLiteral("頻度分析Opt=True\r\n"
                                         "間隔分析Opt=False\r\n"
                                         "出現回数分析Opt=False\r\n"
                                         "バラツキ分析Opt=True\r\n"
                                         "引っ張り分析Opt=False\r\n"
                                         "連番飛び石分析Opt=False\r\n"
                                         "数字合計分析Opt=False\r\n"
                                         "組合せパターン分析Opt=False\r\n"
                                         "5分割傾向分析Opt=False\r\n"
                                         "分割データ分析Opt=False\r\n"
                                         "下一桁出現傾向分析Opt=True\r\n"
                                         "下一桁連続出現回数分析Opt=True\r\n")));
    // Shift_JIS, not UTF-8: 頻 is 95 70.
    EXPECT_EQ(bytes.left(18).toHex(' '), QByteArray("95 70 93 78 95 aa 90 cd 4f 70 74 3d 54 72 75 65 0d 0a"));

    EXPECT_EQ(readReflectFlags(path), flags);
    // Written again over the old file, with nothing left beside it.
    writeReflectFlags(path, flagsOn({1}));
    EXPECT_EQ(readReflectFlags(path), flagsOn({1}));
    EXPECT_EQ(QDir(QFileInfo(path).absolutePath()).entryList(QDir::Files | QDir::Hidden),
              QStringList{kSettingsFileName});
}

TEST(ReflectSettings, ReadingTakesExactKeysAndSkipsBadLines)
{
    struct Case {
        const char* name;
        QString content;
        ReflectFlags start;
        ReflectFlags expected;
    };
    const ReflectFlags all = flagsOn({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11});
    const Case cases[] = {
        {"one key", QStringLiteral("下一桁出現傾向分析Opt=True\r\n"), {}, flagsOn({10})},
        {"others keep their state", QStringLiteral("間隔分析Opt=False\r\n"), flagsOn({0, 1}), flagsOn({0})},
        {"any letter case", QStringLiteral("頻度分析Opt=tRUE\r\n間隔分析Opt=TRUE\r\n"), {}, flagsOn({0, 1})},
        {"numbers", QStringLiteral("頻度分析Opt=-1\r\n間隔分析Opt=0\r\n出現回数分析Opt=2.5\r\n"), flagsOn({1}), flagsOn({0, 2})},
        {"last value wins", QStringLiteral("頻度分析Opt=True\r\n頻度分析Opt=False\r\n"), {}, {}},
        {"lines in any order, bare LF", QStringLiteral("下一桁連続出現回数分析Opt=True\n頻度分析Opt=True"), {}, flagsOn({0, 11})},
        {"pieces after a second = ignored", QStringLiteral("頻度分析Opt=True=x\r\n"), {}, flagsOn({0})},
        {"spaces around =", QStringLiteral("頻度分析Opt = True\r\n"), {}, {}},
        {"key in another case", QStringLiteral("頻度分析OPT=True\r\n"), {}, {}},
        {"full-width key letters", QStringLiteral("頻度分析Ｏｐｔ=True\r\n"), {}, {}},
        {"no =", QStringLiteral("頻度分析Opt\r\n頻度分析OptTrue\r\n"), {}, {}},
        {"bad value", QStringLiteral("頻度分析Opt=yes\r\n間隔分析Opt=\r\n出現回数分析Opt=nan\r\n"), all, all},
        {"empty and unknown lines", QStringLiteral("\r\n\r\n[設定]\r\n不明Opt=True\r\n=True\r\n"), {}, {}},
    };
    TempDir dir;
    const QString path = dir.path(kSettingsFileName);
    for (const Case& c : cases) {
        writeFile(path, sjis(c.content));
        EXPECT_EQ(readReflectFlags(path, c.start), c.expected) << c.name;
    }

    // Bytes that are not Shift_JIS text match no key.
    writeFile(path, QByteArray("\x81\xff\xfe=True\r\n") + QStringLiteral("頻度分析Opt=True").toUtf8());
    EXPECT_EQ(readReflectFlags(path), ReflectFlags{});
}

TEST(ReflectSettings, MissingFileChangesNothingAndFailuresNameTheFile)
{
    TempDir dir;
    EXPECT_EQ(readReflectFlags(dir.path(kSettingsFileName), flagsOn({2})), flagsOn({2}));

    // A folder where the file should be: neither read nor written.
    const QString folder = dir.path(kSettingsFileName);
    ASSERT_TRUE(QDir().mkpath(folder));
    try {
        readReflectFlags(folder);
        FAIL() << "read a folder";
    } catch (const SettingsError& e) {
        EXPECT_TRUE(e.message().startsWith(QStringLiteral("設定ファイル「%1」を読み込めません：").arg(folder)))
            << e.what();
    }
    EXPECT_THROW(writeReflectFlags(folder, {}), SettingsError);

    // A folder that does not exist.
    const QString nowhere = dir.path(QStringLiteral("no-such-folder/") + kSettingsFileName);
    try {
        writeReflectFlags(nowhere, flagsOn({0}));
        FAIL() << "wrote into a missing folder";
    } catch (const SettingsError& e) {
        EXPECT_TRUE(e.message().startsWith(QStringLiteral("設定ファイル「%1」を保存できません：").arg(nowhere)))
            << e.what();
    }
    EXPECT_FALSE(QFileInfo::exists(nowhere));
}

// Only a regular file of a few kilobytes is read. A named pipe (which would
// hang the start), a link to an endless device (which would fill the
// memory), a huge file and a folder are refused at once with a message
// naming the file and the cause; the caller then starts with every option
// off.
TEST(ReflectSettings, AnythingButASmallRegularFileIsRefusedAtOnce)
{
    TempDir dir;
    const QString pipe = dir.path(QStringLiteral("pipe.ini"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0644), 0);
    const QString huge = dir.path(QStringLiteral("huge.ini"));
    {
        // 3 GB that take no room on the disk: the file has a hole.
        QFile f(huge);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_TRUE(f.resize(qint64(3) << 30));
    }
    const QString justTooLarge = dir.path(QStringLiteral("large.ini"));
    writeFile(justTooLarge, sjis(QStringLiteral("頻度分析Opt=True\r\n")) + QByteArray(16 * 1024, ' '));
    const QString folder = dir.path(QStringLiteral("folder.ini"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const struct {
        QString path;
        const char* target;  // a link to this, when set
        QString cause;
    } cases[] = {
        {pipe, nullptr, QStringLiteral("名前付きパイプで、通常のファイルではありません")},
        {dir.path(QStringLiteral("to-pipe.ini")), "pipe.ini", QStringLiteral("名前付きパイプで、通常のファイルではありません")},
        {dir.path(QStringLiteral("zero.ini")), "/dev/zero", QStringLiteral("デバイスで、通常のファイルではありません")},
        {dir.path(QStringLiteral("urandom.ini")), "/dev/urandom", QStringLiteral("デバイスで、通常のファイルではありません")},
        {huge, nullptr, QStringLiteral("16 KB を超える大きさで、設定ファイルではありません")},
        {justTooLarge, nullptr, QStringLiteral("16 KB を超える大きさで、設定ファイルではありません")},
        {folder, nullptr, QStringLiteral("ファイルではなくフォルダーです")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        if (c.target) {
            ASSERT_EQ(::symlink(c.target, QFile::encodeName(c.path).constData()), 0);
        }
        try {
            readReflectFlags(c.path, flagsOn({0}));
            ADD_FAILURE() << "read";
        } catch (const SettingsError& e) {
            EXPECT_EQ(e.message(), QStringLiteral("設定ファイル「%1」を読み込めません：%2").arg(c.path, c.cause));
        }
    }
    // None of them is replaced at exit either: the pipe stays a pipe, the
    // device is not touched.
    for (const QString& name : {QStringLiteral("pipe.ini"), QStringLiteral("zero.ini")})
        EXPECT_THROW(writeReflectFlags(dir.path(name), {}), SettingsError);
    EXPECT_FALSE(QFileInfo(pipe).isFile());
    EXPECT_EQ(QFileInfo(dir.path(QStringLiteral("zero.ini"))).symLinkTarget(), QStringLiteral("/dev/zero"));

    // Just under the limit is still read.
    writeFile(justTooLarge, sjis(QStringLiteral("頻度分析Opt=True\r\n")) + QByteArray(16 * 1024 - 20, ' '));
    EXPECT_EQ(readReflectFlags(justTooLarge), flagsOn({0}));
}

// On a full disk the settings file is not emptied: the old file stays and
// the failure names the cause. Also when the write fails part way.
TEST(ReflectSettings, AFailedWriteKeepsTheOldFile)
{
    TempDir dir, full;
    // The process may write no more than 100 bytes to a file: a write that
    // fails part way.
    const QString path = dir.path(kSettingsFileName);
    writeReflectFlags(path, flagsOn({3}));
    const QByteArray before = readFile(path);
    struct rlimit limit;
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &limit), 0);
    const auto oldSignal = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit tight = limit;
    tight.rlim_cur = 100;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &tight), 0);
    EXPECT_THROW(writeReflectFlags(path, flagsOn({0, 1})), SettingsError);
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, oldSignal);
    EXPECT_EQ(readFile(path), before);
    EXPECT_EQ(QDir(dir.path(QString())).entryList(QDir::Files | QDir::Hidden), QStringList{kSettingsFileName});

    // A real full disk.
    const auto result = test::onFullDisk(
        full.path(QString()),
        [](const QString& d) { writeReflectFlags(settingsPathIn(d), flagsOn({3})); },
        [](const QString& d) -> std::string {
            const QString path = settingsPathIn(d);
            try {
                writeReflectFlags(path, flagsOn({0, 1}));
                return "written on a full disk";
            } catch (const SettingsError& e) {
                if (!e.message().startsWith(QStringLiteral("設定ファイル「%1」を保存できません：").arg(path))
                    || !e.message().contains(QStringLiteral("ディスクがいっぱいです")))
                    return "message: " + e.message().toStdString();
            }
            if (readReflectFlags(path) != flagsOn({3}))
                return "the old settings are gone";
            return {};
        });
    if (!result)
        GTEST_SKIP() << "no private mount namespace for a small file system here";
    EXPECT_EQ(*result, "");
}

TEST(ReflectSettings, EachGameKeepsItsOwnFile)
{
    // Loto 6 keeps ミルカノ.ini; the others their own file beside it, so the
    // options chosen for one game never change another's.
    TempDir dir;
    const QString folder = QFileInfo(dir.path(QStringLiteral("x"))).absolutePath();
    const struct {
        GameId game;
        const char* file;
        ReflectFlags flags;
    } cases[] = {
        {GameId::Loto6, "ミルカノ.ini", flagsOn({0})},
        {GameId::Loto7, "ミルカノ7.ini", flagsOn({1, 2})},
        {GameId::MiniLoto, "ミルカノミニ.ini", flagsOn({11})},
    };
    for (const auto& c : cases) {
        const QString path = settingsPathIn(folder, c.game);
        EXPECT_EQ(QFileInfo(path).fileName(), QString::fromUtf8(c.file));
        writeReflectFlags(path, c.flags);
    }
    EXPECT_EQ(settingsPathIn(folder, GameId::Loto6), settingsPathIn(folder));
    for (const auto& c : cases)
        EXPECT_EQ(readReflectFlags(settingsPathIn(folder, c.game)), c.flags) << c.file;
    EXPECT_EQ(QFileInfo(defaultSettingsPath(GameId::Loto7)).fileName(), QStringLiteral("ミルカノ7.ini"));
    EXPECT_EQ(defaultSettingsPath(GameId::Loto6), defaultSettingsPath());
}
