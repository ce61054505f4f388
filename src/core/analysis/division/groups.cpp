#include "core/analysis/division/groups.h"

namespace mirkano {

DivisionGroups::DivisionGroups(const Game& game, int groups) : m_count(groups)
{
    const int pool = game.pool;
    if (game.id == GameId::Loto6 && groups == 5) {
        // By tens: 01–09, then one group per ten, the last up to the pool.
        for (int g = 0; g < groups; ++g)
            m_first[std::size_t(g)] = g == 0 ? 1 : 10 * g;
    } else if (game.id == GameId::Loto6) {
        // ⌈pool / groups⌉ or ⌊pool / groups⌋ numbers, whichever is nearer,
        // the last group taking the rest (7, 6 and 4 numbers to a group).
        const int size = (2 * pool + groups) / (2 * groups);
        for (int g = 0; g < groups; ++g)
            m_first[std::size_t(g)] = g * size + 1;
    } else {
        const int q = pool / groups, r = pool % groups;
        int first = 1;
        for (int g = 0; g < groups; ++g) {
            m_first[std::size_t(g)] = first;
            first += q + (g >= groups - r ? 1 : 0);
        }
    }
    m_first[std::size_t(groups)] = pool + 1;
    for (int g = 0; g < groups; ++g)
        for (int n = firstNumber(g); n <= lastNumber(g); ++n)
            m_groupOf[std::size_t(n)] = g;
}

}  // namespace mirkano
