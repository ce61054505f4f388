#include "core/maintenance/history_merge.h"

#include <QStringList>

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

}  // namespace

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
    return text;
}

}  // namespace mirkano
