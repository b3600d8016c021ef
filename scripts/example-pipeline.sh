#!/usr/bin/env bash
# The whole job on the example issue: lays out the archive's fixed folders, exports every
# article of examples/1998-01 with layouthost and the plug-in, indexes the issue with frames and
# chained pages, and prints the path of the entry page.
#
# usage: example-pipeline.sh OUTDIR
#   OUTDIR/archive    the archive (the plug-in's main folder); remade on every run
#   OUTDIR/documents  the layout documents as exported, with their pictures
#   OUTDIR/config     the private settings of both programs (XDG_CONFIG_HOME), so that the
#                     user's own settings are neither read nor changed
# MARLIX_BINARY_DIR names the build tree (default: build/ in the source tree).
set -euo pipefail

[ $# -eq 1 ] || {
  echo "usage: $0 OUTDIR" >&2
  exit 2
}
source_dir=$(cd "$(dirname "$0")/.." && pwd)
binary_dir=${MARLIX_BINARY_DIR:-$source_dir/build}
layouthost=$binary_dir/layouthost/layouthost
indexer=$binary_dir/indexer/indexer
examples=$source_dir/examples
for program in "$layouthost" "$indexer"; do
  [ -x "$program" ] || {
    echo "$program is missing: build the project first" >&2
    exit 1
  }
done

mkdir -p "$1"
out=$(cd "$1" && pwd)
# The archive path goes into JSON strings and the plug-in's settings as it is.
case $out in
  *[\"\\$'\n'\|]*)
    echo "$out: a folder without quotes, backslashes, bars or line breaks, please" >&2
    exit 2
    ;;
esac
archive=$out/archive
documents=$out/documents
config=$out/config
rm -rf "$archive" "$documents" "$config"
mkdir -p "$archive" "$documents" "$config/Tarnby"

# The plug-in starts the indexer from PATH; keep the freshly built one first.
export PATH="$binary_dir/indexer:$PATH"
export XDG_CONFIG_HOME=$config

echo "== archive skeleton and pictures" >&2
cp -R "$examples/archive-skeleton/." "$archive/"
"$examples/make-pictures.sh" "$archive" "$documents/pictures"
for document in "$examples"/1998-01/*.json; do
  sed "s|@ARCHIVE@|$archive|g" "$document" >"$documents/$(basename "$document")"
done

# The plug-in's settings: the archive as main folder, header and footer files per category,
# the image-and-caption snippets, and the user META tags (Author is asked for every page).
{
  printf '[Settings]\n'
  printf 'DestFolder=%s\n' "$archive"
  printf 'HTMLSuffix=1\n'
  printf 'OpenBrowser=0\n'
  printf 'ExternalHeadFootFile=1\n'
  printf 'UseMetaTags=1\n'
  printf 'ImageCaptionStart=%s\\n%s\n' '<TABLE ALIGN="$ALIGN:" BORDER=0 CELLPADDING=0 CELLSPACING=0>' \
    '<TR><TD WIDTH=$WIDTH:>'
  printf 'ImageCaptionEnd=</TD><TD WIDTH=12></TD></TR>\\n</TABLE>\n'
  printf '[MetaTags]\n'
  printf 'Publisher=The Tarnby Courier\xff0\n'
  printf 'Author=\xff1\n'
} >"$config/Tarnby/MarlixXT40.INI"

echo "== export" >&2
while IFS=$'\t' read -r document category name headline subheadline snippet author; do
  case $document in '#'* | '') continue ;; esac
  echo "$category/$name" >&2
  # Exit status 1 would mean that a header or footer file was not found: also a failure here.
  "$layouthost" --meta "Author=$author" "$documents/$document" \
    --path '[1998]' --issue 01 --category "$category" --file-name "$name" \
    --headline "$headline" --subheadline "$subheadline" \
    --header-file "$snippet" --footer-file "$snippet" --export >&2
done <"$examples/1998-01/jobs.tsv"

echo "== index" >&2
"$indexer" --batch -type=issue --set CreateFrames=1 --set LinkDocuments=1 \
  "$archive/1998/01" >"$out/indexer.log"
cat "$out/indexer.log" >&2
entry=$(tail -n 1 "$out/indexer.log")
[ -f "$entry" ] || {
  echo "the indexer named no entry page" >&2
  exit 1
}
echo "$entry"
