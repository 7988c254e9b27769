#!/usr/bin/env bash
# Starts an X server on the dummy video driver in the background and prints its display and
# process id once it answers. Unlike Xvfb, whose heads all sit at 0,0 for Wine, its outputs
# DUMMY0 to DUMMY15 take modes and positions from xrandr, and Wine sees each as a monitor. Needs
# root. The caller stops the server:
#   read -r DISPLAY server < <(tools/dummy-xserver.sh LOGFILE)
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
display=90
while [ -e "/tmp/.X$display-lock" ] || [ -e "/tmp/.X11-unix/X$display" ]; do
    display=$((display + 1))
done
Xorg ":$display" -config "$here/dummy-xorg.conf" -noreset -nolisten tcp -logfile "$1" \
    >/dev/null 2>&1 &
for _ in $(seq 1 100); do
    DISPLAY=":$display" xrandr >/dev/null 2>&1 && break
    sleep 0.1
done
echo ":$display $!"
