#!/usr/bin/env bash
# velmora-cli import on workbooks made here by real tools (openpyxl, odfpy) and
# on hostile ones: a zip bomb, a part whose stated size lies, an .ods that
# repeats a filled row a million times. Each gives a message and exit status
# 2 (or reads, for the repeated row) without writing anything.
set -euo pipefail
bin=$1
src=$2
cli="$bin/velmora-cli"
py=/usr/bin/python3
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "spreadsheet import: $*"; exit 1; }

if ! $py -c 'import openpyxl, odf' 2>/dev/null; then
    echo "SKIP: python3-openpyxl or python3-odf is not installed"; exit 77
fi

$py - "$tmp" <<'PY'
import sys, os, zipfile, zlib, struct
import openpyxl
from odf.opendocument import OpenDocumentSpreadsheet
from odf.table import Table, TableRow, TableCell
from odf.text import P
out = sys.argv[1]

wb = openpyxl.Workbook()
ws = wb.active
ws.title = "Cut list"
ws.append(["L", "W", "Q", "Name"])
ws.append([60, 40.5, 2, "Door"])
ws.append(["72,5", 30, 1, "Shelf"])
wb.save(os.path.join(out, "list.xlsx"))

doc = OpenDocumentSpreadsheet()
t = Table(name="Stock")
r = TableRow()
for v in ("280", "207", "3"):
    c = TableCell(valuetype="float", value=v)
    c.addElement(P(text=v))
    r.addElement(c)
c = TableCell(valuetype="string")
c.addElement(P(text="Oak"))
r.addElement(c)
t.addElement(r)
doc.spreadsheet.addElement(t)
doc.save(os.path.join(out, "stock.ods"))

# A worksheet part of 300 MB (blanks), a few hundred kilobytes packed.
with zipfile.ZipFile(os.path.join(out, "list.xlsx")) as z:
    parts = {n: z.read(n) for n in z.namelist()}
with zipfile.ZipFile(os.path.join(out, "bomb.xlsx"), "w", zipfile.ZIP_DEFLATED) as z:
    for n, b in parts.items():
        if n == "xl/worksheets/sheet1.xml":
            with z.open(n, "w", force_zip64=True) as f:
                f.write(b[:200])
                chunk = b" " * (1 << 20)
                for _ in range(300):
                    f.write(chunk)
        else:
            z.writestr(n, b)

# The same bomb whose headers claim 1 KB for the part.
data = bytearray(open(os.path.join(out, "bomb.xlsx"), "rb").read())
def patch(sig, size_off):
    i = 0
    while True:
        i = data.find(sig, i)
        if i < 0:
            return
        name_len = struct.unpack_from("<H", data, i + (28 if sig == b"PK\x03\x04" else 28))[0]
        name_at = i + (30 if sig == b"PK\x03\x04" else 46)
        if data[name_at:name_at + name_len] == b"xl/worksheets/sheet1.xml":
            struct.pack_into("<I", data, i + size_off, 1024)
        i += 4
patch(b"PK\x03\x04", 22)
patch(b"PK\x01\x02", 24)
open(os.path.join(out, "liar.xlsx"), "wb").write(bytes(data))

# A filled row repeated 1,048,576 times.
doc = OpenDocumentSpreadsheet()
t = Table(name="Huge")
r = TableRow(numberrowsrepeated=1048576)
for v in ("10", "20", "1"):
    c = TableCell(valuetype="float", value=v)
    c.addElement(P(text=v))
    r.addElement(c)
t.addElement(r)
doc.spreadsheet.addElement(t)
doc.save(os.path.join(out, "huge.ods"))
PY

"$cli" import "$tmp/list.xlsx" --into parts --worksheet "Cut list" --range A2:D3 --save "$tmp/parts.vlp" \
    2> "$tmp/err.txt" || fail "import of list.xlsx: $(cat "$tmp/err.txt")"
"$cli" show "$tmp/parts.vlp" > "$tmp/show.txt"
grep -q 'Parts (3)' "$tmp/show.txt" || fail "parts total: $(cat "$tmp/show.txt")"
grep -Eq '^ +2 +72\.5 +30 +1 +Shelf +0' "$tmp/show.txt" || fail "72,5 did not arrive as 72.5"

"$cli" import "$tmp/stock.ods" --into sheets --range A1:D1 --project "$tmp/parts.vlp" --save "$tmp/both.vlp" 2> /dev/null
"$cli" show "$tmp/both.vlp" | grep -Eq '^ +1 +280 +207 +3 +Oak' || fail "sheet row from stock.ods"

expect_refusal() {
    local what=$1 number=$2
    shift 2
    set +e
    "$cli" "$@" --save "$tmp/never.vlp" > /dev/null 2> "$tmp/err.txt"
    local status=$?
    set -e
    [ "$status" -eq 2 ] || fail "$what: status $status, expected 2"
    grep -q "message $number" "$tmp/err.txt" || grep -q "$number" "$tmp/err.txt" || fail "$what: $(cat "$tmp/err.txt")"
    [ ! -e "$tmp/never.vlp" ] || fail "$what: a project was written"
    [ -z "${VERBOSE:-}" ] || cat "$tmp/err.txt"
}
expect_refusal "zip bomb" 502 import "$tmp/bomb.xlsx" --into parts --range A2:D3
expect_refusal "lying part size" 50 import "$tmp/liar.xlsx" --into parts --range A2:D3
expect_refusal "comma off" 236 import "$tmp/list.xlsx" --into parts --range A2:D3 --set XlConvComma=0
expect_refusal "million rows" 508 import "$tmp/huge.ods" --into parts --range A1:D1048576

# The million repeated rows are held once: a small block of them imports.
"$cli" import "$tmp/huge.ods" --into parts --range A1048570:C1048576 --save "$tmp/seven.vlp" 2> /dev/null
"$cli" show "$tmp/seven.vlp" | grep -q 'Parts (7)' || fail "seven rows of the repeated row"
echo "spreadsheet import: ok"
