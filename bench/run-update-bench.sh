#!/usr/bin/env bash
# Runs the whole-update benchmark under Wine in a Windows build tree:
#   bench/run-update-bench.sh BUILD_TREE [RUNS]
# (the tree must be configured with -DGLOAMERY_BENCHMARKS=ON and have built update_bench).
set -euo pipefail
# One virtual display for all runs, rather than one per run.
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi
root="$(cd "$(dirname "$0")/.." && pwd)"
tree="$(cd "$1" && pwd)"
runs="${2:-5}"
prefix="$tree/wineprefix"
arch="$(sed -n 's/^GLOAMERY_WINE_ARCH:[A-Z]*=//p' "$tree/CMakeCache.txt")"
[ -f "$prefix/user.reg" ] || "$root/tools/wine-prefix.sh" "$arch" "$prefix"
run() { "$root/tools/wine-exec.sh" "$arch" "$prefix" "$tree/bench/update_bench.exe" "$@"; }
maps='C:\gloamery-bench-maps'
run prepare "$maps"
for width in 2048 8192; do
    for mode in day daynight; do
        run run "$maps" "$width" "$mode" "$runs"
    done
done
