// mirkano-cli import, export and tables for each game: the real Loto 7 and
// Mini Loto histories go in and come out as they were, a file or CSV of
// another game is refused naming both games, and a CSV that shows another
// game than Loto 6 never becomes a Loto 6 history unnoticed.

#include "core/history/history_store.h"
#include "support/cli_run.h"
#include "support/fixtures.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using namespace mirkano;
using namespace mirkano::test;

namespace {

// The bundled CSV without its date column: what export writes.
QByteArray withoutDates(const QString& csv)
{
    QFile f(csv);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    QByteArray out;
    for (QByteArray line : f.readAll().split('\n')) {
        line = line.trimmed();  // the Loto 6 CSV ends its lines with CR LF
        if (line.isEmpty())
            continue;
        QList<QByteArray> fields = line.split(',');
        fields.removeAt(1);
        out += fields.join(',') + '\n';
    }
    return out;
}

}  // namespace

TEST(HistoryCommandsGames, ImportExportAndTablesOfEachGame)
{
    TempDir dir;
    for (const Game& g : games()) {
        SCOPED_TRACE(g.cliName.toString().toStdString());
        const QString db = dir.path(g.historyFile.toString());
        const QString csv = sampleCsvPath(g.id);
        const CliRun imported =
            runInProcess({QStringLiteral("import"), QStringLiteral("--game"), g.cliName.toString(),
                          QStringLiteral("--csv"), csv, QStringLiteral("--db"), db});
        ASSERT_EQ(imported.exitCode, 0) << imported.err.toStdString();
        EXPECT_EQ(historyFileGame(db), g.id);
        // The export is the CSV's numbers under the game's own header, with or
        // without --game naming the file's game.
        const QByteArray expected = withoutDates(csv);
        EXPECT_EQ(runInProcess({QStringLiteral("export"), QStringLiteral("--db"), db}).out, expected);
        EXPECT_EQ(runInProcess({QStringLiteral("export"), QStringLiteral("--game"), g.cliName.toString(),
                                QStringLiteral("--db"), db})
                      .out,
                  expected);
        // The tables count each number of the game's pool.
        const CliRun tables = runInProcess({QStringLiteral("tables"), QStringLiteral("--db"), db});
        ASSERT_EQ(tables.exitCode, 0) << tables.err.toStdString();
        const QJsonObject t = QJsonDocument::fromJson(tables.out).object();
        const QJsonObject counts = t.value(QStringLiteral("NumberCount")).toObject();
        EXPECT_EQ(counts.size(), g.pool);
        int total = 0;
        for (const QString& n : counts.keys())
            total += counts.value(n).toInt();
        EXPECT_EQ(total, g.numbersPerDraw() * int(sampleHistory(g.id).size()));
        EXPECT_EQ(t.value(QStringLiteral("LatestDrawNo")).toInt(), sampleHistory(g.id).back().drawNo);
        // Importing again without --game takes the file's game.
        const CliRun again = runInProcess(
            {QStringLiteral("import"), QStringLiteral("--csv"), csv, QStringLiteral("--db"), db, QStringLiteral("--merge")});
        EXPECT_EQ(again.exitCode, 0) << again.err.toStdString();
    }
}

TEST(HistoryCommandsGames, AnotherGamesFileOrCsvIsRefusedNamingBothGames)
{
    TempDir dir;
    const QString loto7 = dir.path(QStringLiteral("Mirkano7.mdb"));
    saveHistory(loto7, sampleHistory(GameId::Loto7), GameId::Loto7);
    const QString loto6 = dir.path(QStringLiteral("Mirkano.mdb"));
    saveHistory(loto6, sampleHistory(GameId::Loto6));
    const QString miniCsv = sampleCsvPath(GameId::MiniLoto), loto7Csv = sampleCsvPath(GameId::Loto7);
    const QByteArray before7 = [&] {
        QFile f(loto7);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();

    const struct {
        QStringList args;
        int exitCode;
        QString message;
    } cases[] = {
        {{"export", "--game", "loto6", "--db", loto7}, 1,
         QStringLiteral("履歴ファイル「%1」はロト7の当選データです。ロト6の当選データとしては開けません").arg(loto7)},
        {{"tables", "--game", "miniloto", "--db", loto7}, 1,
         QStringLiteral("履歴ファイル「%1」はロト7の当選データです。ミニロトの当選データとしては開けません").arg(loto7)},
        {{"import", "--game", "loto6", "--csv", loto7Csv, "--db", loto7}, 1,
         QStringLiteral("履歴ファイル「%1」はロト7の当選データです。ロト6の当選データは取り込めません").arg(loto7)},
        // Without --game the file's game reads the CSV: a Mini Loto CSV is no Loto 7 data.
        {{"import", "--csv", miniCsv, "--db", loto7, "--merge"}, 1,
         QStringLiteral("CSV「%1」の1行目：ミニロトの当選データの CSV です（見出しの本数字が5個です）。"
                        "ロト7の当選データとしては取り込めません。ミニロトの履歴に取り込むには、コマンドでは --game miniloto "
                        "を付け、画面ではメニュー「ゲーム」でミニロトに切り替えてから取り込んでください")
             .arg(miniCsv)},
        {{"import", "--csv", loto7Csv, "--db", loto6, "--force"}, 1,
         QStringLiteral("CSV「%1」の1行目：ロト7の当選データの CSV です（見出しに「第7数字」があります）。"
                        "ロト6の当選データとしては取り込めません。ロト7の履歴に取り込むには、コマンドでは --game loto7 "
                        "を付け、画面ではメニュー「ゲーム」でロト7に切り替えてから取り込んでください")
             .arg(loto7Csv)},
        // A new file without --game: the CSV's own game must be named.
        {{"import", "--csv", loto7Csv, "--db", dir.path(QStringLiteral("new.mdb"))}, 2,
         QStringLiteral("CSV「%1」はロト7の当選データです。ロト7の履歴を作るには --game loto7 を指定してください").arg(loto7Csv)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(u' ').toStdString());
        const CliRun r = runInProcess(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode);
        EXPECT_TRUE(r.err.startsWith(QStringLiteral("mirkano-cli: ") + c.message + u'\n')) << r.err.toStdString();
    }
    QFile f(loto7);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before7);
    EXPECT_FALSE(QFileInfo::exists(dir.path(QStringLiteral("new.mdb"))));
    // A Loto 6 CSV still makes a new Loto 6 history without --game.
    const QString made = dir.path(QStringLiteral("made.mdb"));
    EXPECT_EQ(runInProcess({QStringLiteral("import"), QStringLiteral("--csv"), sampleCsvPath(GameId::Loto6),
                            QStringLiteral("--db"), made})
                  .exitCode,
              0);
    EXPECT_EQ(historyFileGame(made), GameId::Loto6);
}
