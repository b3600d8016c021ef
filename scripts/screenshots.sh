#!/usr/bin/env bash
# Pictures of layouthost's window and of the plug-in's windows, for docs/screenshots/: the
# start-up window, the document window with a text box selected, every page of the export sheet
# and of the preferences sheet. Runs on the offscreen platform with a scratch archive and
# configuration, so that the user's own settings are neither read nor changed.
#
# usage: screenshots.sh [OUTDIR]   (default: docs/screenshots)
# MARLIX_BINARY_DIR names the build tree (default: build/ in the source tree).
set -euo pipefail

source_dir=$(cd "$(dirname "$0")/.." && pwd)
binary_dir=${MARLIX_BINARY_DIR:-$source_dir/build}
tour=$binary_dir/layouthost/layouthost_screenshots
plugin=$binary_dir/xt/libMarlixXT40.so
[ -x "$tour" ] && [ -f "$plugin" ] || {
  echo "$tour or $plugin is missing: build the project first" >&2
  exit 1
}
out=$(mkdir -p "${1:-$source_dir/docs/screenshots}" && cd "${1:-$source_dir/docs/screenshots}" && pwd)

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
archive=$scratch/archive
mkdir -p "$archive/1998" "$scratch/config/Tarnby"
cp -R "$source_dir/examples/archive-skeleton/." "$archive/"
"$source_dir/examples/make-pictures.sh" "$archive" "$scratch/pictures" >/dev/null
sed "s|@ARCHIVE@|$archive|g" "$source_dir/examples/1998-01/concert.json" >"$scratch/concert.json"

{
  printf '[Settings]\n'
  printf 'DestFolder=%s\n' "$archive"
  printf 'OpenBrowser=0\n'
  printf 'ExternalHeadFootFile=1\n'
  printf 'UseMetaTags=1\n'
  printf 'Rubrics=Culture|Entertainment|News|Sports|Technics|Travel|\n'
  printf '[ExportDialog]\n'
  printf 'Category=Culture\n'
  printf 'HeaderFile=Culture.htm\n'
  printf 'FooterFile=Culture.htm\n'
  printf 'Headline=Midsummer concert in the park\n'
  printf 'SubHeadline=Three orchestras, one evening\n'
} >"$scratch/config/Tarnby/MarlixXT40.INI"

cd "$scratch"
[ -n "${MARLIX_KEEP_SCRATCH:-}" ] && trap - EXIT && echo "scratch: $scratch" >&2
XDG_CONFIG_HOME=$scratch/config QT_QPA_PLATFORM=offscreen LC_ALL=C \
  "$tour" "$scratch/concert.json" "$out" "$plugin"
