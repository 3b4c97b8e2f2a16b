#!/usr/bin/env bash
# Draws the program icon ICON0 (a small 3 x 3 range chart on a dark card) at
# every size the program and the desktop use. Run by hand when the motif
# changes; the PNG files it writes are committed.
set -euo pipefail
cd "$(dirname "$0")"
convert=/usr/bin/convert
colors=(
  "#dd0016" "#ff9d3c" "#ffff00"
  "#ff9d3c" "#ffff00" "#52cef8"
  "#ffff00" "#52cef8" "#c0c0c0"
)
for n in 16 32 48 64 128 256; do
  s=$(awk "BEGIN{print $n/16}")
  r=$(awk "BEGIN{print $s*2.5}")
  cr=$(awk "BEGIN{print ($n>=48)?$s*0.6:0}")
  draw=(-fill "#233640" -draw "roundrectangle 0,0 $((n - 1)),$((n - 1)) $r,$r")
  for i in "${!colors[@]}"; do
    row=$((i / 3)) col=$((i % 3))
    x0=$(awk "BEGIN{print (1 + $col * 5) * $s}")
    y0=$(awk "BEGIN{print (1 + $row * 5) * $s}")
    x1=$(awk "BEGIN{print $x0 + 4 * $s - 1}")
    y1=$(awk "BEGIN{print $y0 + 4 * $s - 1}")
    shape="roundrectangle $x0,$y0 $x1,$y1 $cr,$cr"
    [ "$cr" = 0 ] && shape="rectangle $x0,$y0 $x1,$y1"
    draw+=(-fill "${colors[$i]}" -draw "$shape")
  done
  "$convert" -size "${n}x${n}" xc:none "${draw[@]}" -strip "PNG32:icon0_${n}.png"
done
