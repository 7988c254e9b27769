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

shipped=(
    "Earth by day - ocean ice.jpg"
    "Earth by night - city lights.jpg"
    "Earth maps - licence.txt"
    "Pembrix Gloamery.chm"
    "Pembrix Gloamery.exe"
    "ReadMe.txt"
)
expected_listing="$(printf '%s\n' "${shipped[@]}")"

# The folder holds exactly these files, and nothing left over from an earlier build.
listing="$(cd "$dist" && find . -mindepth 1 -printf '%P\n' | LC_ALL=C sort)"
[ "$listing" = "$expected_listing" ] || fail "the folder holds: $(tr '\n' '|' <<<"$listing")"

# The maps, their notice and the help file are the ones the program is built with.
for file in "Earth by day - ocean ice.jpg" "Earth by night - city lights.jpg" \
    "Earth maps - licence.txt" "Pembrix Gloamery.chm"; do
    cmp -s "$dist/$file" "$app/$file" || fail "$file differs from the build's"
done

# The program is a Windows executable, shipped without debugging information.
exe="$dist/Pembrix Gloamery.exe"
[ "$(head -c 2 "$exe")" = "MZ" ] || fail "the program is not a Windows executable"
sections="$("$objdump" -h "$exe")" || fail "objdump cannot read the program"
grep -q '\.text' <<<"$sections" || fail "the program has no code section"
! grep -q '\.debug' <<<"$sections" || fail "the program still carries debugging information"

# The readme is for Notepad: every line ends in CR LF, and no placeholder is left in it.
readme="$dist/ReadMe.txt"
lines="$(wc -l <"$readme")"
crlf_lines="$(grep -c $'\r$' "$readme")"
[ "$lines" -gt 0 ] && [ "$lines" = "$crlf_lines" ] ||
    fail "ReadMe.txt: $crlf_lines of $lines lines end in CR LF"
! grep -q '@[A-Z_]*@' "$readme" || fail "ReadMe.txt has an unfilled placeholder"
grep -q '^Pembrix Gloamery 1\.11 (\(32\|64\)-bit)' "$readme" || fail "ReadMe.txt has no title line"
for topic in '/s' 'Pembrix Software\Gloamery' 'Pembrix Gloamery Current Image.bmp' \
    'Earth maps - licence.txt' 'GNU General Public License' '/REMOVEDATA'; do
    grep -qF -- "$topic" "$readme" || fail "ReadMe.txt does not mention $topic"
done

# The zip unpacks to one folder "Pembrix Gloamery" with the same files, byte for byte.
unpacked="$(mktemp -d)"
trap 'rm -rf "$unpacked"' EXIT
if (cd "$unpacked" && cmake -E tar xf "$zip"); then
    zipped="$(cd "$unpacked" && find . -mindepth 1 -printf '%P\n' | LC_ALL=C sort)"
    expected_zipped="$(printf 'Pembrix Gloamery\n'; printf 'Pembrix Gloamery/%s\n' "${shipped[@]}")"
    [ "$zipped" = "$expected_zipped" ] || fail "the zip holds: $(tr '\n' '|' <<<"$zipped")"
    for file in "${shipped[@]}"; do
        cmp -s "$unpacked/Pembrix Gloamery/$file" "$dist/$file" || fail "zipped $file differs"
    done
else
    fail "the zip does not unpack"
fi

if [ "$failures" -ne 0 ]; then
    echo "$failures package checks failed" >&2
    exit 1
fi
echo "package checks passed"
