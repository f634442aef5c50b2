#!/usr/bin/env bash
# velmora-cli print on the example project: a PDF whose pages follow from the
# number of layout groups and whose text holds every printed part; failures
# that leave no file behind.
set -euo pipefail
bin=$1
src=$2
cli="$bin/velmora-cli"
if ! "$cli" help 2>&1 | grep -q '^ *print '; then
    echo "print: not built"; exit 77
fi
command -v pdftotext > /dev/null || { echo "print: pdftotext missing"; exit 77; }
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
example="$src/examples/kitchen.vlp"
export SOURCE_DATE_EPOCH=1796803503  # 2026-12-09 08:05:03 UTC

"$cli" print --lang English "$example" --optimize --pdf "$tmp/all.pdf" --per-page 2 --cover --report --bill --lists \
    > "$tmp/out.txt"
groups=$("$cli" optimize "$example" --json - 2> /dev/null | python3 -c 'import json,sys; print(len(json.load(sys.stdin)["groups"]))')
pages=$(pdfinfo "$tmp/all.pdf" | awk '/^Pages:/ {print $2}')
pdftotext -layout "$tmp/all.pdf" "$tmp/all.txt"
report_pages=$("$cli" print --lang English "$example" --optimize --pdf "$tmp/r.pdf" --report --groups 1-1 | sed 's/.*: \([0-9]*\) page.*/\1/')
report_pages=$((report_pages - 1))
# cover + report + ceil(groups / 2) layout pages + bill + sheet list + part list
expected=$((1 + report_pages + (groups + 1) / 2 + 1 + 1 + 1))
[ "$pages" -eq "$expected" ] || { echo "pages: $pages, expected $expected ($groups groups)"; exit 1; }
grep -q "$tmp/all.pdf: $pages page(s)" "$tmp/out.txt"

# The cover's captions, the layout headers, the report, the bill and both lists.
for text in 'Client:' 'Address:' 'Phone:' 'Note:' 'Author:' 'Company:' 'Date:' '09/12/2026 *- *08:05' \
            'CUTTING REPORT' 'BILL' 'SHEETS-Unit of measure(cm) 09/12/2026' 'PARTS-Unit of measure(cm)' \
            'Printed: 09/12/2026 08:05:03'; do
    grep -q -- "$text" "$tmp/all.txt" || { echo "missing in the PDF text: $text"; exit 1; }
done
[ "$(grep -c 'PI%=' "$tmp/all.txt")" -eq "$groups" ] || { echo "not one header per group"; exit 1; }
# " Velmora " on every layout page.
first_layout=$((2 + report_pages))
for ((p = first_layout; p < first_layout + (groups + 1) / 2; ++p)); do
    pdftotext -f $p -l $p "$tmp/all.pdf" - | grep -q 'Velmora$\|^Velmora\| Velmora' || { echo "page $p: no Velmora"; exit 1; }
    pdftotext -f $p -l $p "$tmp/all.pdf" - | grep -q "Velmora$((p - first_layout + 1)) -kitchen.vlp" \
        || { echo "page $p: no page line"; exit 1; }
done
pdffonts "$tmp/all.pdf" | grep -q 'DejaVuSans .* yes' || { echo "DejaVu Sans not embedded"; exit 1; }

# Two copies, four to a page: each copy on a page of its own.
"$cli" print "$example" --optimize --pdf "$tmp/copies.pdf" --per-page 4 --copies 2 > /dev/null
[ "$(pdfinfo "$tmp/copies.pdf" | awk '/^Pages:/ {print $2}')" -eq $((2 * ((groups + 3) / 4))) ]

# Letter paper.
"$cli" print "$example" --optimize --pdf "$tmp/letter.pdf" --paper letter > /dev/null
pdfinfo "$tmp/letter.pdf" | grep -q 'Page size: *792 x 612 pts (letter)'

# Failures: exit 2, a message with the path or the range, no file.
set +e
"$cli" print "$example" --optimize --pdf "$tmp/missing/out.pdf" 2> "$tmp/err1.txt"; s1=$?
"$cli" print "$example" --optimize --pdf "$tmp/range.pdf" --groups "2-$((groups + 1))" 2> "$tmp/err2.txt"; s2=$?
"$cli" print "$example" --pdf "$tmp/noresult.pdf" 2> "$tmp/err3.txt"; s3=$?
"$cli" print "$example" --optimize --pdf "$tmp/x.pdf" --per-page 3 2> /dev/null; s4=$?
set -e
[ "$s1" -eq 2 ] && grep -q "message 441" "$tmp/err1.txt" && grep -q "$tmp/missing/out.pdf" "$tmp/err1.txt" \
    || { echo "unwritable PDF: status $s1"; cat "$tmp/err1.txt"; exit 1; }
[ "$s2" -eq 2 ] && grep -q "message 442" "$tmp/err2.txt" || { echo "range: status $s2"; exit 1; }
[ "$s3" -eq 2 ] && grep -q "message 444" "$tmp/err3.txt" || { echo "no result: status $s3"; exit 1; }
[ "$s4" -eq 2 ] || { echo "--per-page 3: status $s4"; exit 1; }
[ ! -e "$tmp/range.pdf" ] && [ ! -e "$tmp/noresult.pdf" ] && [ ! -e "$tmp/x.pdf" ] && [ ! -e "$tmp/missing" ]
[ -z "$(ls "$tmp" | grep -v '\.\(pdf\|txt\)$')" ] || { echo "temporary files left"; ls "$tmp"; exit 1; }
echo "print: ok"
