#include "core/money/random_ticket.h"

namespace mirkano {

std::optional<double> randomTicketValue(const Game& g, const DrawPrizes& p)
{
    double value = 0;
    for (int c = 1; c <= g.prizeClassCount(); ++c) {
        const std::optional<Yen> prize = p.prizeOf(c);
        if (!prize)
            return std::nullopt;
        value += g.prizeProbability(c) * double(*prize);
    }
    return value;
}

}  // namespace mirkano
