#pragma once
// The wheel builder: from the input to tickets whose guarantee has been
// checked on every m-subset of the free numbers. An exact design from the
// table when one fits, else the greedy construction; then the local search
// within the time budget. A wheel that fails the check is never returned.

#include "core/wheel/wheel_input.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

namespace mirkano {

// The build was cancelled.
struct WheelCancelled {};

struct WheelOptions {
    double seconds = 10;                // the time budget
    std::function<bool()> cancelled;    // polled often; true stops the build
    // The best size so far and the share of the time budget used (0 … 1).
    std::function<void(std::size_t tickets, double timeUsed)> progress;
};

struct Wheel {
    WheelInput input;                       // checked, sorted
    std::vector<std::vector<int>> tickets;  // each ascending, keys included; in order
    std::uint64_t lowerBound = 0;
    bool verified = false;                  // true for every wheel returned
    QString design;                         // the exact design used (e.g. S(3,6,22)), or empty
    QString designSource;
    bool searchComplete = true;             // false when the time budget cut the search short

    std::uint64_t cost() const { return std::uint64_t(tickets.size()) * std::uint64_t(game(input.game).price); }
};

// Throws WheelError for bad input (see checkedWheelInput) or when no wheel
// could be built within the budget, WheelCancelled when cancelled.
Wheel buildWheel(const WheelInput& input, const WheelOptions& options = {});

// Whether the tickets keep the input's guarantee: each holds the game's
// main count of different chosen numbers with every key, and every m-subset
// of the non-key numbers meets a ticket in t or more of them. The input must
// be checked.
bool wheelKeepsGuarantee(const WheelInput& input, const std::vector<std::vector<int>>& tickets);

// The guarantee in words: 「選んだ数字（キー数字を除く）のうち m 個が当たれば、どれかの券で t 個以上一致」.
QString guaranteeText(const WheelInput& input);

}  // namespace mirkano
