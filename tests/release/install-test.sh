#!/usr/bin/env bash
# Installs the setup program silently into the build tree's Wine prefix, starts the program from
# its shortcuts and uninstalls it, first keeping and then removing the user's data. What is made
# in the shared prefix is removed again at the end.
#   install-test.sh ARCH PREFIX SETUP PROBE DIST_DIR
set -uo pipefail
# One virtual display for the whole run, so that the programs started here share it.
[ -n "${DISPLAY:-}" ] || exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
arch=$1 prefix=$2 setup=$3 probe=$4 dist=$5
wine_exec="$(dirname "$0")/../../tools/wine-exec.sh"
# Windows writes CR LF to a redirected standard output.
run() { "$wine_exec" "$arch" "$prefix" "$@" | tr -d '\r'; }
# C:\x\y as a path in the prefix: the one that exists in any case of its letters, as Windows finds
# it (Wine spells the start-up folder "StartUp"), else as written.
host() {
    local path="${1//\\//}" && path="$prefix/drive_c/${path#[Cc]:/}"
    local found && found="$(find "$prefix/drive_c" -ipath "$path" -print -quit 2>/dev/null)"
    printf '%s' "${found:-$path}"
}
value() { run reg query "$1" /v "$2" 2>/dev/null | sed -n "s/^ *$2 *REG_[A-Z_]* *//p"; }
has_key() { run reg query "$1" >/dev/null 2>&1; }
is() { [ "$1" = "$2" ] || { printf '  got "%s", expected "%s"\n' "$1" "$2" >&2; false; }; }
# A failed step ends the test: the steps after it build on it.
check() { "${@:2}" || { echo "FAIL: $1" >&2; exit 1; }; }

local_appdata="$(run cmd /c echo %LOCALAPPDATA%)"
menu_link="$(run cmd /c echo %APPDATA%)\\Microsoft\\Windows\\Start Menu\\Programs\\Pembrix Gloamery.lnk"
startup_link="${menu_link%\\*}\\Startup\\Pembrix Gloamery.lnk"
vendor="$local_appdata\\Pembrix Software"
wallpaper="$vendor\\Gloamery\\Pembrix Gloamery Current Image.bmp"
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Pembrix Gloamery'
settings_key='HKCU\Software\Pembrix\Pembrix Gloamery'
# The user's own programs folder, where the setup installs without an administrator.
per_user_dir="$local_appdata\\Programs\\Pembrix Gloamery"
# Where the setup installed when it asked for an administrator.
admin_dir='C:\Program Files\Pembrix Gloamery'
# Where the installation is, as its entry in the installed-programs list says.
instdir=

# The uninstaller hands over to a copy of itself and returns at once; the copy removes the entry
# last, so its going marks the end.
uninstall() {
    run "$instdir\\Uninstall.exe" /S "$@"
    for _ in $(seq 120); do has_key "$uninstall_key" || return 0; sleep 0.5; done
    false
}
cleanup() {
    run taskkill /f /im "Pembrix Gloamery.exe" >/dev/null 2>&1
    [ -z "$instdir" ] || [ ! -e "$(host "$instdir")/Uninstall.exe" ] || uninstall /REMOVEDATA
    run reg delete "$settings_key" /f >/dev/null 2>&1
    rm -rf "$(host "$vendor")" "$(host "$admin_dir")" "$prefix/drive_c/setup.bat"
}
trap cleanup EXIT

# Runs the setup silently with these options and learns from its entry in the installed-programs
# list where it installed. A batch file passes /D=folder as it must be: unquoted, spaces and all.
run_setup() {
    printf '@"%s" /S %s\r\n' "$(run winepath -w "$setup")" "$*" >"$prefix/drive_c/setup.bat"
    run cmd /c 'C:\setup.bat' && instdir="$(value "$uninstall_key" InstallLocation)"
}
installed() {
    for file in "$dist"/*; do cmp -s "$file" "$(host "$instdir")/${file##*/}" || return 1; done
    is "$(value "$uninstall_key" DisplayVersion)" 1.11 &&
        is "$(value "$uninstall_key" UninstallString)" "\"$instdir\\Uninstall.exe\""
}
# Nothing installed is left, and no copy of the program runs any more: one that did got its close
# box clicked.
uninstalled() {
    ! has_key "$uninstall_key" && [ ! -e "$(host "$instdir")" ] &&
        [ ! -e "$(host "$menu_link")" ] && [ ! -e "$(host "$startup_link")" ] &&
        ! run taskkill /im "Pembrix Gloamery.exe" >/dev/null 2>&1
}
# Starts a shortcut and prints whether the window shows. Every shortcut starts the program in
# its folder, where the styles find their maps.
start() {
    rm -f "$(host "$wallpaper")"
    local window && window="$(run "$probe" "$1" "$wallpaper")" &&
        is "$(value "$settings_key" SrcImgPath)" "$instdir\\Earth by day - ocean ice.jpg" &&
        echo "$window"
}

# A first installation, for the user who runs the setup and without asking for an administrator,
# started as at sign-in, uninstalled silently: the program is closed and the user's data stays.
run reg delete "$settings_key" /f >/dev/null 2>&1
check "setup /S" run_setup
check "the setup asks for no administrator" grep -aq 'level="asInvoker"' "$setup"
check "installed" installed
check "the start at sign-in is hidden" is "$(start "$startup_link")" hidden
check "uninstall /S: nothing left, the program closed" eval 'uninstall && uninstalled'
check "kept: settings and wallpaper" eval 'has_key "$settings_key" && [ -e "$(host "$wallpaper")" ]'

# An installation under Program Files, as the setup that asked for an administrator made it, is
# moved to the user's own programs folder, where any installation goes (its uninstaller keeps the
# user's data, as above); installed again over that without the start at sign-in, and uninstalled
# with the user's data while the program runs. Another program of the same maker keeps the
# maker's folder.
check "setup /S /D=Program Files" eval 'run_setup "/D=$admin_dir" && is "$instdir" "$admin_dir"'
check "setup /S over it: moved to the user's own programs folder" \
    eval 'run_setup && is "$instdir" "$per_user_dir" && [ ! -e "$(host "$admin_dir")" ] && installed'
check "setup /NOSTARTUP: no start at sign-in" eval 'run_setup /NOSTARTUP && [ ! -e "$(host "$startup_link")" ]'
check "the Start menu's start shows" is "$(start "$menu_link")" shown
mkdir -p "$(host "$vendor\\Another program")"
check "uninstall /S /REMOVEDATA: nothing left, the program closed" eval 'uninstall /REMOVEDATA && uninstalled'
check "removed: settings, the maker's key left empty, output folder; kept: the maker's folder in use" \
    eval '! has_key "${settings_key%\\*}" && [ ! -e "$(host "$vendor\\Gloamery")" ] &&
        [ -d "$(host "$vendor\\Another program")" ]'
echo "install checks passed"
