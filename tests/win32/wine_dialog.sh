#!/usr/bin/env bash
# End to end on Windows, run under Wine on a private X server: the Windows
# host program opens the label dialog over a window of its own, and the
# script works the dialog as a person would, with the mouse and the keyboard
# (xdotool), at the places where the dialog's layout table puts its controls:
# it switches the price item "Cena "A"" on and places it on the label, makes
# it larger by its corner and moves it, opens and closes the item menu,
# picks a start position on the preview page, saves the format under a new
# name through "Uložit nastavení" and leaves with "&Zrušit". Then it checks
# what the host saw and what the format files hold.
#
#   wine_dialog.sh <host.exe> <KORVAL.dll> <forms folder> [work folder]
#
# Screenshots go to $SCREENSHOT_DIR (default: the work folder); with
# KEEP_SCREENSHOTS_IN set, those of the pages "Nastavení" and "Náhled" are
# copied there as windows-dialog-nastaveni.png and windows-dialog-nahled.png.
# Each Windows build runs it with its own host and DLL, 32-bit or 64-bit.
# Exit 0: passed; 77: skipped (no Wine that runs the host here, no Xvfb or
# xdotool); else failed.
set -euo pipefail

host_exe=$(realpath "$1")
korval_dll=$(realpath "$2")
forms=$(realpath "$3")
work=${4:-$(dirname "$host_exe")/wine-dialog}
here=$(dirname "$(realpath "$0")")
repo=$(realpath "$here/../..")
layout_table=$repo/src/dialog/MainLayout.cpp
# shellcheck source=private_cups.sh
. "$here/private_cups.sh"

format=Regál              # in the forms' TiketFrm.ini
new_name="Akcni regal"    # the name the format is saved under
queue=KorvalEtikety       # the format's printer, so that the preview has a sheet
limit=240                 # seconds for the whole run of the dialog
python=/usr/bin/python3

skip() { echo "SKIPPED: $*"; exit 77; }
fail() { echo "FAILED: $*" >&2; exit 1; }

why=$("$repo/scripts/wine-run" --can-run "$host_exe") || skip "$why"
command -v Xvfb >/dev/null || skip "Xvfb is not installed"
command -v xdotool >/dev/null || skip "xdotool is not installed"
for tool in xwd xwdtopnm pnmtopng pngtopnm pamcut ppmhist /usr/sbin/cupsd lpstat "$python"; do
  command -v "$tool" >/dev/null || fail "$tool is not installed (scripts/install-deps --wine installs it)"
done

rm -rf "$work"
mkdir -p "$work"
work=$(realpath "$work")
shots=${SCREENSHOT_DIR:-$work/screenshots}
mkdir -p "$shots"
cups=$(mktemp -d /tmp/korval-wine-cups.XXXXXX) # a socket path must stay short
xvfb_pid=
host_pid=
winpath() { printf 'Z:%s' "${1//\//\\}"; }

passed=0
cleanup() {
  local status=$?
  set +e
  [ -n "$host_pid" ] && kill "$host_pid" 2>/dev/null
  if [ -d "$work/wine-prefix-x11" ]; then
    WINEPREFIX=$work/wine-prefix-x11 /usr/lib/wine/wineserver -k >/dev/null 2>&1
    WINEPREFIX=$work/wine-prefix-x11 /usr/lib/wine/wineserver -w >/dev/null 2>&1
  fi
  [ -n "$host_pid" ] && wait "$host_pid" 2>/dev/null
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
  fi
  stop_private_cups
  if [ $status -ne 0 ] && [ $status -ne 77 ]; then
    echo "the run's files are kept in $work" >&2
  fi
  rm -rf "$cups"
  [ $passed = 1 ] && rm -rf "$work/wine-prefix-x11" "$work/KORVAL.dll" "$work/host.exe"
  exit $status
}
trap cleanup EXIT
trap 'exit 130' INT TERM

start_private_cups "$queue"

# --- A private X server: the first free display number, said on a pipe.
Xvfb -displayfd 5 -screen 0 1024x768x24 -nolisten tcp 5>"$work/display" >"$work/xvfb.out" 2>&1 &
xvfb_pid=$!
for _ in $(seq 300); do
  [ -s "$work/display" ] && break
  kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb did not start: $(cat "$work/xvfb.out")"
  sleep 0.1
done
read -r display <"$work/display" || fail "Xvfb named no display in 30 s"
export DISPLAY=:$display

# --- The host's files as a shop has them (as the print test has them).
cp "$host_exe" "$work/host.exe"
cp "$korval_dll" "$work/KORVAL.dll"
cp -r "$forms" "$work/forms"
cp "$here/goods.csv" "$work/goods.csv"
printf '[Params]\r\nFormPath=%s\\\r\n' "$(winpath "$work/forms")" >"$work/host.ini"
# The queue is the label printer as well, so that no format's printer
# differs from it and nothing asks whether to keep it.
printf '[SETUP]\r\nTISKARNA=%s\r\n%s_TISKARNA=%s\r\n' "$queue" \
  "$(printf '%s' "$format" | iconv -f UTF-8 -t CP1250)" "$queue" >"$work/etikety.ini"

cd "$work"
KORVAL_WINE_ROOT=$work KORVAL_WINE_GRAPHICS=x11 timeout -k 5 "$limit" \
  "$repo/scripts/wine-run" host.exe show "$(winpath "$work/KORVAL.dll")" "$format" goods.csv \
  >host.out 2>&1 &
host_pid=$!

# What the host said so far (the Windows runtime ends its lines with CR LF).
report() { tr -d '\r' <host.out; }

# --- The dialog appears: the host says where its client area lies, X shows
# a window of that caption there.
for _ in $(seq $((limit * 5))); do
  grep -q '^host: tab "Ná&hled"' < <(report) && break
  kill -0 "$host_pid" 2>/dev/null || { cat host.out; fail "the host ended before the dialog appeared"; }
  sleep 0.2
done
grep -q '^host: tab "Ná&hled"' < <(report) || fail "no dialog in $limit s: $(cat host.out)"
report | grep '^host: '
read -r cx cy cw ch < <(sed -n 's/^host: dialog ".*" client area at \([0-9-]*\),\([0-9-]*\) size \([0-9]*\)x\([0-9]*\)$/\1 \2 \3 \4/p' < <(report))
font_height=$(sed -n 's/^host: dialog font height \([0-9]*\)$/\1/p' < <(report))
pages=()
while read -r x y w h px py pw ph; do
  pages+=(--pages "$((x - cx)),$((y - cy)),$w,$h:$((px - cx)),$((py - cy)),$pw,$ph")
done < <(sed -n 's/^host: tab control at \([0-9-]*\),\([0-9-]*\) size \([0-9]*\)x\([0-9]*\), pages at \([0-9-]*\),\([0-9-]*\) size \([0-9]*\)x\([0-9]*\)$/\1 \2 \3 \4 \5 \6 \7 \8/p' < <(report))
[ ${#pages[@]} = 4 ] || fail "expected the dialog's two tab controls, the host saw $((${#pages[@]} / 2))"
window=$(xdotool search --name '^(Nastavení etikety|KORVAL ver\.)' | sed -n 1p)
[ -n "$window" ] || fail "X has no window of the dialog's caption"
geometry=$(xdotool getwindowgeometry "$window" | tr -d '\n')
# Without a window manager Wine's X window is the client area.
[[ $geometry == *"Position: $cx,$cy "*"Geometry: ${cw}x$ch" ]] ||
  fail "the dialog's X window ($geometry) is not where Windows puts its client area ($cx,$cy ${cw}x$ch)"

# Client coordinates of a point of a control (its centre by default), from
# the layout table and the metrics of the running dialog.
at() {
  "$python" "$here/layout_point.py" "$layout_table" --client "$cw" "$ch" --font-height "$font_height" \
    "${pages[@]}" "$@"
}
bounds() { at --bounds "$1"; }
# Screen coordinates of a point in client coordinates.
screen() { echo $(($1 + cx)) $(($2 + cy)); }
tab_centre() {
  sed -n "s/^host: tab \"$1\" at \([0-9-]*\),\([0-9-]*\) size \([0-9]*\)x\([0-9]*\)\$/\1 \2 \3 \4/p" < <(report) |
    { read -r x y w h; echo $((x + w / 2)) $((y + h / 2)); }
}

# The dialog has taken in what it was given when its picture stops changing:
# two shots in a row alike (a person waits for the screen, not a clock).
shot_sum() { xwd -root -silent | md5sum; }
settle() {
  local last now
  last=$(shot_sum)
  for _ in $(seq 100); do
    sleep 0.1
    now=$(shot_sum)
    [ "$now" = "$last" ] && return 0
    last=$now
  done
  fail "the screen did not come to rest after $1"
}
shoot() {
  xwd -root -silent | xwdtopnm 2>/dev/null | pnmtopng >"$shots/$1.png"
}
click() { # x y [button]: screen coordinates
  xdotool mousemove --sync "$1" "$2" click "${3:-1}"
  settle "a click at $1,$2"
}
drag() { # x y dx dy: screen coordinates of the press, the way to go
  xdotool mousemove --sync "$1" "$2" mousedown 1
  settle "a press at $1,$2"
  xdotool mousemove --sync $(($1 + $3 / 2)) $(($2 + $4 / 2))
  xdotool mousemove --sync $(($1 + $3)) $(($2 + $4)) mouseup 1
  settle "a drag from $1,$2"
}
# The colours in a rectangle of the screen (x y w h).
colours() {
  xwd -root -silent | xwdtopnm 2>/dev/null | pamcut -left "$1" -top "$2" -width "$3" -height "$4" |
    ppmhist -noheader | wc -l
}

settle "the dialog's appearance"
shoot nastaveni-opened
[ "$(colours "$cx" "$cy" "$cw" "$ch")" -ge 4 ] || fail "the dialog's window shows next to nothing"

# --- "Cena "A"": the first catalogue switch, placed by the item list's
# arrangement below cbNazev, cbCislo, CBNumberAsEAN and ePrefix at y = 80 of
# the list (ScrollBox2); its box is the first 13 pixels of the switch at x 10.
read -r x y < <(at ScrollBox2 16 88)
click $(screen "$x" "$y")
# Placed with a press on an empty spot of the label (PaintBox1): its top-left
# corner goes there, at 10 x 5 pixels as a new item.
place_x=160 place_y=102
read -r x y < <(at PaintBox1 $place_x $place_y)
click $(screen "$x" "$y")
# Larger by its bottom-right corner (within 5 pixels of both edges), then
# moved by a press in its middle.
read -r x y < <(at PaintBox1 $((place_x + 8)) $((place_y + 3)))
drag $(screen "$x" "$y") 60 15
read -r x y < <(at PaintBox1 $((place_x + 20)) $((place_y + 10)))
drag $(screen "$x" "$y") -30 8
want_left=$((place_x - 30)) want_top=$((place_y + 8)) want_width=70 want_height=20
shoot nastaveni

# --- The item's menu, by a right click on it; Escape closes it.
# Wine's menus are X windows without a name, of the program's class.
menus() { xdotool search --onlyvisible --class . 2>/dev/null | sort; }
before=$(menus)
read -r x y < <(at PaintBox1 $((want_left + 35)) $((want_top + 10)))
click $(screen "$x" "$y") 3
menu=$(comm -13 <(echo "$before") <(menus))
[ -n "$menu" ] || fail "a right click on the item opened no menu"
shoot item-menu
# The menu takes the keyboard of the dialog's window once it is up; a key
# sent sooner is lost.
xdotool windowfocus --sync "$window"
sleep 0.5
xdotool key Escape
for _ in $(seq 25); do
  [ -z "$(comm -13 <(echo "$before") <(menus))" ] && break
  sleep 0.2
done
[ -z "$(comm -13 <(echo "$before") <(menus))" ] || fail "Escape left the item menu open"
settle "Escape in the item menu"

# --- The preview: its page by its tab, then a press on a label position in
# the lower half of the sheet, which becomes the start position: the
# positions before it are left empty.
click $(tab_centre "Ná&hled")
read -r gx gy gw gh < <(bounds gbPreview)
shoot nahled-before
read -r sx sy < <(screen $((gx + 20)) $((gy + 20)))
before_preview=$(xwd -root -silent | xwdtopnm 2>/dev/null | pamcut -left "$sx" -top "$sy" -width $((gw - 40)) -height $((gh - 40)) | md5sum)
[ "$(colours "$sx" "$sy" $((gw - 40)) $((gh - 40)))" -ge 2 ] || fail "the preview shows no sheet"
# The sheet is centred in gbPreview; 60 % down the sheet and half across
# lies inside a label of the format (3 columns of 69.9 mm, rows of 42 mm
# from 1.5 mm on an A4 sheet), not on an edge between two.
preview_height=$((gh - 60))
read -r x y < <(screen $((gx + gw / 2)) $((gy + gh / 2 - preview_height / 2 + 5 + preview_height * 6 / 10)))
click "$x" "$y"
shoot nahled
after_preview=$(xwd -root -silent | xwdtopnm 2>/dev/null | pamcut -left "$sx" -top "$sy" -width $((gw - 40)) -height $((gh - 40)) | md5sum)
[ "$before_preview" != "$after_preview" ] || fail "a press on a label position changed nothing in the preview"

# --- Saved under a new name: "&Uložit" opens "Uložit nastavení" with the
# name field focused; its save button is the default button.
read -r x y < <(at bbtnSave)
click $(screen "$x" "$y")
save_window=$(xdotool search --onlyvisible --name '^Uložit nastavení$' | sed -n 1p)
[ -n "$save_window" ] || fail "\"&Uložit\" did not open \"Uložit nastavení\""
shoot save-dialog
# The window's X window is its client area (there is no window manager):
# the name field and the save button lie in the bottom panel, 41 pixels
# high, the field from x 8 and the button 10 pixels from the right edge,
# 75 x 25, both about 20 pixels down the panel.
eval "$(xdotool getwindowgeometry --shell --prefix SAVE_ "$save_window")"
panel_y=$((SAVE_Y + SAVE_HEIGHT - 41 + 20))
# A click in the field gives it the keyboard; the proposed name is replaced.
click $((SAVE_X + 20)) "$panel_y"
xdotool windowfocus --sync "$save_window"
sleep 0.3
xdotool key End shift+Home
xdotool type --delay 50 "$new_name"
settle "typing the name"
click $((SAVE_X + SAVE_WIDTH - 10 - 37)) "$panel_y"
# Wine on this X server leaves the X windows of a program's later windows
# as they were first mapped (black, and mapped after they are gone), so the
# save is seen where it lands: in the list of formats.
# (grep reads to the end: one that stops at the first match would leave the
# writers before it a broken pipe, which pipefail reports as a failure.)
saved() { iconv -f CP1250 -t UTF-8 forms/TiketFrm.ini | tr -d '\r' | grep -x "$new_name=" >/dev/null; }
for _ in $(seq 50); do saved && break; sleep 0.2; done
saved || fail "the save button of \"Uložit nastavení\" saved no format \"$new_name\""

# --- Left with "&Zrušit".
xdotool windowfocus --sync "$window"
sleep 0.3
xdotool key alt+z
for _ in $(seq $((limit * 5))); do kill -0 "$host_pid" 2>/dev/null || break; sleep 0.2; done
status=0
wait "$host_pid" || status=$?
host_pid=
cat host.out
[ $status = 124 ] && fail "the dialog was still open after $limit s"
[ $status = 0 ] || fail "the host ended with $status"

# --- What the host saw.
grep -q '^host: ShowTiketFormular returned$' < <(report) || fail "ShowTiketFormular did not return"
grep -q '^host: host window disabled while the dialog ran: yes' < <(report) ||
  fail "the host's window took input while the dialog ran"
grep -q '^host: host window enabled after the dialog: yes$' < <(report) ||
  fail "the host's window stayed disabled after the dialog"
grep -q '^host: save notices received: 1$' < <(report) || fail "the host did not get exactly one notice of the save"

# --- What the files hold: the new name in the list, its state file with the
# item where it was put, and the same state as the last-used one.
ini_value() { # file section key: the value, in UTF-8
  iconv -f CP1250 -t UTF-8 "$1" | tr -d '\r' |
    awk -v section="[$2]" -v key="$3" '/^\[/ { in_section = ($0 == section); next }
      in_section && !found && index($0, key "=") == 1 { print substr($0, length(key) + 2); found = 1 }'
}
list=$(iconv -f CP1250 -t UTF-8 forms/TiketFrm.ini | tr -d '\r' | awk '/^\[/ { s = ($0 == "[Saves]"); next } s')
[ "$list" = "$format=
$new_name=" ] || fail "the list of formats is not \"$format\", \"$new_name\": $list"
[ -f forms/TiketSav.001 ] || fail "the new format's file TiketSav.001 is missing"
for place in "forms/TiketSav.001 SetUp" "forms/TiketFrm.ini SetLast"; do
  read -r file section <<<"$place"
  for pair in Visible=True Left=$want_left Top=$want_top Width=$want_width Height=$want_height; do
    value=$(ini_value "$file" "$section" "lcena1.${pair%%=*}")
    [ "$value" = "${pair#*=}" ] || fail "$file [$section] holds lcena1.${pair%%=*}=$value, not ${pair#*=}"
  done
done
[ -n "$(ini_value forms/TiketFrm.ini Formular NormalPos)" ] || fail "\"&Zrušit\" wrote no window placement"

if [ -n "${KEEP_SCREENSHOTS_IN:-}" ]; then
  mkdir -p "$KEEP_SCREENSHOTS_IN"
  # The dialog alone, without the empty screen around it.
  for page in nastaveni nahled; do
    pngtopnm "$shots/$page.png" | pamcut -left "$cx" -top "$cy" -width "$cw" -height "$ch" |
      pnmtopng >"$KEEP_SCREENSHOTS_IN/windows-dialog-$page.png"
  done
fi
echo "the dialog was worked and its format saved as \"$new_name\"; screenshots in $shots"
passed=1
echo "1 passed, 0 failed"
