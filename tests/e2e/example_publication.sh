#!/usr/bin/env bash
# End to end: the example issue goes through the whole job (export with layouthost and the
# plug-in, indexing with frames and chaining) into a temporary folder, and the result is
# checked in headless Chromium: links, frames, pictures, the chain of previous / next / index
# links. UPDATE_SCREENSHOTS=1 also renews the pictures in docs/screenshots/.
set -euo pipefail

source_dir="${MARLIX_SOURCE_DIR:?}"
binary_dir="${MARLIX_BINARY_DIR:?}"
chromium=$(command -v chromium || command -v chromium-browser || true)
if [ -z "$chromium" ]; then
  echo "skipped: chromium missing"
  exit 0
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# The committed layout documents are what their source script writes.
python3 "$source_dir/examples/build-documents.py" --check || fail "layout documents out of date"

# The user's own settings must stay untouched: point them somewhere we can watch.
mkdir -p "$work/home"
HOME="$work/home" XDG_CONFIG_HOME="$work/user-config" MARLIX_BINARY_DIR="$binary_dir" \
  "$source_dir/scripts/example-pipeline.sh" "$work/out" >"$work/entry" 2>"$work/log" ||
  {
    cat "$work/log" >&2
    fail "the pipeline failed"
  }
[ ! -e "$work/user-config" ] && [ ! -e "$work/home/.config" ] ||
  fail "the user's settings were touched"
[ -f "$work/out/archive/Settings/MarlixXT40.INI" ] || fail "no private plug-in settings"
[ -f "$work/out/archive/Settings/mlxindex.hpr" ] || fail "no private indexer settings"

entry=$(cat "$work/entry")
[ "$entry" = "$work/out/archive/1998/01/index.htm" ] || fail "unexpected entry page: $entry"
issue="$work/out/archive/1998/01"
for f in content.htm category.htm index.mlx; do
  [ -f "$issue/$f" ] || fail "$f missing"
done
# Six categories, five of them from the default table (headline pictures) and one not.
[ "$(grep -o '<A NAME=' "$issue/content.htm" | wc -l)" -eq 6 ] || fail "not six category sections"
[ "$(grep -o 'GIFs/[A-Za-z]*\.gif' "$issue/content.htm" | wc -l)" -eq 5 ] ||
  fail "not five headline pictures"
grep -q '^<H2>Travel</H2>' "$issue/content.htm" ||
  fail "the category outside the table has no heading"
# No placeholder is left unchained.
if grep -rl --include='*.htm' -e '\$PREVURL:' -e '\$NEXTURL:' -e '\$INDEXURL:' "$issue"; then
  fail "placeholders left in the pages above"
fi
# The features of the articles, as the exported HTML shows them.
expect() { # FILE PATTERN WHAT
  grep -q -- "$2" "$issue/$1" || fail "$1: no $3"
}
expect Culture/Harbour/Harbour.htm '<H1>' "heading from the font size"
expect Culture/Harbour/Harbour.htm '<STRONG>smoked herring</STRONG>' "bold from the style"
expect Culture/Harbour/Harbour.htm '<STRONG>Helvetica Black</STRONG>' "bold from the font name"
expect Culture/Harbour/Harbour.htm 'Georgia Italic</I>' "italic from the font name"
expect Culture/Harbour/Harbour.htm 'initials/E.gif' "drop cap"
expect Culture/Harbour/Harbour.htm 'initials/indent.gif' "indented paragraph"
expect Culture/Harbour/Harbour.htm 'COLOR="c0392b"' "text colour"
expect Culture/Harbour/Harbour.htm 'HREF="../Concert/Concert.htm"' "file link made relative"
expect Culture/Concert/Concert.htm '<A NAME="programme">' "anchor"
expect Culture/Concert/Concert.htm '<A HREF="#programme">' "link to the anchor"
expect Culture/Concert/Concert.htm 'stage at sunset, shortly' "caption"
expect Entertai/Cinema/Cinema.htm 'S&oslash;ren &Oslash;sterg&aring;rd' "characters above 127"
expect News/Ferry/Ferry.htm '<TD ALIGN="RIGHT">MS T&auml;rn&ouml;</TD>' "table"
expect News/Ferry/Ferry.htm '<TABLE BORDER=2>' "picture with table border"
expect News/Weather/Weather.htm '<MULTICOL COLS=2' "multicolumn box"
expect Sports/Regatta/Regatta.htm '<UL>' "unordered list"
expect Sports/Regatta/Regatta.htm '<OL>' "ordered list"
expect Sports/Regatta/Regatta.htm '<DIR>' "directory list"
expect Technics/Printing/Printing.htm '<KBD>' "typewriter text"
expect Technics/Printing/Printing.htm 'ALT="Press 1: 32 000' "text box exported as picture"

screenshots=()
[ "${UPDATE_SCREENSHOTS:-0}" = 1 ] && screenshots=(--screenshots "$source_dir/docs/screenshots")
python3 "$source_dir/tests/e2e/check_site.py" "$entry" --chromium "$chromium" \
  --xtpicture "$binary_dir/xt/xtpicture" --expect-articles 8 \
  --expect-kinds gif,gif-interlaced,gif-transparent,jpeg,jpeg-progressive "${screenshots[@]}" ||
  fail "the published issue has faults"
echo "example publication: all checks passed"
