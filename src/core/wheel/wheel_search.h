#pragma once
// Building a wheel by search: a greedy construction (each new ticket the best
// of a few sampled ones for a subset not yet covered), then a local search
// that removes the weakest ticket and moves numbers between tickets by
// simulated annealing until the guarantee holds again, one size smaller each
// time, until a size fails or the lower bound is reached. Every random step
// comes from a generator seeded from the shape alone, and each size gets a
// fixed number of moves, so the same shape always gives the same wheel; the
// time budget and the cancel callback only stop it sooner.

#include "core/wheel/wheel_cover.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <vector>

namespace mirkano::wheel {

// The search was cancelled through its callback.
struct SearchCancelled {};
// The greedy construction did not finish within the time budget, or would
// need more tickets than a wheel may have.
struct SearchFailed {
    bool tooManyTickets = false;
};

struct SearchControl {
    std::chrono::steady_clock::time_point deadline = std::chrono::steady_clock::time_point::max();
    std::function<bool()> cancelled;  // polled often; true stops the search
    // Called now and then: the best size so far and the share of the time
    // budget used (0 … 1).
    std::function<void(std::size_t bestSize, double timeUsed)> progress;
    std::chrono::steady_clock::time_point started = std::chrono::steady_clock::now();
};

// The greedy construction. Throws SearchCancelled or SearchFailed.
std::vector<Mask> greedyCover(const CoverShape& s, const SearchControl& control);

struct Improvement {
    std::vector<Mask> blocks;  // never more than the start's
    bool complete = true;      // false when the time budget stopped it
};
// The local search from a wheel that keeps its guarantee. Throws SearchCancelled.
Improvement improveCover(const CoverShape& s, std::vector<Mask> start, const SearchControl& control);

// The seed of the shape's random steps.
std::uint64_t shapeSeed(const CoverShape& s);

}  // namespace mirkano::wheel
