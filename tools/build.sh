#!/usr/bin/env bash
# Configures and builds the named build trees under build/ (default: native win32 win64).
#   native  portable core and its tests, with AddressSanitizer and UndefinedBehaviorSanitizer
#   win32   the 32-bit Windows program and its tests (primary target)
#   win64   the 64-bit Windows program and its tests
#   bench   optimised native build of the benchmarks
# With --program first, a Windows tree builds only the program, its help file and its maps.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
jobs="$(nproc 2>/dev/null || echo 2)"

targets=()
if [ "${1:-}" = --program ]; then
    targets=(--target gloamery gloamery_help)
    shift
fi

build() {
    local name="$1"
    shift
    cmake -S . -B "build/$name" -Wno-dev --no-warn-unused-cli "$@" >/dev/null
    cmake --build "build/$name" -j "$jobs" "${targets[@]}" -- --no-print-directory
}

[ $# -gt 0 ] || set -- native win32 win64
for target in "$@"; do
    echo "== building $target"
    case "$target" in
        native) build native -DGLOAMERY_SANITIZE=ON ;;
        win32) build win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake ;;
        win64) build win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake ;;
        bench) build bench -DCMAKE_BUILD_TYPE=Release -DGLOAMERY_BENCHMARKS=ON ;;
        *) echo "unknown build tree: $target" >&2; exit 2 ;;
    esac
done
