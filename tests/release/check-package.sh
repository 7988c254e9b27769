#!/usr/bin/env bash
# Checks the distributable folder and its zip against what the build put next to the program,
# and the help file in it:
#   check-package.sh DIST_DIR ZIP APP_DIR OBJDUMP
set -uo pipefail
dist=$1 zip=$2 app=$3 objdump=$4
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# Exactly these files, nothing left over from an earlier build; the maps, their notice and the
# help as the build made them, and the program without its debugging information and free to
# use all the address space Windows gives it.
maps=("Earth by day - ocean ice.jpg" "Earth by night - city lights.jpg" "Earth maps - licence.txt")
listing="$(ls -A "$dist" | LC_ALL=C sort | tr '\n' '|')"
expected="$(printf '%s|' "${maps[@]}" "Pembrix Gloamery.chm" "Pembrix Gloamery.exe" ReadMe.txt)"
[ "$listing" = "$expected" ] || fail "the folder holds: $listing"
for file in "${maps[@]}" "Pembrix Gloamery.chm"; do
    cmp -s "$dist/$file" "$app/$file" || fail "$file differs from the build's"
done
headers="$("$objdump" -hp "$dist/Pembrix Gloamery.exe")" && ! grep -q '\.debug' <<<"$headers" &&
    grep -q 'large address aware' <<<"$headers" ||
    fail "the program cannot be read, carries debugging information or may use only 2 GB"

# The readme is for Notepad: CR LF line ends, its title line and its placeholders filled in.
readme="$dist/ReadMe.txt"
[ "$(grep -c $'\r$' "$readme")" = "$(wc -l <"$readme")" ] || fail "ReadMe.txt has LF line ends"
grep -q '^Pembrix Gloamery 1\.11 (\(32\|64\)-bit)' "$readme" && ! grep -q '@[A-Z_]*@' "$readme" ||
    fail "ReadMe.txt has no title line or an unfilled placeholder"

# The help file opens at index.htm and holds both topics that the program asks for; every local
# link of its pages and contents (href and Local, without an #anchor) leads to a page it holds.
chm="$dist/Pembrix Gloamery.chm"
pages="$(chmls -n -p list "$chm")" || fail "the help file cannot be read"
# grep reads all of it: one that quit at the first match would fail chmls, and so the check.
grep -Eq 'Default topic from \[options\] *:index\.htm' <<<"$(chmls printsystem "$chm")" ||
    fail "the help file does not open at index.htm"
links=0
for page in index.htm custom.htm Contents.hhc; do
    grep -qx -- "/$page" <<<"$pages" || fail "the help file lacks $page"
    for target in $(chmls extract "$chm" "/$page" /dev/stdout |
        grep -Eo '(href="[^"#:]+|name="Local" value="[^"#:]+)' | sed -E 's/.*"//'); do
        grep -qx -- "/$target" <<<"$pages" && links=$((links + 1)) || fail "$page links to missing $target"
    done
done
[ "$links" -gt 0 ] || fail "no links found in the help pages"

# The zip unpacks to one folder "Pembrix Gloamery" with the same files, byte for byte.
unpacked="$(mktemp -d)"
trap 'rm -rf "$unpacked"' EXIT
(cd "$unpacked" && cmake -E tar xf "$zip") && [ "$(ls -A "$unpacked")" = "Pembrix Gloamery" ] &&
    diff -r "$unpacked/Pembrix Gloamery" "$dist" >/dev/null || fail "the zip does not unpack to the folder"
[ "$failures" -eq 0 ] && echo "package checks passed"
