#!/usr/bin/env bash
# Creates a fresh Wine prefix (wine-prefix.sh PREFIX), or stops its server
# (wine-prefix.sh --stop PREFIX). Never touches the user's own ~/.wine.
set -eu
here="$(cd "$(dirname "$0")" && pwd)"
if [ "$1" = "--stop" ]; then
    WINEPREFIX="$2" wineserver -k 2>/dev/null || true
    exit 0
fi
prefix="$1"
[ -d "$prefix" ] && { WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true; rm -rf "$prefix"; }
mkdir -p "$prefix"
# Always a 64-bit prefix, made by the 64-bit loader, for either tree: 32-bit programs then meet
# Windows as on a 64-bit system, while a 32-bit prefix shows them a single monitor over the whole
# X screen.
export WINEARCH=win64
# Skip the Mono and Gecko installers: there is nothing to download them from, and their
# prompts would wait for a click that never comes.
WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe=d" "$here/wine-exec.sh" win64 "$prefix" wineboot --init
# Windows are not handed to a window manager: the virtual displays have none, and Wine would wait
# two seconds for its answer each time a window is hidden.
"$here/wine-exec.sh" win64 "$prefix" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed \
    /t REG_SZ /d N /f >/dev/null
WINEPREFIX="$prefix" wineserver -w
test -f "$prefix/user.reg"
