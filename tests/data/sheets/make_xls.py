#!/usr/bin/python3
"""Writes the small .xls (BIFF8) fixtures of the import tests by hand.

  /usr/bin/python3 tests/data/sheets/make_xls.py tests/data/sheets

No program on the build machine writes the old binary format, so this
script writes what a spreadsheet program writes, record by record: a
compound file with one "Workbook" stream holding the globals (BOF, CODEPAGE,
FONT, XF, BOUNDSHEET, SST, EOF) and one substream per worksheet (BOF,
DIMENSIONS, cell records, EOF). The cells use the records spreadsheet
programs write: NUMBER, RK, LABELSST, LABEL and BOOLERR (libfreexl 1.0
gives no value for FORMULA records, so none is written).
"""
import os
import struct
import sys

out = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))

ENDOFCHAIN = 0xFFFFFFFE
FREESECT = 0xFFFFFFFF
FATSECT = 0xFFFFFFFD
NOSTREAM = 0xFFFFFFFF


def record(rtype, data=b""):
    return struct.pack("<HH", rtype, len(data)) + data


def bof(dt):
    return record(0x0809, struct.pack("<HHHHII", 0x0600, dt, 0x0DBB, 0x07CC, 0, 0x06))


def short_string(text):  # ShortXLUnicodeString, stored as UTF-16
    return struct.pack("<BB", len(text), 1) + text.encode("utf-16-le")


def long_string(text):  # XLUnicodeString, UTF-16
    return struct.pack("<HB", len(text), 1) + text.encode("utf-16-le")


def xf(ifmt, style):
    flags = 0xFFF4 if style else 0x0000
    return record(0x00E0, struct.pack("<HHHBBBBIIH", 0, ifmt, flags, 0x20, 0, 0, 0, 0, 0, 0x20C0))


def font():
    name = "Arial"
    return record(0x0031, struct.pack("<HHHHHBBBB", 200, 0, 0x7FFF, 400, 0, 0, 0, 0, 0) + short_string(name))


def rk_integer(n):
    return (n << 2) | 2


def cells_of(sheet, sst):
    data = b""
    for (r, c), v in sorted(sheet.items()):
        kind, value = v
        if kind == "number":
            data += record(0x0203, struct.pack("<HHHd", r, c, 15, value))
        elif kind == "date":
            data += record(0x0203, struct.pack("<HHHd", r, c, 16, value))
        elif kind == "rk":
            data += record(0x027E, struct.pack("<HHHI", r, c, 15, rk_integer(value)))
        elif kind == "sst":
            data += record(0x00FD, struct.pack("<HHHI", r, c, 15, sst.index(value)))
        elif kind == "label":
            data += record(0x0204, struct.pack("<HHH", r, c, 15) + long_string(value))
        elif kind == "bool":
            data += record(0x0205, struct.pack("<HHHBB", r, c, 15, 1 if value else 0, 0))
        elif kind == "formula":
            # Cached value, flags, chn, then the formula: ptgInt of the value.
            rgce = struct.pack("<BH", 0x1E, int(value))
            data += record(0x0006, struct.pack("<HHHdHI", r, c, 15, value, 0, 0) + struct.pack("<H", len(rgce)) + rgce)
    return data


def workbook_stream(sheets):
    sst = []
    for _, cells in sheets:
        for v in cells.values():
            if v[0] == "sst" and v[1] not in sst:
                sst.append(v[1])
    globals_head = bof(0x0005) + record(0x0042, struct.pack("<H", 1200))
    globals_head += b"".join(font() for _ in range(5))
    globals_head += b"".join(xf(0, True) for _ in range(15)) + xf(0, False) + xf(14, False)
    sst_data = struct.pack("<II", len(sst), len(sst)) + b"".join(long_string(s) for s in sst)
    tail = record(0x00FC, sst_data) + record(0x000A)
    boundsheet_sizes = [len(record(0x0085, struct.pack("<IBB", 0, 0, 0) + short_string(name))) for name, _ in sheets]
    offset = len(globals_head) + sum(boundsheet_sizes) + len(tail)
    substreams = []
    boundsheets = b""
    for name, cells in sheets:
        rows = [r for r, _ in cells] or [0]
        cols = [c for _, c in cells] or [0]
        body = bof(0x0010)
        body += record(0x0200, struct.pack("<IIHHH", 0, max(rows) + 1 if cells else 0, 0, max(cols) + 1 if cells else 0, 0))
        body += cells_of(cells, sst) + record(0x000A)
        boundsheets += record(0x0085, struct.pack("<IBB", offset, 0, 0) + short_string(name))
        substreams.append(body)
        offset += len(body)
    return globals_head + boundsheets + tail + b"".join(substreams)


def compound_file(stream):
    # Regular sectors only: a stream under 4096 bytes would go to the mini
    # stream, so the workbook is padded (spreadsheet programs pad it too).
    if len(stream) < 4096:
        stream += b"\0" * (4096 - len(stream))
    n = (len(stream) + 511) // 512
    stream_padded = stream + b"\0" * (n * 512 - len(stream))
    dir_sector = n
    fat_sector = n + 1
    fat = [i + 1 for i in range(n - 1)] + [ENDOFCHAIN, ENDOFCHAIN, FATSECT]
    fat += [FREESECT] * (128 - len(fat))
    assert len(fat) == 128

    def entry(name, etype, child, start, size):
        if not name:
            return b"\0" * 64 + struct.pack("<HBB", 0, 0, 0) + struct.pack("<III", NOSTREAM, NOSTREAM, NOSTREAM) + \
                b"\0" * 16 + struct.pack("<I", 0) + b"\0" * 16 + struct.pack("<IQ", 0, 0)
        raw = (name + "\0").encode("utf-16-le")
        return raw + b"\0" * (64 - len(raw)) + struct.pack("<HBB", len(raw), etype, 1) + \
            struct.pack("<III", NOSTREAM, NOSTREAM, child) + b"\0" * 16 + struct.pack("<I", 0) + b"\0" * 16 + \
            struct.pack("<IQ", start, size)

    directory = entry("Root Entry", 5, 1, ENDOFCHAIN, 0) + entry("Workbook", 2, NOSTREAM, 0, len(stream)) + \
        entry("", 0, 0, 0, 0) + entry("", 0, 0, 0, 0)
    difat = [fat_sector] + [FREESECT] * 108
    header = bytes.fromhex("D0CF11E0A1B11AE1") + b"\0" * 16 + struct.pack("<HHHHH", 0x3E, 3, 0xFFFE, 9, 6) + \
        b"\0" * 6 + struct.pack("<IIIIIIIII", 0, 1, dir_sector, 0, 4096, ENDOFCHAIN, 0, ENDOFCHAIN, 0) + \
        struct.pack("<109I", *difat)
    assert len(header) == 512
    return header + stream_padded + directory + struct.pack("<128I", *fat)


parts = {
    (0, 0): ("sst", "Length"), (0, 1): ("sst", "Width"), (0, 2): ("sst", "Qty"), (0, 3): ("sst", "Name"),
    (1, 0): ("rk", 72), (1, 1): ("number", 56.0), (1, 2): ("rk", 2), (1, 3): ("sst", "Side"),
    (2, 0): ("number", 2.5), (2, 1): ("label", "30,5"), (2, 2): ("rk", 3), (2, 3): ("sst", "Šifra"),
    (3, 0): ("number", 0.1 + 0.2), (3, 1): ("number", 120.0), (3, 2): ("bool", True), (3, 3): ("date", 45000.0),
}
stock = {(1, 1): ("rk", 280), (1, 2): ("rk", 207), (1, 3): ("rk", 3), (1, 4): ("sst", "Oak")}
with open(os.path.join(out, "basic.xls"), "wb") as f:
    f.write(compound_file(workbook_stream([("Parts", parts), ("Sheets", stock)])))
with open(os.path.join(out, "basic.xls"), "rb") as f:
    good = f.read()
# Damaged: the compound file cut inside the workbook stream, and bytes that are no compound file.
with open(os.path.join(out, "truncated.xls"), "wb") as f:
    f.write(good[:1500])
with open(os.path.join(out, "not-biff.xls"), "wb") as f:
    f.write(b"Length,Width\n1,2\n")
