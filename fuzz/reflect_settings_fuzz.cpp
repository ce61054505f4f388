// Fuzz target: the settings-file reader. Any bytes read without a crash; a
// line sets an option whatever it was before; what is read, written back,
// reads the same.

#include "fuzz_checks.h"

#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static QTemporaryDir dir;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const std::string bad = mirkano::fuzz::checkSettings(bytes, dir.path());
    if (!bad.empty()) {
        std::fprintf(stderr, "reflect_settings: %s\n", bad.c_str());
        std::abort();
    }
    return 0;
}
