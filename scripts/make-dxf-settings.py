#!/usr/bin/env python3
"""Writes data/Config/velmdxf.xml: the DXF export settings shipped with the program.

The program fills in the layer records and the entities; the three templates of each release
(h1, h2, h3) supply everything around them so that the result is a complete DXF file of that
release. Template handles stay at or below 0xBE: the program's handles start at 0xBF. From
AutoCAD 2000 on, layer i points (group 390) at handle 0xC0 + 2i, so the templates define six
plot-style placeholders with exactly those handles.

Usage: scripts/make-dxf-settings.py [OUTPUT]   (default data/Config/velmdxf.xml)
"""
import os
import sys
from xml.sax.saxutils import escape

RELEASES = [
    ("AutoCAD 2.5", "AC1002"), ("AutoCAD 2.6", "AC1003"), ("AutoCAD R9", "AC1004"),
    ("AutoCAD R10", "AC1006"), ("AutoCAD R11", "AC1009"), ("AutoCAD R13", "AC1012"),
    ("AutoCAD R14", "AC1014"), ("AutoCAD 2000", "AC1015"), ("AutoCAD 2002", "AC1015"),
    ("AutoCAD 2004", "AC1018"),
]
ACTIVE = 7  # AutoCAD 2000: read by every current CAD program
LAYERS = [("0", 7), ("Parts", 5), ("PartLabels", 3), ("PartSizes", 7), ("Offcuts", 1), ("OffcutSizes", 6)]
# item name, layer, output: part rectangles, part labels, part sizes, offcut rectangles,
# offcut sizes, sheet headers
ITEMS = [("Parts", 1), ("PartLabels", 2), ("PartSizes", 3), ("Offcuts", 4), ("OffcutSizes", 5), ("Headers", 0)]
SEED = "FFFFFF"


class Handles:
    def __init__(self):
        self.next = 0x10

    def new(self):
        h = self.next
        self.next += 1
        assert h <= 0xBE, "template handles must stay below the program's 00BF"
        return "%X" % h


def pairs(*items):
    out = []
    for code, value in items:
        out += [str(code), str(value)]
    return out


def old_release(acadver, handled):
    """2.5 to R11: HEADER, TABLES (VPORT from R10, LTYPE, LAYER | STYLE), ENTITIES."""
    h1 = pairs((0, "SECTION"), (2, "HEADER"), (9, "$ACADVER"), (1, acadver))
    if handled:
        h1 += pairs((9, "$DWGCODEPAGE"), (3, "ANSI_1252"), (9, "$HANDLING"), (70, 1), (9, "$HANDSEED"), (5, SEED))
    h1 += pairs((9, "$INSBASE"), (10, "0.0"), (20, "0.0"), (30, "0.0"),
                (9, "$EXTMIN"), (10, "0.0"), (20, "0.0"), (30, "0.0"),
                (9, "$EXTMAX"), (10, "0.0"), (20, "0.0"), (30, "0.0"),
                (9, "$LIMMIN"), (10, "0.0"), (20, "0.0"),
                (9, "$LIMMAX"), (10, "0.0"), (20, "0.0"))
    if not handled:
        # Before R10 there is no VPORT table: the view lives in the header.
        h1 += pairs((9, "$VIEWCTR"), (10, "*xcenterview*"), (20, "*ycenterview*"), (9, "$VIEWSIZE"), (40, "*viewheight"))
    h1 += pairs((0, "ENDSEC"), (0, "SECTION"), (2, "TABLES"))
    if handled:
        h1 += pairs((0, "TABLE"), (2, "VPORT"), (70, 1),
                    (0, "VPORT"), (2, "*ACTIVE"), (70, 0), (10, "0.0"), (20, "0.0"), (11, "1.0"), (21, "1.0"),
                    (12, "*xcenterview*"), (22, "*ycenterview*"), (13, "0.0"), (23, "0.0"), (14, "1.0"), (24, "1.0"),
                    (15, "0.0"), (25, "0.0"), (16, "0.0"), (26, "0.0"), (36, "1.0"), (17, "0.0"), (27, "0.0"),
                    (37, "0.0"), (40, "*viewheight"), (41, "1.5"), (42, "50.0"), (43, "0.0"), (44, "0.0"),
                    (50, "0.0"), (51, "0.0"), (71, 0), (72, 100), (73, 1), (74, 3), (75, 0), (76, 0), (77, 0),
                    (78, 0),
                    (0, "ENDTAB"))
    h1 += pairs((0, "TABLE"), (2, "LTYPE"), (70, 1),
                (0, "LTYPE"), (2, "CONTINUOUS"), (70, 0), (3, "Solid line"), (72, 65), (73, 0), (40, "0.0"),
                (0, "ENDTAB"),
                (0, "TABLE"), (2, "LAYER"), (70, 6))
    h2 = pairs((0, "ENDTAB"),
               (0, "TABLE"), (2, "STYLE"), (70, 1),
               (0, "STYLE"), (2, "STANDARD"), (70, 0), (40, "0.0"), (41, "1.0"), (50, "0.0"), (71, 0), (42, "2.5"),
               (3, "txt"),
               (0, "ENDTAB"), (0, "ENDSEC"),
               (0, "SECTION"), (2, "ENTITIES"))
    h3 = pairs((0, "ENDSEC"), (0, "EOF"))
    return h1, h2, h3


def new_release(acadver):
    """R13 to 2004: AutoCAD's minimum file (CLASSES, all tables, the two layout blocks, OBJECTS)."""
    r2000 = acadver >= "AC1015"
    hd = Handles()

    def table(name, count, extra=()):
        h = hd.new()
        return h, pairs((0, "TABLE"), (2, name), (5, h), (330, 0), (100, "AcDbSymbolTable"), (70, count), *extra)

    def record(kind, owner, subclass, *fields, code=5):
        h = hd.new()
        return h, pairs((0, kind), (code, h), (330, owner), (100, "AcDbSymbolTableRecord"), (100, subclass), *fields)

    root, groups, plotstyles = hd.new(), hd.new(), hd.new()

    h1 = pairs((0, "SECTION"), (2, "HEADER"), (9, "$ACADVER"), (1, acadver), (9, "$DWGCODEPAGE"), (3, "ANSI_1252"),
               (9, "$INSBASE"), (10, "0.0"), (20, "0.0"), (30, "0.0"),
               (9, "$EXTMIN"), (10, "0.0"), (20, "0.0"), (30, "0.0"),
               (9, "$EXTMAX"), (10, "0.0"), (20, "0.0"), (30, "0.0"),
               (9, "$LIMMIN"), (10, "0.0"), (20, "0.0"),
               (9, "$LIMMAX"), (10, "0.0"), (20, "0.0"),
               (9, "$HANDSEED"), (5, SEED))
    if r2000:
        h1 += pairs((9, "$INSUNITS"), (70, 4))
    h1 += pairs((0, "ENDSEC"), (0, "SECTION"), (2, "CLASSES"), (0, "ENDSEC"), (0, "SECTION"), (2, "TABLES"))

    t, text = table("VPORT", 1)
    h1 += text
    _, text = record("VPORT", t, "AcDbViewportTableRecord", (2, "*ACTIVE"), (70, 0),
                     (10, "0.0"), (20, "0.0"), (11, "1.0"), (21, "1.0"),
                     (12, "*xcenterview*"), (22, "*ycenterview*"), (13, "0.0"), (23, "0.0"), (14, "1.0"), (24, "1.0"),
                     (15, "0.0"), (25, "0.0"), (16, "0.0"), (26, "0.0"), (36, "1.0"), (17, "0.0"), (27, "0.0"),
                     (37, "0.0"), (40, "*viewheight"), (41, "1.5"), (42, "50.0"), (43, "0.0"), (44, "0.0"),
                     (50, "0.0"), (51, "0.0"), (71, 0), (72, 100), (73, 1), (74, 3), (75, 0), (76, 0), (77, 0),
                     (78, 0))
    h1 += text + pairs((0, "ENDTAB"))

    t, text = table("LTYPE", 3)
    h1 += text
    for name, descr in (("ByBlock", None), ("ByLayer", None), ("Continuous", "Solid line")):
        fields = [(2, name), (70, 0)]
        if descr:
            fields.append((3, descr))
        fields += [(72, 65), (73, 0), (40, "0.0")]
        _, text = record("LTYPE", t, "AcDbLinetypeTableRecord", *fields)
        h1 += text
    h1 += pairs((0, "ENDTAB"))

    _, text = table("LAYER", 6)
    h1 += text

    h2 = pairs((0, "ENDTAB"))
    t, text = table("STYLE", 1)
    h2 += text
    _, text = record("STYLE", t, "AcDbTextStyleTableRecord", (2, "Standard"), (70, 0), (40, "0.0"), (41, "1.0"),
                     (50, "0.0"), (71, 0), (42, "2.5"), (3, "txt"))
    h2 += text + pairs((0, "ENDTAB"))
    for name in ("VIEW", "UCS"):
        _, text = table(name, 0)
        h2 += text + pairs((0, "ENDTAB"))
    t, text = table("APPID", 1)
    h2 += text
    _, text = record("APPID", t, "AcDbRegAppTableRecord", (2, "ACAD"), (70, 0))
    h2 += text + pairs((0, "ENDTAB"))
    t, text = table("DIMSTYLE", 1, ((100, "AcDbDimStyleTable"), (71, 0)) if r2000 else ())
    h2 += text
    _, text = record("DIMSTYLE", t, "AcDbDimStyleTableRecord", (2, "Standard"), (70, 0), code=105)
    h2 += text + pairs((0, "ENDTAB"))
    t, text = table("BLOCK_RECORD", 2)
    h2 += text
    block_records = []
    for name in ("*Model_Space", "*Paper_Space"):
        br, text = record("BLOCK_RECORD", t, "AcDbBlockTableRecord", (2, name))
        block_records.append((name, br))
        h2 += text
    h2 += pairs((0, "ENDTAB"), (0, "ENDSEC"), (0, "SECTION"), (2, "BLOCKS"))
    for name, br in block_records:
        paper = [(67, 1)] if name == "*Paper_Space" else []
        h2 += pairs((0, "BLOCK"), (5, hd.new()), (330, br), (100, "AcDbEntity"), *paper, (8, 0),
                    (100, "AcDbBlockBegin"), (2, name), (70, 0), (10, "0.0"), (20, "0.0"), (30, "0.0"), (3, name))
        h2 += pairs((0, "ENDBLK"), (5, hd.new()), (330, br), (100, "AcDbEntity"), *paper, (8, 0),
                    (100, "AcDbBlockEnd"))
    h2 += pairs((0, "ENDSEC"), (0, "SECTION"), (2, "ENTITIES"))

    h3 = pairs((0, "ENDSEC"), (0, "SECTION"), (2, "OBJECTS"))
    entries = [(3, "ACAD_GROUP"), (350, groups)]
    if r2000:
        entries += [(3, "ACAD_PLOTSTYLENAME"), (350, plotstyles)]
    h3 += pairs((0, "DICTIONARY"), (5, root), (330, 0), (100, "AcDbDictionary"), (281, 1), *entries)
    h3 += pairs((0, "DICTIONARY"), (5, groups), (330, root), (100, "AcDbDictionary"), (281, 1))
    if r2000:
        # The six layer records point at 00C0, 00C2, ... 00CA (group 390).
        styles = ["%04X" % (0xC0 + 2 * i) for i in range(6)]
        names = ["Normal"] + ["Style%d" % i for i in range(1, 6)]
        h3 += pairs((0, "ACDBDICTIONARYWDFLT"), (5, plotstyles), (330, root), (100, "AcDbDictionary"), (281, 1),
                    *[p for n, s in zip(names, styles) for p in ((3, n), (350, s))],
                    (100, "AcDbDictionaryWithDefault"), (340, styles[0]))
        for s in styles:
            h3 += pairs((0, "ACDBPLACEHOLDER"), (5, s), (330, plotstyles))
    h3 += pairs((0, "ENDSEC"), (0, "EOF"))
    return h1, h2, h3


def element(name, lines, indent):
    return "%s<%s>%s</%s>\n" % (indent, name, escape("\n".join(lines)), name)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "data", "Config",
                                                              "velmdxf.xml")
    x = ['<?xml version="1.0" encoding="UTF-8"?>\n',
         '<!-- DXF export settings: layers, output items and the templates of each release. -->\n',
         '<velm_dxf version="1.3" filepath="">\n', "\t<layers>\n"]
    for name, colour in LAYERS:
        x.append("\t\t<layer>\n\t\t\t<name>%s</name>\n\t\t\t<color>%d</color>\n\t\t\t<offview>0</offview>\n"
                 "\t\t</layer>\n" % (name, colour))
    x.append("\t</layers>\n\t<items>\n")
    for name, layer in ITEMS:
        x.append("\t\t<item>\n\t\t\t<name>%s</name>\n\t\t\t<layer>%d</layer>\n\t\t\t<output>1</output>\n"
                 "\t\t</item>\n" % (name, layer))
    x.append('\t</items>\n\t<versions active="%d" count="%d">\n' % (ACTIVE, len(RELEASES)))
    for name, acadver in RELEASES:
        if acadver <= "AC1009":
            h = old_release(acadver, handled=acadver >= "AC1006")
        else:
            h = new_release(acadver)
        x.append("\t\t<version>\n\t\t\t<name>%s</name>\n" % name)
        for tag, lines in zip(("h1", "h2", "h3"), h):
            assert len(lines) % 2 == 0
            x.append(element(tag, lines, "\t\t\t"))
        x.append("\t\t</version>\n")
    x.append("\t</versions>\n</velm_dxf>\n")
    with open(out, "w", encoding="utf-8", newline="\n") as f:
        f.write("".join(x))


if __name__ == "__main__":
    main()
