#!/usr/bin/env bash
# Installs what is missing, builds every target and runs every test:
# the portable core natively under sanitizers, then the 32-bit and 64-bit Windows builds
# under Wine on a virtual display. Where this host cannot run 32-bit programs (or with
# GLOAMERY_WINE64_ONLY=1) the 32-bit tree is built but not tested.
# Ends with one line: "ctest: N passed, N failed", counting what ran.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

"$root/tools/install-deps.sh"
"$root/tools/build.sh" native win32 win64

trees=(native win32 win64)
why="$("$root/tools/wine-host.sh" why)"
if [ -n "$why" ]; then
    trees=(native win64)
fi

passed=0
failed=0
status=0
for tree in "${trees[@]}"; do
    echo "== testing $tree"
    log="build/$tree/ctest.log"
    run=(ctest --test-dir "build/$tree" --output-on-failure -j 2)
    [ "$tree" = native ] || run=(xvfb-run -a -s "-screen 0 1280x1024x24" "${run[@]}")
    if ! "${run[@]}" 2>&1 | tee "$log"; then
        status=1
    fi
    summary="$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -n 1 || true)"
    if [ -z "$summary" ]; then
        status=1
        continue
    fi
    total="$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$summary")"
    bad="$(sed -E 's/.*, ([0-9]+) tests failed.*/\1/' <<<"$summary")"
    passed=$((passed + total - bad))
    failed=$((failed + bad))
done
[ "$failed" -eq 0 ] || status=1
[ -z "$why" ] || echo "The 32-bit tests were built but not run on this host: $why."
echo "ctest: $passed passed, $failed failed"
exit "$status"
