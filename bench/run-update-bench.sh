#!/usr/bin/env bash
# Times whole wallpaper updates under Wine in a Windows build tree, next to xplanet rendering the
# same maps natively in the same run as a yardstick:
#   bench/run-update-bench.sh BUILD_TREE [RUNS]
# (the tree must be configured with -DGLOAMERY_BENCHMARKS=ON and have built update_bench).
# The maps are the bundled JPEG day and night maps at 2048x1024 and, enlarged, at 8192x4096.
# With GLOAMERY_BENCH_DESKTOP=1 the updates are composed for the monitors of the display, as the
# update worker composes them, instead of for one 1920x1080 screen.
set -euo pipefail
# One virtual display for all runs, rather than one per run.
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi
root="$(cd "$(dirname "$0")/.." && pwd)"
tree="$(cd "$1" && pwd)"
runs="${2:-5}"
prefix="$tree/wineprefix"
arch="$(sed -n 's/^GLOAMERY_WINE_ARCH:[A-Z]*=//p' "$tree/CMakeCache.txt")"
[ -f "$prefix/user.reg" ] || "$root/tools/wine-prefix.sh" "$prefix"
run() { "$root/tools/wine-exec.sh" "$arch" "$prefix" "$tree/bench/update_bench.exe" "$@"; }

maps="$prefix/drive_c/gloamery-bench-maps"
mkdir -p "$maps"
images=/usr/share/xplanet/images
for width in 2048 8192; do
    for kind in day night; do
        map="$maps/$kind-$width.jpg"
        source="$images/earth.jpg"
        [ "$kind" = day ] || source="$images/night.jpg"
        [ -s "$map" ] || convert "$source" -resize "${width}x$((width / 2))!" -quality 92 "$map"
    done
done

# xplanet's median time for the same two maps, drawn at the maps' own size. With a second
# argument it runs without an X display, which it does not need to write a file: with one it
# takes about 0.1 s longer here.
xplanet_seconds() {
    local width=$1 config="$maps/xplanet-$1.conf" times=() display=()
    [ -z "${2:-}" ] || display=(env -u DISPLAY)
    printf '[earth]\nmap=%s\nnight_map=%s\n' "$maps/day-$width.jpg" "$maps/night-$width.jpg" >"$config"
    for _ in $(seq 1 "$runs"); do
        local start end
        start=$(date +%s.%N)
        "${display[@]}" xplanet -config "$config" -projection rectangular \
            -geometry "${width}x$((width / 2))" -num_times 1 -output "$maps/xplanet-$width.bmp" \
            >/dev/null 2>&1
        end=$(date +%s.%N)
        times+=("$(awk -v a="$start" -v b="$end" 'BEGIN { print b - a }')")
    done
    printf '%s\n' "${times[@]}" | sort -n | sed -n "$(((runs + 1) / 2))p"
}

# One benchmark process, with its peak private (anonymous resident) memory sampled from the host
# every 10 ms: Wine's own private-bytes counter does not follow the program's allocations. The
# sampler starts no process once it has found the program's (a sleep is a read that times out
# on a pipe nobody writes to), so that it takes no processor time from the program it measures.
measure() {
    local out="$maps/run.txt" pid="" peak=0 field kib unit idle
    local desktop=()
    [ "${GLOAMERY_BENCH_DESKTOP:-0}" != 1 ] || desktop=(desktop)
    exec {idle}<> <(:)
    run run 'C:\gloamery-bench-maps' "$@" "${desktop[@]}" >"$out" 2>/dev/null &
    local runner=$!
    while kill -0 "$runner" 2>/dev/null; do
        [ -n "$pid" ] || pid=$(pgrep -f 'update_bench.exe run' | head -n 1 || true)
        if [ -n "$pid" ] && [ -r "/proc/$pid/status" ]; then
            while read -r field kib unit; do
                if [ "$field" = RssAnon: ]; then
                    [ "$kib" -le "$peak" ] || peak=$kib
                    break
                fi
            done <"/proc/$pid/status" 2>/dev/null || true
        fi
        read -r -t 0.01 -u "$idle" || true
    done
    exec {idle}<&-
    wait "$runner"
    printf '%s, peak private %d MiB' "$(tr -d '\r' <"$out")" $((peak / 1024))
}

for width in 2048 8192; do
    yardstick=$(xplanet_seconds "$width")
    bare=$(xplanet_seconds "$width" without-display)
    printf 'xplanet %sx%s median of %s: %.3f s (without an X display %.3f s)\n' "$width" \
        $((width / 2)) "$runs" "$yardstick" "$bare"
    for mode in day daynight; do
        line=$(measure "$width" "$mode" "$runs")
        seconds=$(sed -E 's/.*: ([0-9.]+) s,.*/\1/' <<<"$line")
        picture=$(sed -E 's/.*Current Image at ([0-9.-]+) s.*/\1/' <<<"$line")
        printf '%s   / xplanet %.2f (Current Image %.2f; without a display %.2f, %.2f)\n' \
            "$line" "$(awk -v a="$seconds" -v b="$yardstick" 'BEGIN { print a / b }')" \
            "$(awk -v a="$picture" -v b="$yardstick" 'BEGIN { print a / b }')" \
            "$(awk -v a="$seconds" -v b="$bare" 'BEGIN { print a / b }')" \
            "$(awk -v a="$picture" -v b="$bare" 'BEGIN { print a / b }')"
    done
done
