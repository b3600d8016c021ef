#!/usr/bin/env bash
# End to end: `layouthost` exports a group of text boxes of every format kind through the real
# plug-in into an archive page; the page and its .toc file are checked byte for byte, then
# `indexer --batch` indexes the issue and the page's description is found in the index pages
# and in the collection's outline.
set -euo pipefail

layouthost="${MARLIX_BINARY_DIR:?}/layouthost/layouthost"
indexer="$MARLIX_BINARY_DIR/indexer/indexer"
work="$(mktemp -d)"
trap '[ -n "${KEEP:-}" ] || rm -rf "$work"' EXIT # KEEP=1 leaves the files for a look
export XDG_CONFIG_HOME="$work/config"
export LC_ALL=C
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

arc="$work/Archive"
issue="$arc/1998/01"
page="$issue/Culture/HarbourN/HarbourN.htm"
other="$issue/Culture/Other/Other.htm"
mkdir -p "$XDG_CONFIG_HOME/Tarnby" "$arc/initials"

# The drop-cap letter: only its size (24 x 30) goes into the page.
convert -size 24x30 xc:'#203060' "$arc/initials/O.gif" ||
  printf 'GIF89a\x18\x00\x1e\x00\x00\x00\x00\x3b' >"$arc/initials/O.gif"

# Snippets carry line breaks as backslash n and the plug-in's variables ($HOME:, $TITLE:,
# $DATE:); the META tags section holds content, 0xFF and the unique flag.
# shellcheck disable=SC2016
{
  printf '[Settings]\n'
  printf 'DestFolder=%s/\n' "$arc"
  printf 'OpenBrowser=0\nFontFace=0\nTextColor=0\nUseMetaTags=1\n'
  printf 'DateType=3\nFixedDate=Wednesday, 02.04.1998\n'
  printf 'TextBreak=<BR CLEAR=ALL>\n'
  printf 'Header=<BODY BGCOLOR="FFFFFF">\\n<A HREF="$HOME:index.html">$TITLE:</A>\\n\n'
  printf 'Footer=<HR>\\n<I>$DATE:</I>\\n\n'
  printf '[MetaTags]\n'
  printf 'Publisher=Tarnby Press\xff0\n'
  printf 'Author=\xff1\n'
} >"$XDG_CONFIG_HOME/Tarnby/MarlixXT40.INI"

# record FLAGS KIND [OFFSET VALUE]...: a 600-byte export record in base64, 16-bit fields at the
# given offsets, little-endian.
record() {
  local file="$work/record"
  head -c 600 /dev/zero >"$file"
  put() {
    printf '%b' "$(printf '\\x%02x\\x%02x' $(($2 & 255)) $(($2 >> 8 & 255)))" |
      dd of="$file" bs=1 seek="$1" conv=notrunc status=none
  }
  put 0 "$1"
  put 576 "$2"
  shift 2
  while [ $# -ge 2 ]; do
    put "$1" "$2"
    shift 2
  done
  base64 -w0 "$file"
}
rec() { printf '[{"key": "42465601", "data": "%s"}]' "$(record "$@")"; }

# Box 11 normal text: headings by size, styles from style words and font names, the character
# table. 12 fonts and colours (send face and colour). 13 drop cap, indent and the four link
# types. 14 table, centred, on yellow. 15 typewriter. 16, 17, 18 the three lists. 19
# multicolumn. 20 a picture caption. 21 normal text after it.
cat >"$work/doc.json" <<EOF
{
  "layout_document": 1,
  "name": "Harbour",
  "fonts": [
    {"id": 1, "name": "Times New Roman"},
    {"id": 3, "name": "Courier New"},
    {"id": 4, "name": "Futura Bold Oblique"}
  ],
  "colors": [
    {"index": 1, "name": "Black", "rgb": [0, 0, 0]},
    {"index": 3, "name": "Red", "rgb": [65535, 0, 0]},
    {"index": 4, "name": "Yellow", "rgb": [65535, 65535, 0]}
  ],
  "stories": [
    {"id": 1, "runs": [
      {"text": "Harbour News\r", "font": 1, "size": 16},
      {"text": "Morning tide\r", "font": 1, "size": 14},
      {"text": "Fish & Chips ", "font": 1, "size": 11},
      {"text": "daily", "font": 1, "size": 11, "style": ["bold"]},
      {"text": ", ", "font": 1, "size": 11},
      {"text": "fresh", "font": 1, "size": 11, "style": ["italic"]},
      {"text": ", ", "font": 1, "size": 11},
      {"text": "cheap", "font": 1, "size": 11, "style": ["underline"]},
      {"text": ", ", "font": 1, "size": 11},
      {"text": "late", "font": 4, "size": 11},
      {"text": ".\rSpa\u00dfe \u00bd \u00d7 \u00c2", "font": 1, "size": 11}
    ]},
    {"id": 2, "runs": [
      {"text": "Red\r", "font": 1, "size": 11, "color": 3},
      {"text": "Black", "font": 3, "size": 11},
      {"text": " and bold", "font": 3, "size": 11, "style": ["bold"]}
    ]},
    {"id": 3,
     "runs": [{"text": "Once upon a tide.\rTides turn.\rSee report.\rGo down.\rRead more.\rThis is the end.",
               "font": 1, "size": 11}],
     "paragraphs": [{"drop_cap": true}, {"left_indent": 12}],
     "links": [
       {"range": [34, 40], "type": 2, "target": "http://www.example.org/"},
       {"range": [45, 49], "type": 4, "target": "end"},
       {"range": [56, 60], "type": 1, "target": "$issue/Culture/Other/Other.htm"},
       {"range": [74, 77], "type": 3, "target": "end"}
     ]},
    {"id": 4, "runs": [{"text": "Fish\tChips\rCod\t4.50", "font": 1, "size": 11}],
     "paragraphs": [{"tabs": [{"position": 100, "align": "right"}]},
                    {"tabs": [{"position": 100, "align": "right"}]}]},
    {"id": 5, "runs": [{"text": "10 PRINT \"HI\"\r20 IF A<B GOTO 10", "font": 3, "size": 10}]},
    {"id": 6, "runs": [{"text": "Fruit:\rApples\rPears", "font": 1}]},
    {"id": 7, "runs": [{"text": "\rOne\rTwo", "font": 1}]},
    {"id": 8, "runs": [{"text": "Index\rNotes", "font": 1}]},
    {"id": 9, "runs": [{"text": "Two columns.", "font": 1}]},
    {"id": 10, "runs": [{"text": "Harbour at dawn", "font": 1}]},
    {"id": 11, "runs": [{"text": "Last words.", "font": 1}]}
  ],
  "pages": [{"boxes": [
    {"id": 11, "kind": "text", "bounds": [36, 36, 136, 306], "story": 1},
    {"id": 12, "kind": "text", "bounds": [146, 36, 186, 306], "story": 2, "records": $(rec 17 0)},
    {"id": 13, "kind": "text", "bounds": [196, 36, 296, 306], "story": 3},
    {"id": 14, "kind": "text", "bounds": [306, 36, 346, 306], "story": 4, "background": 4,
     "records": $(rec 0 2 580 1 582 2 584 0 590 1 592 2 594 80)},
    {"id": 15, "kind": "text", "bounds": [356, 36, 396, 306], "story": 5, "records": $(rec 0 3)},
    {"id": 16, "kind": "text", "bounds": [406, 36, 446, 166], "story": 6, "records": $(rec 0 4)},
    {"id": 17, "kind": "text", "bounds": [406, 176, 446, 306], "story": 7, "records": $(rec 0 5)},
    {"id": 18, "kind": "text", "bounds": [456, 36, 496, 166], "story": 8, "records": $(rec 0 6)},
    {"id": 19, "kind": "text", "bounds": [456, 176, 496, 476], "story": 9, "columns": 2,
     "gutter": 12, "records": $(rec 0 7 580 300 584 12 588 2)},
    {"id": 20, "kind": "text", "bounds": [506, 36, 526, 306], "story": 10, "records": $(rec 8 0)},
    {"id": 21, "kind": "text", "bounds": [536, 36, 556, 306], "story": 11},
    {"id": 30, "kind": "group", "members": [11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21]}
  ]}],
  "current": 30
}
EOF

headline='Harbour News: the "Pier" reopens'
subheadline='Fish & Chips at the quay, café'
export_page() {
  "$layouthost" "$work/doc.json" --meta "Author=Ann Example" --path '[1998]' --issue 01 \
    --category Culture "$@" --export
}

day_before="$(date +%d.%m.%Y)"
export_page --file-name 'Harbour News' --headline "$headline" --subheadline "$subheadline" \
  2>"$work/err" || fail "export failed: $(cat "$work/err")"
day_after="$(date +%d.%m.%Y)"
[ -f "$page" ] || fail "no page at $page: $(find "$arc" -type f)"
[ ! -s "$work/err" ] || fail "unexpected messages: $(cat "$work/err")"

# ---- The .toc file: the job fields as typed, CR LF line ends.
printf 'EDITION=[1998]\r\nSUBEDITION=\r\nPAGE=Culture\r\nJOBNAME=Harbour News\r\n%s\r\nRELURL=\r\n' \
  "HEADLINE=$headline" >"$work/toc.expected"
cmp "$work/toc.expected" "${page%.htm}.toc" || fail "unexpected .toc: $(od -c "${page%.htm}.toc")"

# ---- The page. Text is Windows-1252: the subheadline's e acute is the byte 0xE9.
meta() { printf '<META name="%s" content="%s">\r\n' "$1" "$2"; }
expected_page() {
  local day="$1"
  printf '<!DOCTYPE HTML PUBLIC "-//W3=//DTD W3 HTML 3.2//EN">\r\n'
  printf '<HTML>\r\n<HEAD>\r\n<!-- #START META SEARCH -->\r\n'
  meta GENERATOR 'MarlixXT 2.5.5 for QuarkXPress 4.0 Win95/NT'
  meta YEAR '[1998]'
  meta ISSUE 01
  meta CATEGORY Culture
  # A double quote would end the attribute: it is written as an entity.
  meta DESCRIPTION 'Harbour News: the &quot;Pier&quot; reopens'
  meta SUBDESCRIPTION $'Fish & Chips at the quay, caf\xe9'
  meta HEADER ''
  meta FOOTER ''
  meta DATE "$day"
  meta REVISED "$day"
  meta VERSION 1.0
  meta Author 'Ann Example'
  meta Publisher 'Tarnby Press'
  printf '<!-- #STOP META SEARCH -->\r\n</HEAD>\r\n'
  # Header: $HOME: is one "../" per level, $TITLE: the headline through the character table.
  printf '<BODY BGCOLOR="FFFFFF">\r\n<A HREF="../../../../index.html">'
  printf 'Harbour News: the &quot;Pier&quot; reopens</A>\r\n'

  # 11: headings from 16 and 14 points; bold from the style word or the font's name, italic,
  # underline; the line is broken after the chunk that passes column 80.
  printf '<H1>Harbour News<p>\r\n'
  printf '</H1><H3>Morning tide<p>\r\n'
  printf '</H3>Fish &amp; Chips <STRONG>daily</STRONG>, <I>fresh</I>, <U>cheap</U>, '
  printf '<STRONG>late\r\n</STRONG>.<p>\r\n'
  printf 'Spa&szlig;e \xbd \xd7 &Acirc;'
  printf '<BR CLEAR=ALL>\r\n'
  # 12: a FONT tag per change of face or colour; a change of style closes it.
  printf '<FONT FACE="Times New Roman" COLOR="ff0000">Red<p>\r\n'
  printf '</FONT><FONT FACE="Courier New" COLOR="000000">Black\r\n</FONT>\r\n'
  printf '<STRONG> and bold</STRONG>'
  printf '<BR CLEAR=ALL>\r\n'
  # 13: the drop cap replaces the first letter; the indent snippet; link types 2, 4, 1, 3.
  printf '<IMG SRC="../../../../initials/O.gif" ALIGN="LEFT" ALT="O" WIDTH=24 HEIGHT=30>'
  printf 'nce upon a tide.<p>\r\n'
  printf '<IMG SRC="../../../../initials/indent.gif" ALIGN=LEFT WIDTH=8 HEIGHT=5 ALT="">'
  printf 'Tides turn.<p>\r\n'
  printf 'See <A HREF="http://www.example.org/">report</A>.<p>\r\n'
  printf 'Go <A HREF="#end">down</A>.<p>\r\n'
  printf 'Read <A HREF="../Other/Other.htm">more</A>.<p>\r\n'
  printf 'This is the <A NAME="end">end</A>.'
  printf '<BR CLEAR=ALL>\r\n'
  # 14: the table, the right-aligned tab stop's cell.
  printf '\r\n<CENTER>\r\n\r\n<TABLE BORDER=1 CELLPADDING=2 WIDTH=80%%  BGCOLOR="ffff00">\r\n'
  printf '<TR>\r\n<TD>Fish</TD>\r\n<TD ALIGN="RIGHT">Chips</TD>\r\n</TR>\r\n'
  printf '<TR>\r\n<TD>Cod</TD>\r\n<TD ALIGN="RIGHT">4.50</TD>\r\n</TR>\r\n'
  printf '\r\n</TABLE>\r\n</CENTER>\r\n'
  printf '<BR CLEAR=ALL>\r\n'
  # 15: typewriter.
  printf '<KBD>\r\n10 PRINT &quot;HI&quot;\r\n20 IF A&lt;B GOTO 10\r\n</KBD>\r\n'
  printf '<BR CLEAR=ALL>\r\n'
  # 16, 17, 18: an item starts after each break.
  printf '\r\n<UL>\r\nFruit:\r\n<LI>Apples\r\n<LI>Pears\r\n</UL>\r\n'
  printf '<BR CLEAR=ALL>\r\n'
  printf '\r\n<OL>\r\n\r\n<LI>One\r\n<LI>Two\r\n</OL>\r\n'
  printf '<BR CLEAR=ALL>\r\n'
  printf '\r\n<DIR>\r\nIndex\r\n<LI>Notes\r\n</DIR>\r\n'
  printf '<BR CLEAR=ALL>\r\n'
  # 19: multicolumn.
  printf '\r\n<MULTICOL COLS=2 GUTTER=12 WIDTH=300>\r\nTwo columns.\r\n</MULTICOL>\r\n'
  # 20: a caption met in the walk writes its separator only.
  printf '<BR CLEAR=ALL>\r\n'
  printf '<BR CLEAR=ALL>\r\n'
  printf 'Last words.'
  # Footer with the fixed date, then the end of the document without a line end.
  printf '<HR>\r\n<I>Wednesday, 02.04.1998</I>\r\n</BODY></HTML>'
}

# The order of the user META tags is free: compare with them sorted.
sorted_user_tags() {
  awk '/^<META name="VERSION"/ { on = 1; next } /^<!-- #STOP/ { on = 0 } on' "$1" | sort
}
without_user_tags() {
  awk '/^<META name="VERSION"/ { print; on = 1; next } /^<!-- #STOP/ { on = 0 } !on' "$1"
}
matched=""
for day in "$day_before" "$day_after"; do
  expected_page "$day" >"$work/page.expected"
  if cmp -s <(without_user_tags "$work/page.expected") <(without_user_tags "$page") &&
    cmp -s <(sorted_user_tags "$work/page.expected") <(sorted_user_tags "$page"); then
    matched=1
    break
  fi
done
if [ -z "$matched" ]; then
  diff <(cat -A "$work/page.expected") <(cat -A "$page") | head -40 >&2 || true
  fail "unexpected page bytes (expected <, written >)"
fi
[ "$(grep -c $'\r$' "$page")" -eq "$(wc -l <"$page")" ] || fail "a line ends without CR LF"

# The user's META tags are written back when the plug-in is unloaded.
grep -q $'^Publisher=Tarnby Press\xff0$' "$XDG_CONFIG_HOME/Tarnby/MarlixXT40.INI" ||
  fail "META tags not kept in the profile file"

# A second export of the same page asks first; No (the default) leaves page and .toc alone.
cp "$page" "$work/page.first"
touch -d '2000-01-01' "${page%.htm}.toc"
set +e
export_page --file-name 'Harbour News' --headline 'Changed' 2>"$work/err"
status=$?
set -e
[ "$status" -eq 1 ] || fail "a refused overwrite gave exit status $status"
grep -q "File already exists" "$work/err" || fail "no overwrite question: $(cat "$work/err")"
cmp "$page" "$work/page.first" || fail "a refused overwrite changed the page"
[ "$(date -r "${page%.htm}.toc" +%Y)" = 2000 ] || fail "a refused overwrite touched the .toc"

# The page the file link points at: the last box alone.
export_page --item 21 --file-name Other --headline 'Other news' --subheadline '' \
  2>"$work/err" || fail "second export failed: $(cat "$work/err")"
[ -f "$other" ] || fail "no page at $other"
(cd "$(dirname "$page")" && [ -f ../Other/Other.htm ]) || fail "the file link does not resolve"

# ---- The indexer finds both pages of the issue by their descriptions.
"$indexer" --batch -type=issue "$issue" >"$work/out" 2>"$work/err" ||
  fail "indexer failed: $(cat "$work/err")"
grep -qx "Creating index complete." "$work/err" || fail "unexpected indexer output: $(cat "$work/err")"
index="$(tail -1 "$work/out")"
[ -f "$index" ] || fail "no index page at $index"
grep -qF '<A HREF="Culture/HarbourN/HarbourN.htm">Harbour News: the &quot;Pier&quot; reopens</A>' \
  "$index" || fail "the page's description is not in the index: $(cat "$index")"
grep -qF $'Fish & Chips at the quay, caf\xe9' "$index" || fail "the subdescription is not in the index"
grep -qF '<A HREF="Culture/Other/Other.htm">Other news</A>' "$index" ||
  fail "the second page is not in the index"
# The outline shows the entities as their characters.
diff <(printf '%s\n' "Culture" '  Harbour News: the "Pier" reopens' \
  "    Fish & Chips at the quay, café" "  Other news") \
  <("$indexer" --show "$issue/index.mlx") || fail "unexpected outline"

echo "export and index: all checks passed"
