#!/usr/bin/env bash
# Runs a Windows program under Wine in a private prefix, with the loader this host needs:
#   wine-exec.sh ARCH PREFIX PROGRAM [ARGS...]     (ARCH: win32 or win64)
# Wine's own programs (wineboot, reg, cmd, winepath, explorer) are named as PROGRAM too.
# Without an X display the program gets a virtual one from xvfb-run.
set -eu
arch="$1"
export WINEPREFIX="$2"
shift 2
loader="$("$(dirname "$0")/wine-host.sh" loader "$arch")"
# The 64-bit loader run directly must be told that it is the loader for the processes it starts.
[ "$loader" = wine ] || export WINELOADER="$loader"
export WINEDEBUG="${WINEDEBUG:--all}"
# No desktop menu entries or file associations from a test prefix, and no debugger that waits
# on a crashed program: a crash ends it, so a test fails at once instead of at its time limit.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-winemenubuilder.exe=d;winedbg.exe=d}"
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$loader" "$@"
fi
exec "$loader" "$@"
