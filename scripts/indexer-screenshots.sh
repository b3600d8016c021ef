#!/usr/bin/env bash
# Pictures of the indexer's windows for docs/screenshots/indexer-*.png: an issue built from the
# example's article list (one page per article with its headline and subheadline as META
# description and subdescription) is scanned with the batch command, then the screenshot tool
# opens the main window on it, every preferences page, the folder dialog and the run dialogs.
#
# usage: indexer-screenshots.sh [OUTDIR]   (default: docs/screenshots)
# MARLIX_BINARY_DIR names the build tree (default: build/ in the source tree).
set -euo pipefail

source_dir=$(cd "$(dirname "$0")/.." && pwd)
binary_dir=${MARLIX_BINARY_DIR:-$source_dir/build}
indexer=$binary_dir/indexer/indexer
screenshots=$binary_dir/tests/indexer_gui/indexer_screenshots
out=${1:-$source_dir/docs/screenshots}
for program in "$indexer" "$screenshots"; do
  [ -x "$program" ] || {
    echo "$program is missing: build the targets indexer and indexer_screenshots first" >&2
    exit 1
  }
done

# Inside the build tree, so that the folder dialog's picture shows no one else's files.
work=$(mktemp -d "$binary_dir/indexer-screenshots.XXXXXX")
trap 'rm -rf "$work"' EXIT
issue=$work/archive/1998/01
export XDG_CONFIG_HOME=$work/config
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
export LC_ALL=C

while IFS=$'\t' read -r _document category name headline subheadline _rest; do
  [ -n "$category" ] || continue
  mkdir -p "$issue/$category/$name"
  # Pages are Windows-1252, as the plug-in writes them.
  printf '<HTML><HEAD><META NAME="DESCRIPTION" CONTENT="%s">\n<META NAME="SUBDESCRIPTION" CONTENT="%s"></HEAD>\n<BODY></BODY></HTML>\n' \
    "$headline" "$subheadline" | iconv -f UTF-8 -t CP1252 >"$issue/$category/$name/$name.html"
done < <(grep -v '^#' "$source_dir/examples/1998-01/jobs.tsv")

collection=$("$indexer" --batch --scan-only -type=issue "$issue" | tail -n 1)
mkdir -p "$out"
"$screenshots" "$out" "$collection"
