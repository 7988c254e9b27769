#!/usr/bin/env bash
# Installs the setup program silently into the build tree's Wine prefix and checks what a user
# gets: the files, the shortcuts, the installed-programs entry, the hidden start at sign-in,
# and what the uninstaller removes and keeps.
#   install-test.sh PREFIX SETUP PROBE DIST_DIR
# The prefix is shared with other tests: everything made here is removed again at the end.
set -uo pipefail

# One virtual display for the whole run, so that the programs started here share it.
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi

prefix=$1 setup=$2 probe_exe=$3 dist=$4
wine_exec="$(cd "$(dirname "$0")/../../tools" && pwd)/wine-exec.sh"
work="$(mktemp -d)"

run() { "$wine_exec" "$prefix" "$@"; }
# Windows writes CR LF to a redirected standard output.
probe() { run "$probe_exe" "$@" | tr -d '\r'; }
field() { sed -n "s/^$1=//p" <<<"$2"; }
# C:\x\y as a path in the prefix.
unix_path() {
    local path="${1//\\//}"
    printf '%s/drive_c/%s' "$prefix" "${path#[Cc]:/}"
}

passed=0
failed=0
check() { # check WHAT COMMAND...
    local what=$1
    shift
    if "$@"; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "FAIL: $what" >&2
    fi
}
# Windows paths and names compare without regard to case.
same() {
    [ "${1,,}" = "${2,,}" ] && return 0
    printf '  got:      %s\n  expected: %s\n' "$1" "$2" >&2
    return 1
}
exists() { [ -e "$(unix_path "$1")" ]; }
missing() { ! exists "$1"; }
# A process id printed by the probe, of a program that has ended.
ended() { [ -n "$1" ] && [ "$1" != 0 ] && same "$(probe alive "$1")" no; }
key_is() { same "$(probe key "$1")" "$2"; }
value_is() { same "$(probe value "$1" "$2")" "$3"; }

title="Pembrix Gloamery Settings"
exe_name="Pembrix Gloamery.exe"
installed_files=("$exe_name" "Pembrix Gloamery.chm" "Earth by day - ocean ice.jpg"
    "Earth by night - city lights.jpg" "Earth maps - licence.txt" "ReadMe.txt")
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Pembrix Gloamery'
vendor_key='HKCU\Software\Pembrix'
settings_key='HKCU\Software\Pembrix\Pembrix Gloamery'
desktop_key='HKCU\Control Panel\Desktop'

# The setup program installs into the Program Files folder of its own kind (32- or 64-bit),
# which is the one the probe, built alike, sees.
instdir="$(probe folder programfiles)\\Pembrix Gloamery"
menu_link="$(probe folder programs)\\Pembrix Gloamery.lnk"
startup_link="$(probe folder startup)\\Pembrix Gloamery.lnk"
vendor_folder="$(probe folder localappdata)\\Pembrix Software"
output_folder="$vendor_folder\\Gloamery"
wallpaper="$output_folder\\Pembrix Gloamery Current Image.bmp"
other_folder="$vendor_folder\\Another program"
had_wallpaper=yes
old_wallpaper="$(probe value "$desktop_key" Wallpaper)" || had_wallpaper=no

cleanup() {
    probe close-all "$title" >/dev/null
    if exists "$instdir\\Uninstall.exe"; then
        uninstall /REMOVEDATA
    fi
    probe delete-tree "$settings_key"
    probe delete-key "$vendor_key" # only when nothing else is in it
    rm -rf "$(unix_path "$output_folder")" "$(unix_path "$other_folder")"
    rmdir "$(unix_path "$vendor_folder")" 2>/dev/null
    if [ "$had_wallpaper" = yes ]; then
        probe set-string "$desktop_key" Wallpaper "$old_wallpaper"
    else
        probe delete-value "$desktop_key" Wallpaper
    fi
    rm -rf "$work"
}
trap cleanup EXIT

# Runs the uninstaller as the installed-programs list does. It hands over to a copy of itself
# and returns at once; the copy removes the entry last, so its going marks the end.
uninstall() {
    run "$instdir\\Uninstall.exe" /S "$@"
    for _ in $(seq 1 120); do
        [ "$(probe key "$uninstall_key")" = absent ] && return 0
        sleep 0.5
    done
    return 1
}

check_installed() { # check_installed STARTUP(yes|no)
    local file link
    for file in "${installed_files[@]}"; do
        check "installed: $file" cmp -s "$(unix_path "$instdir\\$file")" "$dist/$file"
    done
    check "installed: the uninstaller" exists "$instdir\\Uninstall.exe"

    check "entry: DisplayName" value_is "$uninstall_key" DisplayName "Pembrix Gloamery"
    check "entry: DisplayVersion" value_is "$uninstall_key" DisplayVersion "1.11"
    check "entry: Publisher" value_is "$uninstall_key" Publisher "Pembrix Software"
    check "entry: DisplayIcon" value_is "$uninstall_key" DisplayIcon "$instdir\\$exe_name,0"
    check "entry: UninstallString" \
        value_is "$uninstall_key" UninstallString "\"$instdir\\Uninstall.exe\""
    check "entry: InstallLocation" value_is "$uninstall_key" InstallLocation "$instdir"

    # Every shortcut starts the program in its folder, where the styles find their maps.
    link="$(probe link "$menu_link")"
    check "Start menu shortcut: target" same "$(field target "$link")" "$instdir\\$exe_name"
    check "Start menu shortcut: no arguments" same "$(field arguments "$link")" ""
    check "Start menu shortcut: starts in the program's folder" \
        same "$(field directory "$link")" "$instdir"
    if [ "$1" = yes ]; then
        link="$(probe link "$startup_link")"
        check "Startup shortcut: target" same "$(field target "$link")" "$instdir\\$exe_name"
        check "Startup shortcut: /s" same "$(field arguments "$link")" "/s"
        check "Startup shortcut: starts in the program's folder" \
            same "$(field directory "$link")" "$instdir"
    else
        check "no Startup shortcut" missing "$startup_link"
    fi
}

check_uninstalled() {
    local file
    for file in "${installed_files[@]}" Uninstall.exe; do
        check "uninstalled: $file" missing "$instdir\\$file"
    done
    check "uninstalled: the program's folder" missing "$instdir"
    check "uninstalled: Start menu shortcut" missing "$menu_link"
    check "uninstalled: Startup shortcut" missing "$startup_link"
    check "uninstalled: entry" key_is "$uninstall_key" absent
}

# --- A first installation with the defaults, started as at sign-in. ---
# The program starts as on its first run: no settings, no output folder.
probe delete-tree "$settings_key"
rm -rf "$(unix_path "$output_folder")"

check "setup /S succeeds" run "$setup" /S
check "setup carries version 1.11.0.10" same "$(probe version "$setup")" "1.11.0.10"
check_installed yes

probe start-link "$startup_link" "$title" "$wallpaper" 120 close >"$work/signin"
signin="$(tr -d '\r' <"$work/signin")"
check "sign-in start: the settings window exists" same "$(field window "$signin")" found
check "sign-in start: the window is never shown" same "$(field shown "$signin")" no
check "sign-in start: no taskbar button" same "$(field taskbar "$signin")" no
check "sign-in start: the wallpaper file is written" same "$(field file "$signin")" written
check "sign-in start: the wallpaper file is a bitmap" \
    same "$(head -c 2 "$(unix_path "$wallpaper")" 2>/dev/null)" BM
check "sign-in start: the desktop wallpaper is that file" \
    value_is "$desktop_key" Wallpaper "$wallpaper"
# The daytime style takes its map from the folder the program started in.
check "sign-in start: the map comes from the program's folder" \
    value_is "$settings_key" SrcImgPath "$instdir\\Earth by day - ocean ice.jpg"
check "sign-in start: the program ends on WM_CLOSE" same "$(field ended "$signin")" yes

# --- Uninstalled silently: the user's data stays. ---
check "uninstall /S finishes" uninstall
check_uninstalled
check "kept: the settings" key_is "$settings_key" present
check "kept: the wallpaper file" exists "$wallpaper"

# --- Installed again without the start at sign-in, started from the Start menu, and
# uninstalled with its data while it runs. ---
rm -f "$(unix_path "$wallpaper")"
check "setup /S /NOSTARTUP succeeds" run "$setup" /S /NOSTARTUP
check_installed no

probe start-link "$menu_link" "$title" "$wallpaper" 120 leave >"$work/menu"
menu="$(tr -d '\r' <"$work/menu")"
check "Start menu start: the settings window is shown" same "$(field shown "$menu")" yes
check "Start menu start: with a taskbar button" same "$(field taskbar "$menu")" yes
check "Start menu start: the wallpaper file is written" same "$(field file "$menu")" written
pid="$(field pid "$menu")"

# Another program of the same maker keeps the shared folder alive.
mkdir -p "$(unix_path "$other_folder")"
check "uninstall /S /REMOVEDATA finishes" uninstall /REMOVEDATA
check "the uninstaller closes the running program" ended "$pid"
check "no settings window is left" same "$(probe window "$title")" none
check_uninstalled
check "removed: the settings" key_is "$settings_key" absent
check "removed: the maker's key, left empty" key_is "$vendor_key" absent
check "removed: the output folder" missing "$output_folder"
check "kept: the maker's folder, still in use" exists "$other_folder"

echo "$passed checks passed, $failed failed"
[ "$failed" -eq 0 ] && exit 0
exit 1
