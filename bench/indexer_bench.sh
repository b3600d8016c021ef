#!/usr/bin/env bash
# Whole-process figures of the indexer on a synthetic archive, each beside its baseline:
#   scan           indexer --batch --scan-only   vs  find -name '*.htm' -exec cat    (target <= 1x)
#   index writing  issue index with frames, no chaining
#   chaining       writing run with LinkDocuments vs find -name '*.htm' -exec sed -i (target <= 0.5x)
#   peak memory    scanning 100,000 small pages (target < 64 MB)
# Usage: bench/indexer_bench.sh [BUILD_DIR]  (default: build); ARTICLES=1000 CATEGORIES=10.
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
build="${1:-${MARLIX_BINARY_DIR:-$here/../build}}"
indexer="$build/indexer/indexer"
[ -x "$indexer" ] || { echo "no indexer at $indexer; build it first" >&2; exit 2; }
categories="${CATEGORIES:-10}"
articles="${ARTICLES:-1000}"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config"
export LC_ALL=C

seconds() {  # seconds COMMAND...: wall time of the command, output discarded
  local start end
  start=$(date +%s.%N)
  "$@" >/dev/null 2>&1
  end=$(date +%s.%N)
  awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f", b - a }'
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

echo "Generating $categories x $articles pages of 2-20 KB..."
python3 "$here/make_archive.py" "$work/archive" --categories "$categories" \
  --articles "$articles" >/dev/null 2>&1
issue="$work/archive/1998/01"
echo "  $(find "$issue" -name '*.htm' | wc -l) pages, $(du -sm "$issue" | cut -f1) MB"

# Warm the page cache once so that both sides read from memory.
find "$issue" -name '*.htm' -exec cat {} + >/dev/null

cat_time=$(seconds find "$issue" -name '*.htm' -exec cat {} +)
scan_time=$(seconds "$indexer" --batch -type=issue --scan-only "$issue")
echo "scan:          $scan_time s   (cat baseline $cat_time s, ratio $(ratio "$scan_time" "$cat_time"), target <= 1)"

write_time=$(seconds "$indexer" --batch --set CreateFrames=1 --set ShowCategory=1 \
  --set LinkDocuments=0 "$issue/index.mlx")
echo "index writing: $write_time s   (issue index with frames)"

chain_time=$(seconds "$indexer" --batch --set CreateFrames=1 --set ShowCategory=1 \
  --set LinkDocuments=1 "$issue/index.mlx")
sed_time=$(seconds find "$issue" -name '*.htm' -exec sed -i 's/[$]PREVURL:/x/' {} +)
echo "chaining:      $chain_time s   (writing run with chaining; sed baseline $sed_time s," \
  "ratio $(ratio "$chain_time" "$sed_time"), target <= 0.5)"

echo "Generating 100,000 pages of 1-2 KB for the memory figure..."
rm -rf "$work/archive"
python3 "$here/make_archive.py" "$work/archive" --categories 100 --articles 1000 \
  --min-kb 1 --max-kb 2 >/dev/null 2>&1
/usr/bin/time -v "$indexer" --batch -type=issue --scan-only "$issue" >/dev/null 2>"$work/time"
peak_kb=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$work/time")
echo "peak memory:   $((peak_kb / 1024)) MB scanning 100,000 pages (target < 64)"
