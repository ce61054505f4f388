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

#include <QDir>
#include <QtEndian>

#include <atomic>
#include <fstream>
#include <string>
#include <thread>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/file.h>
#include <sys/socket.h>
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

// A server on a thread of its own that answers the first request with a
// chunked body that never ends, as fast as the loopback takes it, and counts
// the bytes it got out.
class EndlessChunkedServer {
public:
    EndlessChunkedServer()
    {
        m_listen = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof a;
        if (::bind(m_listen, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || ::listen(m_listen, 4) != 0
            || ::getsockname(m_listen, reinterpret_cast<sockaddr*>(&a), &size) != 0)
            return;
        m_port = ntohs(a.sin_port);
        m_thread = std::thread([this] { serve(); });
    }
    ~EndlessChunkedServer()
    {
        ::shutdown(m_listen, SHUT_RDWR);
        if (const int c = m_client.load(); c >= 0)
            ::shutdown(c, SHUT_RDWR);
        if (m_thread.joinable())
            m_thread.join();
        ::close(m_listen);
    }
    QString server() const { return QStringLiteral("http://127.0.0.1:%1").arg(m_port); }
    qint64 sent() const { return m_sent.load(); }

private:
    void serve()
    {
        const int c = ::accept4(m_listen, nullptr, nullptr, SOCK_CLOEXEC);
        if (c < 0)
            return;
        m_client = c;
        std::string request;
        char buffer[4096];
        while (request.find("\r\n\r\n") == std::string::npos) {
            const ssize_t n = ::recv(c, buffer, sizeof buffer, 0);
            if (n <= 0)
                return;
            request.append(buffer, std::size_t(n));
        }
        const std::string head = "HTTP/1.1 200 OK\r\nContent-Type: text/csv\r\nTransfer-Encoding: chunked\r\n\r\n";
        const std::string chunk = "10000\r\n" + std::string(0x10000, '1') + "\r\n";
        ::send(c, head.data(), head.size(), MSG_NOSIGNAL);
        for (;;) {
            const ssize_t n = ::send(c, chunk.data(), chunk.size(), MSG_NOSIGNAL);
            if (n <= 0)
                break;
            m_sent += n;
        }
    }

    int m_listen = -1;
    quint16 m_port = 0;
    std::atomic<int> m_client{-1};
    std::atomic<qint64> m_sent{0};
    std::thread m_thread;
};

// The peak resident memory of this process in KiB since the last reset.
qint64 peakResidentKiB()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stoll(line.substr(6));
    return -1;
}

void resetPeakResident() { std::ofstream("/proc/self/clear_refs") << "5"; }

// A gzip stream of n zero bytes (zlib's deflate data in gzip's frame).
QByteArray gzipOfZeros(qsizetype n)
{
    const QByteArray zeros(n, '\0');
    const QByteArray zlib = qCompress(zeros, 9).mid(4);  // without Qt's length prefix
    quint32 table[256];
    for (quint32 b = 0; b < 256; ++b) {
        quint32 c = b;
        for (int k = 0; k < 8; ++k)
            c = (c >> 1) ^ (0xedb88320u & (0u - (c & 1u)));
        table[b] = c;
    }
    quint32 crc = 0xffffffffu;
    for (qsizetype i = 0; i < n; ++i)
        crc = (crc >> 8) ^ table[crc & 0xffu];  // each byte is zero
    const quint32 trailer[2] = {qToLittleEndian(~crc), qToLittleEndian(quint32(n))};
    QByteArray gz("\x1f\x8b\x08\x00\x00\x00\x00\x00\x02\xff", 10);
    gz += zlib.mid(2, zlib.size() - 6);  // the raw deflate data between zlib's header and checksum
    gz += QByteArray(reinterpret_cast<const char*>(trailer), 8);
    return gz;
}

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
        {QStringLiteral("http://[::1"), QStringLiteral("「http://[::1」は使えません：IPv6 のアドレスを閉じる「]」がありません")},
        {QStringLiteral("http://[::1:8080/x.csv"), QStringLiteral("IPv6 のアドレスを閉じる「]」がありません")},
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

// A body that never ends is counted as it arrives and stopped at the cap: the
// transfer waits while received bytes are not yet counted, so memory stays
// near the cap and the server gets out little more than that.
TEST(HistoryDownload, AnEndlessChunkedBodyStopsAtTheCap)
{
    ensureCoreApplication();
    EndlessChunkedServer endless;
    const QString url = endless.server() + QStringLiteral("/endless.csv");
    const DownloadLimits limits{.idleTimeoutMs = 30'000, .totalTimeoutMs = 10 * 60'000, .maxBytes = 64LL << 20};
    resetPeakResident();
    const qint64 before = peakResidentKiB();
    const DownloadOutcome got = downloadHistory(QUrl(url), limits);
    const qint64 extraMiB = (peakResidentKiB() - before) / 1024;
    EXPECT_EQ(got.error, QStringLiteral("当選データをダウンロードできません：データが大きすぎます（67108864 バイトを超えています）（%1）").arg(url));
    EXPECT_TRUE(got.body.isEmpty());
    EXPECT_LT(endless.sent(), limits.maxBytes + (32LL << 20)) << "the server kept sending after the cap";
    EXPECT_LT(extraMiB, 100 + 64) << "the cap plus at most 100 MiB while counting";
}

// Faults of the answer name what happened and the address at fault, not the
// address the user set when a redirect went astray.
TEST(HistoryDownload, FaultsOfTheAnswerNameTheAddressAtFault)
{
    ensureCoreApplication();
    LoopbackHttp http;
    const QString path = kHistoryDownloadPath;
    const QString asked = http.server() + path;
    const QString prefix = QStringLiteral("当選データをダウンロードできません：");
    const struct {
        const char* name;
        LoopbackHttp::Reply reply;
        QString message;
    } cases[] = {
        {"gzip bomb",
         {.body = gzipOfZeros(64 << 20), .headers = "Content-Encoding: gzip\r\n"},
         QStringLiteral("サーバーが圧縮して送ったデータを展開できません（壊れているか、展開すると大きくなりすぎます）（%1）").arg(asked)},
        {"302 without Location",
         {.status = 302, .body = "moved"},
         QStringLiteral("「%1」が転送（HTTP 302）を返しましたが、転送先（Location）がありません（%1）").arg(asked)},
        {"redirect to a file",
         {.status = 302, .location = "file:///etc/passwd"},
         QStringLiteral("「%1」からの転送先「file:///etc/passwd」は http:// または https:// のアドレスではありません（%1）").arg(asked)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        http.serve(c.reply);
        const DownloadOutcome got = downloadHistory(historyUrl(http.server()), DownloadLimits{});
        EXPECT_EQ(got.error, prefix + c.message);
        EXPECT_FALSE(got.error.contains(kEnglish)) << got.error.toStdString();
    }
    // After a redirect, the hop that sent the faulty answer is named.
    http.serve({.status = 302, .location = "/second"});
    http.serveAt(QStringLiteral("/second"), {.status = 302, .location = "file:///etc/passwd"});
    EXPECT_EQ(downloadHistory(historyUrl(http.server()), DownloadLimits{}).error,
              prefix + QStringLiteral("「%1/second」からの転送先「file:///etc/passwd」は http:// または https:// のアドレスではありません（%2）")
                           .arg(http.server(), asked));
}

// A history file source is read through a work copy beside the history, not
// in the system's temporary folder, where a killed update left it for good;
// the next update clears such a copy like any work file there.
TEST(HistoryDownload, AHistoryFileSourceIsReadBesideTheHistory)
{
    ensureCoreApplication();
    TempDir dir;
    const QString target = dir.path(QStringLiteral("Mirkano.mdb"));
    const History full = sampleHistory();
    saveHistory(target, History(full.begin(), full.begin() + 10));
    LoopbackHttp http;
    http.serve({.body = historyBytes(dir, full)});

    TempDir temp;
    const QByteArray oldTemp = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(temp.path(QStringLiteral("missing"))));  // no temporary folder at all
    QString cause;
    try {
        const MergeResult merged = updateHistoryFile(target, http.server(), DownloadLimits{});
        EXPECT_EQ(merged.added, int(full.size()) - 10);
    } catch (const Error& e) {
        cause = e.message();
    }
    oldTemp.isNull() ? qunsetenv("TMPDIR") : qputenv("TMPDIR", oldTemp);
    EXPECT_EQ(cause, QString());
    EXPECT_EQ(loadHistory(target), full);
    EXPECT_EQ(folderEntries(dir.path(QString())), QStringList{QStringLiteral("Mirkano.mdb")});
}
