#!/usr/bin/env bash
# Several monitors under Wine: an X server on the dummy video driver, arranged with xrandr, in
# the layouts that matter, with the composer's test run on each. Xvfb cannot do this: it shows
# Wine a single monitor.
#   monitors-test.sh ARCH TEST_EXE
set -euo pipefail
arch=$1 test_exe=$2
tools="$(cd "$(dirname "$0")/../../tools" && pwd)"
work="$(mktemp -d)"
read -r DISPLAY server < <("$tools/dummy-xserver.sh" "$work/xorg.log")
export DISPLAY
prefix="$work/prefix"
finish() {
    { WINEPREFIX="$prefix" wineserver -k; kill "$server" && wait "$server"; } 2>/dev/null || true
    rm -rf "$work"
}
trap finish EXIT

# layout "OUTPUT:MODE:X:Y ..." with the first output primary; the rest are switched off.
layout() {
    local args=() output mode x y
    for item in "$@"; do
        IFS=: read -r output mode x y <<<"$item"
        xrandr --addmode "$output" "$mode" 2>/dev/null || true
        args+=(--output "$output" --mode "$mode" --pos "${x}x$y")
        [ ${#args[@]} -gt 6 ] || args+=(--primary)
    done
    for n in 0 1 2 3; do
        [[ " ${args[*]} " == *" DUMMY$n "* ]] || args+=(--output "DUMMY$n" --off)
    done
    xrandr "${args[@]}"
    # A full query makes the server probe its outputs again; Wine reads only what it last probed.
    xrandr >/dev/null
}

# One Wine session for the whole run, started with every output the layouts use switched on.
layout DUMMY0:1920x1080:1024:0 DUMMY1:1280x1024:2944:0 DUMMY2:1024x768:0:0
"$tools/wine-prefix.sh" "$prefix"
WINEPREFIX="$prefix" wineserver -p
in_wine() { "$tools/wine-exec.sh" "$arch" "$prefix" "$@"; }
# A Windows version that can span a picture over several monitors, which Wine's default cannot.
in_wine reg add 'HKCU\Software\Wine' /v Version /t REG_SZ /d win10 /f >/dev/null

failed=0
# check MONITORS LAYOUT...: MONITORS as Wine reports them ("x,y,w,h;" left to right, the primary
# at 0,0).
check() {
    layout "${@:2}"
    echo "== ${*:2}"
    GLOAMERY_MONITORS="$1" in_wine "$test_exe" --gtest_brief=1 || failed=$((failed + 1))
}
check "-1024,0,1024,768;0,0,1920,1080;1920,0,1280,1024;" \
    DUMMY0:1920x1080:1024:0 DUMMY1:1280x1024:2944:0 DUMMY2:1024x768:0:0
check "0,-768,1024,768;0,0,1280,1024;" DUMMY0:1280x1024:0:768 DUMMY1:1024x768:0:0

echo "monitor layouts: $failed failed"
[ "$failed" -eq 0 ]
