#pragma once
// Whether anything in a history is more than chance: the tests a player's
// question "are some numbers hot?" deserves, each against the exact law of a
// fair draw of `mains` different numbers (and `bonuses` more) from 1 … pool.
//
// The counts of the main numbers are not independent (a draw takes `mains`
// of `pool` without replacement), so Pearson's X² has mean pool − mains, not
// pool − 1; it is scaled by (pool − 1) / (pool − mains) to follow χ²(pool − 1).
//
// A test whose approximation does not hold for the history at hand (a χ²
// cell expecting fewer than five, no draw at all) gives no p-value: an empty
// optional, which every reader shows as "not enough draws", never a verdict.

#include "core/stats/distributions.h"

#include <QString>

#include <optional>
#include <vector>

namespace mirkano::stats {

// The shape of a game's draw.
struct DrawShape {
    int pool = 43;
    int mains = 6;
    int bonuses = 1;
    int lowSplit = 21;  // low numbers are 1 … lowSplit
};

// Below this p-value a result is called more than chance.
inline constexpr double kSignificance = 0.05;
// The least count a χ² cell must expect for the test to be run.
inline constexpr double kMinExpected = 5.0;

struct Uniformity {
    double statistic = 0;  // the scaled X²
    int df = 0;
    std::optional<double> p;  // empty when a number expects fewer than kMinExpected
};

// Counts per number (index 1 … pool; index 0 unused) of `draws` draws that
// each took `perDraw` different numbers: the scaled X² test of equal chances
// (the scale is 1 for one number a draw).
Uniformity uniformity(const std::vector<int>& counts, int draws, int pool, int perDraw);

// One number against its expected count draws · perDraw / pool, with the
// exact binomial spread of a number that is in each draw with chance
// perDraw / pool.
struct NumberTest {
    int number = 0;
    int observed = 0;
    double expected = 0;
    double z = 0;
    double p = 1;      // two-sided, of the exact binomial law
    double pHolm = 1;  // corrected over all numbers of the pool
    // Whether the numbers may be marked at all: only when the test of the
    // mains as a whole, corrected over the report's family of tests, found
    // them uneven. Without this gate a fair history would show a marked
    // number about as often again as an alarm in the family.
    bool gateOpen = true;
    // +1 significantly often, −1 significantly seldom (gate open and
    // pHolm < kSignificance), else 0.
    int mark() const { return gateOpen && pHolm < kSignificance ? (observed > expected ? 1 : -1) : 0; }
};
std::vector<NumberTest> numberTests(const std::vector<int>& counts, int draws, int pool, int perDraw);

// Observed counts per value against an exact law, with the pooled χ² fit.
struct LawTest {
    std::vector<int> observed;      // index = value
    std::vector<double> exact;      // probability per value
    GoodnessOfFit fit;
};

struct ConsecutiveTest {
    int observed = 0;         // draws with at least one pair n, n + 1 among the mains
    double probability = 0;   // 1 − C(pool − mains + 1, mains) / C(pool, mains)
    double expected = 0;      // draws · probability
    std::optional<double> p;  // two-sided exact binomial (as the numbers'); empty without draws
};

struct HistoryStats {
    int draws = 0;
    Uniformity mains;
    Uniformity bonuses;
    std::vector<NumberTest> numbers;  // 1 … pool
    LawTest sum;                      // sum of the mains
    std::optional<double> sumMean, sumVariance;     // observed (mean: a draw; variance: two)
    double exactSumMean = 0, exactSumVariance = 0;  // of the exact law
    LawTest odd;                      // odd mains per draw, 0 … mains
    LawTest low;                      // low mains per draw, 0 … mains
    ConsecutiveTest consecutive;
};

// The tests over complete draws given as their numbers: `mains` main numbers
// then `bonuses` bonus numbers per draw, one draw after the other.
HistoryStats historyStats(const std::vector<int>& drawNumbers, const DrawShape& shape);

// The record of a prediction: per tested draw the count of predicted numbers
// and how many of the draw's mains they held. Is the total more than chance?
struct PredictionRecordTest {
    int matches = 0;       // total
    double expected = 0;   // its expectation for random picks of the same sizes
    // P(total ≥ matches) for random picks (exact, or by a tilted Fourier
    // transform for long records); empty when no draw was tested.
    std::optional<double> p;
};
PredictionRecordTest predictionRecordTest(const std::vector<int>& picks, const std::vector<int>& matches,
                                          int pool, int mains);

// A p-value in words for the player, with the value, and the words alone;
// an empty one is "not enough draws".
QString verdict(std::optional<double> p);
QString verdictWords(std::optional<double> p);

}  // namespace mirkano::stats
