#!/usr/bin/env bash
# Installs what is needed, builds, and starts the desktop program on the
# bundled sample history (build/bin/Mirkano.mdb, made from data/loto6-prizes.csv).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh"
exec "$root/build/bin/mirkano" "$@"
