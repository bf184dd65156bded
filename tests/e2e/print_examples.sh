#!/usr/bin/env bash
# End to end: the bundled examples printed by `korval print` to a PDF, the PDF
# rasterised and every barcode on it scanned back to the goods' EAN digits,
# and the goods' names found in its text with their Czech letters.
set -euo pipefail
korval=$1
source_dir=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

fail() { echo "FAILED: $*" >&2; exit 1; }

"$korval" print --forms "$source_dir/examples/forms" --format Cenovka \
  --goods "$source_dir/examples/goods.csv" --pdf "$work/labels.pdf" > print.out
grep -qF "written to $work/labels.pdf" print.out || fail "no job reported: $(cat print.out)"
[ -s labels.pdf ] || fail "no PDF written"

# Every goods item asks for its labels; the examples fit one A4 sheet.
pages=$(pdfinfo labels.pdf | awk '/^Pages:/ {print $2}')
[ "$pages" = 1 ] || fail "expected 1 page, got $pages"

expected=$(awk -F';' 'NR > 1 && $6 != "" {print "EAN-13:" $6}' "$source_dir/examples/goods.csv" | sort -u)
pdftoppm -r 200 -png labels.pdf page
scanned=$(zbarimg -q page-*.png 2>/dev/null | sort -u)
[ "$scanned" = "$expected" ] || fail "barcodes differ: expected [$expected], scanned [$scanned]"

# Every label has its own name: 3 + 2 + 1 + 4 + 2 + 1 = 13 labels.
pdftotext -enc UTF-8 labels.pdf text.txt
count=$(grep -c "^SYR-0301$\|^COK-0070$\|^KAV-1000$\|^MLE-0015$\|^PEC-0420$\|^ORE-0250$" text.txt || true)
[ "$count" = 13 ] || fail "expected 13 labels, found $count catalogue numbers"
for name in "Žluťoučký kůň" "Čokoláda hořká 70 %" "Káva zrnková Šumava 1 kg" "Ořechy lískové" "SYR-0301"; do
  grep -qF "$name" text.txt || fail "text \"$name\" not in the PDF"
done
echo "1 passed, 0 failed"
