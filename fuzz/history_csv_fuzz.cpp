// Fuzz target: the CSV reader. Every input either gives a short message naming
// the file, or rows that are sorted, unique and in range and that export
// parses back to the same rows.

#include "fuzz_checks.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const std::string bad = mirkano::fuzz::checkCsv(bytes);
    if (!bad.empty()) {
        std::fprintf(stderr, "history_csv: %s\n", bad.c_str());
        std::abort();
    }
    return 0;
}
