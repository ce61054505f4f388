// The history update: a download is checked before anything is written and
// replaces the history file whole; every bad download, served by a real HTTP
// server on the loopback, leaves the old file byte for byte.

#include "core/game/game_files.h"
#include "core/maintenance/history_download.h"
#include "core/maintenance/history_update.h"
#include "maintenance/maintenance_support.h"
#include "support/loopback_http.h"

#include <QDateTime>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace mirkano;
using namespace mirkano::test;

namespace {

const History kOld = makeHistory({
    {1, {2, 8, 10, 13, 27, 30, 39}},
    {2, {1, 9, 16, 20, 21, 43, 5}},
});

const char* const kTable =
    "CREATE TABLE 当選データ(回数, 第1数字, 第2数字, 第3数字, 第4数字, 第5数字, 第6数字, ボーナス数字);";
const char* const kView = "CREATE VIEW 全データ選択クエリ AS SELECT * FROM 当選データ;";

QString causeOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const UpdateError& e) {
        return e.message();
    }
    return {};
}

// Bodies that are not a history the program can use, and the cause named.
struct BadBody {
    const char* name;
    std::function<QByteArray(const TempDir&)> make;
    const char* cause;
};

std::vector<BadBody> badBodies()
{
    return {
        {"empty", [](const TempDir&) { return QByteArray(); }, "データが空です"},
        {"web page",
         [](const TempDir&) { return QByteArray("<!DOCTYPE html>\n<html><body>Not here</body></html>"); },
         "当選データファイルではなく、Web ページが届きました"},
        {"cut off",
         [](const TempDir& d) {
             const QByteArray good = historyBytes(d, sampleHistory());
             return good.left(good.size() / 2);
         },
         "ファイルが壊れています"},
        {"plain database",
         [](const TempDir& d) { return craftedDatabase(d, nullptr, (std::string(kTable) + kView).c_str()); },
         "暗号化された履歴ファイルではありません"},
        {"other password",
         [](const TempDir& d) { return craftedDatabase(d, "111111", (std::string(kTable) + kView).c_str()); },
         "パスワードが違うか、履歴ファイルではありません"},
        {"no view",
         [](const TempDir& d) { return craftedDatabase(d, detail::kHistoryPassword, kTable); },
         "クエリ「全データ選択クエリ」がありません"},
        {"missing field",
         [](const TempDir& d) {
             return craftedDatabase(d, detail::kHistoryPassword,
                                    "CREATE TABLE 当選データ(回数, 第1数字);"
                                    "CREATE VIEW 全データ選択クエリ AS SELECT * FROM 当選データ;");
         },
         "項目「第2数字」がありません"},
        {"number out of range",
         [](const TempDir& d) {
             return craftedDatabase(
                 d, detail::kHistoryPassword,
                 (std::string(kTable) + kView + "INSERT INTO 当選データ VALUES (7, 1, 2, 3, 4, 5, 6, 44);").c_str());
         },
         "回数 7 のボーナス数字「44」が 1～43 の数字ではありません"},
        {"repeated draw",
         [](const TempDir& d) {
             return craftedDatabase(d, detail::kHistoryPassword,
                                    (std::string(kTable) + kView +
                                     "INSERT INTO 当選データ VALUES (7, 1, 2, 3, 4, 5, 6, 7);"
                                     "INSERT INTO 当選データ VALUES (7, 1, 2, 3, 4, 5, 6, 8);")
                                        .c_str());
         },
         "回数 7 が重複しています"},
        {"random bytes", [](const TempDir&) { return QByteArray(8192, '\x5a'); },
         "パスワードが違うか、履歴ファイルではありません"},
    };
}

}  // namespace

TEST(HistoryUpdate, CheckRefusesEveryBodyThatIsNotAUsableHistoryNamingTheCause)
{
    TempDir dir;
    EXPECT_EQ(causeOf([&] { checkDownloadedHistory(historyBytes(dir, sampleHistory())); }), QString());
    for (const BadBody& b : badBodies()) {
        const QString message = causeOf([&] { checkDownloadedHistory(b.make(dir)); });
        EXPECT_EQ(message, QStringLiteral("ダウンロードした当選データは使えません：") + QString::fromUtf8(b.cause))
            << b.name;
    }
}

TEST(HistoryUpdate, ReplaceSwapsTheWholeFileOrLeavesItByteForByte)
{
    TempDir dir;
    const QString target = dir.path(QStringLiteral("Mirkano.mdb"));
    saveHistory(target, kOld);
    const QByteArray old = fileBytes(target);

    for (const BadBody& b : badBodies()) {
        EXPECT_FALSE(causeOf([&] { replaceHistoryFile(target, b.make(dir)); }).isEmpty()) << b.name;
        EXPECT_EQ(fileBytes(target), old) << b.name;
        EXPECT_EQ(folderEntries(dir.path({})), QStringList{QStringLiteral("Mirkano.mdb")}) << b.name;
    }

    QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
    const QFileDevice::Permissions permissions = QFile::permissions(target);
    const QByteArray fresh = historyBytes(dir, sampleHistory());
    replaceHistoryFile(target, fresh);
    EXPECT_EQ(fileBytes(target), fresh);
    EXPECT_EQ(loadHistory(target), sampleHistory());
    EXPECT_EQ(QFile::permissions(target), permissions);
    EXPECT_EQ(folderEntries(dir.path({})), QStringList{QStringLiteral("Mirkano.mdb")});

    // No file at the target: nothing is written there.
    const QString missing = dir.path(QStringLiteral("none.mdb"));
    EXPECT_EQ(causeOf([&] { replaceHistoryFile(missing, fresh); }),
              QStringLiteral("当選データファイル：'") + missing + QStringLiteral("'が存在しません"));
    EXPECT_FALSE(QFile::exists(missing));
}

TEST(HistoryUpdate, ReplaceKeepsALinkAndClearsWorkFilesOfCutShortUpdates)
{
    TempDir dir;
    const QString real = dir.path(QStringLiteral("data/Mirkano.mdb"));
    const QString link = dir.path(QStringLiteral("Mirkano.mdb"));
    ASSERT_TRUE(QDir().mkpath(dir.path(QStringLiteral("data"))));
    saveHistory(real, kOld);
    ASSERT_TRUE(QFile::link(real, link));

    // The leftover of an update that was killed, long untouched.
    const QString dead = dir.path(QStringLiteral("data/.Mirkano.mdb.dead.download"));
    {
        QFile f(dead);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_EQ(f.write("x"), 1);
        ASSERT_TRUE(f.flush());
        f.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime);
    }

    const QByteArray fresh = historyBytes(dir, sampleHistory());
    replaceHistoryFile(link, fresh);

    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(fileBytes(real), fresh);
    EXPECT_EQ(folderEntries(dir.path(QStringLiteral("data"))), QStringList{QStringLiteral("Mirkano.mdb")});
}

TEST(HistoryUpdate, DownloadsFromALoopbackServerAndRefusesEveryBadTransfer)
{
    ensureCoreApplication();
    TempDir dir;
    const QString target = dir.path(QStringLiteral("Mirkano.mdb"));
    saveHistory(target, kOld);
    const QByteArray old = fileBytes(target);
    const QByteArray good = historyBytes(dir, sampleHistory());
    const DownloadLimits limits{.idleTimeoutMs = 300, .totalTimeoutMs = 20'000, .maxBytes = 1 << 20};

    using Reply = LoopbackHttp::Reply;
    const struct {
        const char* name;
        Reply reply;
        const char* cause;
    } cases[] = {
        {"not found", Reply{.status = 404, .body = "no such file"}, "サーバーが HTTP 404 Not Found を返しました"},
        {"server error", Reply{.status = 500, .body = good}, "サーバーが HTTP 500"},
        {"web page", Reply{.body = "<html><body>maintenance</body></html>", .contentType = "text/html"},
         "Web ページが届きました"},
        {"empty body", Reply{.body = ""}, "データが空です"},
        {"cut off", Reply{.body = good.left(good.size() - 4096)}, "ファイルが壊れています"},
        {"connection closed early", Reply{.body = good, .sendBytes = good.size() / 2}, "当選データをダウンロードできません"},
        {"plain database", Reply{.body = craftedDatabase(dir, nullptr, (std::string(kTable) + kView).c_str())},
         "暗号化された履歴ファイルではありません"},
        {"stalled", Reply{.body = good, .sendBytes = 1000, .stall = true}, "秒間、サーバーから応答がありません"},
        {"oversized, announced", Reply{.body = QByteArray(2 << 20, 'x')}, "データが大きすぎます"},
        {"oversized, unannounced", Reply{.body = QByteArray(2 << 20, 'x'), .announceLength = false},
         "データが大きすぎます"},
    };
    for (const auto& c : cases) {
        LoopbackHttp http;
        http.serve(c.reply);
        const QString message = causeOf([&] { updateHistoryFile(target, http.server(), limits); });
        EXPECT_TRUE(message.contains(QString::fromUtf8(c.cause))) << c.name << ": " << message.toStdString();
        EXPECT_EQ(fileBytes(target), old) << c.name;
        EXPECT_EQ(folderEntries(dir.path({})), QStringList{QStringLiteral("Mirkano.mdb")}) << c.name;
    }

    LoopbackHttp http;
    http.serve(Reply{.body = good});
    MergeResult merged;
    EXPECT_EQ(causeOf([&] { merged = updateHistoryFile(target, http.server() + QStringLiteral("/"), limits,
                                                       MergePreference::Theirs); }),
              QString());
    EXPECT_EQ(http.paths(), QStringList{QStringLiteral("/download/Mirkano/Mirkano.mdb")});
    // Merged: the served draws, the stored ones the source lacks kept.
    EXPECT_EQ(loadHistory(target), mergeHistories(kOld, sampleHistory(), MergePreference::Theirs).rows);

    // No server listening any more: the connection is refused, nothing is written.
    saveHistory(target, kOld);
    const QByteArray before = fileBytes(target);
    QString gone;
    {
        LoopbackHttp closed;
        gone = closed.server();
    }
    EXPECT_TRUE(causeOf([&] { updateHistoryFile(target, gone, limits); })
                    .startsWith(QStringLiteral("当選データをダウンロードできません：")));
    EXPECT_EQ(fileBytes(target), before);
}

TEST(HistoryUpdate, ServerSettingNamesSchemeHostAndPort)
{
    EXPECT_EQ(historyUrl(QStringLiteral("http://127.0.0.1:8080")).toString(),
              QStringLiteral("http://127.0.0.1:8080/download/Mirkano/Mirkano.mdb"));
    EXPECT_EQ(historyUrl(QStringLiteral(" https://example.jp/ ")).toString(),
              QStringLiteral("https://example.jp/download/Mirkano/Mirkano.mdb"));
    for (const char* bad : {"", "example.jp", "ftp://example.jp", "http://", "http://example.jp/?q=1"})
        EXPECT_FALSE(causeOf([&] { historyUrl(QString::fromLatin1(bad)); }).isEmpty()) << bad;
    EXPECT_EQ(causeOf([] { historyUrl({}, GameId::Loto7); }),
              QStringLiteral("ロト7の当選データの取得先が設定されていません。"
                             "データ管理 → 最新化の設定… で取得先のアドレスを設定してください。"));

    // The file beside the program, overridden by the environment.
    TempDir dir;
    qunsetenv(kServerVariable);
    EXPECT_EQ(configuredServer(dir.path({})), QString());
    {
        QFile f(dir.path(kServerFileName));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("# where the history is downloaded from\n\n  http://10.0.0.5:8000  \n");
    }
    EXPECT_EQ(configuredServer(dir.path({})), QStringLiteral("http://10.0.0.5:8000"));
    qputenv(kServerVariable, "http://127.0.0.1:9");
    EXPECT_EQ(configuredServer(dir.path({})), QStringLiteral("http://127.0.0.1:9"));
    qunsetenv(kServerVariable);

    // A named pipe in its place is not opened (it would wait for a writer):
    // no server is configured.
    ASSERT_TRUE(QFile::remove(dir.path(kServerFileName)));
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.path(kServerFileName)).constData(), 0644), 0);
    EXPECT_EQ(configuredServer(dir.path({})), QString());
}

// Each game keeps its own address (file and variable); Loto 7 and Mini Loto
// without one take Loto 6's only when it names a server, which serves every
// game's history, never Loto 6's own CSV.
TEST(HistoryUpdate, EachGameHasItsOwnAddress)
{
    TempDir dir;
    const QString folder = dir.path({});
    const auto write = [&](GameId game, const QByteArray& text) {
        QFile f(dir.path(updateServerFileName(game)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text);
    };
    for (GameId g : {GameId::Loto6, GameId::Loto7, GameId::MiniLoto})
        qunsetenv(updateServerVariable(g).constData());
    EXPECT_EQ(updateServerFileName(GameId::Loto6), kServerFileName);
    EXPECT_EQ(updateServerFileName(GameId::Loto7), QStringLiteral("update-server-loto7.txt"));
    EXPECT_EQ(updateServerVariable(GameId::MiniLoto), QByteArray("MIRKANO_SERVER_MINILOTO"));

    write(GameId::Loto6, "https://example.jp/loto6.csv\n");
    write(GameId::Loto7, "# ロト7\nhttps://example.jp/loto7.csv\n");
    EXPECT_EQ(configuredServer(folder, GameId::Loto6), QStringLiteral("https://example.jp/loto6.csv"));
    EXPECT_EQ(configuredServer(folder, GameId::Loto7), QStringLiteral("https://example.jp/loto7.csv"));
    EXPECT_EQ(configuredServer(folder, GameId::MiniLoto), QString()) << "Loto 6's CSV is no Mini Loto source";

    write(GameId::Loto6, "http://10.0.0.5:8000/\n");
    EXPECT_EQ(configuredServer(folder, GameId::MiniLoto), QStringLiteral("http://10.0.0.5:8000/"));
    EXPECT_EQ(historyUrl(configuredServer(folder, GameId::MiniLoto), GameId::MiniLoto).path(),
              QStringLiteral("/download/Mirkano/MirkanoMini.mdb"));
    EXPECT_EQ(configuredServer(folder, GameId::Loto7), QStringLiteral("https://example.jp/loto7.csv"));

    // Each game's variable overrides its own file only.
    qputenv("MIRKANO_SERVER_LOTO7", "http://127.0.0.1:7");
    EXPECT_EQ(configuredServer(folder, GameId::Loto7), QStringLiteral("http://127.0.0.1:7"));
    EXPECT_EQ(configuredServer(folder, GameId::Loto6), QStringLiteral("http://10.0.0.5:8000/"));
    qunsetenv("MIRKANO_SERVER_LOTO7");
}

// Only the head of the file is read: a huge line is no address and costs
// nothing (a few megabytes show it; the fault was seconds and hundreds of
// megabytes for 200 MB). An address before it is found.
TEST(HistoryUpdate, AHugeLineInTheAddressFileIsNotReadWhole)
{
    TempDir dir;
    qunsetenv(kServerVariable);
    const QByteArray huge(4 << 20, 'a');
    {
        QFile f(dir.path(kServerFileName));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("http://" + huge + "\nhttp://10.0.0.5:8000\n");
    }
    EXPECT_EQ(configuredServer(dir.path({})), QString());
    {
        QFile f(dir.path(kServerFileName));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("# source\nhttp://10.0.0.5:8000\n" + huge);
    }
    EXPECT_EQ(configuredServer(dir.path({})), QStringLiteral("http://10.0.0.5:8000"));
}
