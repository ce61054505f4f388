#include "core/history/draw_prizes.h"

#include <algorithm>

namespace mirkano {

bool DrawPrizes::empty() const
{
    const auto unknown = [](const auto& v) { return !v.has_value(); };
    return std::all_of(winners.begin(), winners.end(), unknown) && std::all_of(prize.begin(), prize.end(), unknown)
        && !carryOver && !sales;
}

bool DrawPrizes::complete(const Game& g) const
{
    for (int c = 0; c < g.prizeClassCount(); ++c)
        if (!winners[std::size_t(c)] || !prize[std::size_t(c)])
            return false;
    return true;
}

const DrawPrizes* findPrizes(const PrizeTable& prizes, int drawNo)
{
    const auto it = std::lower_bound(prizes.begin(), prizes.end(), drawNo,
                                     [](const DrawPrizes& p, int no) { return p.drawNo < no; });
    return it != prizes.end() && it->drawNo == drawNo ? &*it : nullptr;
}

bool hasCarryOver(GameId game) { return game != GameId::MiniLoto; }

std::vector<QString> prizeFieldNames(GameId id)
{
    const int classes = game(id).prizeClassCount();
    std::vector<QString> names;
    for (int c = 1; c <= classes; ++c)
        names.push_back(QStringLiteral("%1等口数").arg(c));
    for (int c = 1; c <= classes; ++c)
        names.push_back(QStringLiteral("%1等賞金").arg(c));
    if (hasCarryOver(id))
        names.push_back(QStringLiteral("キャリーオーバー"));
    names.push_back(QStringLiteral("販売実績額"));
    return names;
}

std::vector<std::optional<Yen>> prizeFields(const DrawPrizes& p, GameId id)
{
    const int classes = game(id).prizeClassCount();
    std::vector<std::optional<Yen>> fields;
    for (int c = 0; c < classes; ++c)
        fields.push_back(p.winners[std::size_t(c)]);
    for (int c = 0; c < classes; ++c)
        fields.push_back(p.prize[std::size_t(c)]);
    if (hasCarryOver(id))
        fields.push_back(p.carryOver);
    fields.push_back(p.sales);
    return fields;
}

DrawPrizes prizesFromFields(int drawNo, std::span<const std::optional<Yen>> fields, GameId id)
{
    const int classes = game(id).prizeClassCount();
    DrawPrizes p;
    p.drawNo = drawNo;
    std::size_t i = 0;
    const auto next = [&]() -> std::optional<Yen> { return i < fields.size() ? fields[i++] : (++i, std::nullopt); };
    for (int c = 0; c < classes; ++c)
        p.winners[std::size_t(c)] = next();
    for (int c = 0; c < classes; ++c)
        p.prize[std::size_t(c)] = next();
    if (hasCarryOver(id))
        p.carryOver = next();
    p.sales = next();
    return p;
}

}  // namespace mirkano
