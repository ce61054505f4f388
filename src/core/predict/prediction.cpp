#include "core/predict/prediction.h"

#include <algorithm>

namespace mirkano {

namespace {

// Elimination: for each position, the draws offset + B, B + 1, B + 2 before
// the latest one are read there and shifted by S.
struct EliminationRule {
    int base;   // B
    int shift;  // S
};
constexpr std::array<EliminationRule, kNumbersPerDraw> kElimination = {{
    {4, 22}, {5, 16}, {5, 17}, {9, 24}, {12, 32}, {19, 1}, {20, 12},
}};
constexpr int kEliminationPasses = 3;
constexpr int kEliminationReach = 20 + kEliminationPasses - 1;  // deepest draw: L − W − 22

// The multiple and single predictions scan the four draws before L − W.
constexpr std::size_t kMultipleCount = 12;
constexpr std::size_t kSingleCount = 6;

int periodRow(int interval)
{
    const auto it = std::find(kPeriods.begin(), kPeriods.end(), interval);
    return it == kPeriods.end() ? -1 : int(it - kPeriods.begin());
}

// Enters a reappearance at its position unless another position of the same
// period already holds that number.
void recordPeriodHit(PeriodTables& t, int interval, int position, int number)
{
    const int row = periodRow(interval);
    if (row < 0)
        return;
    auto& cells = t.periods[std::size_t(row)];
    for (int q = 0; q < kNumbersPerDraw; ++q)
        if (q != position && cells[std::size_t(q)] == number)
            return;
    cells[std::size_t(position)] = number;
}

bool holds(const std::array<std::uint8_t, kNumbersPerDraw>& draw, int number)
{
    return std::find(draw.begin(), draw.end(), number) != draw.end();
}

}  // namespace

PeriodTables buildPeriodTables(const History& history)
{
    PeriodTables t;
    int highest = 0;
    for (const DrawRecord& d : history)
        if (d.complete() && d.drawNo <= kMaxDrawNo)
            highest = std::max(highest, d.drawNo);
    t.draws.assign(std::size_t(highest) + 1, {});

    for (const DrawRecord& d : history) {
        if (!d.complete() || d.drawNo < 0 || d.drawNo > kMaxDrawNo)
            continue;
        const int n = d.drawNo;
        auto& stored = t.draws[std::size_t(n)];
        for (int p = 0; p < kNumbersPerDraw; ++p)
            stored[std::size_t(p)] = std::uint8_t(d.numbers[std::size_t(p)]);
        // Each number looks back for its previous appearance; draws that are
        // missing hold 0 and never match.
        for (int p = 0; p < kNumbersPerDraw; ++p) {
            const int x = d.numbers[std::size_t(p)];
            for (int j = n - 1; j >= 1; --j) {
                if (holds(t.draws[std::size_t(j)], x)) {
                    recordPeriodHit(t, n - j, p, x);
                    break;
                }
            }
        }
    }
    return t;
}

Predictions predict(const PeriodTables& t, int latestDrawNo, const ReflectFlags& flags)
{
    Predictions out;
    out.offset = flags.offset();
    const int top = latestDrawNo - out.offset;

    if (top - kEliminationReach >= 0) {
        for (int r = 0; r < kEliminationPasses; ++r) {
            for (int a = 0; a < kNumbersPerDraw; ++a) {
                const EliminationRule rule = kElimination[std::size_t(a)];
                const int v = wrapNumber(t.value(top - rule.base - r, a) + rule.shift);
                if (std::find(out.elimination.begin(), out.elimination.end(), v) == out.elimination.end())
                    out.elimination.push_back(v);
            }
        }
    }

    if (top - kBlockDraws >= 0) {
        // A value is taken only when it occurs once among all 28 cells of the
        // block; a draw with nothing stored ends the scan of that draw.
        std::array<int, kMaxNumber + 1> occurrences{};
        for (int k = 1; k <= kBlockDraws; ++k)
            for (int p = 0; p < kNumbersPerDraw; ++p)
                ++occurrences[std::size_t(t.value(top - k, p))];
        for (int k = 1; k <= kBlockDraws && out.multiple.size() < kMultipleCount; ++k) {
            for (int p = 0; p < kNumbersPerDraw && out.multiple.size() < kMultipleCount; ++p) {
                const int v = t.value(top - k, p);
                if (v == 0)
                    break;
                if (occurrences[std::size_t(v)] == 1)
                    out.multiple.push_back(v);
            }
        }
        out.single.assign(out.multiple.begin(),
                          out.multiple.begin() + std::ptrdiff_t(std::min(kSingleCount, out.multiple.size())));
    }
    return out;
}

}  // namespace mirkano
