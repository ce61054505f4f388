// The tail of a long sum of match counts: the tilted transform agrees with
// the direct convolution, far out in the tail too, and the edges are exact.

#include "core/stats/distributions.h"
#include "core/stats/sum_tail.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace mirkano::stats;

namespace {

// Matches of 6, 12 and 1 random numbers with six of 43, and a law with a
// gap in its middle and nothing at 0.
std::vector<RepeatedLaw> mixture(int scale)
{
    return {{hypergeometric(43, 6, 6), 3 * scale},
            {hypergeometric(43, 6, 12), 2 * scale},
            {hypergeometric(43, 6, 1), scale},
            {{0.0, 0.5, 0.0, 0.5}, scale}};
}

}  // namespace

TEST(SumTail, FourierAgreesWithTheDirectConvolutionIntoTheFarTail)
{
    const std::vector<RepeatedLaw> laws = mixture(60);  // 420 terms
    double mean = 0;
    for (const RepeatedLaw& r : laws)
        for (std::size_t j = 0; j < r.law.size(); ++j)
            mean += r.count * double(j) * r.law[j];
    // From below the mean (p near 1) to far above it (p ~ 1e-30 and less).
    for (long long x : {0LL, 100LL, (long long)mean, (long long)mean + 20, (long long)mean + 60,
                        (long long)mean + 150, (long long)mean + 300}) {
        const double direct = sumUpperTailDirect(laws, x), fourier = sumUpperTailFourier(laws, x);
        SCOPED_TRACE(x);
        EXPECT_GT(direct, 0.0);
        EXPECT_NEAR(fourier, direct, 1e-9 * direct + 1e-300);
    }
}

TEST(SumTail, EdgesAndConstantsAreExact)
{
    // Two fair coins and a constant 2: the sum is 2 + Bin(2, ½).
    const std::vector<RepeatedLaw> laws = {{{0.5, 0.5}, 2}, {{0.0, 0.0, 1.0}, 1}, {{}, 5}, {{0.3, 0.7}, 0}};
    for (auto* tail : {&sumUpperTailDirect, &sumUpperTailFourier, &sumUpperTail}) {
        EXPECT_EQ(tail(laws, 2), 1.0);
        EXPECT_DOUBLE_EQ(tail(laws, 3), 0.75);
        EXPECT_DOUBLE_EQ(tail(laws, 4), 0.25);
        EXPECT_EQ(tail(laws, 5), 0.0);
    }
    // All terms at their largest: the product of their top chances.
    const std::vector<RepeatedLaw> many = {{hypergeometric(43, 6, 6), 40}, {hypergeometric(43, 6, 2), 10}};
    EXPECT_NEAR(std::log(sumUpperTailFourier(many, 260)),
                40 * std::log(hypergeometric(43, 6, 6)[6]) + 10 * std::log(hypergeometric(43, 6, 2)[2]), 1e-9);
    EXPECT_EQ(sumUpperTailFourier(many, 261), 0.0);
}
