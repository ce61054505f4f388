// Per-draw ticket values and the next draw's ceiling (see ticket_value.h).

#include "core/money/ticket_value.h"

#include "core/game/prize_rules.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace mirkano {

namespace {

// A carry-over as the sources give it; the 32-bit overflow value is no amount.
std::optional<Yen> knownCarry(const std::optional<Yen>& v)
{
    if (!v || *v < 0 || *v == kSuspectYen)
        return std::nullopt;
    return v;
}

// The carry-over a draw received: none into the first draw or in a game
// without carry-overs; else the previous draw's, when known.
std::optional<Yen> carryInto(GameId game, int drawNo, const PrizeTable& prizes)
{
    if (drawNo <= 1 || !hasCarryOver(game))
        return Yen(0);
    const DrawPrizes* previous = findPrizes(prizes, drawNo - 1);
    return previous ? knownCarry(previous->carryOver) : std::nullopt;
}

std::optional<DrawValue> drawValue(const Game& g, const DrawPrizes& p, const PrizeTable& prizes,
                                   const std::array<double, kMaxPrizeClasses>& odds)
{
    if (!p.complete(g))
        return std::nullopt;
    DrawValue v;
    v.drawNo = p.drawNo;
    for (int c = 0; c < g.prizeClassCount(); ++c) {
        const std::int64_t winners = *p.winners[std::size_t(c)];
        const Yen prize = *p.prize[std::size_t(c)];
        // Amounts no draw can have (negative, or a total past 64 bits) are
        // no prize data.
        Yen classPaid = 0;
        if (winners < 0 || prize < 0 || __builtin_mul_overflow(winners, prize, &classPaid)
            || __builtin_add_overflow(v.paid, classPaid, &v.paid))
            return std::nullopt;
        v.random += odds[std::size_t(c)] * double(prize);
    }
    const std::optional<Yen> carryIn = carryInto(g.id, p.drawNo, prizes);
    const std::optional<Yen> carryOut = hasCarryOver(g.id) ? knownCarry(p.carryOver) : std::optional<Yen>(0);
    if (p.sales && *p.sales > 0) {
        v.tickets = (*p.sales + g.price / 2) / g.price;
        v.ticketsFrom = TicketsFrom::Sales;
    } else if (carryIn && carryOut) {
        // paid − carry-over received + carry-over left = fund share × sales.
        Yen fund = 0;
        if (__builtin_sub_overflow(v.paid, *carryIn, &fund) || __builtin_add_overflow(fund, *carryOut, &fund))
            return std::nullopt;
        const double sales = double(fund) * 100.0 / prizeRules(g.id).fundPercent;
        v.tickets = std::llround(sales / g.price);
        v.ticketsFrom = TicketsFrom::Fund;
    }
    if (v.tickets <= 0)
        return std::nullopt;
    v.carryIn = carryIn.value_or(0);
    v.carryOut = carryOut.value_or(0);
    v.paidOut = double(v.paid) / double(v.tickets);
    if (v.paid > 0)
        v.ratio = v.random / v.paidOut;
    return v;
}

std::optional<NextDrawValue> nextDraw(const Game& g, const PrizeTable& prizes, const std::vector<DrawValue>& draws)
{
    // The latest draw with prize data whose carry-over is known.
    const auto latest = std::find_if(prizes.rbegin(), prizes.rend(), [&](const DrawPrizes& p) {
        return !hasCarryOver(g.id) || knownCarry(p.carryOver).has_value();
    });
    if (latest == prizes.rend() || latest->drawNo >= kMaxDrawNo)
        return std::nullopt;
    NextDrawValue n;
    n.drawNo = latest->drawNo + 1;
    n.carryIn = hasCarryOver(g.id) ? *knownCarry(latest->carryOver) : 0;
    const FirstPrizeCap& cap = firstPrizeCap(g.id, n.drawNo);
    n.firstPrizeCap = n.carryIn > 0 ? cap.capCarryOver : cap.cap;
    const double base = g.price * prizeRules(g.id).fundPercent / 100.0;
    n.ceiling = base;
    if (n.carryIn > 0) {
        // Tickets: as many as the latest draw whose tickets are known sold.
        if (draws.empty())
            return std::nullopt;
        n.tickets = draws.back().tickets;
        const double carryPerTicket = double(n.carryIn) / double(n.tickets);
        n.ceiling = base + std::min(carryPerTicket, g.prizeProbability(1) * double(n.firstPrizeCap));
    }
    n.reachesPrice = n.ceiling >= g.price;
    return n;
}

}  // namespace

ValueReport ticketValues(GameId game, const History& rows, const PrizeTable& prizes)
{
    const Game& g = mirkano::game(game);
    ValueReport r;
    r.game = game;
    r.price = g.price;
    std::array<double, kMaxPrizeClasses> odds{};
    for (int c = 1; c <= g.prizeClassCount(); ++c)
        odds[std::size_t(c - 1)] = g.prizeProbability(c);
    for (const DrawRecord& row : rows) {
        const DrawPrizes* p = findPrizes(prizes, row.drawNo);
        std::optional<DrawValue> v = p ? drawValue(g, *p, prizes, odds) : std::nullopt;
        if (!v) {
            ++r.skipped;
            continue;
        }
        r.meanPaidOut += v->paidOut;
        r.meanRandom += v->random;
        r.draws.push_back(*v);
    }
    if (!r.draws.empty()) {
        r.meanPaidOut /= double(r.draws.size());
        r.meanRandom /= double(r.draws.size());
    }
    r.next = nextDraw(g, prizes, r.draws);
    return r;
}

const char* ticketsFromWord(TicketsFrom from)
{
    return from == TicketsFrom::Sales ? "販売実績額から" : "賞金総額から";
}

}  // namespace mirkano
