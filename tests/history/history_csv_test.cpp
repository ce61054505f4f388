#include "core/history/history_csv.h"
#include "core/history/history_store.h"
#include "core/maintenance/history_merge.h"
#include "support/fixtures.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QStringEncoder>

#include <gtest/gtest.h>

#include <functional>
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
        {"回数,第1数字,第2数字,第3数字,第4数字,第5数字,第6数字\n", "1行目：見出し「回数,第1数字,第2数字,第3数字,第4数字,第5数字,第6数字」にボーナス数字の列がありません（見出しは「ボーナス数字」「BONUS数字」「ボーナス」「B数字」のどれかです）"},
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
        // A draw's seven numbers are different: a repeated main or a bonus equal to a main.
        {header + "1,2000-10-05,2,2,10,13,27,30,30\n", "2行目：第2数字 2 が第1数字と同じです（1回の数字はすべて異なる数字です）"},
        {header + good + "2,,1,9,16,20,21,43,9\n", "3行目：ボーナス数字 9 が第2数字と同じです（1回の数字はすべて異なる数字です）"},
        {header + good + "2,,1,,16,20,,16,\n", "3行目：第6数字 16 が第3数字と同じです（1回の数字はすべて異なる数字です）"},
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

namespace {

// The real history's rows as written in the bundled CSV: 回数, date, numbers.
struct RealRow {
    int drawNo;
    QDate date;
    QStringList numbers;  // 第1数字 … 第6数字, ボーナス数字
};

std::vector<RealRow> realRows()
{
    QFile f(QStringLiteral(MIRKANO_SAMPLE_CSV));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    std::vector<RealRow> rows;
    const QList<QByteArray> lines = f.readAll().split('\n');
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QStringList fields = QString::fromUtf8(lines[i]).trimmed().split(u',');
        if (fields.size() < 9)
            continue;
        rows.push_back({fields[0].toInt(), QDate::fromString(fields[1], Qt::ISODate), fields.mid(2, 7)});
    }
    return rows;
}

QString eraDate(QDate d)
{
    const bool heisei = d < QDate(2019, 5, 1);
    const int year = d.year() - (heisei ? 1988 : 2018);
    return QStringLiteral("%1%2年%3月%4日")
        .arg(heisei ? u"平成" : u"令和", year == 1 ? QStringLiteral("元") : QString::number(year))
        .arg(d.month())
        .arg(d.day());
}

QString fullWidth(const QString& s)
{
    QString out;
    for (QChar c : s)
        out += (c >= u'0' && c <= u'9') ? QChar(c.unicode() - u'0' + 0xFF10) : c;
    return out;
}

}  // namespace

// The layouts Japanese result sites and spreadsheets use, each written from
// the real history, all read as the bundled history and merged into it.
TEST(HistoryCsv, ReadsTheCommonPublicLayouts)
{
    const std::vector<RealRow> real = realRows();
    ASSERT_EQ(real.size(), 2137u);
    struct Layout {
        const char* name;
        QString header;  // empty: no header row
        std::function<QString(const RealRow&)> row;
        QByteArray (*encode)(const QString&);
    };
    auto utf8 = [](const QString& t) { return t.toUtf8(); };
    auto sjisCrLf = [](const QString& t) {
        QStringEncoder sjis("Shift_JIS");
        const QString crLf = QString(t).replace(u'\n', QStringLiteral("\r\n"));
        return QByteArray(sjis.encode(crLf));
    };
    auto utf16 = [](const QString& t) {
        return QByteArray(QStringEncoder(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom).encode(t));
    };
    const Layout layouts[] = {
        {"public prize columns, Shift_JIS, CR LF",
         QStringLiteral("開催回,日付,第1数字,第2数字,第3数字,第4数字,第5数字,第6数字,BONUS数字,1等口数,2等口数,"
                        "3等口数,4等口数,5等口数,1等賞金,2等賞金,3等賞金,4等賞金,5等賞金,キャリーオーバー"),
         [](const RealRow& r) {
             return QStringLiteral("%1,%2,%3,0,3,120,6000,98000,0,15000000,560000,9800,1000,0")
                 .arg(r.drawNo)
                 .arg(r.date.toString(QStringLiteral("yyyy/M/d")), r.numbers.join(u','));
         },
         sjisCrLf},
        {"one 本数字 title over six columns, 第n回",
         QStringLiteral("抽選回,本数字,,,,,,B数字"),
         [](const RealRow& r) { return QStringLiteral("第%1回,%2").arg(r.drawNo).arg(r.numbers.join(u',')); }, utf8},
        {"era dates, 数字n",
         QStringLiteral("回,抽せん日,数字1,数字2,数字3,数字4,数字5,数字6,ボーナス"),
         [](const RealRow& r) {
             return QStringLiteral("%1,%2,%3").arg(r.drawNo).arg(eraDate(r.date), r.numbers.join(u','));
         },
         utf8},
        {"full-width header and digits, 年月日, UTF-16",
         QStringLiteral("回号,抽選日,本数字１,本数字２,本数字３,本数字４,本数字５,本数字６,ボーナス数字"),
         [](const RealRow& r) {
             return fullWidth(QStringLiteral("第%1回,%2年%3月%4日,%5")
                                  .arg(r.drawNo)
                                  .arg(r.date.year())
                                  .arg(r.date.month())
                                  .arg(r.date.day())
                                  .arg(r.numbers.join(u',')));
         },
         utf16},
        {"no header, with dates", QString(),
         [](const RealRow& r) {
             return QStringLiteral("%1,%2,%3").arg(r.drawNo).arg(r.date.toString(Qt::ISODate), r.numbers.join(u','));
         },
         utf8},
        {"no header, no dates", QString(),
         [](const RealRow& r) { return QStringLiteral("%1,%2").arg(r.drawNo).arg(r.numbers.join(u',')); }, sjisCrLf},
    };
    const History expected = test::sampleHistory();
    const History cut(expected.begin(), expected.begin() + 2000);
    for (const Layout& l : layouts) {
        SCOPED_TRACE(l.name);
        QString text = l.header.isEmpty() ? QString() : l.header + u'\n';
        for (const RealRow& r : real)
            text += l.row(r) + u'\n';
        try {
            const History read = parseHistoryCsv(l.encode(text), QStringLiteral("in.csv"));
            EXPECT_EQ(read, expected);
            // Merged into the history cut to its first 2,000 draws: the 137 new ones.
            const MergeResult merged = mergeHistories(cut, read, MergePreference::Refuse);
            EXPECT_EQ(merged.added, 137);
            EXPECT_EQ(merged.rows, expected);
        } catch (const HistoryError& e) {
            ADD_FAILURE() << e.message().toStdString();
        }
    }
}

// Dates are read in every usual form and must go forward with the draws; a
// header the reader cannot map says which column is missing.
TEST(HistoryCsv, RefusesUnreadableDatesDatesOutOfOrderAndUnmappedHeaders)
{
    const QByteArray header = "開催回,日付,第1数字,第2数字,第3数字,第4数字,第5数字,第6数字,BONUS数字\n";
    struct Case {
        QByteArray csv;
        const char* message;
    };
    const Case cases[] = {
        {header + "1,2000/13/5,2,8,10,13,27,30,39\n",
         "2行目：日付「2000/13/5」が読めません（2000-10-05、2000/10/5、2000年10月5日、令和8年9月14日 のように書いてください）"},
        {header + "1,令和0年1月1日,2,8,10,13,27,30,39\n",
         "2行目：日付「令和0年1月1日」が読めません（2000-10-05、2000/10/5、2000年10月5日、令和8年9月14日 のように書いてください）"},
        {header + "1,2000/10/12,2,8,10,13,27,30,39\n2,2000/10/5(木),1,9,16,20,21,43,5\n",
         "3行目：第2回の日付 2000-10-05 が第1回の日付 2000-10-12 より前です"},
        {"回数,本数字,,,,,B数字\n1,2,8,10,13,27,39\n",
         "1行目：見出し「本数字」の後に本数字の列が6個ありません（「本数字」に続く5個の見出しを空にしてください）"},
        {"No,Date,N1,N2,N3,N4,N5,N6,B\n1,2000-10-05,2,8,10,13,27,30,39\n",
         "1行目：見出し「No,Date,N1,N2,N3,N4,N5,N6,B」に回数の列がありません（見出しは「回数」「回」「回号」「回別」「開催回」「抽選回」「抽せん回」のどれかです）"},
        {"回,第1数字,第2数字,数字4,第5数字,第6数字,第7数字,ボーナス\n",
         "1行目：見出し「回,第1数字,第2数字,数字4,第5数字,第6数字,第7数字,ボーナス」に第3数字の列がありません（見出しは「第3数字」「数字3」「本数字3」のどれか、または本数字6列の先頭に「本数字」、続く5列を空の見出しにします）"},
        {"1,2,8,10,13,27,30,39\n2,2000-10-12,1,9,16,20,21,43,5\n", "2行目：項目の数が9個です（1行目は8個）"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.csv.toStdString());
        EXPECT_EQ(errorOf(c.csv), QStringLiteral("CSV「in.csv」の") + QString::fromUtf8(c.message));
    }
    // Era dates across the change of era, with weekdays, read in order.
    EXPECT_EQ(parseHistoryCsv(header + "1,平成31年4月25日(木),2,8,10,13,27,30,39\n"
                                       "2,令和元年5月2日 木曜日,1,9,16,20,21,43,5\n",
                              QStringLiteral("in.csv"))
                  .size(),
              2u);
}

// An era date is read only within its era's span; everything else in the
// text is folded only from its full-width form.
TEST(HistoryCsv, ReadsEraDatesWithinTheirSpanAndFoldsOnlyFullWidthForms)
{
    const QByteArray header = "回数,日付,第1数字,第2数字,第3数字,第4数字,第5数字,第6数字,ボーナス数字\n";
    const auto withDate = [&](const char* date) { return header + "1," + date + ",2,8,10,13,27,30,39\n"; };
    for (const char* date : {"平成31年4月30日", "令和元年5月1日", "平成元年1月8日", "昭和64年1月7日",
                             "大正15年12月24日", "明治45年7月29日", "\xE3\x8D\xBB" "12年10月5日" /* ㍻ */}) {
        SCOPED_TRACE(date);
        EXPECT_EQ(errorOf(withDate(date)), QStringLiteral("(no error)"));
    }
    const struct {
        const char* date;
        const char* span;
    } refused[] = {
        {"平成31年5月1日", "平成の日付は平成元年1月8日（1989-01-08）から平成31年4月30日（2019-04-30）までです"},
        {"平成99年1月1日", "平成の日付は平成元年1月8日（1989-01-08）から平成31年4月30日（2019-04-30）までです"},
        {"令和元年4月30日", "令和の日付は令和元年5月1日（2019-05-01）からです"},
        {"昭和64年1月8日", "昭和の日付は昭和元年12月25日（1926-12-25）から昭和64年1月7日（1989-01-07）までです"},
        {"明治5年1月1日", "明治の日付は明治6年1月1日（1873-01-01）から明治45年7月29日（1912-07-29）までです"},
    };
    for (const auto& r : refused) {
        SCOPED_TRACE(r.date);
        EXPECT_EQ(errorOf(withDate(r.date)), QStringLiteral("CSV「in.csv」の2行目：日付「%1」が読めません（%2）")
                                                 .arg(QString::fromUtf8(r.date), QString::fromUtf8(r.span)));
    }
    // Full-width digits and half-width katakana titles are folded; a
    // superscript or circled digit is no digit.
    EXPECT_EQ(parseHistoryCsv("回数,第1数字,第2数字,第3数字,第4数字,第5数字,第6数字,ﾎﾞｰﾅｽ数字\n"
                              "１,２,８,１０,１３,２７,３０,３９\n",
                              QStringLiteral("in.csv")),
              makeHistory({{1, {2, 8, 10, 13, 27, 30, 39}}}));
    EXPECT_EQ(errorOf(header + "1,,\xC2\xB9,8,10,13,27,30,39\n"), QStringLiteral("CSV「in.csv」の2行目：第1数字「¹」が整数ではありません"));
    EXPECT_EQ(errorOf(header + "1,,2,8,10,13,27,30,\xE2\x91\xA0\n"),
              QStringLiteral("CSV「in.csv」の2行目：ボーナス数字「①」が整数ではありません"));
}

// Bytes that are no text the reader takes are refused with the encoding they
// are in, or, for a history file, with the way to take one in.
TEST(HistoryCsv, RefusesCutTextAndEncodingsItDoesNotReadByName)
{
    const QString text = QStringLiteral("回数,第1数字,第2数字,第3数字,第4数字,第5数字,第6数字,ボーナス数字\n1,2,8,10,13,27,30,39\n");
    const QByteArray utf16 = QStringEncoder(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom).encode(text);
    const QByteArray utf32le = QStringEncoder(QStringEncoder::Utf32LE, QStringEncoder::Flag::WriteBom).encode(text);
    const QByteArray utf32be = QStringEncoder(QStringEncoder::Utf32BE).encode(text);
    const QByteArray utf16be = QStringEncoder(QStringEncoder::Utf16BE).encode(text);
    const QString readable = QStringLiteral("UTF-8、バイト順マーク付きの UTF-16、シフトJIS のどれかで保存してください");
    const struct {
        QByteArray bytes;
        QString cause;
    } cases[] = {
        {utf16 + 'x', QStringLiteral("UTF-16 のファイルが途中で切れています（大きさ %1 バイトが奇数です）").arg(utf16.size() + 1)},
        {"\xEF\xBB\xBF" + text.toUtf8() + "\xE6\x95", QStringLiteral("UTF-8 として読めない文字があります")},
        {utf32le, QStringLiteral("文字コードが UTF-32 です。") + readable},
        {utf32be, QStringLiteral("文字コードが UTF-32 のようです。") + readable},
        {utf16be, QStringLiteral("文字コードがバイト順マークのない UTF-16 のようです。") + readable},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cause.toStdString());
        EXPECT_EQ(errorOf(c.bytes), QStringLiteral("CSV「in.csv」を読み取れません：") + c.cause);
    }

    // A history file given as the CSV.
    test::TempDir dir;
    const QString history = dir.path(QStringLiteral("Mirkano.mdb"));
    saveHistory(history, makeHistory({{1, {2, 8, 10, 13, 27, 30, 39}}}));
    try {
        readHistoryCsv(history);
        ADD_FAILURE() << "no error";
    } catch (const HistoryError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("CSV「%1」を読み取れません：CSV ではなく履歴ファイル（データベース）です。"
                                              "履歴ファイルの当選データを取り込むには、mirkano-cli export --db そのファイル > "
                                              "当選データ.csv で CSV に書き出し、その CSV を取り込んでください")
                                   .arg(QFileInfo(history).absoluteFilePath()));
    }
}
