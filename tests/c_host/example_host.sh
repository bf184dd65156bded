#!/usr/bin/env bash
# examples/host.c run as a shop runs it, with no display: its goods printed
# with the example format to labels.pdf, every label there with its name and
# catalogue number and every barcode scanning back to the goods' EAN; asked
# for the dialog, it says there is no display and prints nothing.
set -euo pipefail
host=$1
run=$2
rm -rf "$run"
mkdir -p "$run"
cd "$run"
export XDG_CONFIG_HOME=$run/config

fail() { echo "FAILED: $*" >&2; exit 1; }

# The printer settings send format "Cenovka" to the PDF printer.
printf '[SETUP]\r\nCenovka_TISKARNA=PDF\r\n' > etikety.ini

"$host" > print.out 2> print.err || fail "exit status $?: $(cat print.err)"
grep -qxF "3 x Žluťoučký kůň – sýr Eidam 30 %" print.out || fail "goods not listed: $(cat print.out)"
[ -s labels.pdf ] || fail "no labels.pdf: $(cat print.err)"

pdftotext -enc UTF-8 labels.pdf text.txt
for goods in "SYR-0301 3" "COK-0070 2" "KAV-1000 1" "PEC-0420 2"; do
  set -- $goods
  count=$(grep -cx "$1" text.txt || true)
  [ "$count" = "$2" ] || fail "$1 on $count labels, expected $2"
done
for name in "Žluťoučký kůň" "Čokoláda hořká 70 %" "Káva zrnková Šumava 1 kg" "Chléb kmínový"; do
  grep -qF "$name" text.txt || fail "\"$name\" not in the PDF"
done
pdftoppm -r 200 -png labels.pdf page
scanned=$(zbarimg -q page-*.png 2>/dev/null | sort -u | tr '\n' ' ')
expected="EAN-13:8594001001019 EAN-13:8594001002023 EAN-13:8594001003037 EAN-13:8594001005055 "
[ "$scanned" = "$expected" ] || fail "barcodes: scanned [$scanned], expected [$expected]"

rm labels.pdf
"$host" --show > show.out 2> show.err || fail "--show: exit status $?: $(cat show.err)"
grep -q "no display" show.err || fail "--show without a display said: $(cat show.err)"
[ ! -e labels.pdf ] || fail "--show printed"
echo "1 passed, 0 failed"
