#include "core/shell/history_csv.h"
#include "support/fixtures.h"

#include <QFile>

#include <gtest/gtest.h>

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
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.csv.toStdString());
        EXPECT_EQ(errorOf(c.csv), QStringLiteral("CSV「in.csv」の") + QString::fromUtf8(c.message));
    }
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

TEST(HistoryCsv, MissingFileNamesThePath)
{
    test::TempDir dir;
    const QString path = dir.path(QStringLiteral("none.csv"));
    try {
        readHistoryCsv(path);
        FAIL() << "no error";
    } catch (const HistoryError& e) {
        EXPECT_TRUE(e.message().startsWith(QStringLiteral("CSV「%1」を開けません：").arg(path))) << e.what();
    }
}
