#!/usr/bin/env bash
# Picture figures on rendered photographs (bench/make_photos.sh), each beside its baseline:
#   GIF          xtpicture gif            vs  convert X.ppm +dither -colors 256  (target >= 10x faster)
#                with both files' PSNR against the photograph (compare -metric PSNR)
#   JPEG         xtpicture jpeg           vs  cjpeg -quality 75                  (target <= 1.1x)
#   progressive  xtpicture jpeg --progressive vs cjpeg -quality 75 -progressive  (target <= 1.1x)
#   in process   picture_bench: LZW coder vs giflib EGifPutLine (target >= 2x as fast, size
#                within 1%), also timed in turns within each iteration ("paired"), and vs the
#                classic coder it replaced (same bytes, plain and interlaced); GIF preview vs
#                giflib DGifSlurp (target <= 0.5x the time);
#                WriteJpegFile vs libjpeg fed as cjpeg feeds it (the writer's own cost)
# Usage: bench/pictures_bench.sh [BUILD_DIR]  (default: build); RUNS=5 (best of).
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
build="${1:-${MARLIX_BINARY_DIR:-$here/../build}}"
xtpicture="$build/xt/xtpicture"
bench="$build/bench/picture_bench"
[ -x "$xtpicture" ] || { echo "no xtpicture at $xtpicture; build it first" >&2; exit 2; }
runs="${RUNS:-5}"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
photos="${PHOTOS:-$work/photos}"
"$here/make_photos.sh" "$photos"

best() {  # best COMMAND...: the shortest wall time of RUNS runs in seconds, output discarded
  local b="" start end t
  for _ in $(seq "$runs"); do
    start=$(date +%s.%N)
    "$@" >/dev/null 2>&1
    end=$(date +%s.%N)
    t=$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.4f", b - a }')
    b=$(awk -v t="$t" -v b="$b" 'BEGIN { print (b == "" || t < b) ? t : b }')
  done
  echo "$b"
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
psnr() { compare -metric PSNR "$1" "$2" null: 2>&1 | awk '{ printf "%.2f", $1 }'; }

printf '%-10s %-16s %9s %9s %8s  %s\n' picture test ours_s base_s ratio notes
for photo in "$photos"/photo-*.ppm; do
  name=$(basename "$photo" .ppm | sed 's/photo-//')
  ours=$(best "$xtpicture" gif "$photo" "$work/ours.gif")
  base=$(best convert "$photo" +dither -colors 256 "$work/base.gif")
  printf '%-10s %-16s %9s %9s %8s  speed-up %sx, PSNR ours %s dB, ImageMagick %s dB\n' "$name" gif \
    "$ours" "$base" "$(ratio "$ours" "$base")" "$(ratio "$base" "$ours")" \
    "$(psnr "$photo" "$work/ours.gif")" "$(psnr "$photo" "$work/base.gif")"
  for mode in "" progressive; do
    ours=$(best "$xtpicture" jpeg "$photo" "$work/ours.jpg" ${mode:+--$mode})
    base=$(best cjpeg -quality 75 ${mode:+-$mode} -outfile "$work/base.jpg" "$photo")
    printf '%-10s %-16s %9s %9s %8s  sizes %s / %s bytes\n' "$name" "jpeg${mode:+ $mode}" "$ours" "$base" \
      "$(ratio "$ours" "$base")" "$(stat -c %s "$work/ours.jpg")" "$(stat -c %s "$work/base.jpg")"
  done
  if [ -x "$bench" ]; then
    PICTURE_BENCH_PPM="$photo" "$bench" --benchmark_filter='Lzw|PutLine|Preview|Slurp|Jpeg|jpeg' \
      --benchmark_repetitions="$runs" --benchmark_report_aggregates_only 2>/dev/null |
      awk -v n="$name" '
        /_median/ { printf "%-10s %-28s cpu %8s ms  %s\n", n, $1, $4, $7; cpu[$1] = $4 }
        /SameAsClassic.*_median/ { for (i = 1; i <= NF; i++) if ($i ~ /^same=/) same = same " " $i }
        /Paired.*_median/ { for (i = 1; i <= NF; i++) if ($i ~ /^speedup=/) paired = substr($i, 9) }
        END {
          lzw = cpu["BM_GiflibPutLine_median"] / cpu["BM_LzwCoder_median"]
          old = cpu["BM_LzwClassic_median"] / cpu["BM_LzwCoder_median"]
          printf "%-10s LZW: %.2fx giflib EGifPutLine (%.2fx paired), %.2fx the classic coder; plain, interlaced%s\n",
            n, lzw, paired, old, same
          for (a = 0; a <= 1; a++) {
            ours = cpu["BM_DecodeGifPreview/" a "_median"]
            base = cpu["BM_GiflibSlurp/" a "_median"]
            printf "%-10s preview%s: %.2fx DGifSlurp time\n", n, a ? " interlaced" : "", ours / base
          }
        }'
  fi
done
