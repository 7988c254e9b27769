#!/usr/bin/env bash
# Builds the program and runs it under Wine with the bundled default maps, in a Wine virtual
# desktop, so that its first update sets the wallpaper you then see behind the settings window.
# The 32-bit program runs where this host can run it, the 64-bit one elsewhere.
# Without an X display it runs on a virtual one until the wallpaper is set, saves a screenshot
# of that desktop in build/<arch>/desktop.png and closes the program.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
if [ -z "${GLOAMERY_RUN_STAGE:-}" ]; then
    "$root/tools/install-deps.sh"
    arch="$("$root/tools/wine-host.sh" arch)"
    why="$("$root/tools/wine-host.sh" why)"
    if [ -n "$why" ]; then
        echo "Running the 64-bit program: $why."
    else
        echo "Running the 32-bit program."
    fi
    "$root/tools/build.sh" --program "$arch"
    export GLOAMERY_RUN_STAGE="$arch"
    # One virtual display for every Wine command below, when there is no real one.
    if [ -z "${DISPLAY:-}" ]; then
        export GLOAMERY_RUN_HEADLESS=1
        exec xvfb-run -a -s "-screen 0 1280x720x24" "$0" "$@"
    fi
fi
arch="$GLOAMERY_RUN_STAGE"

tree="$root/build/$arch"
app="$tree/app"
exe="Pembrix Gloamery.exe"
prefix="$tree/run-prefix"
desktop="1280x720"
[ -f "$prefix/system.reg" ] || "$root/tools/wine-prefix.sh" "$prefix"
in_wine() { "$root/tools/wine-exec.sh" "$arch" "$prefix" "$@"; }
local_appdata="$(cd "$app" && in_wine cmd /c 'echo %LOCALAPPDATA%' 2>/dev/null | tr -d '\r')"
wallpaper="$(in_wine winepath -u "$local_appdata\\Pembrix Software\\Gloamery\\Pembrix Gloamery Current Image.bmp" 2>/dev/null | tr -d '\r')"
wallpaper="$(realpath -m "$wallpaper")"
rm -f "$wallpaper"

if [ -z "${GLOAMERY_RUN_HEADLESS:-}" ]; then
    echo "Starting Pembrix Gloamery in a Wine desktop of $desktop; close its settings window to end it."
    (cd "$app" && in_wine explorer "/desktop=Gloamery,$desktop" "$exe") || true
    echo "Wallpaper file: $wallpaper"
    exit 0
fi

screenshot="$tree/desktop.png"
(cd "$app" && in_wine explorer "/desktop=Gloamery,$desktop" "$exe") 2>/dev/null &
for _ in $(seq 1 180); do
    [ -s "$wallpaper" ] && break
    sleep 1
done
# The desktop repaints with the new wallpaper shortly after the file is in place.
sleep 3
import -window root "$screenshot" 2>/dev/null || true
WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
wait || true
if [ ! -s "$wallpaper" ]; then
    echo "The program did not set a wallpaper." >&2
    exit 1
fi
echo "Wallpaper file: $wallpaper"
echo "Screenshot of the desktop: $screenshot"
