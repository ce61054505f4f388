#!/usr/bin/env bash
# The deeper check: builds everything with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer into build-deep/, runs the whole test suite on
# that build, then runs each fuzz target on a copy of its seed corpus: the
# history-file target for a million inputs (HISTORY_FILE_RUNS), the others
# for FUZZ_SECONDS (60 s by default). An input that makes a fuzz
# target fail is written to fuzz/regressions/<target>/: keep it in the tree,
# core_tests replays it from then on.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-deep"
seconds="${FUZZ_SECONDS:-60}"

bash "$root/scripts/setup.sh"

launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ "${launcher[@]}" \
  -DMIRKANO_BUILD_FUZZERS=ON -DMIRKANO_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$build" -j "$(nproc)"

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$root/fuzz/lsan.supp:print_suppressions=0"
ctest --test-dir "$build" --output-on-failure -j "$(nproc)"

for target in history_csv history_file reflect_settings; do
  echo "== fuzz_$target for $seconds s"
  mkdir -p "$root/fuzz/regressions/$target"
  corpus="$(mktemp -d)"
  trap 'rm -rf "$corpus"' EXIT
  cp "$root/fuzz/corpus/$target/"* "$corpus/"
  # The history-file target runs until it has tried HISTORY_FILE_RUNS inputs
  # (a million by default, about six minutes), capped at 30 minutes; the
  # others run for FUZZ_SECONDS.
  limit=(-max_total_time="$seconds")
  if [[ $target == history_file ]]; then
    limit=(-runs="${HISTORY_FILE_RUNS:-1000000}" -max_total_time=1800)
  fi
  "$build/bin/fuzz_$target" "${limit[@]}" -timeout=20 -max_len=65536 -print_final_stats=1 \
    -artifact_prefix="$root/fuzz/regressions/$target/" "$corpus" "$root/fuzz/regressions/$target"
  rm -rf "$corpus"
done
echo "deep check passed"
