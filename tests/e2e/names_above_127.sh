#!/usr/bin/env bash
# End to end with names above 127: two articles exported into a main folder named "Café
# archive" with the category "Kultur & Café", the file names "Smörgås" and "Åland", a drop cap
# "Ö" and header and footer files named after the category; the issue indexed and chained; the
# site checked in headless Chromium. The plug-in's settings hold Windows-1252 text, the files on
# disk are named in UTF-8, and a batch export starts no browser although OpenBrowser is on. A
# copy of the issue is then chained on its own, leaving the original alone, and a crafted
# collection naming a page outside its folder leaves that page alone.
set -euo pipefail

source_dir="${MARLIX_SOURCE_DIR:?}"
binary_dir="${MARLIX_BINARY_DIR:?}"
chromium=$(command -v chromium || command -v chromium-browser || true)
if [ -z "$chromium" ]; then
  echo "skipped: chromium missing"
  exit 0
fi
layouthost="$binary_dir/layouthost/layouthost"
indexer="$binary_dir/indexer/indexer"

work="$(mktemp -d)"
trap '[ -n "${KEEP:-}" ] || rm -rf "$work"' EXIT # KEEP=1 leaves the files for a look
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
export LC_ALL=C.UTF-8
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
export XDG_CONFIG_HOME="$work/config"
export HOME="$work/home"
mkdir -p "$HOME" "$XDG_CONFIG_HOME/Tarnby" "$work/bin"

# Anything that would show a page records it instead.
for program in xdg-open chromium firefox firefox-esr chromium-browser google-chrome; do
  printf '#!/bin/sh\necho "$0 $*" >> "%s/browser.log"\n' "$work" >"$work/bin/$program"
  chmod +x "$work/bin/$program"
done
PATH="$work/bin:$PATH"

archive="$work/Café archive"
category="Kultur & Café"
mkdir -p "$archive"
cp -R "$source_dir/examples/archive-skeleton/." "$archive/"
"$source_dir/examples/make-pictures.sh" "$archive" "$work/documents/pictures" >/dev/null
cp "$archive/initials/O.gif" "$archive/initials/Ö.gif"
cp "$archive/Standard/Headers/Culture.htm" "$archive/Standard/Headers/$category.htm"
cp "$archive/Standard/Footers/Culture.htm" "$archive/Standard/Footers/$category.htm"

# The harbour article with its drop-cap paragraph starting with "Ö", and the concert article.
python3 - "$source_dir/examples/1998-01" "$work/documents" "$archive" <<'EOF'
import json, pathlib, sys
source, target, archive = map(pathlib.Path, sys.argv[1:])
for name in ("harbour.json", "concert.json"):
    text = (source / name).read_text(encoding="utf-8")
    # The harbour's links lead to the other article of this issue: a file link and a URL.
    text = text.replace("Culture/Concert/Concert.htm", "KulturCa/land/land.htm")
    text = text.replace("../../News/Ferry/Ferry.htm", "../land/land.htm#programme")
    text = text.replace("@ARCHIVE@", str(archive))
    if name == "harbour.json":
        document = json.loads(text)
        runs = document["stories"][0]["runs"]
        run = next(r for r in runs if r["text"].startswith("Early in the morning"))
        # As long as the text it replaces, so that the story's link ranges stay.
        run["text"] = run["text"].replace("Early in the morning", "Öresund, the morning")
        text = json.dumps(document, ensure_ascii=False, indent=2)
    (target / name).write_text(text, encoding="utf-8")
EOF

# The settings file is Windows-1252 text, as the plug-in reads it.
{
  printf '[Settings]\nDestFolder=%s\nHTMLSuffix=1\nOpenBrowser=1\n' "$archive"
  printf 'ExternalHeadFootFile=1\nUseMetaTags=0\n'
} | iconv -f UTF-8 -t CP1252 >"$XDG_CONFIG_HOME/Tarnby/MarlixXT40.INI"

export_article() { # DOCUMENT FILE-NAME HEADLINE
  "$layouthost" "$work/documents/$1" --path '[1998]' --issue 01 --category "$category" \
    --file-name "$2" --headline "$3" --subheadline "$category" --header-file "$category.htm" \
    --footer-file "$category.htm" --export 2>>"$work/export.err"
}
smorgas=$(export_article harbour.json Smörgås "Smörgås på kajen") ||
  fail "export failed: $(cat "$work/export.err")"
aland=$(export_article concert.json Åland "Konsert på Åland") ||
  fail "export failed: $(cat "$work/export.err")"
issue="$archive/1998/01"
[ "$smorgas" = "$issue/KulturCa/Smrgs/Smrgs.htm" ] || fail "unexpected page path: $smorgas"
[ "$aland" = "$issue/KulturCa/land/land.htm" ] || fail "unexpected page path: $aland"
if grep -q "warning" "$work/export.err"; then fail "export warnings: $(cat "$work/export.err")"; fi
[ ! -e "$work/browser.log" ] || fail "a batch export started a browser: $(cat "$work/browser.log")"
if grep -q "^Browser=" "$XDG_CONFIG_HOME/Tarnby/MarlixXT40.INI"; then
  fail "a batch run stored a Browser setting"
fi

# The page names the drop cap in Windows-1252 ("Ö" is the byte D6); the file it found is UTF-8.
LC_ALL=C grep -q $'initials/\xd6\\.gif" ALIGN="LEFT" ALT="\xd6"' "$smorgas" ||
  fail "no drop cap Ö in the page"
if grep -q "missed drop char" "$smorgas"; then fail "the drop cap was missed"; fi

entry=$("$indexer" --batch -type=issue --set CreateFrames=1 --set LinkDocuments=1 "$issue" \
  2>"$work/index.err") || fail "index failed: $(cat "$work/index.err")"
[ "$entry" = "$issue/index.htm" ] || fail "unexpected entry page: $entry"
if grep -q "warning" "$work/index.err"; then fail "index warnings: $(cat "$work/index.err")"; fi
grep -q 'MXPREV HREF="../../KulturCa/land/land.htm" MXEND' "$smorgas" ||
  fail "the second article is not chained to the first"

# Every name on disk is UTF-8.
find "$work" -print0 | iconv -f UTF-8 -t UTF-8 >/dev/null || fail "a file name that is not UTF-8"

python3 "$source_dir/tests/e2e/check_site.py" "$entry" --chromium "$chromium" \
  --xtpicture "$binary_dir/xt/xtpicture" --expect-articles 2 ||
  fail "the published issue has faults"

# A copy of the issue chains its own pages: the original's stay as they are.
cp -R "$issue" "$work/copy"
sed -i 's/MXPREV HREF="[^"]*" MXEND/$PREVURL:/' "$work/copy/KulturCa/Smrgs/Smrgs.htm"
cp "$smorgas" "$work/original.htm"
"$indexer" --batch --set CreateFrames=1 --set LinkDocuments=1 "$work/copy/index.mlx" \
  >/dev/null 2>"$work/copy.err" || fail "index of the copy failed: $(cat "$work/copy.err")"
cmp -s "$smorgas" "$work/original.htm" || fail "chaining the copy changed the original"
grep -q 'MXPREV HREF="../../KulturCa/land/land.htm" MXEND' "$work/copy/KulturCa/Smrgs/Smrgs.htm" ||
  fail "the copy was not chained"

# A crafted collection whose record names a page outside its folder: that page is not touched.
printf '<A $PREVURL:>P</A>' >"$work/victim.htm"
python3 - "$work/copy/index.mlx" <<'EOF2'
import struct, sys
path = sys.argv[1]
data = bytearray(open(path, "rb").read())
count = struct.unpack(">I", data[8:12])[0]
for n in range(count):
    slot = 12 + 1099 * n + 325  # the record's relative path: length, then the bytes
    length = struct.unpack(">H", data[slot:slot + 2])[0]
    if data[slot + 2:slot + 2 + length] == b"KulturCa/land/land.htm":
        target = b"../victim.htm"
        data[slot:slot + 258] = struct.pack(">H", len(target)) + target.ljust(256, b"\0")
open(path, "wb").write(data)
EOF2
"$indexer" --batch --set LinkDocuments=1 "$work/copy/index.mlx" >/dev/null 2>"$work/craft.err" ||
  fail "index of the crafted collection failed: $(cat "$work/craft.err")"
[ "$(cat "$work/victim.htm")" = '<A $PREVURL:>P</A>' ] || fail "chaining wrote outside the folder"
grep -q "warning: Page not chained, it lies outside the collection's folder: ../victim.htm" \
  "$work/craft.err" || fail "no warning about the page outside: $(cat "$work/craft.err")"
[ ! -e "$work/browser.log" ] || fail "a browser was started: $(cat "$work/browser.log")"
[ -z "${KEEP:-}" ] || echo "files kept in $work"
echo "names above 127: all checks passed"
