#!/usr/bin/env bash
# End to end on Windows, run under Wine on the Linux build machine: the
# Windows host program loads KORVAL.dll, hands over the goods of goods.csv and
# prints them with a stored format. The printer is a CUPS queue of a private
# scheduler that Wine lists as a Windows printer; Wine's PostScript driver
# renders the job and the queue writes it to a file. The PostScript is then
# rasterised, every barcode scanned back to the goods' EAN digits, and the
# goods' names and the callback's texts found in its text, each as often as
# the goods ask for labels.
#
#   wine_print.sh <host.exe> <KORVAL.dll> <forms folder> [work folder]
#
# The work folder (default: wine-run beside host.exe) is made anew for every
# run and holds the Wine prefix, the host's files and the printed job; it is
# kept after a failure; after a pass only the job, its text and the host's
# files stay.
# Exit 0: passed; 77: skipped (this machine cannot run the program); else failed.
set -euo pipefail

host_exe=$(realpath "$1")
korval_dll=$(realpath "$2")
forms=$(realpath "$3")
work=${4:-$(dirname "$host_exe")/wine-run}
here=$(dirname "$(realpath "$0")")
# shellcheck source=private_cups.sh
. "$here/private_cups.sh"
goods_file=$here/goods.csv

format=Regál         # in the forms' TiketFrm.ini, in Windows-1250
queue=KorvalEtikety  # Wine lists a CUPS queue under the queue's name
host_limit=120       # seconds for the host; a dialog waiting for a person ends there
job_limit=30         # seconds for the job to pass the queue

# Where the labels lie on a sheet, in dots of Wine's PostScript driver (300 per
# inch), which the job is rasterised at: the format's labels of 69.9 x 42 mm
# with a top margin of 1.5 mm and no gaps are 826 x 496 dots from dot 18 down,
# and 3 x 7 of them fit the queue's A4 sheet of 2479 x 3508 dots.
label_width=826
label_height=496
label_top=18
columns=3
rows=7
labels_per_sheet=$((columns * rows))

skip() { echo "SKIPPED: $*"; exit 77; }
fail() { echo "FAILED: $*" >&2; exit 1; }
now() { date +%s.%N; }
seconds() { LC_ALL=C awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f", b - a }'; }

# The program's machine from its PE header: 014c is x86, 8664 is x86-64.
pe_offset=$(od -An -tu4 -j60 -N4 "$host_exe" | tr -d ' ')
machine=$(od -An -tx2 -j$((pe_offset + 4)) -N2 "$host_exe" | tr -d ' ')
case $machine in
  014c)
    bits=32
    loader=${KORVAL_WINE32:-/usr/lib/wine/wine}
    export WINEARCH=win32
    ;;
  8664)
    bits=64
    loader=${KORVAL_WINE64:-/usr/lib/wine/wine64}
    export WINEARCH=win64
    ;;
  *) fail "$host_exe is no x86 or x86-64 Windows program (machine $machine)" ;;
esac
[ -x "$loader" ] || skip "the $bits-bit Wine loader $loader is not installed"
if ! version=$("$loader" --version 2>&1); then
  case $version in
    *"Exec format error"*) skip "this kernel cannot run $bits-bit programs ($loader: $version)" ;;
    *) skip "the $bits-bit Wine loader does not start: $version" ;;
  esac
fi
for tool in /usr/sbin/cupsd lpstat gs pamcut zbarimg; do
  command -v "$tool" >/dev/null || fail "$tool is not installed (scripts/install-deps installs it)"
done
locale -a 2>/dev/null | grep -qi '^cs_CZ\.utf-\?8$' || fail "the locale cs_CZ.UTF-8 is missing"

started=$(now)
rm -rf "$work"
mkdir -p "$work"
work=$(realpath "$work")
cups=$(mktemp -d /tmp/korval-wine-cups.XXXXXX) # a socket path must stay short

export WINEPREFIX=$work/prefix
export WINELOADER=$loader
export WINESERVER=/usr/lib/wine/wineserver
export WINEDEBUG=-all
# No Mono or Gecko installers during the prefix's set-up.
export WINEDLLOVERRIDES="mscoree,mshtml="
# The Czech locale makes Wine's ANSI code page 1250, the host's.
export LANG=cs_CZ.UTF-8 LC_ALL=cs_CZ.UTF-8
unset DISPLAY WAYLAND_DISPLAY
# Wine's drive Z: is the Linux root.
winpath() { printf 'Z:%s' "${1//\//\\}"; }

passed=0
cleanup() {
  local status=$?
  set +e
  if [ -d "$WINEPREFIX" ]; then
    "$WINESERVER" -k >/dev/null 2>&1
    "$WINESERVER" -w >/dev/null 2>&1
  fi
  stop_private_cups
  if [ $status -ne 0 ] && [ $status -ne 77 ]; then
    cp -r "$cups/log" "$work/cups-log" 2>/dev/null
    echo "the run's files are kept in $work" >&2
  fi
  rm -rf "$cups"
  [ $passed = 1 ] && rm -rf "$WINEPREFIX" "$work"/*.pgm "$work/KORVAL.dll" "$work/host.exe"
  exit $status
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# --- The private scheduler: one queue whose jobs each land in a file of their own.
start_private_cups "$queue"

# --- A fresh Wine prefix, with the null display driver: no X server needed,
# and windows the library creates stay invisible.
t=$(now)
"$loader" wineboot -i >"$work/wineboot.out" 2>&1 || fail "wineboot failed: $(tail -5 "$work/wineboot.out")"
"$loader" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >>"$work/wineboot.out" 2>&1 ||
  fail "cannot choose the null display driver: $(tail -5 "$work/wineboot.out")"
# The set-up's desktop process keeps the display driver it started with:
# ending the session now (which saves the registry) is also quicker than
# waiting for it to time out.
"$WINESERVER" -k
"$WINESERVER" -w
prefix_time=$(seconds "$t" "$(now)")

# --- The host's files as a shop has them: the program with KORVAL.dll and
# host.ini beside it (naming the forms folder), and etikety.ini in its working
# folder naming the queue for the format (both INI files in Windows-1250).
cp "$host_exe" "$work/host.exe"
cp "$korval_dll" "$work/KORVAL.dll"
cp -r "$forms" "$work/forms"
cp "$goods_file" "$work/goods.csv"
printf '[Params]\r\nFormPath=%s\\\r\n' "$(winpath "$work/forms")" >"$work/host.ini"
printf '[SETUP]\r\n%s_TISKARNA=%s\r\n' "$(printf '%s' "$format" | iconv -f UTF-8 -t CP1250)" "$queue" \
  >"$work/etikety.ini"

t=$(now)
cd "$work"
status=0
timeout -k 5 "$host_limit" "$loader" host.exe "$(winpath "$work/KORVAL.dll")" "$format" goods.csv \
  >host.out 2>&1 || status=$?
host_time=$(seconds "$t" "$(now)")
cat host.out
[ $status = 124 ] && fail "the host did not finish in $host_limit s (a dialog waiting for a person?)"
[ $status = 0 ] || fail "the host ended with $status"

# --- The job: the host has handed it to the spooler when it ends; wait until
# the queue has no job left and the filter's file is there.
t=$(now)
for _ in $(seq $((job_limit * 10))); do
  if [ -z "$(lpstat -o "$queue" 2>/dev/null)" ] && compgen -G "$cups/jobs/job-*.ps" >/dev/null; then
    break
  fi
  sleep 0.1
done
[ -z "$(lpstat -o "$queue" 2>/dev/null)" ] || fail "the job is still queued after $job_limit s"
jobs=("$cups"/jobs/job-*.ps)
[ -e "${jobs[0]}" ] || fail "no job reached the queue: $(tail -5 "$cups/log/error_log")"
[ ${#jobs[@]} = 1 ] || fail "expected one job, the queue got ${#jobs[@]}"
cp "${jobs[0]}" "$work/job.ps"
job_time=$(seconds "$t" "$(now)")
"$WINESERVER" -w

# --- What the labels must show: the goods in list order, each on as many
# consecutive positions as it asks for labels.
grep -q '^rxseOsax.Text=69,9.$' "$forms/TiketSav.000" && grep -q '^rxseOsay.Text=42.$' "$forms/TiketSav.000" &&
  grep -q '^meOdsazHorni.Text=1,5.$' "$forms/TiketSav.000" && grep -q '^ComboBox1.ItemIndex=1.$' "$forms/TiketSav.000" ||
  fail "the format's label size or margin is not the one this script cuts the sheets by"
expected_codes=()
while IFS=';' read -r name number ean count; do
  case $name in '' | '#'*) continue ;; esac
  for _ in $(seq "$count"); do expected_codes+=("EAN-13:$ean"); done
done <"$goods_file"
expected_labels=${#expected_codes[@]}
expected_pages=$(((expected_labels + labels_per_sheet - 1) / labels_per_sheet))

cd "$work"
head -c 11 job.ps | grep -q '^%!PS-Adobe' || fail "the job is no PostScript"
tail -c 200 job.ps | grep -q '%%EOF' || fail "the job's PostScript is cut short"
grep -aq '^%%Title: Tisk etiket (Etikety)' job.ps ||
  fail "the job's title is not \"Tisk etiket (Etikety)\": $(grep -a -m1 '^%%Title' job.ps)"
pages=$(grep -ac '^%%Page: ' job.ps || true)
[ "$pages" = "$expected_pages" ] ||
  fail "expected $expected_pages sheets for $expected_labels labels, the job has $pages"

# Every label position cut out on its own (zbar reports equal codes of one
# image once) and scanned: a label's position holds its goods' code, a
# position past the last label holds none.
t=$(now)
gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=pgmraw -r300 -sOutputFile=page-%d.pgm job.ps ||
  fail "ghostscript cannot rasterise the job"
cells=()
for page in $(seq "$pages"); do
  for row in $(seq 0 $((rows - 1))); do
    for column in $(seq 0 $((columns - 1))); do
      cell=$(printf 'cell-%d-%d-%d.pgm' "$page" "$row" "$column")
      pamcut -left $((column * label_width)) -top $((label_top + row * label_height)) \
        -width $label_width -height $label_height "page-$page.pgm" >"$cell" ||
        fail "cannot cut position $row/$column out of sheet $page"
      cells+=("$cell")
    done
  done
done
# One line per position, with what was scanned there (zbarimg's status is 4
# when an image holds no code, as the positions past the last label do).
scanned=$({ zbarimg --nodbus --xml "${cells[@]}" 2>/dev/null || true; } | awk '
  /<source / { if (file != "") print file codes; match($0, /href=.[^\x27]*/); file = substr($0, RSTART + 6, RLENGTH - 6); codes = "" }
  /<symbol / { match($0, /type=.[^\x27]*/); type = substr($0, RSTART + 6, RLENGTH - 6)
               match($0, /CDATA\[[^]]*/); codes = codes " " type ":" substr($0, RSTART + 6, RLENGTH - 6) }
  END { if (file != "") print file codes }')
[ "$(echo "$scanned" | wc -l)" = ${#cells[@]} ] || fail "zbarimg did not report on every position"
wrong=0
position=0
while read -r cell codes; do
  want=${expected_codes[$position]:-}
  if [ "$codes" != "$want" ]; then
    echo "position $((position + 1)) ($cell): expected [${want:-no barcode}], scanned [${codes:-nothing}]" >&2
    wrong=$((wrong + 1))
  fi
  position=$((position + 1))
done <<<"$scanned"
[ $wrong = 0 ] || fail "$wrong of ${#cells[@]} label positions do not show their barcode"

# Wine's PostScript driver shows each glyph by its name in the downloaded
# font, so the text comes back as Unicode: every name and every callback text
# on as many labels as the goods ask for.
gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=txtwrite -sOutputFile=text.txt job.ps ||
  fail "ghostscript cannot read the job's text"
while IFS=';' read -r name number ean count; do
  case $name in '' | '#'*) continue ;; esac
  for text in "$name" "Kód $number"; do
    found=$(grep -oF -- "$text" text.txt | wc -l)
    [ "$found" = "$count" ] || fail "\"$text\" is on $found labels, not $count"
  done
done <"$goods_file"
check_time=$(seconds "$t" "$(now)")

echo "$bits-bit: $expected_labels labels on $pages sheets checked; times: Wine prefix ${prefix_time} s," \
  "host ${host_time} s, queue ${job_time} s, checks ${check_time} s, all $(seconds "$started" "$(now)") s"
passed=1
echo "1 passed, 0 failed"
