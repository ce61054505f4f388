#!/usr/bin/env bash
# Wall time and peak memory of `mirkano-cli sheet` for every analysis on one
# history file: the best wall time of RUNS calls, timed by the shell itself
# around the bare command (as any caller starts it), and the peak resident
# memory of one more call under /usr/bin/time.
#   bench/cli_sheet.sh build/bin/mirkano-cli HISTORY.mdb [RUNS]
set -euo pipefail
cli=$1 db=$2 runs=${3:-10}
ids=$("$cli" sheet --db "$db" 2>&1 | sed -n 's/.*: \(frequency, .*\)$/\1/p' | tr -d ',' || true)
usec() { local t=${1/./}; echo $((10#$t)); }
printf '%-22s %10s %12s\n' analysis best_ms peak_MiB
for id in $ids; do
    best=
    for ((i = 0; i < runs; ++i)); do
        start=$EPOCHREALTIME
        "$cli" sheet --db "$db" "$id" >/dev/null
        end=$EPOCHREALTIME
        us=$(( $(usec "$end") - $(usec "$start") ))
        [[ -z $best || $us -lt $best ]] && best=$us
    done
    kb=$( { /usr/bin/time -f '%M' "$cli" sheet --db "$db" "$id" >/dev/null; } 2>&1 | tail -1)
    printf '%-22s %10.1f %12.1f\n' "$id" "$(echo "$best / 1000" | bc -l)" "$(echo "$kb / 1024" | bc -l)"
done
