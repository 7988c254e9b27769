#!/usr/bin/env bash
# What this host can run under Wine, and the Wine command for each Windows architecture.
#   wine-host.sh can-run-32   exits 0 where 32-bit programs run (and are wanted) here
#   wine-host.sh arch         prints the architecture the program runs as here: win32 or win64
#   wine-host.sh loader ARCH  prints the Wine command for win32 or win64 programs
#   wine-host.sh why          prints why the 32-bit programs do not run here (empty when they do)
# Some x86-64 kernels refuse 32-bit programs altogether ("Exec format error"). Debian's `wine`
# wrapper always execs the 32-bit loader once wine32 is installed, so 64-bit programs, Wine's own
# tools among them, are run by the 64-bit loader directly on every host: started by the 32-bit
# one they would run 32-bit (cmd would see the x86 Program Files). GLOAMERY_WINE64_ONLY=1 takes
# the 64-bit-only path on any host.
set -eu

# A 93-byte i386 program that only exits with status 0: running it asks the kernel itself.
runs_32bit_programs() {
    local probe status
    probe="$(mktemp "${TMPDIR:-/tmp}/gloamery-i386-probe.XXXXXX")"
    printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x5d\x00\x00\x00\x5d\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\xb8\x01\x00\x00\x00\x31\xdb\xcd\x80' >"$probe"
    chmod +x "$probe"
    status=0
    "$probe" 2>/dev/null || status=$?
    rm -f "$probe"
    return "$status"
}

why_not_32() {
    if [ "${GLOAMERY_WINE64_ONLY:-0}" = 1 ]; then
        echo "GLOAMERY_WINE64_ONLY=1 is set"
    elif ! runs_32bit_programs; then
        echo "this host's kernel does not run 32-bit programs"
    fi
}

loader() {
    case "$1" in
        win32)
            local why
            why="$(why_not_32)"
            if [ -n "$why" ]; then
                echo "32-bit Windows programs cannot run here: $why" >&2
                return 3
            fi
            echo wine
            ;;
        win64) echo /usr/lib/wine/wine64 ;;
        *)
            echo "unknown architecture: $1 (win32 or win64)" >&2
            return 2
            ;;
    esac
}

case "${1:-}" in
    can-run-32) [ -z "$(why_not_32)" ] ;;
    why) why_not_32 ;;
    arch) if [ -z "$(why_not_32)" ]; then echo win32; else echo win64; fi ;;
    loader) loader "${2:-}" ;;
    *)
        sed -n '2,11s/^# \{0,1\}//p' "$0" >&2
        exit 2
        ;;
esac
