// The causes an update names: a server setting that cannot be used, a
// connection that fails, a redirect that goes nowhere or round in circles,
// each in Japanese words of its own; and the work files of killed updates.

#include "core/maintenance/history_download.h"
#include "core/maintenance/history_update.h"
#include "maintenance/maintenance_support.h"
#include "support/loopback_http.h"

#include <QDateTime>
#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

using namespace mirkano;
using namespace mirkano::test;

namespace {

template <typename F>
QString causeOf(F&& f)
{
    try {
        f();
    } catch (const Error& e) {
        return e.message();
    }
    return {};
}

// Words of the system or of Qt that must not reach the user.
const QRegularExpression kEnglish(QStringLiteral("refused|not found|Connection|Host |redirect|Error|error"));

}  // namespace

TEST(HistoryDownload, EachFaultOfTheServerSettingHasItsOwnCause)
{
    const QString huge = QStringLiteral("http://example.jp/") + QString(100'000, u'a');
    const struct {
        QString server;
        QString cause;
    } cases[] = {
        {QStringLiteral("example.jp"), QStringLiteral("「example.jp」は http:// または https:// で始まるアドレスではありません")},
        {QStringLiteral("ftp://example.jp"), QStringLiteral("で始まるアドレスではありません")},
        {QStringLiteral("http://example.jp:8080/?q=1"),
         QStringLiteral("「?」から後（問い合わせ）は、ファイルそのもののアドレスにだけ付けられます")},
        {QStringLiteral("http://example.jp#top"), QStringLiteral("「#」から後は付けられません")},
        {QStringLiteral("http://example.jp:99999"), QStringLiteral("ポート番号「99999」が 1～65535 の範囲の数ではありません")},
        {QStringLiteral("http://example.jp:0"), QStringLiteral("ポート番号「0」が")},
        {QStringLiteral("http://example.jp:80a"), QStringLiteral("ポート番号「80a」が")},
        {QStringLiteral("http://"), QStringLiteral("ホスト名がありません")},
        {QStringLiteral("http://:8080"), QStringLiteral("ホスト名がありません")},
        {QStringLiteral("http://exa mple.jp"), QStringLiteral("アドレスに使えない文字があります")},
        {QStringLiteral("http://example.jp:8080/?") + QString(100'000, u'q'), QStringLiteral("問い合わせ")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.server.left(60).toStdString());
        const QString message = causeOf([&] { historyUrl(c.server); });
        EXPECT_TRUE(message.contains(c.cause)) << message.toStdString();
        EXPECT_LT(message.size(), 300) << "the setting is quoted with its first characters only";
    }
    // Scheme, host and port name a server; with a path, also a long one, the
    // address is the file's own, and may carry a query.
    EXPECT_EQ(historyUrl(QStringLiteral("http://[::1]:8080/")).toString(),
              QStringLiteral("http://[::1]:8080/download/Mirkano/Mirkano.mdb"));
    EXPECT_EQ(historyUrl(QStringLiteral("http://[::1]:8080/mirror/loto6.csv")).toString(),
              QStringLiteral("http://[::1]:8080/mirror/loto6.csv"));
    EXPECT_EQ(historyUrl(QStringLiteral("https://example.jp/dl?file=loto6.csv")).toString(),
              QStringLiteral("https://example.jp/dl?file=loto6.csv"));
    EXPECT_EQ(causeOf([&] { historyUrl(huge); }), QString());
}

TEST(HistoryDownload, FailedConnectionsAndRedirectsAreNamedInJapanese)
{
    ensureCoreApplication();
    TempDir dir;
    const QString target = dir.path(QStringLiteral("Mirkano.mdb"));
    saveHistory(target, makeHistory({{1, {1, 2, 3, 4, 5, 6, 7}}}));
    const QByteArray old = fileBytes(target);
    const DownloadLimits limits{.idleTimeoutMs = 30'000, .totalTimeoutMs = 60'000, .maxBytes = 1 << 20};

    QString closed;  // a port no one listens on
    {
        LoopbackHttp gone;
        closed = gone.server();
    }
    LoopbackHttp http;
    const QString path = kHistoryDownloadPath;
    const auto update = [&](const QString& server) { return causeOf([&] { updateHistoryFile(target, server, limits); }); };
    const QString prefix = QStringLiteral("当選データをダウンロードできません：");

    const QString refused = update(closed);
    EXPECT_EQ(refused, prefix + QStringLiteral("サーバーが接続を拒否しました（サーバーが動いていないか、ポート番号が違います）（%1%2）")
                                    .arg(closed, path));

    // A redirect whose target refuses the connection, or answers 404.
    http.serve({.status = 301, .location = (closed + QStringLiteral("/elsewhere")).toLatin1()});
    EXPECT_EQ(update(http.server()),
              prefix + QStringLiteral("転送先「%1/elsewhere」に接続できません：サーバーが接続を拒否しました（サーバーが動いていないか、ポート番号が違います）（%2%3）")
                           .arg(closed, http.server(), path));
    http.serve({.status = 302, .location = "/moved"});
    http.serveAt(QStringLiteral("/moved"), {.status = 404, .body = "no"});
    EXPECT_EQ(update(http.server()), prefix + QStringLiteral("転送先「%1/moved」が HTTP 404 Not Found を返しました（%1%2）")
                                                  .arg(http.server(), path));

    // An endless chain of redirects (/hop/1, /hop/2, …) stops after five hops.
    LoopbackHttp chain;
    chain.serve({.status = 301, .location = "/hop/1"});
    for (int hop = 1; hop <= 20; ++hop)
        chain.serveAt(QStringLiteral("/hop/%1").arg(hop), {.status = 301, .location = "/hop/" + QByteArray::number(hop + 1)});
    EXPECT_EQ(update(chain.server()), prefix + QStringLiteral("サーバーの転送（リダイレクト）が 5 回を超えたため中止しました（%1%2）")
                                                   .arg(chain.server(), path));
    QStringList hops = chain.paths();
    hops.removeDuplicates();  // a request may be sent again on a new connection
    EXPECT_EQ(hops.size(), 1 + kMaxRedirects) << hops.join(u' ').toStdString();

    // A host name that does not resolve (.invalid never does).
    const QString unknown = update(QStringLiteral("http://no-such-host.invalid:8080"));
    EXPECT_TRUE(unknown.contains(QStringLiteral("サーバー「no-such-host.invalid」が見つかりません"))) << unknown.toStdString();

    for (const QString& message : {refused, unknown})
        EXPECT_FALSE(message.contains(kEnglish)) << message.toStdString();
    EXPECT_EQ(fileBytes(target), old);
}

// Work files of updates killed earlier (".<name>.<id>.download") are removed
// by the next update, whatever its outcome; one a running update holds, one
// made after this process started, and other files are kept.
TEST(HistoryDownload, UpdateRemovesTheDownloadWorkFilesOfKilledUpdates)
{
    ensureCoreApplication();
    TempDir dir;
    const QString target = dir.path(QStringLiteral("Mirkano.mdb"));
    saveHistory(target, makeHistory({{1, {1, 2, 3, 4, 5, 6, 7}}}));
    const auto make = [&](const QString& name, bool old) {
        QFile f(dir.path(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("x");
        f.flush();
        if (old)
            f.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime);
    };
    make(QStringLiteral(".Mirkano.mdb.dead.download"), true);
    make(QStringLiteral(".Mirkano.mdb.dead.download-journal"), true);
    make(QStringLiteral(".Mirkano.mdb.held.download"), true);
    make(QStringLiteral(".Mirkano.mdb.new.download"), false);
    make(QStringLiteral(".Other.mdb.dead.download"), true);
    make(QStringLiteral("notes.download"), true);
    const int held = ::open(QFile::encodeName(dir.path(QStringLiteral(".Mirkano.mdb.held.download"))).constData(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(held, 0);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);

    LoopbackHttp http;
    http.serve({.status = 404, .body = "no"});
    EXPECT_TRUE(causeOf([&] { updateHistoryFile(target, http.server(), DownloadLimits{}); }).contains(QStringLiteral("HTTP 404")));
    ::close(held);
    EXPECT_EQ(folderEntries(dir.path(QString())),
              (QStringList{QStringLiteral(".Mirkano.mdb.held.download"), QStringLiteral(".Mirkano.mdb.new.download"),
                           QStringLiteral(".Other.mdb.dead.download"), QStringLiteral("Mirkano.mdb"), QStringLiteral("notes.download")}));
}
