#!/usr/bin/env bash
# End to end: the bundled examples printed by `korval print` to a PDF, the PDF
# rasterised and every barcode on it scanned back to the goods' EAN digits,
# and the goods' names found in its text with their Czech letters: the goods
# CSV, the same goods as 494-byte records, and a CSV in Windows-1250.
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

# The same goods as a host keeps them, 494-byte records (examples/goods.rec,
# made from goods.csv by scripts/make-example-records): the same labels.
"$korval" print --forms "$source_dir/examples/forms" --format Cenovka \
  --goods "$source_dir/examples/goods.rec" --pdf "$work/records.pdf" > records.out
grep -qF "1 sheet written to $work/records.pdf" records.out || fail "records: $(cat records.out)"
pdftotext -enc UTF-8 records.pdf records.txt
cmp -s text.txt records.txt || fail "the records printed other labels than the CSV: $(diff text.txt records.txt | head)"
pdftoppm -r 200 -png records.pdf records
scanned=$(zbarimg -q records-*.png 2>/dev/null | sort -u)
[ "$scanned" = "$expected" ] || fail "records: barcodes differ: expected [$expected], scanned [$scanned]"

# Goods in Windows-1250 with CR LF lines (examples/goods-cp1250.csv): found
# not to be UTF-8 and read as Windows-1250, which the program says once;
# with --encoding cp1250 it is not said.
cp1250=$source_dir/examples/goods-cp1250.csv
"$korval" print --forms "$source_dir/examples/forms" --format Cenovka \
  --goods "$cp1250" --pdf "$work/cp1250.pdf" > cp1250.out 2> cp1250.err
grep -qF "1 sheet written to $work/cp1250.pdf" cp1250.out || fail "cp1250: $(cat cp1250.out)"
[ "$(grep -c "is not UTF-8; read as Windows-1250" cp1250.err)" = 1 ] ||
  fail "cp1250: the encoding not said once: $(cat cp1250.err)"
"$korval" print --forms "$source_dir/examples/forms" --format Cenovka \
  --goods "$cp1250" --encoding cp1250 --pdf "$work/named.pdf" > /dev/null 2> named.err
[ ! -s named.err ] || fail "cp1250 named: $(cat named.err)"
pdftotext -enc UTF-8 cp1250.pdf cp1250.txt
# 2 + 3 + 4 + 1 = 10 labels.
count=$(grep -c "^ZEL-0110$\|^ZEL-0220$\|^PEC-0043$\|^SYR-0666$" cp1250.txt || true)
[ "$count" = 10 ] || fail "cp1250: expected 10 labels, found $count catalogue numbers"
for name in "Šťovík kyselý svazek" "Řepa červená vařená" "Pečivo: rohlík tukový" "Ďáblík – sýr s chilli"; do
  grep -qF "$name" cp1250.txt || fail "cp1250: text \"$name\" not in the PDF"
done
expected=$(awk -F';' 'NR > 1 && $6 != "" {print "EAN-13:" $6}' "$cp1250" | sort -u)
pdftoppm -r 200 -png cp1250.pdf cp1250
scanned=$(zbarimg -q cp1250-*.png 2>/dev/null | sort -u)
[ "$scanned" = "$expected" ] || fail "cp1250: barcodes differ: expected [$expected], scanned [$scanned]"
echo "3 passed, 0 failed"
