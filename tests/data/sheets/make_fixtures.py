#!/usr/bin/python3
"""Makes the spreadsheet fixtures of the import tests (run once, results committed).

  /usr/bin/python3 tests/data/sheets/make_fixtures.py tests/data/sheets

.xlsx through openpyxl, .ods through odfpy (python3-openpyxl, python3-odf),
CSV texts as bytes. A few .xlsx cases openpyxl never writes (inline strings,
rows and cells without "r", a formula with its cached value, an <x:> prefix)
are written as package XML by hand, the way other programs write them.
"""
import os
import sys
import zipfile

import openpyxl
from odf.opendocument import OpenDocumentSpreadsheet
from odf.table import Table, TableRow, TableCell, CoveredTableCell
from odf.text import P, S

out = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))


def xlsx_basic():
    wb = openpyxl.Workbook()
    ws = wb.active
    ws.title = "Parts"
    ws.append(["Length", "Width", "Qty", "Name"])
    ws.append([72, 56, 2, "Side"])
    ws.append([2.5, "30,5", 1, "Top"])
    ws.append([0.1 + 0.2, 120, 4, "Shelf"])
    ws.append([1234567.891, 1e-7, 3, "Šifra čvor"])
    ws.append([True, False, None, "  two  spaces  "])
    # A sparse cell far away.
    ws["H20"] = "far"
    ws2 = wb.create_sheet("Sheets")
    ws2["B2"] = 280
    ws2["C2"] = 207
    ws2["D2"] = 3
    ws2["E2"] = "Oak"
    wb.create_sheet("Empty")
    wb.save(os.path.join(out, "basic.xlsx"))


def xlsx_big(rows=10000):
    wb = openpyxl.Workbook(write_only=True)
    ws = wb.create_sheet("Big")
    for r in range(1, rows + 1):
        ws.append([100 + r % 700 + 0.5, 50 + r % 300, 1 + r % 9, "P%d" % r])
    wb.save(os.path.join(out, "big.xlsx"))


def xlsx_parts300():
    """300 part rows for the import round trip with the example project."""
    wb = openpyxl.Workbook()
    ws = wb.active
    ws.title = "List"
    ws.append(["L", "W", "Q", "Label"])
    for r in range(300):
        ws.append([20 + (r * 37) % 80 + (0.5 if r % 3 == 0 else 0), 10 + (r * 53) % 50, 1 + r % 3, "R%d" % (r + 1)])
    wb.save(os.path.join(out, "parts300.xlsx"))
    # The same rows as plain text, for the test that types them.
    with open(os.path.join(out, "parts300.txt"), "w") as f:
        for row in ws.iter_rows(min_row=2, values_only=True):
            f.write("\t".join(str(v) if not isinstance(v, float) or v != int(v) else str(int(v)) for v in row) + "\n")


CT = ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
      '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
      '<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>'
      '<Default Extension="xml" ContentType="application/xml"/>'
      '<Override PartName="/xl/workbook.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/>'
      '<Override PartName="/xl/worksheets/sheet1.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"/>'
      '</Types>')
RELS = ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
        '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
        '<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="xl/workbook.xml"/>'
        '</Relationships>')
WB = ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
      '<x:workbook xmlns:x="http://schemas.openxmlformats.org/spreadsheetml/2006/main" '
      'xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">'
      '<x:sheets><x:sheet name="Hand" sheetId="1" r:id="rId7"/></x:sheets></x:workbook>')
WBRELS = ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
          '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
          '<Relationship Id="rId7" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="/xl/worksheets/sheet1.xml"/>'
          '<Relationship Id="rId8" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings" Target="sharedStrings.xml"/>'
          '</Relationships>')
SST = ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
       '<x:sst xmlns:x="http://schemas.openxmlformats.org/spreadsheetml/2006/main" count="2" uniqueCount="2">'
       '<x:si><x:t>Plain</x:t></x:si>'
       '<x:si><x:r><x:t>Rich </x:t></x:r><x:r><x:rPr><x:b/></x:rPr><x:t>text</x:t></x:r>'
       '<x:rPh sb="0" eb="1"><x:t>phonetic</x:t></x:rPh></x:si>'
       '</x:sst>')


def sheet_xml(rows_xml):
    return ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
            '<x:worksheet xmlns:x="http://schemas.openxmlformats.org/spreadsheetml/2006/main">'
            '<x:dimension ref="A1:XFD1048576"/><x:sheetData>' + rows_xml + '</x:sheetData></x:worksheet>')


def write_package(name, parts):
    with zipfile.ZipFile(os.path.join(out, name), "w", zipfile.ZIP_DEFLATED) as z:
        for part, text in parts.items():
            z.writestr(part, text)


def xlsx_hand():
    rows = (
        # No "r" on the row or its cells: row 1, columns A, B, C, D.
        '<x:row><x:c t="inlineStr"><x:is><x:t>inline</x:t></x:is></x:c>'
        '<x:c t="s"><x:v>0</x:v></x:c><x:c t="s"><x:v>1</x:v></x:c><x:c><x:v>42</x:v></x:c></x:row>'
        # Row 2 by position, its cells with "r", one skipped.
        '<x:row><x:c r="A2"><x:f>B2*2</x:f><x:v>5</x:v></x:c>'
        '<x:c r="C2" t="str"><x:f>"a"&amp;"b"</x:f><x:v>ab</x:v></x:c>'
        '<x:c r="D2" t="e"><x:v>#DIV/0!</x:v></x:c><x:c r="E2" t="b"><x:v>1</x:v></x:c></x:row>'
        # Row 5 with "r"; a styled cell without a value; 0.30000000000000004.
        '<x:row r="5"><x:c r="A5" s="1"/><x:c r="B5"><x:v>0.30000000000000004</x:v></x:c>'
        '<x:c r="C5"><x:v>-0</x:v></x:c><x:c r="D5"><x:v>1E+20</x:v></x:c></x:row>'
    )
    parts = {"[Content_Types].xml": CT, "_rels/.rels": RELS, "xl/workbook.xml": WB,
             "xl/_rels/workbook.xml.rels": WBRELS, "xl/sharedStrings.xml": SST,
             "xl/worksheets/sheet1.xml": sheet_xml(rows)}
    write_package("hand.xlsx", parts)
    # Damaged variants.
    bad = dict(parts)
    bad["xl/worksheets/sheet1.xml"] = sheet_xml('<x:row r="1"><x:c r="A1" t="s"><x:v>2</x:v></x:c></x:row>')
    write_package("bad-shared-index.xlsx", bad)
    bad = dict(parts)
    del bad["xl/worksheets/sheet1.xml"]
    write_package("missing-sheet.xlsx", bad)
    bad = dict(parts)
    del bad["xl/workbook.xml"]
    write_package("missing-workbook.xlsx", bad)
    bad = dict(parts)
    bad["xl/worksheets/sheet1.xml"] = sheet_xml('<x:row r="1"><x:c r="A1"><x:v>1</x:v></x:c>')
    write_package("malformed-xml.xlsx", bad)
    bad = dict(parts)
    bad["xl/worksheets/sheet1.xml"] = sheet_xml('<x:row r="1048577"><x:c r="A1048577"><x:v>1</x:v></x:c></x:row>')
    write_package("row-too-far.xlsx", bad)
    # Truncated: the first half of a good file.
    with open(os.path.join(out, "hand.xlsx"), "rb") as f:
        data = f.read()
    with open(os.path.join(out, "truncated.xlsx"), "wb") as f:
        f.write(data[: len(data) // 2])


def ods_cell(value=None, text=None, vtype=None, repeat=None, **attrs):
    kw = {}
    if vtype:
        kw["valuetype"] = vtype
    if value is not None:
        kw["value"] = value
    if repeat:
        kw["numbercolumnsrepeated"] = repeat
    kw.update(attrs)
    c = TableCell(**kw)
    if text is not None:
        c.addElement(P(text=text))
    return c


def ods_basic():
    doc = OpenDocumentSpreadsheet()
    t = Table(name="Parts")
    r = TableRow()
    for h in ["Length", "Width", "Qty", "Name"]:
        r.addElement(ods_cell(vtype="string", text=h))
    t.addElement(r)
    r = TableRow()
    r.addElement(ods_cell(72, "72", "float"))
    r.addElement(ods_cell(56, "56", "float"))
    r.addElement(ods_cell(2, "2", "float"))
    r.addElement(ods_cell(vtype="string", text="Side"))
    t.addElement(r)
    # The displayed text differs from the value: the value counts.
    r = TableRow()
    r.addElement(ods_cell("2.5", "2,50", "float"))
    r.addElement(ods_cell(vtype="string", text="30,5"))
    r.addElement(ods_cell("0.25", "25 %", "percentage"))
    p = P(text="two")
    p.addElement(S(c=3))
    p.addText("spaces")
    c = TableCell(valuetype="string")
    c.addElement(p)
    r.addElement(c)
    t.addElement(r)
    # Three equal rows in one element, each of two equal cells then a boolean.
    r = TableRow(numberrowsrepeated=3)
    r.addElement(ods_cell("7", "7", "float", repeat=2))
    r.addElement(ods_cell(vtype="boolean", booleanvalue="true", text="TRUE"))
    t.addElement(r)
    # A merged cell: B7 spans two columns, C7 is covered.
    r = TableRow()
    r.addElement(ods_cell(vtype="string", text="A7"))
    r.addElement(ods_cell(vtype="string", text="merged", numbercolumnsspanned=2))
    cc = CoveredTableCell()
    r.addElement(cc)
    r.addElement(ods_cell(vtype="string", text="D7"))
    t.addElement(r)
    # What an office suite writes after the last filled row.
    r = TableRow(numberrowsrepeated=1048569)
    r.addElement(ods_cell(repeat=1024))
    t.addElement(r)
    doc.spreadsheet.addElement(t)
    t2 = Table(name="Sheets")
    r = TableRow(numberrowsrepeated=1)
    r.addElement(ods_cell(repeat=16000))
    r.addElement(ods_cell(280, "280", "float"))
    t2.addElement(r)
    doc.spreadsheet.addElement(t2)
    doc.save(os.path.join(out, "basic.ods"))


def ods_hostile():
    # A filled row repeated a million times: refused, not allocated.
    doc = OpenDocumentSpreadsheet()
    t = Table(name="Huge")
    r = TableRow(numberrowsrepeated=1048576)
    r.addElement(ods_cell("1", "1", "float"))
    t.addElement(r)
    doc.spreadsheet.addElement(t)
    doc.save(os.path.join(out, "huge-rows.ods"))
    # A filled cell repeated past the last column.
    doc = OpenDocumentSpreadsheet()
    t = Table(name="Wide")
    r = TableRow()
    r.addElement(ods_cell("1", "1", "float", repeat=20000))
    t.addElement(r)
    doc.spreadsheet.addElement(t)
    doc.save(os.path.join(out, "wide-cells.ods"))
    # A package without content.xml.
    with zipfile.ZipFile(os.path.join(out, "no-content.ods"), "w") as z:
        z.writestr("mimetype", "application/vnd.oasis.opendocument.spreadsheet")
        z.writestr("styles.xml", "<x/>")


def ods_big(rows=10000):
    doc = OpenDocumentSpreadsheet()
    t = Table(name="Big")
    for r in range(1, rows + 1):
        row = TableRow()
        vals = [100 + r % 700 + 0.5, 50 + r % 300, 1 + r % 9]
        for v in vals:
            s = repr(v) if isinstance(v, float) else str(v)
            row.addElement(ods_cell(s, s, "float"))
        row.addElement(ods_cell(vtype="string", text="P%d" % r))
        t.addElement(row)
    doc.spreadsheet.addElement(t)
    doc.save(os.path.join(out, "big.ods"))


def csv_files():
    def w(name, data):
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)
    w("comma.csv", b'Length,Width,Qty,Name\r\n72,56,2,Side\r\n2.5,30.5,1,"Top, left"\r\n')
    w("semicolon-bom.csv", "\ufeffLength;Width;Qty;Name\n72;56;2;Šifra\n2,5;30,5;1;\"say \"\"hi\"\"\"\n".encode("utf-8"))
    w("tab-1252.txt", "Length\tWidth\tQty\tName\r\n72\t56\t2\tGröße\r\n2.5\t30.5\t1\t\"two\nlines\"\r\n".encode("cp1252"))
    w("utf16.txt", "Length\tWidth\tQty\tName\r\n72\t56\t2\tŠifra\r\n".encode("utf-16"))
    w("open-quote.csv", b'a,b\n1,"never closed\n2,3\n')


xlsx_basic()
xlsx_big()
xlsx_parts300()
xlsx_hand()
ods_basic()
ods_hostile()
ods_big()
csv_files()
