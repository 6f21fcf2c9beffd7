#!/usr/bin/env python3
"""Writes the crafted seeds of the dial tables' workbook fuzzer into dialxlsx/.

Beside them lie two workbooks made by programs: shortdials.xlsx, written by
`ornisset-cli convert tests/data/cli/sample.set shortdials.xlsx`, and libreoffice.xlsx, the
CSV export of the same table saved as a workbook by LibreOffice Calc (its numbers are
results of formulas). The XML seeds feed the readers of the parts alone.
Run from anywhere; the files land next to this script.
"""
import os
import struct
import zipfile

HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "dialxlsx")
MAIN = "http://schemas.openxmlformats.org/spreadsheetml/2006/main"
RELS = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"


def sheet(rows, prolog=""):
    return (f'{prolog}<worksheet xmlns="{MAIN}" xmlns:r="{RELS}"><sheetData>{rows}'
            "</sheetData></worksheet>")


def texts(*items):
    return f'<sst xmlns="{MAIN}">' + "".join(items) + "</sst>"


def workbook(name, sheet_xml, shared_xml, method=zipfile.ZIP_DEFLATED):
    parts = {
        "_rels/.rels": f'<Relationships><Relationship Id="rId1" Type="{RELS}/officeDocument" '
                       'Target="xl/workbook.xml"/></Relationships>',
        "xl/workbook.xml": f'<workbook xmlns="{MAIN}" xmlns:r="{RELS}"><sheets>'
                           '<sheet name="PE" sheetId="1" r:id="rId1"/></sheets></workbook>',
        "xl/_rels/workbook.xml.rels":
            f'<Relationships><Relationship Id="rId1" Type="{RELS}/worksheet" '
            'Target="worksheets/sheet1.xml"/><Relationship Id="rId2" '
            f'Type="{RELS}/sharedStrings" Target="sharedStrings.xml"/></Relationships>',
        "xl/sharedStrings.xml": shared_xml,
        "xl/worksheets/sheet1.xml": sheet_xml,
    }
    path = os.path.join(HERE, name)
    with zipfile.ZipFile(path, "w", method) as z:
        for part, text in parts.items():
            z.writestr(part, text.encode("utf-8"))
    return path


def tell_size_wrong(path, part, size):
    """Sets the unpacked size of `part` in its local header and the directory to `size`."""
    data = bytearray(open(path, "rb").read())
    name = part.encode()
    local = data.find(b"PK\x03\x04")
    while local >= 0:
        if data[local + 30:local + 30 + len(name)] == name:
            struct.pack_into("<I", data, local + 22, size)
        local = data.find(b"PK\x03\x04", local + 4)
    central = data.find(b"PK\x01\x02")
    while central >= 0:
        if data[central + 46:central + 46 + len(name)] == name:
            struct.pack_into("<I", data, central + 24, size)
        central = data.find(b"PK\x01\x02", central + 4)
    open(path, "wb").write(data)


HEADER = ('<row r="1"><c r="A1" t="s"><v>0</v></c><c r="B1" t="s"><v>1</v></c>'
          '<c r="C1" t="inlineStr"><is><t>Státní</t></is></c></row>')
SHARED = texts("<si><t>Záznam</t></si>", "<si><t>Číslo</t></si>",
               "<si><r><t>02</t></r><r><t>24</t></r><rPh><t>x</t></rPh></si>",
               "<si><t>_x0039_1</t></si>")


def main():
    os.makedirs(HERE, exist_ok=True)
    rows = (HEADER + '<row r="2"><c r="A2"><v>7</v></c><c r="B2" t="s"><v>2</v></c>'
            '<c r="C2" t="inlineStr"><is><t>95</t></is></c></row>'
            '<row><c><v>99</v></c><c t="str"><f>"0P"</f><v>0P</v></c><c t="s"><v>3</v></c>'
            "</row>")
    workbook("stored-parts.xlsx", sheet(rows), SHARED, zipfile.ZIP_STORED)
    workbook("kinds-of-cells.xlsx", sheet(rows), SHARED)
    workbook("number-cell.xlsx",
             sheet(HEADER + '<row r="2"><c r="A2"><v>1</v></c><c r="B2"><v>224810111</v></c>'
                   "</row>"), SHARED)
    workbook("bad-shared-index.xlsx",
             sheet(HEADER + '<row r="2"><c r="B2" t="s"><v>4000000000</v></c></row>'), SHARED)
    workbook("bad-cell-name.xlsx", sheet(HEADER + '<row r="2"><c r="B1"/></row>'), SHARED)
    workbook("document-type.xlsx", sheet(HEADER, '<!DOCTYPE w [<!ENTITY a "aaaaaaaa">]>'),
             SHARED)
    workbook("zip-bomb.xlsx", sheet(HEADER + " " * (9 << 20)), SHARED)
    path = workbook("size-told-wrong.xlsx", sheet(HEADER), SHARED, zipfile.ZIP_STORED)
    tell_size_wrong(path, "xl/worksheets/sheet1.xml", 40)
    with open(os.path.join(HERE, "sheet-part.xml"), "w", encoding="utf-8") as f:
        f.write(sheet('<row><c t="s"><v>0</v></c><c t="s"><v>1</v></c></row>'
                      '<row r="3"><c r="A3"><v>815</v></c><c r="B3" t="s"><v>2</v></c></row>'))
    with open(os.path.join(HERE, "shared-texts.xml"), "w", encoding="utf-8") as f:
        f.write(SHARED)


if __name__ == "__main__":
    main()
