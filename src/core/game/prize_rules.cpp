// The money rules of the three lotteries as data; see prize_rules.h for the
// sources. The caps' draws were checked against the real prize data: each
// cap is the largest 1等 prize paid while it was in force, paid in many draws.

#include "core/game/prize_rules.h"

#include <algorithm>

namespace mirkano {

namespace {

// ロト6: 5等 is 1,000円 in every draw (paid so in each of the 2,133 draws
// with prize data). 1等 at most 2億円 without a carry-over (paid 218 times,
// from draw 24 on); with one at most 4億円 (paid up to draw 1139), after the
// rule change of early 2017 6億円 (first paid at draw 1157). The change is
// taken at the draw of 2017-02-02 (draw 1145) as the published rules are
// remembered; the data confirm only that it lies in draws 1140 … 1157.
constexpr FixedPrize kLoto6Fixed[] = {{5, 1000}};
constexpr FirstPrizeCap kLoto6Caps[] = {
    {1, 200000000, 400000000, 1},
    {1145, 200000000, 600000000, 1157},
};

// ロト7: no fixed class (6等 paid 900–1,200円, 5等 1,100–2,500円). 1等
// with a carry-over at most 8億円 (paid up to draw 187), then 10億円 (paid
// from draw 232 to 610), then 12億円 (paid from draw 617). Without a
// carry-over the rules set 4億円, later 6億円; the data never reach either
// (at most 4.53億円 without a carry-over, draw 613). The draws of the two
// changes are not certain: each is taken at the first draw the data allow
// (188, 2016-11-25, and 611, 2025-01-31); confirmedBy is the first draw that
// paid the new cap.
constexpr FirstPrizeCap kLoto7Caps[] = {
    {1, 400000000, 800000000, 1},
    {188, 600000000, 1000000000, 232},
    {611, 600000000, 1200000000, 617},
};

// ミニロト: no carry-over and no fixed class (4等 paid 900–1,700円). 1等 at
// most 4,000万円 (paid 13 times, from draw 7 on).
constexpr FirstPrizeCap kMiniLotoCaps[] = {
    {1, 40000000, 40000000, 1},
};

constexpr PrizeRules kRules[] = {
    {45, kLoto6Fixed, kLoto6Caps},
    {45, {}, kLoto7Caps},
    {45, {}, kMiniLotoCaps},
};

}  // namespace

const PrizeRules& prizeRules(GameId game) { return kRules[std::size_t(game)]; }

const FirstPrizeCap& firstPrizeCap(GameId game, int drawNo)
{
    const auto caps = prizeRules(game).caps;
    const auto it = std::upper_bound(caps.begin(), caps.end(), drawNo,
                                     [](int no, const FirstPrizeCap& c) { return no < c.fromDraw; });
    return it == caps.begin() ? caps.front() : *(it - 1);
}

std::optional<std::int64_t> fixedPrize(GameId game, int prizeClass)
{
    for (const FixedPrize& f : prizeRules(game).fixed)
        if (f.prizeClass == prizeClass)
            return f.yen;
    return std::nullopt;
}

}  // namespace mirkano
