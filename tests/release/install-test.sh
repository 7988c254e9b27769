#!/usr/bin/env bash
# Installs the setup program silently into the build tree's Wine prefix, starts the program as
# at sign-in and uninstalls it; what is made in the shared prefix is removed again at the end.
#   install-test.sh ARCH PREFIX SETUP PROBE DIST_DIR
set -uo pipefail

# One virtual display for the whole run, so that the programs started here share it.
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi

arch=$1 prefix=$2 setup=$3 probe_exe=$4 dist=$5
wine_exec="$(cd "$(dirname "$0")/../../tools" && pwd)/wine-exec.sh"

# Windows writes CR LF to a redirected standard output.
run() { "$wine_exec" "$arch" "$prefix" "$@" | tr -d '\r'; }
probe() { run "$probe_exe" "$@"; }
field() { sed -n "s/^$1=//p" <<<"$2"; }
# A registry value; fails when it is missing.
value() {
    run reg query "$1" /v "$2" 2>/dev/null | sed -n "s/^    $2    REG_[A-Z_]*    //p" | grep ''
}
key_present() { run reg query "$1" >/dev/null 2>&1; }
key_absent() { ! key_present "$1"; }
# C:\x\y as a path in the prefix.
unix_path() {
    local path="${1//\\//}"
    printf '%s/drive_c/%s' "$prefix" "${path#[Cc]:/}"
}

passed=0
failed=0
check() { # check WHAT COMMAND...
    "${@:2}" && passed=$((passed + 1)) && return
    failed=$((failed + 1))
    echo "FAIL: $1" >&2
}
# Windows paths and names compare without regard to case.
same() {
    [ "${1,,}" = "${2,,}" ] && return 0
    printf '  got:      %s\n  expected: %s\n' "$1" "$2" >&2
    return 1
}
exists() { [ -e "$(unix_path "$1")" ]; }
missing() { ! exists "$1"; }
value_is() { same "$(value "$1" "$2")" "$3"; }

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
if old_wallpaper="$(value "$desktop_key" Wallpaper)"; then
    restore_wallpaper=(add "$desktop_key" /v Wallpaper /d "$old_wallpaper" /f)
else
    restore_wallpaper=(delete "$desktop_key" /v Wallpaper /f)
fi

cleanup() {
    probe close "$title" >/dev/null
    if exists "$instdir\\Uninstall.exe"; then
        uninstall /REMOVEDATA
    fi
    run reg delete "$settings_key" /f >/dev/null 2>&1
    rm -rf "$(unix_path "$output_folder")" "$(unix_path "$other_folder")"
    rmdir "$(unix_path "$vendor_folder")" 2>/dev/null
    run reg "${restore_wallpaper[@]}" >/dev/null
}
trap cleanup EXIT

# Runs the uninstaller as the installed-programs list does. It hands over to a copy of itself
# and returns at once; the copy removes the entry last, so its going marks the end.
uninstall() {
    run "$instdir\\Uninstall.exe" /S "$@"
    for _ in $(seq 1 120); do
        key_present "$uninstall_key" || return 0
        sleep 0.5
    done
    return 1
}

check_installed() { # check_installed STARTUP(yes|no)
    local file entry link
    for file in "${installed_files[@]}"; do
        check "installed: $file" cmp -s "$(unix_path "$instdir\\$file")" "$dist/$file"
    done
    for entry in "DisplayName=Pembrix Gloamery" DisplayVersion=1.11 "Publisher=Pembrix Software" \
        "DisplayIcon=$instdir\\$exe_name,0" "UninstallString=\"$instdir\\Uninstall.exe\"" \
        "InstallLocation=$instdir"; do
        check "entry: ${entry%%=*}" value_is "$uninstall_key" "${entry%%=*}" "${entry#*=}"
    done
    # Every shortcut starts the program in its folder, where the styles find their maps; the
    # one at sign-in starts it hidden.
    link="$(probe link "$menu_link")"
    check "Start menu shortcut" same "$link" \
        "$(printf 'target=%s\narguments=\ndirectory=%s' "$instdir\\$exe_name" "$instdir")"
    if [ "$1" = yes ]; then
        link="$(probe link "$startup_link")"
        check "Startup shortcut" same "$link" \
            "$(printf 'target=%s\narguments=/s\ndirectory=%s' "$instdir\\$exe_name" "$instdir")"
    else
        check "no Startup shortcut" missing "$startup_link"
    fi
}

check_uninstalled() {
    check "uninstalled: the program's folder" missing "$instdir"
    check "uninstalled: Start menu shortcut" missing "$menu_link"
    check "uninstalled: Startup shortcut" missing "$startup_link"
    check "uninstalled: entry" key_absent "$uninstall_key"
}

# --- A first installation with the defaults, started as at sign-in on a first run. ---
run reg delete "$settings_key" /f >/dev/null 2>&1
rm -rf "$(unix_path "$output_folder")"
check "setup /S succeeds" run "$setup" /S
check_installed yes

signin="$(probe start "$startup_link" "$title" "$wallpaper")"
check "sign-in start: the settings window exists" same "$(field window "$signin")" found
check "sign-in start: the window is never shown" same "$(field shown "$signin")" no
check "sign-in start: no taskbar button" same "$(field taskbar "$signin")" no
check "sign-in start: the wallpaper file is written" same "$(field file "$signin")" written
check "sign-in start: the desktop wallpaper is that file" \
    value_is "$desktop_key" Wallpaper "$wallpaper"
# The daytime style takes its map from the folder the program started in.
check "sign-in start: the map comes from the program's folder" \
    value_is "$settings_key" SrcImgPath "$instdir\\Earth by day - ocean ice.jpg"
check "sign-in start: the program ends on WM_CLOSE" same "$(probe close "$title")" 1

# --- Uninstalled silently: the user's data stays. ---
check "uninstall /S finishes" uninstall
check_uninstalled
check "kept: the settings" key_present "$settings_key"
check "kept: the wallpaper file" exists "$wallpaper"

# --- Installed again without the start at sign-in, and uninstalled with the user's data while
# the program runs. ---
check "setup /S /NOSTARTUP succeeds" run "$setup" /S /NOSTARTUP
check_installed no
menu="$(probe start "$menu_link" "$title" "$wallpaper")"
check "Start menu start: the settings window is shown" same "$(field shown "$menu")" yes
# Another program of the same maker keeps the shared folder alive.
mkdir -p "$(unix_path "$other_folder")"
check "uninstall /S /REMOVEDATA finishes" uninstall /REMOVEDATA
check "the uninstaller closes the running program" same "$(probe close "$title")" 0
check_uninstalled
check "removed: the settings" key_absent "$settings_key"
check "removed: the maker's key, left empty" key_absent "$vendor_key"
check "removed: the output folder" missing "$output_folder"
check "kept: the maker's folder, still in use" exists "$other_folder"

echo "$passed checks passed, $failed failed"
[ "$failed" -eq 0 ]
