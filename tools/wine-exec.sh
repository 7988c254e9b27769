#!/usr/bin/env bash
# Runs a Windows program under Wine in a private prefix:
#   wine-exec.sh PREFIX PROGRAM [ARGS...]
# Without an X display the program gets a virtual one from xvfb-run.
set -eu
export WINEPREFIX="$1"
shift
export WINEDEBUG="${WINEDEBUG:--all}"
# No desktop menu entries or file associations from a test prefix.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-winemenubuilder.exe=d}"
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" wine "$@"
fi
exec wine "$@"
