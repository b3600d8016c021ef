#!/usr/bin/env bash
# End to end: build a small archive in a temporary folder, index it with `indexer --batch`, and
# check the pages, that every link and frame source of the index pages and the chained pages
# leads to an existing file, the outline, the exit statuses and that a cancelled or failed scan
# leaves an earlier collection alone.
set -euo pipefail

indexer="${MARLIX_BINARY_DIR:?}/indexer/indexer"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config"
export LC_ALL=C

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# page FILE DESCRIPTION [SUBDESCRIPTION]: an exported page with its META head and link markers.
page() {
  mkdir -p "$(dirname "$1")"
  {
    printf '<HTML><HEAD>\r\n<META NAME="DESCRIPTION" CONTENT="%s">\r\n' "$2"
    [ -n "${3:-}" ] && printf '<META NAME="SUBDESCRIPTION" CONTENT="%s">\r\n' "$3"
    printf '</HEAD><BODY>\r\n<A $PREVURL:>Back</A> <A $INDEXURL:>Index</A> <A $NEXTURL:>On</A>\r\n'
    printf '<P>Text</P></BODY></HTML>\r\n'
  } >"$1"
}

arc="$work/archive"
issue="$arc/1998/01"
page "$issue/Culture/Intro/intro.html" "Intro &auml;" "The start"
page "$issue/Culture/Review/review.html" "Review"
page "$issue/news/Flood/flood.htm" "Flood" "Water"
page "$issue/Entertainment/Show/show.html" "A show"
page "$issue/Entertainment/Show/Index.html" "Capital index"
page "$issue/Entertainment/Show/index.html" "Not indexed"
page "$issue/Culture/loose.html" "Not indexed either"
mkdir -p "$arc/GIFs"
for f in header.html footer.html Start.html; do echo "<HTML></HTML>" >"$arc/GIFs/$f"; done

# Usage errors.
set +e
"$indexer" --batch >/dev/null 2>&1; [ $? -eq 2 ] || fail "--batch without PATH is not a usage error"
"$indexer" --batch -type=volume "$issue" >/dev/null 2>&1
[ $? -eq 2 ] || fail "a bad -type is not a usage error"
"$indexer" --batch --set NoSuchKey=1 -type=issue "$issue" >/dev/null 2>&1
[ $? -eq 2 ] || fail "an unknown --set key is not a usage error"
"$indexer" --batch -type=issue "$work/missing" >/dev/null 2>&1
[ $? -eq 1 ] || fail "a missing PATH is not a failed run"
# Without -type nobody can be asked: the scan fails with a message and no collection appears.
"$indexer" --batch "$issue" >"$work/out" 2>"$work/err"
[ $? -eq 1 ] || fail "a scan without -type did not fail"
set -e
grep -q -- "-type=issue" "$work/err" || fail "no clear message without -type"
grep -q "Error by scanning source!" "$work/err" || fail "no scan error message"
[ ! -e "$issue/index.mlx" ] || fail "a failed scan left a collection"

# The whole run with frames, category frame and chaining; --set is for this run only.
"$indexer" --batch -type=issue --set CreateFrames=1 --set ShowCategory=1 --set LinkDocuments=1 \
  --set CreateDOSEnding=0 "$issue/" >"$work/out" 2>"$work/err"
diff <(printf '%s\n' "$issue/index.html") "$work/out" || fail "unexpected batch output"
diff <(printf 'Scanning complete.\nCreating index complete.\n') "$work/err" ||
  fail "unexpected batch status"
grep -qx "CreateFrames=0" <<<"$("$indexer" --prefs)" || fail "--set was saved"
for f in index.html content.html category.html index.mlx; do
  [ -f "$issue/$f" ] || fail "$f missing"
done
[ -z "$(find "$issue" -maxdepth 1 -name '.*' ! -name . -print)" ] || fail "temporary files left"

grep -q 'HREF="Culture/Intro/intro.html" TARGET="IndexBody">Intro &auml;</A>' \
  "$issue/content.html" || fail "list item of intro missing"
grep -q 'Entertainment/Show/Index.html' "$issue/content.html" || fail "Index.html not indexed"
if grep -q 'Show/index.html\|loose.html' "$issue/content.html"; then
  fail "index.html or a page above the article folders was indexed"
fi
grep -q 'Entertai.gif' "$issue/content.html" || fail "Entertainment not found under Entertai"

# links FILE: every HREF and SRC target of A and FRAME tags, relative ones only, without anchors.
links() {
  grep -o -i -E '<(A|FRAME)[^>]*(HREF|SRC)="[^"]*"' "$1" |
    sed -E 's/.*(HREF|SRC|href|src)="([^"]*)"$/\2/' |
    grep -v -E '^(https?:|mailto:|#)' | sed 's/#.*//' || true
}
checked=0
for f in "$issue/index.html" "$issue/content.html" "$issue/category.html" \
  $(find "$issue" -mindepth 3 -name '*.htm*'); do
  dir="$(dirname "$f")"
  while IFS= read -r target; do
    [ -n "$target" ] || continue
    [ -e "$dir/$target" ] || fail "$f links to missing $target"
    checked=$((checked + 1))
  done < <(links "$f")
done
[ "$checked" -ge 20 ] || fail "only $checked links checked"

# The chain in index order: Culture (Intro, Review), Entertainment (Index, show), news (Flood).
grep -q 'MXPREV HREF="" MXEND' "$issue/Culture/Intro/intro.html" || fail "first page's previous"
grep -q 'MXNEXT HREF="../../Culture/Review/review.html" MXEND' "$issue/Culture/Intro/intro.html" ||
  fail "first page's next"
grep -q 'MXINDEX HREF="../../index.html" MXEND' "$issue/news/Flood/flood.htm" || fail "index link"
grep -q 'MXNEXT HREF="" MXEND' "$issue/news/Flood/flood.htm" || fail "last page's next"
grep -q '\$PREVURL:' "$issue/Entertainment/Show/index.html" || fail "an unindexed page was chained"

# Writing again from the collection alone gives the same pages (chaining twice equals once).
cp "$issue/Culture/Review/review.html" "$work/review.once"
"$indexer" --batch --set CreateFrames=1 --set ShowCategory=1 --set LinkDocuments=1 \
  --set CreateDOSEnding=0 "$issue/index.mlx" >/dev/null
cmp "$issue/Culture/Review/review.html" "$work/review.once" || fail "chaining twice differs"

# The outline.
diff <(printf '%s\n' "Culture" "  Intro ä" "    The start" "  Review" "Entertainment" \
  "  Capital index" "  A show" "news" "  Flood" "    Water") \
  <("$indexer" --show "$issue/index.mlx") || fail "unexpected outline"

# A category index of one category folder, scan only.
"$indexer" --batch --type=category --scan-only "$issue/Culture" >"$work/out"
grep -qx "$issue/Culture/index.mlx" "$work/out" || fail "--scan-only did not print the collection"
[ ! -e "$issue/Culture/index.html" ] && [ ! -e "$issue/Culture/index.htm" ] ||
  fail "--scan-only wrote an index"
[ "$("$indexer" --show "$issue/Culture/index.mlx" | head -1)" = "Culture" ] ||
  fail "category collection outline"

# A scan that fails keeps the earlier collection.
cp "$issue/index.mlx" "$work/before.mlx"
set +e
"$indexer" --batch -type=issue -scanner=Standard "$issue" >/dev/null 2>"$work/err"
[ $? -eq 1 ] || fail "a writer as scanner did not fail"
set -e
cmp "$issue/index.mlx" "$work/before.mlx" || fail "a failed scan changed the collection"

# Ctrl-C while the scan waits on a page cancels it: "User Break!", exit 1, collection kept.
mkfifo "$issue/news/Flood/zz.html"
set +e
"$indexer" --batch -type=issue "$issue" >/dev/null 2>"$work/err" &
pid=$!
sleep 1
kill -INT "$pid"
wait "$pid"
status=$?
set -e
rm -f "$issue/news/Flood/zz.html"
[ "$status" -eq 1 ] || fail "Ctrl-C gave exit status $status"
grep -q "User Break!" "$work/err" || fail "Ctrl-C did not report a user break"
cmp "$issue/index.mlx" "$work/before.mlx" || fail "a cancelled scan changed the collection"

echo "indexer batch: all checks passed ($checked links)"
