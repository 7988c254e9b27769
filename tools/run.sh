#!/usr/bin/env bash
# Builds the 32-bit program and runs it under Wine with the bundled default maps, so that its
# first update sets the wallpaper.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
"$root/tools/install-deps.sh"
"$root/tools/build.sh" win32
exe="build/win32/app/Pembrix Gloamery.exe"
if [ ! -f "$exe" ]; then
    echo "The program itself is not complete yet: its settings dialog does not exist."
    echo "What is built so far is tested by: bash tools/test.sh"
    exit 0
fi
