#!/usr/bin/env bash
# The whole job on the example issue, as a user of the installed programs does it: starts the
# publication "The Tarnby Courier" with marlix-new, and publishes every article of
# examples/1998-01 with marlix-publish (export with layouthost and the plug-in, then the index
# with frames and chained pages). Prints the path of the entry page.
#
# usage: example-pipeline.sh OUTDIR
#   OUTDIR/archive            the archive (the plug-in's main folder); remade on every run
#   OUTDIR/archive/Settings   the publication's settings, so that the user's own are neither
#                             read nor changed
#   OUTDIR/documents          the layout documents as exported, with their pictures
# The programs: MARLIX_PREFIX names an installation (PREFIX/bin); else MARLIX_BINARY_DIR names
# the build tree (default: build/ in the source tree) and the scripts come from scripts/.
set -euo pipefail

[ $# -eq 1 ] || {
  echo "usage: $0 OUTDIR" >&2
  exit 2
}
source_dir=$(cd "$(dirname "$0")/.." && pwd)
examples=$source_dir/examples
if [ -n "${MARLIX_PREFIX:-}" ]; then
  bin=$MARLIX_PREFIX/bin
  marlix_new=$bin/marlix-new
  marlix_publish=$bin/marlix-publish
  programs=("$bin/layouthost" "$bin/indexer")
else
  binary_dir=${MARLIX_BINARY_DIR:-$source_dir/build}
  marlix_new=$source_dir/scripts/marlix-new
  marlix_publish=$source_dir/scripts/marlix-publish
  programs=("$binary_dir/layouthost/layouthost" "$binary_dir/indexer/indexer")
  export PATH="$binary_dir/layouthost:$binary_dir/indexer:$PATH"
fi
for program in "$marlix_new" "$marlix_publish" "${programs[@]}"; do
  [ -x "$program" ] || {
    echo "$program is missing: build (or install) the project first" >&2
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
rm -rf "$archive" "$documents"
mkdir -p "$documents"

echo "== a new publication" >&2
"$marlix_new" --title "The Tarnby Courier" "$archive" >/dev/null
cp -R "$examples/1998-01/pictures" "$documents/"
cp "$examples/1998-01/jobs.tsv" "$documents/"
for document in "$examples"/1998-01/*.json; do
  sed "s|@ARCHIVE@|$archive|g" "$document" >"$documents/$(basename "$document")"
done

echo "== publish issue 01 of 1998" >&2
"$marlix_publish" --path '[1998]' --issue 01 "$archive" "$documents/jobs.tsv"
