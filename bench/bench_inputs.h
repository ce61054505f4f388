#pragma once
// The two histories every benchmark runs on: the bundled real history and the
// longest history the draw numbers allow (32,767 complete draws from a
// fixed-seed generator, so every run measures the same history), each with
// its start-up tables, made on first use and kept for the whole program.

#include "core/history/history.h"
#include "core/history/history_csv.h"
#include "core/history/startup_tables.h"

#include <array>
#include <cstdint>

namespace mirkano::bench {

struct Input {
    History history;
    StartupTables tables;
};

inline History syntheticHistory()
{
    History h;
    h.reserve(kMaxDrawNo);
    std::uint32_t state = 12345;
    auto next = [&state] {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    };
    for (int drawNo = 1; drawNo <= kMaxDrawNo; ++drawNo) {
        DrawRecord d{drawNo, {}};
        std::array<bool, kMaxNumber + 1> used{};
        for (int& n : d.all()) {
            do
                n = int(next() % kMaxNumber) + 1;
            while (used[std::size_t(n)]);
            used[std::size_t(n)] = true;
        }
        h.push_back(d);
    }
    return h;
}

inline const Input& realInput()
{
    static const Input in = [] {
        Input i{readHistoryCsv(QStringLiteral(MIRKANO_SAMPLE_CSV)), {}};
        i.tables = buildStartupTables(i.history);
        return i;
    }();
    return in;
}

inline const Input& syntheticInput()
{
    static const Input in = [] {
        Input i{syntheticHistory(), {}};
        i.tables = buildStartupTables(i.history);
        return i;
    }();
    return in;
}

using InputFn = const Input& (*)();

struct NamedInput {
    const char* name;
    InputFn input;
};

inline constexpr std::array<NamedInput, 2> kInputs{{{"real", &realInput}, {"synthetic32767", &syntheticInput}}};

}  // namespace mirkano::bench
