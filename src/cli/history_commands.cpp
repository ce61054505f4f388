// Commands on the history file itself: import a CSV (a new history, or
// merged into the existing one), export it, print the start-up tables. Each
// works on one game: --game, else the existing history's (a new history is
// Loto 6, unless the CSV shows another game: then --game must say so).

#include "cli/cli.h"

#include "core/error.h"
#include "core/maintenance/history_merge.h"
#include "core/maintenance/history_source.h"
#include "core/files/file_kind.h"
#include "core/history/history_csv.h"
#include "core/history/history_store.h"
#include "core/history/startup_tables.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>

#include <algorithm>


namespace mirkano::cli {


MergePreference parsePreference(const Args& a)
{
    if (!a.has("prefer"))
        return MergePreference::Refuse;
    const QString v = a.optional("prefer");
    if (v == QLatin1String("mine"))
        return MergePreference::Mine;
    if (v == QLatin1String("theirs"))
        return MergePreference::Theirs;
    throw UsageError{QStringLiteral("--prefer には mine（手元の数字を残す）か theirs（取り込む側の数字にする）を指定してください")};
}

// The prize data a replacement of the history at db by rows writes: the
// CSV's, completed by what the replaced file held for the same draws (a file
// that cannot be read, or of another game, holds none).
PrizeTable replacementPrizes(const QString& db, const History& rows, const PrizeTable& csv, GameId game)
{
    PrizeTable stored;
    try {
        if (QFileInfo::exists(db) && historyFileGame(db) == game)
            stored = loadPrizes(db);
    } catch (const HistoryError&) {
    }
    PrizeTable prizes = mergeHistories(rows, stored, rows, csv, MergePreference::Theirs, game).prizes;
    // Only the draws the new history holds.
    std::erase_if(prizes, [&](const DrawPrizes& p) {
        const auto row = std::lower_bound(rows.begin(), rows.end(), p.drawNo,
                                          [](const DrawRecord& r, int no) { return r.drawNo < no; });
        return row == rows.end() || row->drawNo != p.drawNo;
    });
    return prizes;
}

int reportMerge(const MergeResult& r, MergePreference preference, const QString& source, Streams& s)
{
    for (const QString& warning : r.warnings)
        writeLine(s.err, QStringLiteral("mirkano-cli: ") + warning);
    if (r.refused) {
        QString differ;
        if (!r.conflicts.empty())
            differ = QStringLiteral("数字が違う回が %1回").arg(int(r.conflicts.size()));
        if (!r.prizeConflicts.empty())
            differ += (differ.isEmpty() ? QString() : QStringLiteral("、"))
                      + QStringLiteral("賞金データが違う項目が %1項目").arg(int(r.prizeConflicts.size()));
        writeLine(s.err, QStringLiteral("mirkano-cli: 「%1」には、手元の当選データと%2あります。"
                                        "--prefer mine（手元を残す）か --prefer theirs（置き換える）を指定してください。")
                             .arg(source, differ));
        writeLine(s.err, allConflictLines(r, 20));
        writeLine(s.err, mergeSummary(r, preference));
        return kBadData;
    }
    writeLine(s.out, mergeSummary(r, preference));
    return kDone;
}

int runImport(const Args& a, Streams& s)
{
    a.noPositional();
    const QString csv = a.required("csv");
    const QString db = a.required("db");
    // The history would be written over the CSV it is read from.
    if (isSameFile(csv, db))
        throw UsageError{QStringLiteral("--csv と --db が同じファイル「%1」を指しています").arg(db)};
    if (a.has("prefer") && !a.has(kMergeFlag))
        throw UsageError{QStringLiteral("--prefer は --merge と一緒に指定してください")};
    if (a.has(kMergeFlag) && a.has(kForceFlag))
        throw UsageError{QStringLiteral("--merge では当選データは失われないため、--force は指定できません")};
    // The game: --game, else the one the existing history records. A history
    // that cannot be read is replaced like a missing one (a merge into it
    // fails below with the cause).
    std::optional<GameId> game;
    if (a.has("game"))
        game = commandGame(a, db);
    std::optional<GameId> stored;
    if (QFileInfo::exists(db)) {
        try {
            stored = historyFileGame(db);
        } catch (const HistoryError&) {
            if (a.has(kMergeFlag))
                throw;
        }
    }
    if (game && stored && *game != *stored)
        throw HistoryError(QStringLiteral("履歴ファイル「%1」は%2の当選データです。%3の当選データは取り込めません")
                               .arg(QDir::toNativeSeparators(db), mirkano::game(*stored).name, mirkano::game(*game).name));
    if (!game)
        game = stored;
    // A CSV read for a game refuses another game's layout; without a game it
    // tells its own, and a new history is Loto 6 only when nothing says
    // otherwise.
    const CsvHistory read = readGameHistoryCsv(csv, game);
    if (!game && read.game != GameId::Loto6)
        throw UsageError{QStringLiteral("CSV「%1」は%2の当選データです。%2の履歴を作るには --game %3 を指定してください")
                             .arg(QDir::toNativeSeparators(csv), mirkano::game(read.game).name,
                                  mirkano::game(read.game).cliName)};
    const History& rows = read.rows;
    // Merged into an existing history; a missing one is made from the CSV.
    if (a.has(kMergeFlag) && QFileInfo::exists(db)) {
        const MergePreference preference = parsePreference(a);
        MergeResult merged = mergeIntoHistoryFile(db, rows, preference, QDir::toNativeSeparators(csv), read.prizes);
        merged.warnings = read.warnings;
        return reportMerge(merged, preference, QDir::toNativeSeparators(csv), s);
    }
    for (const QString& warning : read.warnings)
        writeLine(s.err, QStringLiteral("mirkano-cli: ") + warning);
    if (!a.has(kForceFlag)) {
        if (const int lost = completeDrawsLost(db, rows); lost > 0)
            throw HistoryError(QStringLiteral("履歴ファイル「%1」をCSV「%2」で置き換えると、保存されている完全な当選データのうち"
                                              " %3回分が失われます（CSVにないか、数字が欠けています）。"
                                              "それでも置き換えるには --force を付けてください。")
                                   .arg(QDir::toNativeSeparators(db), QDir::toNativeSeparators(csv))
                                   .arg(lost));
    }
    if (read.prizes.empty()) {
        saveHistory(db, rows, read.game);  // keeps the prize data the file holds
        return kDone;
    }
    saveHistory(db, rows, read.game, replacementPrizes(db, rows, read.prizes, read.game));
    return kDone;
}

int runExport(const Args& a, Streams& s)
{
    a.noPositional();
    const QString db = a.required("db");
    // Standard output sent into the history itself ("export --db F >> F") or
    // into another history file would spoil it with text.
    const QString out = QStringLiteral("/proc/self/fd/1");
    if (const QString cause = historyOverwriteFault(out, db); !cause.isEmpty())
        throw Error(QStringLiteral("CSV を「%1」に書き出せません：%2")
                        .arg(QDir::toNativeSeparators(QFileInfo(out).symLinkTarget()), cause));
    const GameHistory h = loadGameHistory(a, db);
    writeBytes(s.out, historyToCsv(h.rows, h.game, loadPrizes(db)));
    return kDone;
}

int runTables(const Args& a, Streams& s)
{
    a.noPositional();
    const GameHistory h = loadGameHistory(a, a.required("db"));
    const StartupTables t = buildStartupTables(h.rows, h.game);
    QJsonObject counts;
    for (int n = 1; n <= t.game().pool; ++n)
        counts.insert(QString::number(n), t.numberCount[std::size_t(n)]);
    QJsonArray groups;
    for (const QString& g : t.countGroups)
        groups.append(g);
    const QJsonObject out{{QStringLiteral("NumberCount"), counts},
                          {QStringLiteral("MaxCount"), t.maxCount},
                          {QStringLiteral("CountGroups"), groups},
                          {QStringLiteral("CountGroupRows"), t.countGroupRows},
                          {QStringLiteral("LatestDrawNo"), t.latestDrawNo}};
    writeJson(s.out, out);
    return kDone;
}

}  // namespace mirkano::cli
