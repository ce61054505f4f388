#pragma once
// Exact designs known to be the smallest wheels of their kind: Steiner
// systems S(t, k, n), whose blocks hold every t-subset of n points exactly
// once, so that C(n, t) / C(k, t) blocks meet Schönheim's bound. Each entry
// is built from its construction and names the work it comes from; the
// builder still checks every one before it is used.

#include "core/wheel/subsets.h"

#include <QString>

#include <span>
#include <vector>

namespace mirkano::wheel {

struct KnownDesign {
    int t;
    int k;
    int n;
    const char16_t* name;    // e.g. S(3,6,22)
    const char16_t* source;  // the construction and the work it is taken from
    std::vector<Mask> (*blocks)();
};

// Every design of the table (block sizes 3 … 7).
std::span<const KnownDesign> knownDesigns();
// The design of n points with blocks of k holding every t-subset, or nullptr.
const KnownDesign* findKnownDesign(int n, int k, int t);

}  // namespace mirkano::wheel
