#include "gui/maintenance/merge_question.h"

#include "core/maintenance/history_merge.h"
#include "core/maintenance/history_source.h"
#include "core/history/history_store.h"
#include "gui/shell/busy_pointer.h"

namespace mirkano {

namespace {

// Conflicts listed in the question; the rest are counted.
constexpr int kListedConflicts = 10;
// Warnings of the source's reader listed in the report; the rest are counted.
constexpr int kListedWarnings = 10;

// The warnings as the report ends with them; empty for none.
QString warningText(const QStringList& warnings)
{
    if (warnings.isEmpty())
        return {};
    QString text = QStringLiteral("\n\n注意：\n") + warnings.mid(0, kListedWarnings).join(u'\n');
    if (warnings.size() > kListedWarnings)
        text += QStringLiteral("\nほか %1件").arg(warnings.size() - kListedWarnings);
    return text;
}

}  // namespace

QString conflictQuestion(const QString& source, const std::vector<MergeConflict>& conflicts)
{
    return QStringLiteral("「%1」には、手元の当選データと数字が違う回が %2回あります。\n\n%3\n\n"
                          "取り込む側の数字で置き換えますか？\n"
                          "「はい」で置き換え、「いいえ」で手元の数字を残して新しい回だけを取り込みます。")
        .arg(source)
        .arg(int(conflicts.size()))
        .arg(conflictLines(conflicts, kListedConflicts));
}

QString conflictQuestion(const QString& source, const MergeResult& planned)
{
    if (planned.prizeConflicts.empty())
        return conflictQuestion(source, planned.conflicts);
    QString differ;
    if (!planned.conflicts.empty())
        differ = QStringLiteral("数字が違う回が %1回、").arg(int(planned.conflicts.size()));
    return QStringLiteral("「%1」には、手元の当選データと%2賞金データが違う項目が %3項目あります。\n\n%4\n\n"
                          "取り込む側の値で置き換えますか？\n"
                          "「はい」で置き換え、「いいえ」で手元の値を残して新しい回と欠けている項目だけを取り込みます。")
        .arg(source, differ)
        .arg(int(planned.prizeConflicts.size()))
        .arg(allConflictLines(planned, kListedConflicts));
}

std::optional<MergeReport> mergeIntoHistoryAsking(const AskFn& ask, const QString& title, const QString& target,
                                                  const History& theirs, const QString& source,
                                                  const PrizeTable& theirPrizes, const QStringList& warnings)
{
    try {
        BusyPointer busy;
        // Only draws of the history's own game go into it.
        const GameId game = historyFileGame(target);
        if (const QString fault = otherGameFault(theirs, game, source); !fault.isEmpty())
            return MergeReport{QMessageBox::Critical, fault, false};
        // The stored draws and prize data in one opening of the file.
        HistoryReading stored = readHistoryFile(target, game);
        const History mine = std::move(stored.rows);
        const PrizeTable minePrizes = std::move(stored.prizes);
        MergePreference preference = MergePreference::Mine;
        MergeResult planned = mergeHistories(mine, minePrizes, theirs, theirPrizes, MergePreference::Mine, game);
        if (planned.anyConflict()) {
            busy.restore();
            const QMessageBox::StandardButton answer =
                ask(QMessageBox::Question, title, conflictQuestion(source, planned),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::No);
            if (answer == QMessageBox::Cancel)
                return std::nullopt;
            preference = answer == QMessageBox::Yes ? MergePreference::Theirs : MergePreference::Mine;
        }
        BusyPointer writing;
        // Keeping mine is the merge already made; taking theirs is made anew.
        const MergeResult done = preference == MergePreference::Mine
                                     ? std::move(planned)
                                     : mergeHistories(mine, minePrizes, theirs, theirPrizes, preference, game);
        const bool changed = done.changes(preference);
        if (changed)
            saveHistory(target, done.rows, game, done.prizes);
        const QString head = changed ? QStringLiteral("「%1」の当選データを取り込みました。").arg(source)
                                     : QStringLiteral("「%1」に新しい当選データはありませんでした。").arg(source);
        return MergeReport{QMessageBox::Information,
                           head + u'\n' + mergeSummary(done, preference) + warningText(warnings), changed};
    } catch (const Error& e) {
        return MergeReport{QMessageBox::Critical, e.message(), false};
    }
}

}  // namespace mirkano
