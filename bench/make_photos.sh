#!/usr/bin/env bash
# make_photos.sh DIR: renders the benchmark's true-colour "photographs" with ImageMagick, as
# 8-bit binary PPM files: soft plasma landscapes with fine grain, which quantize and compress
# like camera pictures do. Writes photo-1024x768.ppm, photo-1600x1200.ppm, photo-2048x1536.ppm.
set -euo pipefail
dir=$1
mkdir -p "$dir"
for size in 1024x768 1600x1200 2048x1536; do
  out="$dir/photo-$size.ppm"
  [ -s "$out" ] && continue
  convert -seed 1998 -size "$size" plasma:fractal -blur 0x3 \
    \( -size "$size" gradient:'#203050'-'#e0c080' \) -compose overlay -composite \
    -attenuate 0.15 +noise Gaussian -depth 8 "$out"
done
