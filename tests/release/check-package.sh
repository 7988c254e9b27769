#!/usr/bin/env bash
# Checks the distributable folder and its zip against what the build put next to the program:
#   check-package.sh DIST_DIR ZIP APP_DIR OBJDUMP
set -uo pipefail
dist=$1 zip=$2 app=$3 objdump=$4
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
listing() { (cd "$1" && find . -mindepth 1 -printf '%P\n' | LC_ALL=C sort); }

shipped="Earth by day - ocean ice.jpg
Earth by night - city lights.jpg
Earth maps - licence.txt
Pembrix Gloamery.chm
Pembrix Gloamery.exe
ReadMe.txt"

# Exactly these files, nothing left over from an earlier build, and the ones the program is
# built with; the program without its debugging information.
[ "$(listing "$dist")" = "$shipped" ] || fail "the folder holds: $(listing "$dist" | tr '\n' '|')"
while read -r file; do
    [ "$file" = "Pembrix Gloamery.exe" ] || [ "$file" = ReadMe.txt ] ||
        cmp -s "$dist/$file" "$app/$file" || fail "$file differs from the build's"
done <<<"$shipped"
sections="$("$objdump" -h "$dist/Pembrix Gloamery.exe")" || fail "objdump cannot read the program"
! grep -q '\.debug' <<<"$sections" || fail "the program still carries debugging information"

# The readme is for Notepad: every line ends in CR LF, with its placeholders filled in.
readme="$dist/ReadMe.txt"
[ "$(grep -c $'\r$' "$readme")" = "$(wc -l <"$readme")" ] || fail "ReadMe.txt has LF line ends"
! grep -q '@[A-Z_]*@' "$readme" || fail "ReadMe.txt has an unfilled placeholder"
grep -q '^Pembrix Gloamery 1\.11 (\(32\|64\)-bit)' "$readme" || fail "ReadMe.txt has no title line"

# The zip unpacks to one folder "Pembrix Gloamery" with the same files, byte for byte.
unpacked="$(mktemp -d)"
trap 'rm -rf "$unpacked"' EXIT
(cd "$unpacked" && cmake -E tar xf "$zip") || fail "the zip does not unpack"
[ "$(ls -A "$unpacked")" = "Pembrix Gloamery" ] || fail "the zip holds: $(ls -A "$unpacked")"
diff -r "$unpacked/Pembrix Gloamery" "$dist" >/dev/null 2>&1 || fail "the zipped files differ"

[ "$failures" -eq 0 ] || exit 1
echo "package checks passed"
