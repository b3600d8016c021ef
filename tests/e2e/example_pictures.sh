#!/usr/bin/env bash
# The pictures kept in the repository (the starter kit's headlines and drop caps, the example
# articles' pictures) are exactly what examples/make-pictures.sh draws: one source for them.
set -euo pipefail

source_dir="${MARLIX_SOURCE_DIR:?}"
if ! command -v convert >/dev/null; then
  echo "skipped: ImageMagick missing"
  exit 0
fi
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

"$source_dir/examples/make-pictures.sh" "$work/archive" "$work/pictures"
compare_folder() { # DRAWN KEPT
  local drawn kept
  drawn=$(cd "$1" && find . -type f | sort)
  kept=$(cd "$2" && find . -type f \( -name '*.gif' -o -name '*.png' -o -name '*.jpg' \) | sort)
  [ "$drawn" = "$kept" ] || {
    echo "FAIL: $2 keeps other pictures than make-pictures.sh draws:" >&2
    diff <(echo "$drawn") <(echo "$kept") >&2
    exit 1
  }
  while IFS= read -r file; do
    cmp -s "$1/$file" "$2/$file" || {
      echo "FAIL: $2/$file differs from what make-pictures.sh draws" >&2
      exit 1
    }
  done <<<"$drawn"
}
compare_folder "$work/archive" "$source_dir/examples/archive-skeleton"
compare_folder "$work/pictures" "$source_dir/examples/1998-01/pictures"
echo "example pictures: the kept pictures are what make-pictures.sh draws"
