#include "core/maintenance/history_merge.h"

#include <QLocale>
#include <QStringList>

#include <algorithm>

namespace mirkano {

namespace {

// The source fills in what is missing from a stored draw: every number the
// stored draw has, the source has in the same field.
bool completes(const DrawRecord& mine, const DrawRecord& theirs)
{
    bool fills = false;
    for (std::size_t i = 0; i < mine.all().size(); ++i) {
        if (mine.numbers[i] == 0)
            fills = fills || theirs.numbers[i] != 0;
        else if (mine.numbers[i] != theirs.numbers[i])
            return false;
    }
    return fills;
}

// A stored draw that holds everything the source gives for it.
bool covers(const DrawRecord& mine, const DrawRecord& theirs)
{
    for (std::size_t i = 0; i < mine.all().size(); ++i)
        if (theirs.numbers[i] != 0 && mine.numbers[i] != theirs.numbers[i])
            return false;
    return true;
}

// "1 2 3 4 5 6 + 7": the main numbers, then the bonus numbers after a plus
// (Loto 7: "+ 8 9"); a dash for an empty number.
QString drawText(const DrawRecord& row)
{
    const auto texts = [](std::span<const int> numbers) {
        QStringList out;
        for (int n : numbers)
            out << (n ? QString::number(n) : QStringLiteral("－"));
        return out.join(u' ');
    };
    return texts(row.mains()) + QStringLiteral(" + ") + texts(row.bonuses());
}

// An amount as the conflict lines show it: "1,234,567円", a 口数 "12口".
QString amountText(Yen value, const QString& field)
{
    return QLocale(QLocale::Japanese, QLocale::Japan).toString(qlonglong(value))
           + (field.endsWith(QStringLiteral("口数")) ? QStringLiteral("口") : QStringLiteral("円"));
}

// Merges the prize data of one draw known on both sides, field by field, into
// result's counts; returns the merged entry.
DrawPrizes mergeDrawPrizes(const DrawPrizes& mine, const DrawPrizes& theirs, MergePreference preference,
                           GameId game, const std::vector<QString>& names, MergeResult& result)
{
    std::vector<std::optional<Yen>> merged = prizeFields(mine, game);
    const std::vector<std::optional<Yen>> given = prizeFields(theirs, game);
    for (std::size_t f = 0; f < merged.size(); ++f) {
        std::optional<Yen>& m = merged[f];
        const std::optional<Yen>& t = given[f];
        if (!t || m == t || (*t == kSuspectYen && m)) {
            continue;  // nothing given, the same, or a suspect value against a stored one
        } else if (!m || *m == kSuspectYen) {
            result.prizeSuspectReplaced += m.has_value();
            ++result.prizeFieldsCompleted;
            m = t;
        } else {
            result.prizeConflicts.push_back({mine.drawNo, names[f], *m, *t});
            if (preference == MergePreference::Theirs)
                m = t;
        }
    }
    return prizesFromFields(mine.drawNo, merged, game);
}

// Merges the prize tables (ascending 回数) into result.
void mergePrizes(const PrizeTable& mine, const PrizeTable& theirs, MergePreference preference, GameId game,
                 MergeResult& result)
{
    result.prizeData = !mine.empty() || !theirs.empty();
    if (!result.prizeData)
        return;
    const std::vector<QString> names = prizeFieldNames(game);
    result.prizes.reserve(mine.size() + theirs.size());
    auto m = mine.begin();
    auto t = theirs.begin();
    while (m != mine.end() || t != theirs.end()) {
        if (t == theirs.end() || (m != mine.end() && m->drawNo < t->drawNo)) {
            result.prizes.push_back(*m++);
        } else if (m == mine.end() || t->drawNo < m->drawNo) {
            for (const std::optional<Yen>& f : prizeFields(*t, game))
                result.prizeFieldsCompleted += f.has_value();
            result.prizes.push_back(*t++);
        } else {
            result.prizes.push_back(mergeDrawPrizes(*m++, *t++, preference, game, names, result));
        }
    }
}

}  // namespace

MergeResult mergeHistories(const History& mine, const PrizeTable& minePrizes, const History& theirs,
                           const PrizeTable& theirPrizes, MergePreference preference, GameId game)
{
    // A refusal is decided once the prize fields are compared too.
    MergeResult result = mergeHistories(
        mine, theirs, preference == MergePreference::Refuse ? MergePreference::Mine : preference);
    mergePrizes(minePrizes, theirPrizes, preference, game, result);
    if (result.anyConflict() && preference == MergePreference::Refuse) {
        result.refused = true;
        result.rows.clear();
        result.prizes.clear();
    }
    return result;
}

MergeResult mergeHistories(const History& mine, const History& theirs, MergePreference preference)
{
    MergeResult result;
    result.rows.reserve(mine.size() + theirs.size());
    auto m = mine.begin();
    auto t = theirs.begin();
    while (m != mine.end() || t != theirs.end()) {
        if (t == theirs.end() || (m != mine.end() && m->drawNo < t->drawNo)) {
            result.rows.push_back(*m++);
            ++result.onlyMine;
        } else if (m == mine.end() || t->drawNo < m->drawNo) {
            result.rows.push_back(*t++);
            ++result.added;
        } else {
            if (*m == *t || covers(*m, *t)) {
                result.rows.push_back(*m);
                ++result.same;
            } else if (completes(*m, *t)) {
                result.rows.push_back(*t);
                ++result.completed;
            } else {
                result.conflicts.push_back({*m, *t});
                result.rows.push_back(preference == MergePreference::Theirs ? *t : *m);
            }
            ++m;
            ++t;
        }
    }
    if (!result.conflicts.empty() && preference == MergePreference::Refuse) {
        result.refused = true;
        result.rows.clear();
    }
    return result;
}

QString conflictLines(const std::vector<MergeConflict>& conflicts, int limit)
{
    QStringList lines;
    for (std::size_t i = 0; i < conflicts.size() && int(i) < limit; ++i)
        lines << QStringLiteral("第%1回　手元 %2　取り込み %3")
                     .arg(conflicts[i].mine.drawNo)
                     .arg(drawText(conflicts[i].mine), drawText(conflicts[i].theirs));
    if (int(conflicts.size()) > limit)
        lines << QStringLiteral("ほか %1回").arg(int(conflicts.size()) - limit);
    return lines.join(u'\n');
}

QString allConflictLines(const MergeResult& result, int limit)
{
    if (result.prizeConflicts.empty())
        return conflictLines(result.conflicts, limit);
    QStringList lines;
    const int draws = std::min(limit, int(result.conflicts.size()));
    if (draws > 0)
        lines << conflictLines({result.conflicts.begin(), result.conflicts.begin() + draws}, draws);
    const int prizes = std::max(0, std::min(limit - draws, int(result.prizeConflicts.size())));
    for (int i = 0; i < prizes; ++i) {
        const PrizeConflict& c = result.prizeConflicts[std::size_t(i)];
        lines << QStringLiteral("第%1回　%2　手元 %3　取り込み %4")
                     .arg(c.drawNo)
                     .arg(c.field, amountText(c.mine, c.field), amountText(c.theirs, c.field));
    }
    const int more = int(result.conflicts.size() + result.prizeConflicts.size()) - draws - prizes;
    if (more > 0)
        lines << QStringLiteral("ほか %1件").arg(more);
    return lines.join(u'\n');
}

QString mergeSummary(const MergeResult& result, MergePreference preference)
{
    QString text = QStringLiteral("追加 %1回、同じ %2回、補完 %3回、食い違い %4回")
                       .arg(result.added)
                       .arg(result.same)
                       .arg(result.completed)
                       .arg(int(result.conflicts.size()));
    if (!result.conflicts.empty()) {
        if (result.refused)
            text += QStringLiteral("（食い違いがあるため何も書き込んでいません）");
        else if (preference == MergePreference::Theirs)
            text += QStringLiteral("（%1回を取り込み側の数字に置き換えました）").arg(int(result.conflicts.size()));
        else
            text += QStringLiteral("（%1回は手元の数字のままです）").arg(int(result.conflicts.size()));
    }
    if (result.onlyMine > 0)
        text += QStringLiteral("、手元だけにある回 %1回はそのままです").arg(result.onlyMine);
    if (!result.prizeData)
        return text;
    const int prizeConflicts = int(result.prizeConflicts.size());
    text += QStringLiteral("。賞金データ：補完 %1項目、食い違い %2項目").arg(result.prizeFieldsCompleted).arg(prizeConflicts);
    if (result.prizeSuspectReplaced > 0)
        text += QStringLiteral("（2,147,483,647 だった %1項目を取り込み側の値に置き換えました）").arg(result.prizeSuspectReplaced);
    if (prizeConflicts > 0) {
        if (result.refused) {
            if (result.conflicts.empty())
                text += QStringLiteral("（食い違いがあるため何も書き込んでいません）");
        } else if (preference == MergePreference::Theirs) {
            text += QStringLiteral("（%1項目を取り込み側の値に置き換えました）").arg(prizeConflicts);
        } else {
            text += QStringLiteral("（%1項目は手元の値のままです）").arg(prizeConflicts);
        }
    }
    return text;
}

}  // namespace mirkano
