#include "core/shell/history_csv.h"
#include "support/fixtures.h"

#include <QFile>
#include <QFileInfo>
#include <QStringEncoder>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace mirkano;
using test::makeHistory;

namespace {

QString errorOf(const QByteArray& csv)
{
    try {
        parseHistoryCsv(csv, QStringLiteral("in.csv"));
    } catch (const HistoryError& e) {
        return e.message();
    }
    return QStringLiteral("(no error)");
}

}  // namespace

TEST(HistoryCsv, ReadsAnyColumnOrderLineEndsBomAndEmptyFields)
{
    const QByteArray csv =
        "\xEF\xBB\xBF"
        "日付,ボーナス数字,第6数字,第5数字,第4数字,第3数字,第2数字,第1数字,回数\r\n"
        "2000-10-12,5,43,21,20,16,9,1,2\r\n"
        "2000-10-05,39,30,27,13,10,8,2,1\n"
        ",,,, 31 ,,5,1,3\r\n"
        "\r\n"
        "\n";
    EXPECT_EQ(parseHistoryCsv(csv, QStringLiteral("in.csv")), makeHistory({
                                                                      {1, {2, 8, 10, 13, 27, 30, 39}},
                                                                      {2, {1, 9, 16, 20, 21, 43, 5}},
                                                                      {3, {1, 5, 0, 31, 0, 0, 0}},
                                                                  }));
}

// What spreadsheet programs save: any of the usual encodings and line ends,
// and standard quoting, all read as the same history.
TEST(HistoryCsv, ReadsEveryUsualEncodingLineEndAndQuoting)
{
    const QString text = QStringLiteral(
        "回数,日付,第1数字,第2数字,第3数字,第4数字,第5数字,第6数字,ボーナス数字,備考\n"
        "1,\"2000年10月5日, 木曜\",2,8,10,13,27,30,39,\"初回 \"\"記念\"\"\"\n"
        "2,2000/10/12,\"1\", 9 ,16,20,21,43,5,\"二行に\n渡る備考\"\n");
    const History expected = makeHistory({{1, {2, 8, 10, 13, 27, 30, 39}}, {2, {1, 9, 16, 20, 21, 43, 5}}});
    QStringEncoder sjis("Shift_JIS");
    ASSERT_TRUE(sjis.isValid());
    for (const char* lineEnd : {"\n", "\r\n", "\r"}) {
        const QString t = QString(text).replace(u'\n', QString::fromLatin1(lineEnd));
        const struct {
            const char* name;
            QByteArray bytes;
        } forms[] = {
            {"UTF-8", t.toUtf8()},
            {"UTF-8 with BOM", "\xEF\xBB\xBF" + t.toUtf8()},
            {"UTF-16LE with BOM", QStringEncoder(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom).encode(t)},
            {"UTF-16BE with BOM", QStringEncoder(QStringEncoder::Utf16BE, QStringEncoder::Flag::WriteBom).encode(t)},
            {"Shift_JIS", sjis.encode(t)},
        };
        for (const auto& f : forms) {
            SCOPED_TRACE(std::string(f.name) + " " + (lineEnd[0] == '\r' ? (lineEnd[1] ? "CRLF" : "CR") : "LF"));
            EXPECT_EQ(parseHistoryCsv(f.bytes, QStringLiteral("in.csv")), expected);
        }
    }
    // Line numbers count CR-only line ends and lines inside quoted fields.
    EXPECT_EQ(errorOf(QStringEncoder("Shift_JIS").encode(
                  QStringLiteral("回数,備考,第1数字,第2数字,第3数字,第4数字,第5数字,第6数字,ボーナス数字\r"
                                 "1,\"a\rb\",2,8,10,13,27,30,39\r2,,1,9,16,20,21,43,x\r"))),
              QStringLiteral("CSV「in.csv」の4行目：ボーナス数字「x」が整数ではありません"));
}

TEST(HistoryCsv, BadLineIsReportedWithItsNumberAndCause)
{
    const QByteArray header = "回数,日付,第1数字,第2数字,第3数字,第4数字,第5数字,第6数字,ボーナス数字\n";
    const QByteArray good = "1,2000-10-05,2,8,10,13,27,30,39\n";
    struct Case {
        QByteArray csv;
        const char* message;
    };
    const Case cases[] = {
        {"", "1行目：見出し行がありません"},
        {"回数,第1数字,第2数字,第3数字,第4数字,第5数字,第6数字\n", "1行目：見出しに「ボーナス数字」がありません"},
        {header + good + "2,2000-10-12,1,9,16,20,21,43\n", "3行目：項目の数が8個です（見出しは9個）"},
        {header + good + "2,,1,9,x,20,21,43,5\n", "3行目：第3数字「x」が整数ではありません"},
        {header + good + "2,,1,9,16.0,20,21,43,5\n", "3行目：第3数字「16.0」が整数ではありません"},
        {header + good + "2,,1,9,16,20,21,43,44\n", "3行目：ボーナス数字 44 が 1～43 の範囲外です"},
        {header + good + "2,,0,9,16,20,21,43,5\n", "3行目：第1数字 0 が 1～43 の範囲外です"},
        {header + good + "2,,-1,9,16,20,21,43,5\n", "3行目：第1数字 -1 が 1～43 の範囲外です"},
        {header + good + "0,,1,9,16,20,21,43,5\n", "3行目：回数 0 が 1～32767 の範囲外です"},
        {header + good + "32768,,1,9,16,20,21,43,5\n", "3行目：回数 32768 が 1～32767 の範囲外です"},
        {header + good + ",,1,9,16,20,21,43,5\n", "3行目：回数が空です"},
        {header + good + "\n2,,1,9,16,20,21,43,5\n", "3行目：項目の数が1個です（見出しは9個）"},
        {header + good + "2,,1,9,16,20,21,43,5\n1,,1,9,16,20,21,43,5\n", "4行目：回数 1 が重複しています（2行目と同じ）"},
        {header + good + "2,\"2000,1,9,16,20,21,43,5\n", "3行目：引用符 \" が閉じていません"},
        // A NUL does not cut the message short; a long field is quoted as an excerpt.
        {header + good + QByteArray("2,,1,9,1\0x,20,21,43,5\n", 23), "3行目：第3数字「1\xEF\xBF\xBDx」が整数ではありません"},
        {header + good + "2,,1,9," + QByteArray(1 << 20, '7') + ",20,21,43,5\n",
         "3行目：第3数字 7777777777777777… が 1～43 の範囲外です"},
        {header + good + "x" + QByteArray(1 << 20, 'y') + ",,1,9,16,20,21,43,5\n",
         "3行目：回数「xyyyyyyyyyyyyyyy…」が整数ではありません"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.csv.toStdString());
        EXPECT_EQ(errorOf(c.csv), QStringLiteral("CSV「in.csv」の") + QString::fromUtf8(c.message));
    }
    // Bytes in no encoding the reader knows are not taken for a header without 回数.
    EXPECT_EQ(errorOf("\x80\xFF\xFE,\xFD\n"),
              QStringLiteral("CSV「in.csv」を読み取れません：文字コードが UTF-8、UTF-16、シフトJIS のいずれでもありません"));
}

TEST(HistoryCsv, ExportWritesFixedHeaderAndRoundTrips)
{
    const History h = makeHistory({{1, {2, 8, 10, 13, 27, 30, 39}}, {2, {1, 5, 0, 31, 36, 38, 0}}});
    EXPECT_EQ(historyToCsv(h), QByteArray("回数,第1数字,第2数字,第3数字,第4数字,第5数字,第6数字,ボーナス数字\n"
                                          "1,2,8,10,13,27,30,39\n"
                                          "2,1,5,,31,36,38,\n"));

    const History& sample = test::sampleHistory();
    ASSERT_EQ(sample.size(), 2137u);
    EXPECT_EQ(sample.back().drawNo, 2137);
    EXPECT_EQ(parseHistoryCsv(historyToCsv(sample), QStringLiteral("x")), sample);
}

TEST(HistoryCsv, FilesThatCannotBeAHistoryAreRefusedWithPathAndCause)
{
    test::TempDir dir;
    // Far larger than any history: refused from its size, before it is read.
    const QString huge = dir.path(QStringLiteral("huge.csv"));
    {
        QFile f(huge);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_TRUE(f.resize(qint64(3) << 30));  // sparse
    }
    const QString pipe = dir.path(QStringLiteral("pipe.csv"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0644), 0);
    const struct {
        QString path;
        QString message;
    } cases[] = {
        {dir.path(QStringLiteral("none.csv")), QStringLiteral("を開けません：ファイルがありません")},
        {dir.path(QString()), QStringLiteral("を開けません：ファイルではなくフォルダーです")},
        {huge, QStringLiteral("を読み取れません：32 MB を超える大きさで、履歴の CSV ではありません")},
        // Only a regular file is read: a device without end and a named
        // pipe (whose open would wait for a writer) are refused at once.
        {QStringLiteral("/dev/zero"), QStringLiteral("を開けません：デバイスで、通常のファイルではありません")},
        {pipe, QStringLiteral("を開けません：名前付きパイプで、通常のファイルではありません")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        try {
            readHistoryCsv(c.path);
            ADD_FAILURE() << "no error";
        } catch (const HistoryError& e) {
            EXPECT_EQ(e.message(), QStringLiteral("CSV「%1」").arg(QFileInfo(c.path).absoluteFilePath()) + c.message);
        }
    }
}
