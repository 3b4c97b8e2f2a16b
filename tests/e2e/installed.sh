#!/usr/bin/env bash
# The installed package, used by an ordinary user on a virtual X display.
#
#   installed.sh <tabulo binary> <scratch folder> <screencheck binary>
#
# Makes the Debian package from the build folder of <tabulo binary> (or takes
# $TABULO_DEB), installs it (into the real system with TABULO_INSTALL_SYSTEM=1,
# as CI does on its throwaway machine; otherwise unpacked into a scratch root
# owned by root), then, as user "nobody" with a fresh home folder:
#   1. starts `tabulo` by name from the PATH;
#   2. shows the Hands page chart AA, which the user has replaced in
#      ~/.local/share/tabulo/img: the user's picture is shown;
#   3. on the Custom page in edit mode, opens slot 2, types a caption, picks a
#      picture in the open dialog and saves;
#   4. checks that ~/.config/Tabulo/Custom.ini holds the slot and that not one
#      installed file changed.
# Needs root (to install and to become another user): exit code 77 (skipped)
# otherwise, or when a tool is missing.
set -euo pipefail

[[ $(id -u) -eq 0 ]] || { echo "skipped: needs root"; exit 77; }
for tool in Xvfb xdotool import convert compare runuser dpkg-deb cpack; do
    command -v $tool >/dev/null || { echo "skipped: no $tool"; exit 77; }
done

build=$(dirname "$(readlink -f "$1")")
shots=${2:-}
check=${3:-}
[[ -x "$check" ]] || { echo "skipped: no screencheck"; exit 77; }
work=$(mktemp -d)
chmod 755 "$work"
xvfb="" pid="" tabulo="" system_installed=""
cleanup() {
    local rc=$?
    set +e
    [[ -n "$tabulo" ]] && kill "$tabulo" 2>/dev/null
    [[ -n "$pid" ]] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
    [[ -n "$xvfb" ]] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
    if [[ -n "$shots" ]]; then mkdir -p "$shots" && cp "$work"/*.png "$shots"/ 2>/dev/null; fi
    [[ -n "$system_installed" ]] && dpkg -r tabulo >/dev/null 2>&1
    rm -rf "$work"
    exit $rc
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    cat "$work/tabulo.log" 2>/dev/null >&2 || true
    exit 1
}
source "$(dirname "$0")/support/within.sh"

# ---- the package ------------------------------------------------------------
deb=${TABULO_DEB:-}
if [[ -z "$deb" ]]; then
    cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/deb" >"$work/cpack.log" 2>&1 ||
        fail "cpack: $(cat "$work/cpack.log")"
    deb=$(ls "$work"/deb/tabulo_*.deb)
fi
echo "package: $deb"
[[ $(dpkg-deb -f "$deb" Depends) == *libqt6widgets6* ]] || fail "the package does not depend on Qt"
if [[ "${TABULO_INSTALL_SYSTEM:-}" == 1 ]]; then
    apt-get install -y -qq "$(readlink -f "$deb")" >"$work/apt.log" 2>&1 ||
        fail "apt-get install: $(cat "$work/apt.log")"
    system_installed=1
    prefix=/usr
else
    mkdir "$work/root"
    dpkg-deb -x "$deb" "$work/root"
    prefix=$work/root/usr
fi
[[ -L $prefix/bin/tabulo && -x $prefix/bin/tabulo-chartpack ]] || fail "no tabulo commands in $prefix/bin"
[[ -f $prefix/share/tabulo/img/Holecards/AA.png ]] || fail "no chart pack installed"
installed_state() {
    find -L "$prefix/lib/tabulo" "$prefix/share/tabulo" -exec stat -c '%n %s %Y %a %U' {} + | sort
    find -L "$prefix/lib/tabulo" "$prefix/share/tabulo" -type f -exec md5sum {} + | sort
}
installed_state >"$work/before.txt"

# ---- the user ---------------------------------------------------------------
user=nobody
home=$work/home
mkdir -p "$home/.local/share/tabulo/img/Holecards" "$home/charts"
# The user's own AA chart and a custom chart, both plain colours no page could
# show by accident.
convert -size 120x140 xc:'#ff00ff' "$home/.local/share/tabulo/img/Holecards/AA.png"
convert -size 120x140 xc:'#00ffff' "$home/charts/my chart.png"
chown -R "$user:" "$home"

display=$((500 + RANDOM % 400))
# -noreset: by default Xvfb resets when its last client leaves (here the
# readiness probe below) and refuses connections while it does, so the
# program could find no display and end at once.
Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp -ac -noreset >"$work/xvfb.log" 2>&1 &
xvfb=$!
export DISPLAY=":$display"
within 10 xdotool getmouselocation >/dev/null 2>&1 || fail "the virtual display did not start"

cd "$work"
runuser -u "$user" -- env -i PATH="$prefix/bin:/usr/bin:/bin" HOME="$home" DISPLAY="$DISPLAY" \
    QT_QPA_PLATFORM=xcb tabulo >"$work/tabulo.log" 2>&1 &
pid=$!

win=""
# How the program ended, when it did before its window appeared (a status
# over 128 is a signal: 139 a crash).
ended() {
    local rc=0
    wait "$pid" || rc=$?
    pid=""
    fail "tabulo ended early, exit status $rc"
}
find_window() {
    win=$(first_window --name '^Tabulo v\. ') || true
    [[ -n "$win" ]] || { kill -0 "$pid" 2>/dev/null || ended; return 1; }
}
within 30 find_window || fail "the main window did not appear"
eval "$(xdotool getwindowgeometry --shell "$win")" # X, Y, WIDTH, HEIGHT
shot() { import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$work/$1.png"; }
pixel() { convert "$work/$1.png" -format '%[fx:int(255*p{'"$2"','"$3"'}.r)],%[fx:int(255*p{'"$2"','"$3"'}.g)],%[fx:int(255*p{'"$2"','"$3"'}.b)]' info:; }
tabulo=$(pgrep -P "$pid" -x tabulo || echo "$pid")
[[ $(ps -o user= -p "$tabulo") == "$user" ]] || fail "tabulo does not run as $user"

# ---- 2. the user's chart replaces the installed one -------------------------
tabs=$((HEIGHT - 350 + 25)) # the page starts below the tab strip
[[ $tabs -lt 20 ]] && tabs=25
within 10 eval 'shot start && "$check" tabs "$work/start.png" Custom Hands Position About >"$work/tabs.txt"' ||
    fail "the four tabs are not there: $(cat "$work/tabs.txt")"
tab() { awk -v n="$1" '/^center/ {k++; if (k == n) print $2, $3}' "$work/tabs.txt"; }
read -r hx hy < <(tab 2)
read -r cx cy < <(tab 1)
xdotool mousemove $((X + hx)) $((Y + hy)) click 1 # "Hands"
grid() {
    shot hands
    red=$(convert "$work/hands.png" -fill black +opaque '#dd0016' -fill white -opaque '#dd0016' -format '%@' info:)
    [[ $red =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]]
}
within 10 grid || fail "no hand grid on the second tab"
xdotool mousemove $((X + BASH_REMATCH[3] + 8)) $((Y + BASH_REMATCH[4] + 6)) click 1 # AA
mine() { shot aa && [[ $(pixel aa $((WIDTH / 2)) $((HEIGHT / 2))) == "255,0,255" ]]; }
within 10 mine || fail "the user's AA chart is not shown (centre $(pixel aa $((WIDTH / 2)) $((HEIGHT / 2))))"
xdotool click 1 # back to the grid
within 10 eval '! mine' || fail "clicking the chart did not bring the grid back"

# ---- 3. save a custom chart through the edit window --------------------------
xdotool mousemove $((X + cx)) $((Y + cy)) click 1 # "Custom"
xdotool mousemove $((X + 128)) $((Y + tabs + 10)) click 1 # "Edit mode"
xdotool mousemove $((X + 40)) $((Y + tabs + 55)) click 1 # slot 2
edit=""
find_edit() { edit=$(first_window --name '^Edit$') && [[ -n "$edit" ]]; }
within 10 find_edit || fail "the edit window did not open"
"$check" settled "$edit" || fail "the program stopped answering"
eval "$(xdotool getwindowgeometry --shell "$edit" | sed 's/^/E/')" # EX, EY, EWIDTH, EHEIGHT
xdotool mousemove $((EX + 150)) $((EY + 15)) click 1 # the name box
xdotool key --clearmodifiers ctrl+a
xdotool type --delay 20 "Gamma"
xdotool mousemove $((EX + 127)) $((EY + 60)) click 1 # "Select Chart"
dialog=""
find_dialog() { dialog=$(first_window --name '^Open Dialog$') && [[ -n "$dialog" ]]; }
within 10 find_dialog || fail "the open dialog did not appear"
"$check" settled "$dialog" || fail "the program stopped answering"
xdotool windowactivate --sync "$dialog" 2>/dev/null || xdotool windowfocus --sync "$dialog"
xdotool key --clearmodifiers ctrl+a
xdotool type --delay 10 "$home/charts/my chart.png"
xdotool key Return
gone() { ! xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }
within 10 gone '^Open Dialog$' || fail "the open dialog stayed open"
"$check" settled "$edit" || fail "the program stopped answering"
import -window root -crop "${EWIDTH}x${EHEIGHT}+${EX}+${EY}" +repage "$work/edit.png"
xdotool mousemove $((EX + 127)) $((EY + 140)) click 1 # "Save"
within 10 gone '^Edit$' || fail "the edit window stayed open after Save"

# ---- 4. where it went ---------------------------------------------------------
ini=$home/.config/Tabulo/Custom.ini
[[ -f $ini ]] || fail "no per-user Custom.ini"
echo "--- $ini:"
cat "$ini"
[[ $(stat -c %U "$ini") == "$user" ]] || fail "Custom.ini does not belong to $user"
printf '[B2]\nFile=%s\nCaption=Gamma\n' "$home/charts/my chart.png" | tr -d '\r' >"$work/expected.ini"
tr -d '\r' <"$ini" | cmp -s - "$work/expected.ini" || fail "Custom.ini does not hold the saved slot"
# The saved chart is shown from the page.
xdotool mousemove $((X + 128)) $((Y + tabs + 10)) click 1 # "Edit mode" off
xdotool mousemove $((X + 40)) $((Y + tabs + 55)) click 1 # slot 2
custom() { shot custom && [[ $(pixel custom $((WIDTH / 2)) $((HEIGHT / 2))) == "0,255,255" ]]; }
within 10 custom || fail "the saved chart is not shown (centre $(pixel custom $((WIDTH / 2)) $((HEIGHT / 2))))"

installed_state >"$work/after.txt"
diff "$work/before.txt" "$work/after.txt" || fail "the installed files changed"
echo "PASS"
