#!/usr/bin/env bash
# Wall time and peak memory of `mirkano-cli sheet` for every analysis on one
# history file: the best wall time of RUNS calls and the largest peak resident
# memory among them.
#   bench/cli_sheet.sh build/bin/mirkano-cli HISTORY.mdb [RUNS]
set -euo pipefail
cli=$1 db=$2 runs=${3:-10}
ids=$("$cli" sheet --db "$db" 2>&1 | sed -n 's/.*: \(frequency, .*\)$/\1/p' | tr -d ',' || true)
printf '%-22s %10s %12s\n' analysis best_ms peak_MiB
for id in $ids; do
    best= peak=0
    for ((i = 0; i < runs; ++i)); do
        start=$(date +%s%N)
        kb=$( { /usr/bin/time -f '%M' "$cli" sheet --db "$db" "$id" >/dev/null; } 2>&1 | tail -1)
        ms=$(( ($(date +%s%N) - start) / 1000000 ))
        [[ -z $best || $ms -lt $best ]] && best=$ms
        (( kb > peak )) && peak=$kb
    done
    printf '%-22s %10d %12.1f\n' "$id" "$best" "$(echo "$peak / 1024" | bc -l)"
done
