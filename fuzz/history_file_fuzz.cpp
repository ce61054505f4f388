// Fuzz target: the history loader, from bytes written to a file (or a history
// view made from them) to rows. Nothing may crash, hang, leak or leave files
// beside the history; rows come in order and in range.

#include "fuzz_checks.h"

#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

// Files keyed with the six-digit password go through the engine's key
// derivation, which costs a thousand times the rest of a run: every input that
// is no history would pay for it. Here that derivation takes one round; the
// path through the loader stays the same.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    mirkano::detail::sixDigitKeyRounds = 1;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static QTemporaryDir dir;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const std::string bad = mirkano::fuzz::checkHistoryFile(bytes, dir.path());
    if (!bad.empty()) {
        std::fprintf(stderr, "history_file: %s\n", bad.c_str());
        std::abort();
    }
    return 0;
}
