// Fuzz target: the history loader, from bytes written to a file (or a history
// view made from them) to rows. Nothing may crash, hang, leak or leave files
// beside the history; rows come in order and in range.

#include "fuzz_checks.h"

#include <QDir>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

// What makes a run slow without finding more, set lower here; the paths
// through the loader stay the same:
// - files keyed with the six-digit password go through the engine's key
//   derivation, which costs a thousand times the rest of a run, and every
//   input that is no history would pay for it: here it takes one round;
// - a made-up view without end runs until the work cap stops it: here the
//   cap is 100,000 steps instead of 20 million (reading 32,768 rows of a
//   simple view still fits);
// - the engine's memory set aside for each connection up front (lookaside
//   slots, a bulk page cache) is large enough that the sanitizer maps and
//   unmaps it on every run: here the engine allocates as it goes.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    mirkano::detail::sixDigitKeyRounds = 1;
    mirkano::detail::queryWorkBlocks = 100;
    sqlite3_config(SQLITE_CONFIG_LOOKASIDE, 0, 0);
    sqlite3_config(SQLITE_CONFIG_PAGECACHE, nullptr, 0, 0);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // In memory where the system offers it: each run makes and removes files.
    static QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists()
                                 ? QStringLiteral("/dev/shm/mirkano-fuzz-XXXXXX")
                                 : QDir::tempPath() + QStringLiteral("/mirkano-fuzz-XXXXXX"));
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const std::string bad = mirkano::fuzz::checkHistoryFile(bytes, dir.path());
    if (!bad.empty()) {
        std::fprintf(stderr, "history_file: %s\n", bad.c_str());
        std::abort();
    }
    return 0;
}
