#!/usr/bin/env bash
# Draws every picture of the example publication with ImageMagick, from gradients and shapes:
#   ARCHIVE/GIFs      the category headlines of the index
#   ARCHIVE/initials  the drop-cap letters A to Z and the indent spacer
#   PICTURES          the images that the layout documents place in their picture boxes
# The output is the same on every run: fixed sizes and drawings, no time stamps in the files.
# Its results are kept in the repository, so that neither the build, the installation nor the
# example needs ImageMagick; after a change, draw them again where they are kept:
#   examples/make-pictures.sh examples/archive-skeleton examples/1998-01/pictures
#
# usage: make-pictures.sh ARCHIVE PICTURES
set -euo pipefail

[ $# -eq 2 ] || {
  echo "usage: $0 ARCHIVE PICTURES" >&2
  exit 2
}
archive=$1
pictures=$2
mkdir -p "$archive/GIFs" "$archive/initials" "$pictures"

# Fonts of fonts-dejavu-core, found through fontconfig when they live elsewhere.
font_file() {
  local path="/usr/share/fonts/truetype/dejavu/$1.ttf"
  [ -f "$path" ] || path=$(fc-match -f '%{file}' "$2")
  echo "$path"
}
sans_bold=$(font_file DejaVuSans-Bold 'DejaVu Sans:bold')
serif_bold=$(font_file DejaVuSerif-Bold 'DejaVu Serif:bold')

im() { convert "$@"; }
png_opts=(-strip -define png:exclude-chunks=date,time)

# Category headlines: white capitals on a band of the category's colour.
headline() { # NAME LABEL COLOUR
  im -size 320x44 "xc:$3" -fill '#ffffff22' -draw 'rectangle 0,34 320,44' \
    -font "$sans_bold" -pointsize 24 -fill white -gravity west -annotate +14+0 "$2" \
    -strip "$archive/GIFs/$1.gif"
}
headline Culture CULTURE '#7b2d6b'
headline Economy ECONOMY '#2d5f7b'
headline Entertai ENTERTAINMENT '#b8541c'
headline News NEWS '#a01c1c'
headline Politics POLITICS '#3b3b6b'
headline Sports SPORTS '#1c7b3b'
headline Technics TECHNICS '#505050'
headline Travel TRAVEL '#1c6b8b'

# Drop-cap letters, 40 x 40, and the 8 x 5 spacer that indents a paragraph.
for letter in {A..Z}; do
  im -size 40x40 xc:'#13507a' -font "$serif_bold" -pointsize 30 -fill white -gravity center \
    -annotate +0+1 "$letter" -strip "$archive/initials/$letter.gif"
done
im -size 8x5 xc:white -strip "$archive/initials/indent.gif"

# The pictures of the articles. Their names are chosen so that the first eight letters and
# digits of each differ: the plug-in names the exported files after them.
im -size 240x160 gradient:'#9ccbee-#f4e6c8' \
  \( -size 240x70 gradient:'#2f6f9f-#0b2545' \) -geometry +0+90 -composite \
  -fill '#f2f2f2' -draw 'polygon 170,90 178,30 186,30 194,90' \
  -fill '#c0392b' -draw 'rectangle 176,30 188,40 rectangle 175,55 191,62' \
  -fill '#ffd84a' -draw 'rectangle 178,32 186,38' \
  -fill '#6b3e26' -draw 'polygon 30,100 110,100 98,114 42,114' \
  -fill white -draw 'polygon 68,98 68,48 100,98' \
  "${png_opts[@]}" "$pictures/harbour.png"

im -size 220x150 radial-gradient:'#ffe9a8-#2b1d4a' \
  -fill '#2b1d4a' -draw 'rectangle 0,110 220,150' \
  -fill '#e8c170' -draw 'polygon 40,110 110,60 180,110' \
  -fill '#1a1230' -draw 'circle 70,128 70,136 circle 110,130 110,138 circle 150,128 150,136' \
  -quality 90 -strip "$pictures/concert.jpg"

im -size 120x90 xc:white -fill '#222222' -draw 'circle 60,45 60,8' \
  -fill white -draw 'circle 60,26 60,18 circle 60,64 60,56 circle 41,45 41,37 circle 79,45 79,37' \
  -fill '#222222' -draw 'circle 60,45 60,42' "${png_opts[@]}" "$pictures/filmreel.png"

im -size 200x120 xc:'#e9f1f7' \
  -fill '#0b2545' -draw 'polygon 20,80 180,80 165,100 35,100' \
  -fill '#f2f2f2' -draw 'rectangle 60,55 140,80' \
  -fill '#13507a' -draw 'rectangle 70,62 80,70 rectangle 90,62 100,70 rectangle 110,62 120,70' \
  -fill '#c0392b' -draw 'rectangle 120,35 132,55' \
  -stroke '#5b8db8' -strokewidth 3 -fill none -draw 'line 0,108 200,108' \
  "${png_opts[@]}" "$pictures/ferry.png"

im -size 260x160 xc:'#bcd7ea' \
  -fill '#efe3c2' -stroke '#a08c5a' -draw 'polygon 0,160 0,84 40,70 76,88 110,80 150,160' \
  -draw 'polygon 190,0 260,0 260,60 228,48 204,22' \
  -stroke '#5b6f80' -strokewidth 1.5 -fill none \
  -draw 'ellipse 170,80 22,14 0,360 ellipse 170,80 46,30 0,360 ellipse 170,80 72,48 0,360' \
  -stroke none -fill '#c0392b' -font "$sans_bold" -pointsize 22 -annotate +162+89 'L' \
  -fill '#0b2545' -pointsize 13 -annotate +200+150 '9 Bft' \
  "${png_opts[@]}" "$pictures/stormmap.png"

im -size 180x140 gradient:'#bfe3ff-#2f6f9f' \
  -fill white -draw 'polygon 90,20 90,100 140,100' \
  -fill '#f4f4f4' -draw 'polygon 84,30 84,100 45,100' \
  -fill '#8b1c1c' -draw 'polygon 40,104 150,104 135,122 55,122' \
  -stroke '#8b5a2b' -strokewidth 3 -draw 'line 87,18 87,106' \
  "${png_opts[@]}" "$pictures/sailboat.png"

im -size 240x150 gradient:'#87c5e8-#f7fbff' \
  -fill '#1f6f8b' -draw 'rectangle 0,105 240,150' \
  -fill '#3d8b3d' -draw 'ellipse 70,108 55,22 180,360 ellipse 180,112 40,14 180,360' \
  -fill '#6b4f2a' -draw 'rectangle 66,72 70,92' -fill '#2e6b2e' -draw 'circle 68,70 68,58' \
  -quality 85 -strip "$pictures/islands.jpg"

# A GIF source, to show that GIF files can be placed as well.
im -size 160x100 xc:'#f4efe1' -fill '#505050' \
  -draw 'rectangle 20,60 140,85 rectangle 40,30 120,60' \
  -fill '#c0392b' -draw 'circle 110,45 110,40' \
  -fill white -draw 'rectangle 50,70 110,78' -strip "$pictures/press.gif"
