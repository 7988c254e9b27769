#!/usr/bin/env bash
# Times whole updates on three monitors side by side (1024x768 left of a 1920x1080 primary, a
# 1280x1024 on its right), on an X server on the dummy video driver that shows Wine each monitor,
# with the same maps and yardstick as run-update-bench.sh. Runs as root (the X server needs it):
#   bench/run-monitors-bench.sh BUILD_TREE [RUNS]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
tree="$(cd "$1" && pwd)"
work="$(mktemp -d)"
read -r DISPLAY server < <("$root/tools/dummy-xserver.sh" "$work/xorg.log")
export DISPLAY
trap 'kill "$server" 2>/dev/null; wait "$server" 2>/dev/null; rm -rf "$work"' EXIT
for output in DUMMY0:1920x1080 DUMMY1:1024x768 DUMMY2:1280x1024; do
    xrandr --addmode "${output%%:*}" "${output#*:}" 2>/dev/null || true
done
xrandr --output DUMMY0 --mode 1920x1080 --pos 1024x0 --primary \
    --output DUMMY1 --mode 1024x768 --pos 0x0 --output DUMMY2 --mode 1280x1024 --pos 2944x0
# A full query makes the server probe its outputs again; Wine reads only what it last probed.
xrandr >/dev/null

# The picture spans the monitors only where the system has the span style: Windows 8 and later.
prefix="$tree/wineprefix"
arch="$(sed -n 's/^GLOAMERY_WINE_ARCH:[A-Z]*=//p' "$tree/CMakeCache.txt")"
[ -f "$prefix/user.reg" ] || "$root/tools/wine-prefix.sh" "$prefix"
"$root/tools/wine-exec.sh" "$arch" "$prefix" reg add 'HKCU\Software\Wine' /v Version /t REG_SZ \
    /d win10 /f >/dev/null
GLOAMERY_BENCH_DESKTOP=1 "$root/bench/run-update-bench.sh" "$tree" "${2:-5}"
wallpaper="$prefix/drive_c/users/$(id -un)/AppData/Local/Pembrix Software/Gloamery/Pembrix Gloamery Current Image.bmp"
printf 'wallpaper of the last update: %s\n' "$(od -An -tu4 -j18 -N8 "$wallpaper" | awk '{ print $1 "x" $2 }')"
WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
