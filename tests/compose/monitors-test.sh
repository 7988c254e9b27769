#!/usr/bin/env bash
# Several monitors under Wine: an X server on the dummy video driver, arranged with xrandr, in
# the layouts that matter, with the composer's test run on each, and the program itself started
# on one monitor and on two. Xvfb cannot do this: it shows Wine a single monitor.
#   monitors-test.sh ARCH TEST_EXE PROGRAM_DIR
set -euo pipefail
arch=$1 test_exe=$2 program_dir=$3
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
windows_version() { in_wine reg add 'HKCU\Software\Wine' /v Version /t REG_SZ /d "$1" /f >/dev/null; }

failed=0
# check SPANS MONITORS LAYOUT...: MONITORS as Wine reports them ("x,y,w,h;" left to right, the
# primary at 0,0); SPANS whether the prefix's Windows version can span a picture.
check() {
    local spans=$1 monitors=$2
    shift 2
    layout "$@"
    echo "== $* (spans: $spans)"
    GLOAMERY_MONITORS="$monitors" GLOAMERY_SPANS="$spans" in_wine "$test_exe" --gtest_brief=1 ||
        failed=$((failed + 1))
}
windows_version win10
check 1 "-1024,0,1024,768;0,0,1920,1080;1920,0,1280,1024;" \
    DUMMY0:1920x1080:1024:0 DUMMY1:1280x1024:2944:0 DUMMY2:1024x768:0:0
check 1 "0,0,1280,1024;" DUMMY0:1280x1024:0:0
check 1 "0,0,1280,1024;1280,0,1920,1080;" DUMMY0:1280x1024:0:0 DUMMY1:1920x1080:1280:0
check 1 "0,-768,1024,768;0,0,1280,1024;" DUMMY0:1280x1024:0:768 DUMMY1:1024x768:0:0
windows_version win7
check 0 "0,0,1280,1024;1280,0,1920,1080;" DUMMY0:1280x1024:0:0 DUMMY1:1920x1080:1280:0
windows_version win10

# The program as started, alone on one monitor and then over two: its picture is spanned over
# the monitors, each monitor's part its own map, so the first monitor's part is the picture it
# made alone, but for the few seconds that the sun moved in between: a column or two, which an
# eighth of the size hides. (A change of layout reaches a running program as WM_DISPLAYCHANGE,
# which the scheduler's test sends: Wine passes an xrandr change on to running programs late, and
# their list of monitors stays as it was.)
wallpaper="$prefix/drive_c/users/$(id -un)/AppData/Local/Pembrix Software/Gloamery/Pembrix Gloamery Current Image.bmp"
# program_picture SIZE LAYOUT...: the program's first wallpaper on that layout is of that size.
program_picture() {
    layout "${@:2}"
    rm -f "$wallpaper"
    (cd "$program_dir" && in_wine "Pembrix Gloamery.exe" /s) &
    local size
    for _ in $(seq 1 600); do
        size="$(od -An -tu4 -j18 -N8 "$wallpaper" 2>/dev/null | awk '{ print $1 "x" $2 }')"
        [ "$size" != "$1" ] || break
        sleep 0.1
    done
    in_wine taskkill /f /im "Pembrix Gloamery.exe" >/dev/null 2>&1
    wait $!
    [ "$size" = "$1" ] || { echo "the wallpaper is ${size:-missing}, not $1" >&2 && false; }
}
# spanned CROP PICTURE: the wallpaper is spanned, and its part CROP is the picture.
spanned() {
    grep -q 'REG_SZ *22' <<<"$(in_wine reg query 'HKCU\Control Panel\Desktop' /v WallpaperStyle)" &&
        convert "$wallpaper" -crop "$1" +repage -scale 12.5% "$work/part.bmp" &&
        convert "$2" -scale 12.5% "$work/alone.bmp" &&
        compare -metric RMSE "$work/part.bmp" "$work/alone.bmp" null: 2>&1 | tee /dev/stderr |
        awk -F '[()]' '{ d = $2 } END { exit !(NR == 1 && d != "" && d < 0.05) }'
}
echo "== the program, on one monitor and on two"
program_picture 1280x1024 DUMMY0:1280x1024:0:0 && cp "$wallpaper" "$work/1280x1024.bmp" &&
    program_picture 3200x1080 DUMMY0:1280x1024:0:0 DUMMY1:1920x1080:1280:0 &&
    spanned 1280x1024+0+0 "$work/1280x1024.bmp" || failed=$((failed + 1))

echo "monitor layouts: $failed failed"
[ "$failed" -eq 0 ]
