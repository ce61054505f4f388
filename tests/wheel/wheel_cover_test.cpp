// The wheel's guarantee check, its lower bound, the exact designs and the search.

#include "core/wheel/known_designs.h"
#include "core/wheel/wheel_builder.h"
#include "core/wheel/wheel_cover.h"
#include "core/wheel/wheel_search.h"

#include <gtest/gtest.h>

namespace mirkano {
namespace {

using wheel::CoverShape;
using wheel::Mask;

std::vector<int> range(int from, int to)
{
    std::vector<int> r;
    for (int n = from; n <= to; ++n)
        r.push_back(n);
    return r;
}

WheelInput loto6(std::vector<int> numbers, int t, int m, std::vector<int> keys = {})
{
    return {GameId::Loto6, std::move(numbers), std::move(keys), t, m};
}

TEST(WheelCover, LowerBoundsAreSchoenheimsForCoveringsAndCountingOtherwise)
{
    struct Case {
        CoverShape s;
        std::uint64_t bound;
    };
    const Case cases[] = {
        {{12, 6, 3, 3}, 14},  // optimum 15
        {{10, 6, 4, 4}, 19},  // optimum 20
        {{22, 6, 3, 3}, 77},  // S(3,6,22) meets it
        {{7, 6, 6, 6}, 7},    // every 6-subset of 7
        {{6, 6, 3, 3}, 1},
        // 3 of 6 drawn from 12: a ticket meets 20·20 + 15·6 + 6 + 1 = 497 of the 924 six-subsets.
        {{12, 6, 3, 6}, 2},
    };
    for (const Case& c : cases)
        EXPECT_EQ(wheel::lowerBound(c.s), c.bound) << c.s.n << " " << c.s.k << " " << c.s.t << "/" << c.s.m;
}

TEST(WheelCover, EveryKnownDesignKeepsItsGuaranteeAndMeetsTheBound)
{
    for (const wheel::KnownDesign& d : wheel::knownDesigns()) {
        const CoverShape s{d.n, d.k, d.t, d.t};
        const std::vector<Mask> blocks = d.blocks();
        EXPECT_EQ(blocks.size(), wheel::lowerBound(s)) << QString::fromUtf16(d.name).toStdString();
        EXPECT_EQ(wheel::uncoveredCount(s, blocks), 0u) << QString::fromUtf16(d.name).toStdString();
        for (Mask b : blocks)
            ASSERT_EQ(wheel::popcount(b), d.k);
    }
}

TEST(WheelCover, TheCheckFailsWithAnyTicketRemoved)
{
    const Wheel w = buildWheel(loto6(range(1, 12), 3, 3));
    ASSERT_TRUE(wheelKeepsGuarantee(w.input, w.tickets));
    for (std::size_t i = 0; i < w.tickets.size(); ++i) {
        std::vector<std::vector<int>> fewer = w.tickets;
        fewer.erase(fewer.begin() + std::ptrdiff_t(i));
        EXPECT_FALSE(wheelKeepsGuarantee(w.input, fewer)) << "without ticket " << i;
    }
    // A ticket without a key, or with a number that was not chosen, breaks it too.
    const WheelInput keyed = checkedWheelInput(loto6(range(1, 9), 2, 2, {1}));
    std::vector<std::vector<int>> tickets = buildWheel(keyed).tickets;
    ASSERT_TRUE(wheelKeepsGuarantee(keyed, tickets));
    tickets.front().front() = 40;
    EXPECT_FALSE(wheelKeepsGuarantee(keyed, tickets));
}

TEST(WheelBuilder, ReachesThePublishedOptima)
{
    const Wheel w12 = buildWheel(loto6(range(1, 12), 3, 3));
    EXPECT_EQ(w12.tickets.size(), 15u);
    EXPECT_EQ(w12.lowerBound, 14u);
    EXPECT_TRUE(w12.verified);
    EXPECT_EQ(w12.cost(), 15u * 200);
    const Wheel w10 = buildWheel(loto6(range(1, 10), 4, 4));
    EXPECT_EQ(w10.tickets.size(), 20u);
}

TEST(WheelBuilder, UsesAnExactDesignWhereOneFits)
{
    const Wheel w = buildWheel(loto6(range(1, 22), 3, 3));
    EXPECT_EQ(w.tickets.size(), 77u);
    EXPECT_EQ(w.design, QStringLiteral("S(3,6,22)"));
    // Loto 6 with a key: the other 21 numbers on five places as the projective plane of order 4.
    const Wheel keyed = buildWheel(loto6(range(1, 22), 2, 2, {22}));
    EXPECT_EQ(keyed.tickets.size(), 21u);
    EXPECT_EQ(keyed.design, QStringLiteral("S(2,5,21)"));
}

TEST(WheelBuilder, KeysAreInEveryTicketAndTheSameInputGivesTheSameWheel)
{
    for (const Game& g : games()) {
        const WheelInput in{g.id, range(1, 14), {3, 9}, 2, 3};
        const Wheel a = buildWheel(in);
        const Wheel b = buildWheel(in);
        EXPECT_EQ(a.tickets, b.tickets) << g.cliName.toString().toStdString();
        for (const std::vector<int>& t : a.tickets) {
            EXPECT_EQ(int(t.size()), g.mains);
            EXPECT_TRUE(std::binary_search(t.begin(), t.end(), 3));
            EXPECT_TRUE(std::binary_search(t.begin(), t.end(), 9));
        }
    }
}

TEST(WheelSearch, NeverEndsWorseThanItsStart)
{
    const CoverShape shapes[] = {{14, 6, 3, 4}, {11, 5, 3, 3}, {13, 7, 4, 5}};
    for (const CoverShape& s : shapes) {
        const std::vector<Mask> start = wheel::greedyCover(s, {});
        ASSERT_EQ(wheel::uncoveredCount(s, start), 0u);
        const wheel::Improvement better = wheel::improveCover(s, start, {});
        EXPECT_LE(better.blocks.size(), start.size());
        EXPECT_GE(better.blocks.size(), wheel::lowerBound(s));
        EXPECT_EQ(wheel::uncoveredCount(s, better.blocks), 0u);
    }
    // Cut short by its time budget, it still returns its start or better.
    const CoverShape s{16, 6, 4, 4};
    const std::vector<Mask> start = wheel::greedyCover(s, {});
    wheel::SearchControl soon;
    soon.deadline = std::chrono::steady_clock::now();
    const wheel::Improvement cut = wheel::improveCover(s, start, soon);
    EXPECT_FALSE(cut.complete);
    EXPECT_LE(cut.blocks.size(), start.size());
    EXPECT_EQ(wheel::uncoveredCount(s, cut.blocks), 0u);
}

TEST(WheelBuilder, CancelStopsTheBuild)
{
    WheelOptions options;
    options.cancelled = [] { return true; };
    EXPECT_THROW(buildWheel(loto6(range(1, 16), 4, 4), options), WheelCancelled);
}

}  // namespace
}  // namespace mirkano
