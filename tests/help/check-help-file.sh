#!/bin/sh
# Checks the compiled help file: it exists, opens at index.htm, holds both topics the program
# asks for, and every local link between its pages leads to a page it holds.
#   check-help-file.sh "PATH/Pembrix Gloamery.chm"
set -eu
chm="$1"
fail() { echo "FAIL: $*" >&2; exit 1; }
[ -s "$chm" ] || fail "no help file at $chm"
listing="$(chmls -n -p list "$chm")"
holds() { printf '%s\n' "$listing" | grep -qx -- "/$1"; }
chmls printsystem "$chm" | grep -Eq 'Default topic from \[options\] *:index\.htm' ||
    fail "the default topic is not index.htm"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
checked=0
for page in index.htm custom.htm Contents.hhc; do
    holds "$page" || fail "$page is not in the help file"
    chmls extract "$chm" "/$page" "$work/$page" >/dev/null
    [ -s "$work/$page" ] || fail "/$page cannot be read back"
    # Local targets of href and of the contents' Local parameters, without any #anchor.
    for target in $(grep -Eo '(href="[^"#:]+|name="Local" value="[^"#:]+)' "$work/$page" |
        sed -E 's/.*"//' || true); do
        holds "$target" || fail "$page links to missing $target"
        checked=$((checked + 1))
    done
done
[ "$checked" -gt 0 ] || fail "no links were found to check"
echo "help file holds both topics; $checked links checked"
