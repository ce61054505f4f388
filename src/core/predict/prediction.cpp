#include "core/predict/prediction.h"

#include <algorithm>

namespace mirkano {

namespace {

// Elimination: for each position, the draws offset + B, B + 1, B + 2 before
// the latest one are read there and shifted by S around the game's numbers.
struct EliminationRule {
    int base;   // B
    int shift;  // S
};
// The rules of the main positions 第1数字, 第2数字, … in turn; a game with more
// main numbers than rules starts the list again (Loto 7's 第7数字 reads like
// 第1数字), one with fewer uses the first ones.
constexpr std::array<EliminationRule, 6> kMainRules = {{
    {4, 22}, {5, 16}, {5, 17}, {9, 24}, {12, 32}, {19, 1},
}};
// Every bonus position (Loto 7's two alike).
constexpr EliminationRule kBonusRule = {20, 12};
constexpr int kEliminationPasses = 3;
// The deepest draw the elimination reads: L − W − 22, the bonus rule's last pass.
constexpr int kEliminationReach = std::max(kBonusRule.base, std::max_element(kMainRules.begin(), kMainRules.end(),
    [](EliminationRule a, EliminationRule b) { return a.base < b.base; })->base) + kEliminationPasses - 1;

EliminationRule eliminationRule(const Game& g, int position)
{
    return position < g.mains ? kMainRules[std::size_t(position) % kMainRules.size()] : kBonusRule;
}

int periodRow(int interval)
{
    const auto it = std::find(kPeriods.begin(), kPeriods.end(), interval);
    return it == kPeriods.end() ? -1 : int(it - kPeriods.begin());
}

// Enters a reappearance at its position unless another position of the same
// period already holds that number.
void recordPeriodHit(PeriodTables& t, int positions, int interval, int position, int number)
{
    const int row = periodRow(interval);
    if (row < 0)
        return;
    auto& cells = t.periods[std::size_t(row)];
    for (int q = 0; q < positions; ++q)
        if (q != position && cells[std::size_t(q)] == number)
            return;
    cells[std::size_t(position)] = number;
}

bool holds(const std::array<std::uint8_t, kMaxNumbersPerDraw>& draw, int positions, int number)
{
    return std::find(draw.begin(), draw.begin() + positions, number) != draw.begin() + positions;
}

}  // namespace

PeriodTables buildPeriodTables(const History& history, GameId game)
{
    PeriodTables t;
    t.gameId = game;
    const int positions = t.game().numbersPerDraw();
    const auto ours = [game](const DrawRecord& d) {
        return d.gameId == game && d.complete() && d.drawNo >= 0 && d.drawNo <= kMaxDrawNo;
    };
    int highest = 0;
    for (const DrawRecord& d : history)
        if (ours(d))
            highest = std::max(highest, d.drawNo);
    t.draws.assign(std::size_t(highest) + 1, {});

    for (const DrawRecord& d : history) {
        if (!ours(d))
            continue;
        const int n = d.drawNo;
        auto& stored = t.draws[std::size_t(n)];
        for (int p = 0; p < positions; ++p)
            stored[std::size_t(p)] = std::uint8_t(d.numbers[std::size_t(p)]);
        // Each number looks back for its previous appearance; draws that are
        // missing hold 0 and never match.
        for (int p = 0; p < positions; ++p) {
            const int x = d.numbers[std::size_t(p)];
            for (int j = n - 1; j >= 1; --j) {
                if (holds(t.draws[std::size_t(j)], positions, x)) {
                    recordPeriodHit(t, positions, n - j, p, x);
                    break;
                }
            }
        }
    }
    return t;
}

Predictions predict(const PeriodTables& t, int latestDrawNo, const ReflectFlags& flags)
{
    const Game& g = t.game();
    const int positions = g.numbersPerDraw();
    const std::size_t multipleTarget = std::size_t(multipleCount(g));
    const std::size_t singleTarget = std::size_t(singleCount(g));

    Predictions out;
    out.offset = flags.offset();
    const int top = latestDrawNo - out.offset;

    if (top - kEliminationReach >= 0) {
        for (int r = 0; r < kEliminationPasses; ++r) {
            for (int a = 0; a < positions; ++a) {
                const EliminationRule rule = eliminationRule(g, a);
                const int v = wrapNumber(t.value(top - rule.base - r, a) + rule.shift, g.pool);
                if (std::find(out.elimination.begin(), out.elimination.end(), v) == out.elimination.end())
                    out.elimination.push_back(v);
            }
        }
    }

    if (top - kBlockDraws >= 0) {
        // A value is taken only when it occurs once among all cells of the
        // block (Loto 6: 4 × 7); a draw with nothing stored ends the scan of
        // that draw.
        std::array<int, kMaxPool + 1> occurrences{};
        for (int k = 1; k <= kBlockDraws; ++k)
            for (int p = 0; p < positions; ++p)
                ++occurrences[std::size_t(t.value(top - k, p))];
        for (int k = 1; k <= kBlockDraws && out.multiple.size() < multipleTarget; ++k) {
            for (int p = 0; p < positions && out.multiple.size() < multipleTarget; ++p) {
                const int v = t.value(top - k, p);
                if (v == 0)
                    break;
                if (occurrences[std::size_t(v)] == 1)
                    out.multiple.push_back(v);
            }
        }
        out.single.assign(out.multiple.begin(),
                          out.multiple.begin() + std::ptrdiff_t(std::min(singleTarget, out.multiple.size())));
    }
    return out;
}

}  // namespace mirkano
