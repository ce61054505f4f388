#pragma once
// Whether anything in a history is more than chance: the tests a player's
// question "are some numbers hot?" deserves, each against the exact law of a
// fair draw of `mains` different numbers (and `bonuses` more) from 1 … pool.
//
// The counts of the main numbers are not independent (a draw takes `mains`
// of `pool` without replacement), so Pearson's X² has mean pool − mains, not
// pool − 1; it is scaled by (pool − 1) / (pool − mains) to follow χ²(pool − 1).

#include "core/stats/distributions.h"

#include <QString>

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

struct Uniformity {
    double statistic = 0;  // the scaled X²
    int df = 0;
    double p = 1;
};

// Counts per number (index 1 … pool; index 0 unused) of `draws` draws that
// each took `perDraw` different numbers: the scaled X² test of equal chances.
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
    // +1 significantly often, −1 significantly seldom (pHolm < kSignificance), else 0.
    int mark() const { return pHolm < kSignificance ? (observed > expected ? 1 : -1) : 0; }
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
    double p = 1;             // two-sided, normal approximation of the binomial
};

struct HistoryStats {
    int draws = 0;
    Uniformity mains;
    Uniformity bonuses;
    std::vector<NumberTest> numbers;  // 1 … pool
    LawTest sum;                      // sum of the mains
    double sumMean = 0, sumVariance = 0;            // observed
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
    double p = 1;          // P(total ≥ matches) for random picks, exact
};
PredictionRecordTest predictionRecordTest(const std::vector<int>& picks, const std::vector<int>& matches,
                                          int pool, int mains);

// A p-value in words for the player, with the value, and the words alone.
QString verdict(double p);
QString verdictWords(double p);

}  // namespace mirkano::stats
