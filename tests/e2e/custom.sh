#!/usr/bin/env bash
# End-to-end check of the Custom page on a virtual X display.
#
#   custom.sh <tabulo binary> <scratch folder> <screencheck binary>
#
# Copies the binary (and the chart pack img/ beside it) into a temporary program
# folder with a prepared "Custom.ini", starts it with a temporary
# XDG_CONFIG_HOME, then:
#   1. moves the pointer over the bare picture area beside the slots and
#      checks that the slot captions change from "B1".."B39" to the file's;
#   2. clicks slot 1, whose chart is a plain magenta picture, and checks that
#      the chart covers the page;
#   3. clicks the chart away, turns on "Edit mode", opens slot 2, types a
#      caption, saves, and checks the caption on the page and in the file
#      (every byte of the file before the new section unchanged).
# Screenshots are left in the scratch folder.
set -euo pipefail

source "$(dirname "$0")/support/display.sh"
e2e_display xdotool import convert compare -- "$@"
bin=$(readlink -f "$bin")
img="$(dirname "$bin")/img"

prog="$work/prog"
mkdir -p "$prog" "$work/config"
cp "$bin" "$prog/tabulo"
if [[ -n "$img" && -d "$img" ]]; then cp -r "$img" "$prog/img"; fi

# A chart no page could show by accident: plain magenta.
convert -size 120x90 xc:'#ff00ff' "$prog/chart1.png"
# Written as the Windows version writes it: CR LF, a comment, another section.
printf '; my charts\r\n[B1]\r\nFile=%s\r\nCaption=Alpha\r\n[Other]\r\nx=1\r\n[B14]\r\nCaption=Beta\r\nFile=C:\\Charts\\none.png\r\n' \
    "$prog/chart1.png" >"$prog/Custom.ini"

cd "$work"
XDG_CONFIG_HOME="$work/config" "$prog/tabulo" >"$work/tabulo.log" 2>&1 &
pid=$!

win=""
found_main() {
    win=$(first_window --name 'Tabulo v. 1.3')
    [[ -n "$win" ]] || { kill -0 "$pid" 2>/dev/null || fail "tabulo exited early: $(cat "$work/tabulo.log")"; false; }
}
within 10 found_main || fail "the main window did not appear"
eval "$(xdotool getwindowgeometry --shell "$win")"  # X, Y, WIDTH, HEIGHT
echo "main window $WIDTH x $HEIGHT at $X,$Y"

shot() { import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$work/$1.png"; }
# Colour of one pixel of a screenshot, as "r,g,b".
pixel() { convert "$work/$1.png" -format '%[fx:int(255*p{'"$2"','"$3"'}.r)],%[fx:int(255*p{'"$2"','"$3"'}.g)],%[fx:int(255*p{'"$2"','"$3"'}.b)]' info:; }
# Number of differing pixels between two screenshots below the tab strip
# and the check boxes, where the slots are.
slotdiff() {
    convert "$work/$1.png" -crop "262x280+0+60" +repage "$work/a.crop.png"
    convert "$work/$2.png" -crop "262x280+0+60" +repage "$work/b.crop.png"
    compare -metric AE "$work/a.crop.png" "$work/b.crop.png" null: 2>&1 >/dev/null || true
}

# Dark (text) pixels inside the caption area of slot k.
tabs=$((HEIGHT - 350 + 25))
[[ $tabs -lt 20 ]] && tabs=25
ink() {
    local k=$1 col=$(( ($1 - 1) / 13 )) row=$(( ($1 - 1) % 13 ))
    convert "$work/$2.png" -crop "70x17+$((87 * col + 8))+$((tabs + 20 + 24 * row + 3))" +repage \
        -colorspace Gray -threshold 45% -format '%[fx:round(w*h*(1-mean))]' info:
}

# The first paint: slot 2 reads "B2".
within 10 eval 'shot 1-start && [[ $(ink 2 1-start) -gt 10 ]]' || fail "slot 2 did not read B2 at the start"
# The bare picture area right of the third column (slots end at 260).
for y in 150 170 190; do xdotool mousemove $((X + WIDTH - 8)) $((Y + y)); done
refreshed() {
    shot 2-captions
    changed=$(slotdiff 1-start 2-captions)
    [[ "$changed" =~ ^[0-9]+$ && "$changed" -gt 50 ]]
}
within 5 refreshed || fail "the captions did not change after moving over the page"
echo "slot area pixels changed by the refresh: $changed"
# "B2" was written on slot 2 and is gone (no caption in the file); slots 1
# and 14 show their captions from the file.
[[ $(ink 2 2-captions) -eq 0 ]] || fail "slot 2 still shows text after the refresh"
[[ $(ink 1 2-captions) -gt 10 && $(ink 14 2-captions) -gt 10 ]] || fail "slots 1 and 14 show no caption"

# Slot 1: page Left 0..86, Top 20..43, below the tab strip.
xdotool mousemove $((X + 40)) $((Y + tabs + 31)) click 1
within 5 eval 'shot 3-chart && [[ $(pixel 3-chart $((WIDTH / 2)) $((HEIGHT / 2))) == "255,0,255" ]]' || fail "the chart of slot 1 was not shown (centre pixel $(pixel 3-chart $((WIDTH / 2)) $((HEIGHT / 2))))"
for p in "40 $((tabs + 31))" "$((WIDTH - 10)) $((HEIGHT - 10))" "150 $((tabs + 5))"; do
    set -- $p
    [[ $(pixel 3-chart "$1" "$2") == "255,0,255" ]] || fail "the chart does not cover the page at $1,$2"
done
# 3. Back to the list, edit slot 2.
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) click 1
within 5 eval 'shot 3-list && [[ $(pixel 3-list $((WIDTH / 2)) $((HEIGHT / 2))) != "255,0,255" ]]' ||
    fail "clicking the chart did not bring the slots back"
xdotool mousemove $((X + 128)) $((Y + tabs + 10)) click 1  # "Edit mode"
xdotool mousemove $((X + 40)) $((Y + tabs + 55)) click 1   # slot 2
within 5 eval 'edit=$(first_window --name "^Edit$"); [[ -n "$edit" ]]' || fail "the edit window did not open"
"$check" settled "$edit" || fail "the program stopped answering"
eval "$(xdotool getwindowgeometry --shell "$edit" | sed 's/^/E/')"  # EX, EY, EWIDTH, EHEIGHT
import -window root -crop "${EWIDTH}x${EHEIGHT}+${EX}+${EY}" +repage "$work/4-edit.png"
xdotool mousemove $((EX + 150)) $((EY + 15)) click 1   # the name box
xdotool key --clearmodifiers ctrl+a
xdotool type --delay 20 "Gamma"
"$check" settled "$edit" || fail "the program stopped answering"
import -window root -crop "${EWIDTH}x${EHEIGHT}+${EX}+${EY}" +repage "$work/5-typed.png"
xdotool mousemove $((EX + 127)) $((EY + 140)) click 1  # "Save"
within 5 eval '[[ -z $(first_window --name "^Edit$") ]]' || fail "the edit window stayed open after Save"
within 5 eval 'shot 6-saved && [[ $(ink 2 6-saved) -gt 10 ]]' || fail "slot 2 shows no caption after the save"
expected="$work/expected.ini"
printf '; my charts\r\n[B1]\r\nFile=%s\r\nCaption=Alpha\r\n[Other]\r\nx=1\r\n[B14]\r\nCaption=Beta\r\nFile=C:\\Charts\\none.png\r\n[B2]\r\nFile=\r\nCaption=Gamma\r\n' \
    "$prog/chart1.png" >"$expected"
cmp "$expected" "$prog/Custom.ini" || fail "Custom.ini after the save: $(cat -A "$prog/Custom.ini")"
echo "PASS"
