#include "gui/maintenance/merge_question.h"

#include "core/maintenance/history_merge.h"
#include "core/maintenance/history_source.h"
#include "core/history/history_store.h"
#include "gui/shell/busy_pointer.h"

namespace mirkano {

namespace {

// Conflicts listed in the question; the rest are counted.
constexpr int kListedConflicts = 10;

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

std::optional<MergeReport> mergeIntoHistoryAsking(const AskFn& ask, const QString& title, const QString& target,
                                                  const History& theirs, const QString& source)
{
    try {
        BusyPointer busy;
        // Only draws of the history's own game go into it.
        const GameId game = historyFileGame(target);
        if (const QString fault = otherGameFault(theirs, game, source); !fault.isEmpty())
            return MergeReport{QMessageBox::Critical, fault, false};
        const History mine = loadHistory(target, game);
        MergePreference preference = MergePreference::Mine;
        MergeResult planned = mergeHistories(mine, theirs, MergePreference::Mine);
        if (!planned.conflicts.empty()) {
            busy.restore();
            const QMessageBox::StandardButton answer =
                ask(QMessageBox::Question, title, conflictQuestion(source, planned.conflicts),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::No);
            if (answer == QMessageBox::Cancel)
                return std::nullopt;
            preference = answer == QMessageBox::Yes ? MergePreference::Theirs : MergePreference::Mine;
        }
        BusyPointer writing;
        // Keeping mine is the merge already made; taking theirs is made anew.
        const MergeResult done =
            preference == MergePreference::Mine ? std::move(planned) : mergeHistories(mine, theirs, preference);
        const bool changed = done.changes(preference);
        if (changed)
            saveHistory(target, done.rows, game);
        const QString head = changed ? QStringLiteral("「%1」の当選データを取り込みました。").arg(source)
                                     : QStringLiteral("「%1」に新しい当選データはありませんでした。").arg(source);
        return MergeReport{QMessageBox::Information, head + u'\n' + mergeSummary(done, preference), changed};
    } catch (const Error& e) {
        return MergeReport{QMessageBox::Critical, e.message(), false};
    }
}

}  // namespace mirkano
