#!/usr/bin/env bash
# Builds the 32-bit program and runs it under Wine with the bundled default maps, in a Wine
# virtual desktop, so that its first update sets the wallpaper you then see behind the settings
# window. Without an X display it runs on a virtual one until the wallpaper is set, saves a
# screenshot of that desktop in build/win32/desktop.png and closes the program.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
"$root/tools/install-deps.sh"
"$root/tools/build.sh" win32

app="$root/build/win32/app"
exe="Pembrix Gloamery.exe"
prefix="$root/build/win32/run-prefix"
desktop="1280x720"
[ -f "$prefix/system.reg" ] || "$root/tools/wine-prefix.sh" "$prefix"
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="winemenubuilder.exe=d"
local_appdata="$(cd "$app" && wine cmd /c 'echo %LOCALAPPDATA%' 2>/dev/null | tr -d '\r')"
wallpaper="$(winepath -u "$local_appdata\\Pembrix Software\\Gloamery\\Pembrix Gloamery Current Image.bmp" 2>/dev/null)"
wallpaper="$(realpath -m "$wallpaper")"
rm -f "$wallpaper"

if [ -n "${DISPLAY:-}" ]; then
    echo "Starting Pembrix Gloamery in a Wine desktop of $desktop; close its settings window to end it."
    (cd "$app" && wine explorer "/desktop=Gloamery,$desktop" "$exe") || true
    echo "Wallpaper file: $wallpaper"
    exit 0
fi

screenshot="$root/build/win32/desktop.png"
export wallpaper screenshot app exe desktop
xvfb-run -a -s "-screen 0 ${desktop}x24" bash -c '
    (cd "$app" && wine explorer "/desktop=Gloamery,$desktop" "$exe") &
    for _ in $(seq 1 180); do
        [ -s "$wallpaper" ] && break
        sleep 1
    done
    sleep 3
    import -window root "$screenshot" 2>/dev/null || true
    wineserver -k
    wait
' 2>/dev/null || true
if [ ! -s "$wallpaper" ]; then
    echo "The program did not set a wallpaper." >&2
    exit 1
fi
echo "Wallpaper file: $wallpaper"
echo "Screenshot of the desktop: $screenshot"
