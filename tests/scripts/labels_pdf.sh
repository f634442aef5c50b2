#!/usr/bin/env bash
# velmora-cli labels on the example project: one page per 24 labels on the
# A4 3 x 8 style, every part label with its size and name, in the order of
# the part table; styles and definitions files that cannot be printed are
# refused with a message and no file.
set -euo pipefail
bin=$1
src=$2
cli="$bin/velmora-cli"
if ! "$cli" help 2>&1 | grep -q '^ *labels '; then
    echo "labels: not built"; exit 77
fi
command -v pdftotext > /dev/null || { echo "labels: pdftotext missing"; exit 77; }
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
example="$src/examples/kitchen.vlp"
export SOURCE_DATE_EPOCH=1796803503  # 2026-12-09 08:05:03 UTC

# A result stored in the project (the run sorts the part table, so the labels
# follow the saved table).
"$cli" optimize "$example" --save "$tmp/k.vlp" > /dev/null 2>&1
"$cli" labels --lang English "$tmp/k.vlp" --pdf "$tmp/l.pdf" --kinds parts,offcuts --style 1 > "$tmp/out.txt"
labels=$(sed -n 's/.*: \([0-9]*\) label(s) on \([0-9]*\) page(s)$/\1/p' "$tmp/out.txt")
pages=$(pdfinfo "$tmp/l.pdf" | awk '/^Pages:/ {print $2}')
[ -n "$labels" ] || { echo "no label count in: $(cat "$tmp/out.txt")"; exit 1; }
[ "$pages" -eq $(((labels + 23) / 24)) ] || { echo "pages: $pages for $labels labels"; exit 1; }
grep -q "$tmp/l.pdf: $labels label(s) on $pages page(s)" "$tmp/out.txt"
pdfinfo "$tmp/l.pdf" | grep -q 'Title: *VELM Label Printing'
pdfinfo "$tmp/l.pdf" | grep -q 'Page size: *595.* x 84[12].* pts (A4)'

# The part table (size, name, quantity) and the labels in print order: each
# part row gives quantity labels whose first two lines are "L x W" and its name.
"$cli" show "$tmp/k.vlp" 2> /dev/null | awk '/^Parts \(/ {p = 1; getline; next} /^$/ {p = 0} p && NF >= 5 {print $2 " x " $3 "\t" $5 "\t" $4}' \
    > "$tmp/parts.tsv" || true
pdftotext -raw "$tmp/l.pdf" "$tmp/l.txt"
python3 - "$tmp/parts.tsv" "$tmp/l.txt" "$labels" << 'PY'
import sys, unicodedata
rows = [l.rstrip("\n").split("\t") for l in open(sys.argv[1], encoding="utf-8") if l.strip()]
# NFKC undoes the "ff" ligature of "Offcut".
lines = [unicodedata.normalize("NFKC", l.rstrip("\n").lstrip("\f")) for l in open(sys.argv[2], encoding="utf-8")]
assert rows, "no part rows read"
expected = []
for size, name, qty in rows:
    expected += [(size, name)] * int(qty)
found = []
for i, l in enumerate(lines[:-1]):
    if " x " in l and not l.startswith("Offcut") and not l.startswith("Project"):
        found.append((l, lines[i + 1]))
assert found[:len(expected)] == expected, (found[:5], expected[:5], len(found), len(expected))
offcuts = sum(1 for l in lines if l.startswith("Offcut "))
assert offcuts + len(expected) == int(sys.argv[3]), (offcuts, len(expected), sys.argv[3])
assert "Client: Ana Petrović" in lines and "09/12/2026 - 08:05" in lines, lines[:8]
PY

# The used-sheet labels alone: one per cut sheet.
"$cli" labels "$example" --optimize --pdf "$tmp/s.pdf" --kinds sheets > "$tmp/s.txt"
cut=$("$cli" optimize "$example" --json - 2> /dev/null | python3 -c 'import json,sys; print(sum(g["multiplicity"] for g in json.load(sys.stdin)["groups"]))')
grep -q ": $cut label(s) on 1 page(s)" "$tmp/s.txt" || { echo "sheets: $(cat "$tmp/s.txt"), expected $cut"; exit 1; }

# A program folder of our own for broken definitions files.
home="$tmp/home"
mkdir -p "$home"
cp -r "$bin/Config" "$bin/Lang" "$home/"
defs="$home/Config/velmlabels.xml"
run() { VELMORA_HOME="$home" "$cli" labels --lang English "$example" --optimize --pdf "$tmp/x.pdf" "$@"; }
set +e
python3 -c 'import sys; p=sys.argv[1]; t=open(p).read().replace("<LayoutRows>8</LayoutRows>", "<LayoutRows>0</LayoutRows>", 1); open(p, "w").write(t)' "$defs"
run 2> "$tmp/e1.txt"; s1=$?
cp "$bin/Config/velmlabels.xml" "$defs"
python3 -c 'import sys; p=sys.argv[1]; t=open(p).read().replace("<SizeLength>70</SizeLength>", "<SizeLength>230</SizeLength>", 1); open(p, "w").write(t)' "$defs"
run 2> "$tmp/e2.txt"; s2=$?
head -c 300 "$bin/Config/velmlabels.xml" > "$defs"
run 2> "$tmp/e3.txt"; s3=$?
cmp -s "$defs" <(head -c 300 "$bin/Config/velmlabels.xml"); kept=$?
rm "$defs"
run 2> "$tmp/e4.txt"; s4=$?
[ -e "$defs" ]; made=$?
cp "$bin/Config/velmlabels.xml" "$defs"
run --style "No such style" 2> "$tmp/e5.txt"; s5=$?
run --kinds parts,doors 2> "$tmp/e6.txt"; s6=$?
"$cli" labels --lang English "$example" --pdf "$tmp/x.pdf" 2> "$tmp/e7.txt"; s7=$?
set -e
for s in $s1 $s2 $s3 $s4 $s5 $s6 $s7; do [ "$s" -eq 2 ] || { echo "exit $s, expected 2"; exit 1; }; done
[ ! -e "$tmp/x.pdf" ] || { echo "a refused run left a PDF"; exit 1; }
grep -q 'no rows or no columns.*A4 3 x 8 (70 x 37 mm)' "$tmp/e1.txt" || { cat "$tmp/e1.txt"; exit 1; }
grep -q 'do not fit on the page.*A4 3 x 8' "$tmp/e2.txt" || { cat "$tmp/e2.txt"; exit 1; }
grep -q "label definitions file cannot be read.*$defs" "$tmp/e3.txt" || { cat "$tmp/e3.txt"; exit 1; }
[ "$kept" -eq 0 ] || { echo "the damaged file was changed"; exit 1; }
grep -q "label definitions file cannot be read.*$defs" "$tmp/e4.txt" || { cat "$tmp/e4.txt"; exit 1; }
[ "$made" -ne 0 ] || { echo "a missing definitions file was made"; exit 1; }
grep -q 'not in the label definitions file.*No such style' "$tmp/e5.txt" || { cat "$tmp/e5.txt"; exit 1; }
grep -q 'doors' "$tmp/e6.txt" || { cat "$tmp/e6.txt"; exit 1; }
grep -q 'no cutting result' "$tmp/e7.txt" || { cat "$tmp/e7.txt"; exit 1; }
echo "labels: $labels labels on $pages pages"
