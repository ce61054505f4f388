#pragma once
// The division groups: the numbers 1 … pool of a game cut into a few runs of
// consecutive numbers, for 5分割傾向分析 (5 groups) and 分割データ分析 (6, 7
// or 11 groups).
//
// Loto 6 keeps the groups its players know: five by tens (01–09, 10–19,
// 20–29, 30–39, 40–43), and 7, 6 or 4 numbers to a group with the last group
// taking the rest (36–43, 37–43, 41–43). Every other cut is as even as can
// be: with q = ⌊pool / groups⌋ and r = pool mod groups, the first groups
// hold q numbers and the last r groups one more, so sizes differ by at most
// one and the larger groups stand at the end, as Loto 6's 6 and 7 groups do.
// Loto 7 (37): 5 groups 7,7,7,8,8 (01–07, 08–14, 15–21, 22–29, 30–37);
// 6 groups 6,6,6,6,6,7; 7 groups 5,5,5,5,5,6,6; 11 groups 3 ×7, 4 ×4.
// Mini Loto (31): 5 groups 6,6,6,6,7 (01–06, 07–12, 13–18, 19–24, 25–31);
// 6 groups 5,5,5,5,5,6; 7 groups 4,4,4,4,5,5,5; 11 groups 2 ×2, 3 ×9.

#include "core/game/game.h"

#include <array>

namespace mirkano {

class DivisionGroups {
public:
    static constexpr int kMaxGroups = 11;

    DivisionGroups(const Game& game, int groups);

    int count() const { return m_count; }
    // First and last number of group g (counted from 0), and its size.
    int firstNumber(int g) const { return m_first[std::size_t(g)]; }
    int lastNumber(int g) const { return m_first[std::size_t(g) + 1] - 1; }
    int size(int g) const { return lastNumber(g) - firstNumber(g) + 1; }
    // The group of a number 1 … pool.
    int groupOf(int number) const { return m_groupOf[std::size_t(number)]; }

private:
    int m_count;
    std::array<int, kMaxGroups + 1> m_first{};  // m_first[count] = pool + 1
    std::array<int, kMaxPool + 1> m_groupOf{};
};

}  // namespace mirkano
