// The CSV of each game: its own layout and the public one (Shift_JIS, CR LF)
// with and without a header, the game a layout shows, a CSV of one game
// refused as another's, and the export of each game's header.

#include "core/history/history_csv.h"
#include "support/fixtures.h"

#include <QDate>
#include <QFile>
#include <QStringEncoder>

#include <gtest/gtest.h>

#include <functional>
#include <optional>

using namespace mirkano;

namespace {

// A draw of a bundled CSV as text: 回数, date, the numbers.
struct RealRow {
    int drawNo;
    QDate date;
    QStringList numbers;
};

std::vector<RealRow> realRows(GameId game)
{
    QFile f(test::sampleCsvPath(game));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    std::vector<RealRow> rows;
    const QList<QByteArray> lines = f.readAll().split('\n');
    for (qsizetype i = 1; i < lines.size(); ++i) {
        if (lines[i].isEmpty())
            continue;
        const QStringList fields = QString::fromUtf8(lines[i]).split(u',');
        rows.push_back({fields[0].toInt(), QDate::fromString(fields[1], Qt::ISODate), fields.mid(2)});
    }
    return rows;
}

QByteArray utf8(const QString& t) { return t.toUtf8(); }
QByteArray sjisCrLf(const QString& t)
{
    QStringEncoder sjis("Shift_JIS");
    return QByteArray(sjis.encode(QString(t).replace(u'\n', QStringLiteral("\r\n"))));
}

QString errorOf(const QByteArray& csv, std::optional<GameId> game)
{
    try {
        parseHistoryCsv(csv, QStringLiteral("in.csv"), game);
    } catch (const HistoryError& e) {
        return e.message();
    }
    return QStringLiteral("(no error)");
}

}  // namespace

TEST(HistoryCsvGames, ReadsEachGamesLayoutsAndTellsTheGameFromThem)
{
    struct Layout {
        GameId game;
        const char* name;
        QString header;  // empty: no header row
        std::function<QString(const RealRow&)> row;
        QByteArray (*encode)(const QString&);
        std::optional<GameId> shown;  // the game read without one given
    };
    const auto withDate = [](const RealRow& r) {
        return QStringLiteral("%1,%2,%3").arg(r.drawNo).arg(r.date.toString(Qt::ISODate), r.numbers.join(u','));
    };
    const auto withoutDate = [](const RealRow& r) { return QStringLiteral("%1,%2").arg(r.drawNo).arg(r.numbers.join(u',')); };
    // The public layout: 開催回, a date like 2013/4/5, the numbers, then prize columns.
    const auto publicRow = [](const RealRow& r) {
        return QStringLiteral("%1,%2,%3,0,3,120,6000,98000,0,0")
            .arg(r.drawNo)
            .arg(r.date.toString(QStringLiteral("yyyy/M/d")), r.numbers.join(u','));
    };
    const Layout layouts[] = {
        {GameId::Loto7, "own",
         QStringLiteral("回数,日付,第1数字,第2数字,第3数字,第4数字,第5数字,第6数字,第7数字,ボーナス数字1,ボーナス数字2"),
         withDate, utf8, GameId::Loto7},
        {GameId::Loto7, "public, Shift_JIS, CR LF",
         QStringLiteral("開催回,日付,第1数字,第2数字,第3数字,第4数字,第5数字,第6数字,第7数字,BONUS数字1,BONUS数字2,"
                        "1等口数,2等口数,3等口数,4等口数,5等口数,6等口数,キャリーオーバー"),
         publicRow, sjisCrLf, GameId::Loto7},
        {GameId::Loto7, "one 本数字 title over seven columns",
         QStringLiteral("回,本数字,,,,,,,B数字1,B数字2"), withoutDate, utf8, GameId::Loto7},
        {GameId::Loto7, "no header, dates", QString(), withDate, utf8, GameId::Loto7},
        {GameId::Loto7, "no header", QString(), withoutDate, sjisCrLf, GameId::Loto7},
        {GameId::MiniLoto, "own",
         QStringLiteral("回数,日付,第1数字,第2数字,第3数字,第4数字,第5数字,ボーナス数字"), withDate, utf8, GameId::MiniLoto},
        {GameId::MiniLoto, "public, Shift_JIS, CR LF",
         QStringLiteral("開催回,日付,第1数字,第2数字,第3数字,第4数字,第5数字,BONUS数字,"
                        "1等口数,2等口数,3等口数,4等口数,1等賞金,2等賞金,キャリーオーバー"),
         publicRow, sjisCrLf, GameId::MiniLoto},
        // Eight fields fit Loto 6 without a date as well: read as Loto 6 unless the game is given.
        {GameId::MiniLoto, "no header, dates", QString(), withDate, utf8, std::nullopt},
        {GameId::MiniLoto, "no header", QString(), withoutDate, sjisCrLf, GameId::MiniLoto},
    };
    for (const Layout& l : layouts) {
        SCOPED_TRACE(std::string(game(l.game).cliName.toString().toStdString()) + ": " + l.name);
        QString text = l.header.isEmpty() ? QString() : l.header + u'\n';
        for (const RealRow& r : realRows(l.game))
            text += l.row(r) + u'\n';
        const QByteArray bytes = l.encode(text);
        try {
            EXPECT_EQ(parseHistoryCsv(bytes, QStringLiteral("in.csv"), l.game), test::sampleHistory(l.game));
            if (l.shown) {
                const CsvHistory read = parseGameHistoryCsv(bytes, QStringLiteral("in.csv"), std::nullopt);
                EXPECT_EQ(read.game, *l.shown);
                EXPECT_EQ(read.rows, test::sampleHistory(l.game));
            }
        } catch (const HistoryError& e) {
            ADD_FAILURE() << e.message().toStdString();
        }
    }
    EXPECT_EQ(test::sampleHistory(GameId::Loto7).size(), 691u);
    EXPECT_EQ(test::sampleHistory(GameId::MiniLoto).size(), 1400u);
}

TEST(HistoryCsvGames, ACsvOfAnotherGameOrOutsideTheGamesRuleIsRefused)
{
    const QByteArray loto6 = "回数,第1数字,第2数字,第3数字,第4数字,第5数字,第6数字,ボーナス数字\n1,2,8,10,13,27,30,39\n";
    const QByteArray loto7 = "回数,第1数字,第2数字,第3数字,第4数字,第5数字,第6数字,第7数字,ボーナス数字1,ボーナス数字2\n"
                             "1,7,10,12,17,23,28,34,3,15\n";
    const QByteArray mini = "回数,第1数字,第2数字,第3数字,第4数字,第5数字,ボーナス数字\n1,1,3,17,20,25,26\n";
    const QByteArray publicLoto7 = "開催回,日付,第1数字,第2数字,第3数字,第4数字,第5数字,第6数字,BONUS数字1,BONUS数字2\n";
    const struct {
        QByteArray csv;
        GameId game;
        const char* message;
    } cases[] = {
        {loto7, GameId::Loto6, "1行目：ロト7の当選データの CSV です（見出しに「第7数字」があります）。ロト6の当選データとしては取り込めません。"},
        {loto7, GameId::MiniLoto, "1行目：ロト7の当選データの CSV です（見出しに「第7数字」があります）。ミニロトの当選データとしては取り込めません。"},
        {publicLoto7, GameId::Loto6, "1行目：ロト7の当選データの CSV です（見出しに「BONUS数字2」があります）。ロト6の当選データとしては取り込めません。"},
        {loto6, GameId::Loto7, "1行目：ロト6の当選データの CSV です（見出しに「第6数字」があります）。ロト7の当選データとしては取り込めません。"},
        {mini, GameId::Loto6, "1行目：ミニロトの当選データの CSV です（見出しの本数字が5個です）。ロト6の当選データとしては取り込めません。"},
        // Without a header, the shape of the first record: a date after 回数 or not, and how many numbers.
        {"1,7,10,12,17,23,28,34,3,15\n", GameId::Loto6, "1行目：ロト7の当選データの CSV のようです（見出しがなく、回数の後に数字が9個です）。ロト6の当選データとしては取り込めません。"},
        {"1,1,3,17,20,25,26\n", GameId::Loto7, "1行目：ミニロトの当選データの CSV のようです（見出しがなく、回数の後に数字が6個です）。ロト7の当選データとしては取り込めません。"},
        {"1,1999-04-13,1,3,17,20,25,26\n", GameId::Loto6, "1行目：ミニロトの当選データの CSV のようです（見出しがなく、回数と日付の後に数字が6個です）。ロト6の当選データとしては取り込めません。"},
        {"1,2,8,10,13,27,30,39\n", GameId::MiniLoto, "1行目：ロト6の当選データの CSV のようです（見出しがなく、回数の後に数字が7個です）。ミニロトの当選データとしては取り込めません。"},
        // The game's own rule: its columns, its pool, its numbers all different.
        {"回数,第1数字,第2数字,第3数字,第4数字,第5数字,第6数字,第7数字,ボーナス数字1\n", GameId::Loto7,
         "1行目：見出し「回数,第1数字,第2数字,第3数字,第4数字,第5数字,第6数字,第7数字,ボーナス数字1」にボーナス数字2の列がありません"
         "（見出しは「ボーナス数字2」「BONUS数字2」「ボーナス2」「B数字2」のどれかです）"},
        {loto7 + "2,1,2,3,4,5,6,38,8,9\n", GameId::Loto7, "3行目：第7数字 38 が 1～37 の範囲外です"},
        {loto7 + "2,1,2,3,4,5,6,7,9,9\n", GameId::Loto7, "3行目：ボーナス数字2 9 がボーナス数字1と同じです（1回の数字はすべて異なる数字です）"},
        {mini + "2,1,2,3,4,32,6\n", GameId::MiniLoto, "3行目：第5数字 32 が 1～31 の範囲外です"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.csv.toStdString());
        QString expected = QStringLiteral("CSV「in.csv」の") + QString::fromUtf8(c.message);
        // A refusal as another game's says how to take the CSV in as that game's.
        for (const Game& g : games())
            if (expected.startsWith(QStringLiteral("CSV「in.csv」の1行目：%1の当選データの CSV").arg(g.name)))
                expected += QStringLiteral("%1の履歴に取り込むには、コマンドでは --game %2 を付け、画面ではメニュー「ゲーム」で"
                                           "%1に切り替えてから取り込んでください")
                                .arg(g.name, g.cliName);
        EXPECT_EQ(errorOf(c.csv, c.game), expected);
    }
    // Each reads as its own game, also when none is given, with or without
    // a header and a date.
    EXPECT_EQ(parseGameHistoryCsv("1,1999-04-13,1,3,17,20,25,26\n", QStringLiteral("in.csv"), std::nullopt).game,
              GameId::MiniLoto);
    EXPECT_EQ(parseGameHistoryCsv("1,2,8,10,13,27,30,39\n", QStringLiteral("in.csv"), std::nullopt).game, GameId::Loto6);
    for (const auto& [csv, g] : {std::pair{loto6, GameId::Loto6}, {loto7, GameId::Loto7}, {mini, GameId::MiniLoto}}) {
        EXPECT_EQ(parseGameHistoryCsv(csv, QStringLiteral("in.csv"), std::nullopt).game, g);
        EXPECT_EQ(parseHistoryCsv(csv, QStringLiteral("in.csv"), g).front().gameId, g);
    }
}

TEST(HistoryCsvGames, ExportWritesTheGamesHeaderAndReadsBack)
{
    EXPECT_EQ(historyToCsv(test::makeGameHistory(GameId::Loto7, {{1, {7, 10, 12, 17, 23, 28, 34, 3, 0}}})),
              QByteArray("回数,第1数字,第2数字,第3数字,第4数字,第5数字,第6数字,第7数字,ボーナス数字1,ボーナス数字2\n"
                         "1,7,10,12,17,23,28,34,3,\n"));
    EXPECT_EQ(historyToCsv({}, GameId::MiniLoto),
              QByteArray("回数,第1数字,第2数字,第3数字,第4数字,第5数字,ボーナス数字\n"));
    for (const Game& g : games()) {
        const History& sample = test::sampleHistory(g.id);
        const CsvHistory back = parseGameHistoryCsv(historyToCsv(sample), QStringLiteral("x"), std::nullopt);
        EXPECT_EQ(back.game, g.id);
        EXPECT_EQ(back.rows, sample);
    }
}
