#!/usr/bin/python3
"""Makes the workbooks of this folder with tools other than libxlsxwriter.

Run once, from anywhere, with Debian's Python (it has python3-openpyxl):

    /usr/bin/python3 tests/data/foreign/make.py

Needs python3-openpyxl and the desktop build of LibreOffice (libreoffice-calc),
both installed by scripts/install-deps. The files are committed as test data;
openpyxl's and Python's own files come out the same on every run (fixed dates),
LibreOffice's do not (it stamps the time), so regenerate only when the data
must change. README.md says what every file holds.
"""

import io
import os
import re
import shutil
import subprocess
import sys
import tempfile
import zipfile
from datetime import datetime

import openpyxl

HERE = os.path.dirname(os.path.abspath(__file__))
FIXED_TIME = datetime(2026, 1, 1)
ZIP_TIME = (1980, 1, 1, 0, 0, 0)

# The test: two probes of eight readings, one a minute.
CONDITIONS = [8, 2, 18.5, 29.75, 1200, 45]  # C7 .. C12
TIMES = [0, 1, 2, 3, 4, 5, 6, 7]
PROBES = [
    [0.62, 3.31, 5.30, 6.61, 7.64, 8.25, 8.79, 9.08],
    [0.88, 3.21, 4.85, 6.15, 7.03, 7.76, 8.22, 8.64],
]

CONDITION_LABELS = [
    ("Readings per data set", "count"),
    ("Data sets (probes), 1 to 6", "count"),
    ("Water temperature", "\u00b0C"),
    ("Barometric pressure", "inHg"),
    ("Tank water volume", "ft\u00b3"),
    ("Air flow (0 or empty: no SOTE)", "scfm"),
]
RESULT_LABELS = [
    "Water temperature", "Barometric pressure", "C\u221e, saturation", "KLa",
    "Standard error of estimate", "SOTR", "SOTE", "Effective saturation depth",
    "Tau, saturation ratio", "Omega, pressure correction", "Start threshold",
]


def col(n):
    """Column letters of a 1-based column number."""
    s = ""
    while n:
        n, r = divmod(n - 1, 26)
        s = chr(65 + r) + s
    return s


def layout(conditions=CONDITIONS, times=TIMES, probes=PROBES):
    """The template's three sheets with headings, as openpyxl or a .fods needs
    them: a list of (sheet index, row, column, value)."""
    cells = []
    put = lambda sheet, r, c, v: cells.append((sheet, r, c, v))
    # Sheet 1: conditions in C7:C12, readings from row 7 (time in G, probes in H..M).
    put(1, 1, 1, "Clean-water oxygen-transfer test")
    put(1, 6, 1, "Test condition")
    put(1, 6, 2, "Unit")
    put(1, 6, 3, "Value")
    for i, (label, unit) in enumerate(CONDITION_LABELS):
        put(1, 7 + i, 1, label)
        put(1, 7 + i, 2, unit)
        if conditions[i] is not None:
            put(1, 7 + i, 3, conditions[i])
    put(1, 6, 7, "Time, min")
    for s in range(1, 7):
        put(1, 6, 7 + s, "Probe %d, DO mg/L" % s)
    for p, t in enumerate(times):
        put(1, 7 + p, 7, t)
        for s, probe in enumerate(probes):
            put(1, 7 + p, 8 + s, probe[p])
    # Sheet 2: initial analysis rows 7-22 in blocks of six columns, thresholds on row 45.
    put(2, 1, 1, "Initial analysis")
    for s in range(1, 7):
        c = 6 * (s - 1) + 1
        put(2, 5, c, "Data set %d" % s)
        for k, h in enumerate(["Start threshold, %", "C0, mg/L", "C\u221e, mg/L", "KLa, 1/min"]):
            put(2, 6, c + k, h)
        put(2, 44, c, "Start threshold, set %d" % s)
        put(2, 45, c, 0)
        put(2, 45, c + 1, "% of last reading")
    # Sheet 3: fit history rows 11-21, summary rows 13-19, results rows 25-35, points from row 45.
    put(3, 1, 1, "Fit history and results")
    for c, h in enumerate(["Data set", "KLa20, 1/h", "C\u221e std, mg/L", "SOTE, %", "SOTR, lb O2/h",
                           "Saturation depth, ft", "Std error, mg/L", "Std pressure, inHg"], start=1):
        put(3, 12, c, h)
    put(3, 19, 1, "Average")
    for s in range(1, 7):
        c = 7 * (s - 1) + 10
        put(3, 9, c, "Fit history, data set %d" % s)
        for k, h in enumerate(["Pass", "C\u221e, mg/L", "C0, mg/L", "KLa, 1/min", "Sum of squares"]):
            put(3, 10, c + k, h)
        put(3, 23, c, "Results, data set %d" % s)
        for k, h in enumerate(["Quantity", "Test conditions", "Standard conditions"]):
            put(3, 24, c + k, h)
        for r, label in enumerate(RESULT_LABELS):
            put(3, 25 + r, c, label)
        put(3, 43, c, "Readings used in the fit")
        for k, h in enumerate(["Point", "Time, min", "Measured DO, mg/L", "Fitted DO, mg/L", "Residual, mg/L"]):
            put(3, 44, c + k, h)
    return cells


def openpyxl_book(conditions=CONDITIONS):
    wb = openpyxl.Workbook()
    ws1 = wb.active
    ws1.title = "Test"
    ws2 = wb.create_sheet("Initial analysis")
    ws3 = wb.create_sheet("Results")
    sheets = {1: ws1, 2: ws2, 3: ws3}
    for sheet, r, c, v in layout(conditions):
        sheets[sheet].cell(row=r, column=c, value=v)
    wb.properties.creator = "openpyxl"
    wb.properties.created = FIXED_TIME
    wb.properties.modified = FIXED_TIME
    return wb


def openpyxl_bytes(wb):
    buf = io.BytesIO()
    wb.save(buf)
    return buf.getvalue()


def rezip(data, edit=None, add=None, force_zip64=False):
    """Rewrites a zip with fixed dates; `edit(name, bytes) -> bytes` changes
    entries, `add` is a list of (name, bytes) appended at the end."""
    src = zipfile.ZipFile(io.BytesIO(data))
    out = io.BytesIO()
    with zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED) as dst:
        entries = [(i.filename, src.read(i.filename)) for i in src.infolist()] + list(add or [])
        for name, content in entries:
            if edit:
                content = edit(name, content)
            info = zipfile.ZipInfo(name, ZIP_TIME)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.external_attr = 0o600 << 16
            with dst.open(info, "w", force_zip64=force_zip64) as f:
                f.write(content)
    return out.getvalue()


def write(name, data):
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(data)
    print("wrote", name)


def sub_once(pattern, repl, text):
    new, n = re.subn(pattern, repl, text, count=1)
    if n != 1:
        sys.exit("make.py: no match for %r" % pattern)
    return new


SHEET_XML = re.compile(r"xl/worksheets/sheet[0-9]+\.xml$")
INLINE_CELL = re.compile(r'<c r="([A-Z]+[0-9]+)"((?: s="[0-9]+")?) t="inlineStr"><is>(.*?)</is></c>', re.S)


def shared_strings(data, rich=None):
    """openpyxl (as Debian builds it) writes every text as an inline string;
    Excel writes a shared-strings table. Moves every inline string into one,
    in the order of the sheets, with `rich` giving the <si> of some texts."""
    rich = rich or {}
    src = zipfile.ZipFile(io.BytesIO(data))
    table, index, used = [], {}, set()

    def share(m):
        si = "<si>%s</si>" % m.group(3)
        if si in rich:
            used.add(si)
            si = rich[si]
        if si not in index:
            index[si] = len(table)
            table.append(si)
        return '<c r="%s"%s t="s"><v>%d</v></c>' % (m.group(1), m.group(2), index[si])

    sheets = {}
    for name in sorted((n for n in src.namelist() if SHEET_XML.match(n)), key=lambda n: int(re.findall(r"[0-9]+", n)[0])):
        sheets[name] = INLINE_CELL.sub(share, src.read(name).decode("utf-8")).encode("utf-8")
    unused = set(rich) - used
    if unused:
        sys.exit("make.py: texts not found: %s" % sorted(unused))
    sst = ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
           '<sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" count="%d" uniqueCount="%d">%s</sst>'
           % (len(table), len(table), "".join(table)))

    def edit(name, content):
        if name in sheets:
            return sheets[name]
        if name == "[Content_Types].xml":
            return sub_once(r"</Types>",
                            '<Override PartName="/xl/sharedStrings.xml" ContentType="application/'
                            'vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml"/></Types>',
                            content.decode("utf-8")).encode("utf-8")
        if name == "xl/_rels/workbook.xml.rels":
            return sub_once(r"</Relationships>",
                            '<Relationship Id="rIdSst" Type="http://schemas.openxmlformats.org/'
                            'officeDocument/2006/relationships/sharedStrings" Target="sharedStrings.xml"/>'
                            "</Relationships>", content.decode("utf-8")).encode("utf-8")
        return content

    return rezip(data, edit, add=[("xl/sharedStrings.xml", sst.encode("utf-8"))])


# --- rich text: shared strings with runs and phonetic parts -------------------

def rich_text():
    # The conditions C9 and C10 are text here, so that they are shared strings.
    conditions = CONDITIONS[:2] + ["18.5", "29.75"] + CONDITIONS[4:]
    rich = {
        # Runs of a number: reads 18.5.
        "<si><t>18.5</t></si>":
            '<si><r><t>18</t></r><r><rPr><b/><sz val="11"/><color rgb="FFC00000"/>'
            '<rFont val="Calibri"/><family val="2"/></rPr><t>.5</t></r></si>',
        # A number with a phonetic reading: reads 29.75, the reading is no part of it.
        "<si><t>29.75</t></si>":
            '<si><t>29.75</t><rPh sb="0" eb="5"><t>\u306b\u3058\u3085\u3046\u304d\u3085\u3046'
            '\u3066\u3093\u306a\u306a\u3054</t></rPh><phoneticPr fontId="0" type="noConversion"/></si>',
        # A label in runs, the second with a leading space kept by xml:space.
        "<si><t>Readings per data set</t></si>":
            '<si><r><rPr><b/><sz val="11"/><rFont val="Calibri"/></rPr><t>Readings</t></r>'
            '<r><rPr><sz val="11"/><rFont val="Calibri"/></rPr><t xml:space="preserve"> per data set</t></r></si>',
        # A label in runs with a phonetic part.
        "<si><t>Water temperature</t></si>":
            '<si><r><t>Water</t></r><r><t xml:space="preserve"> temperature</t></r>'
            '<rPh sb="0" eb="5"><t>\u30a6\u30a9\u30fc\u30bf\u30fc</t></rPh>'
            '<phoneticPr fontId="0" type="Hiragana"/></si>',
    }
    write("openpyxl-rich-text.xlsx", shared_strings(openpyxl_bytes(openpyxl_book(conditions)), rich))


# --- inline strings ------------------------------------------------------------

def inline_strings():
    conditions = ["8"] + CONDITIONS[1:]  # C7 as text
    data = openpyxl_bytes(openpyxl_book(conditions))

    def edit(name, content):
        if name != "xl/worksheets/sheet1.xml":
            return content
        text = content.decode("utf-8")
        if 't="inlineStr"><is><t>8</t></is>' not in text:
            sys.exit("make.py: openpyxl wrote no inline strings")
        # C11 (tank volume) as an inline string in two runs: reads 1200.
        text = sub_once(r'<c r="C11"((?: s="[0-9]+")?) t="n"><v>1200</v></c>',
                        r'<c r="C11"\1 t="inlineStr"><is><r><t>1</t></r><r><rPr><i/></rPr><t>200</t></r></is></c>',
                        text)
        return text.encode("utf-8")

    write("openpyxl-inline-strings.xlsx", rezip(data, edit))


# --- formulas with cached values, and a calculation chain -----------------------

def cached_formulas():
    wb = openpyxl_book()
    ws1, ws3 = wb["Test"], wb["Results"]
    ws1["C7"] = "=COUNT(G7:G14)"
    ws1["C8"] = "=COLUMNS(H7:I7)"
    ws1["C11"] = "=10*12*10"
    for r in range(8, 15):
        ws1["G%d" % r] = "=G%d+1" % (r - 1)
    ws1["E3"] = '="Probes: "&C8'
    ws1["E4"] = True
    ws3["A20"] = "Sets analysed"
    ws3["B20"] = "=COUNT(A13:A18)"
    # B20's cached 5 is stale on purpose: only a recalculation gives 0.
    cached = {"C7": "8", "C8": "2", "C11": "1200", "B20": "5"}
    for r in range(8, 15):
        cached["G%d" % r] = str(r - 7)
    filled = set()

    def fill(m):
        ref, attrs, formula = m.group(1), m.group(2), m.group(3)
        filled.add(ref)
        if ref == "E3":
            return '<c r="E3"%s t="str"><f>%s</f><v>Probes: 2</v></c>' % (attrs, formula)
        return '<c r="%s"%s><f>%s</f><v>%s</v></c>' % (ref, attrs, formula, cached[ref])

    def edit(name, content):
        if name in ("xl/worksheets/sheet1.xml", "xl/worksheets/sheet3.xml"):
            text = re.sub(r'<c r="([A-Z]+[0-9]+)"((?: s="[0-9]+")?)><f>(.*?)</f>(?:<v */>|<v></v>)?</c>',
                          fill, content.decode("utf-8"))
            return text.encode("utf-8")
        if name == "[Content_Types].xml":
            return sub_once(r"</Types>",
                            '<Override PartName="/xl/calcChain.xml" ContentType="application/'
                            'vnd.openxmlformats-officedocument.spreadsheetml.calcChain+xml"/></Types>',
                            content.decode("utf-8")).encode("utf-8")
        if name == "xl/_rels/workbook.xml.rels":
            return sub_once(r"</Relationships>",
                            '<Relationship Id="rIdCalc" Type="http://schemas.openxmlformats.org/'
                            'officeDocument/2006/relationships/calcChain" Target="calcChain.xml"/>'
                            "</Relationships>", content.decode("utf-8")).encode("utf-8")
        return content

    chain = ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
             '<calcChain xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">'
             + '<c r="C7" i="1"/><c r="C8"/><c r="C11"/><c r="E3"/>'
             + "".join('<c r="G%d"/>' % r for r in range(8, 15))
             + '<c r="B20" i="3"/></calcChain>')
    data = rezip(openpyxl_bytes(wb), edit, add=[("xl/calcChain.xml", chain.encode("utf-8"))])
    if filled != set(cached) | {"E3"}:
        sys.exit("make.py: formulas not filled: %s" % sorted(set(cached) | {"E3"} - filled))
    write("openpyxl-cached-formulas.xlsx", shared_strings(data))


# --- numbers stored as text ----------------------------------------------------

def numbers_as_text():
    conditions = [str(v) for v in CONDITIONS]
    wb = openpyxl_book(conditions)
    wb["Test"]["H8"] = "3.31"  # one reading as text, too
    write("openpyxl-numbers-as-text.xlsx", shared_strings(openpyxl_bytes(wb)))


# --- Zip64 records ----------------------------------------------------------------

def zip64():
    plain = shared_strings(openpyxl_bytes(openpyxl_book()))
    # Python writes Zip64 extra fields into every local header when forced.
    write("zip64-local-headers.xlsx", rezip(plain, force_zip64=True))
    # With its limit lowered to 0 it writes them into the central directory as
    # well, and the Zip64 end of central directory record and its locator.
    saved = zipfile.ZIP64_LIMIT
    zipfile.ZIP64_LIMIT = 0
    try:
        data = rezip(plain, force_zip64=True)
    finally:
        zipfile.ZIP64_LIMIT = saved
    if b"PK\x06\x06" not in data or b"PK\x06\x07" not in data:
        sys.exit("make.py: no Zip64 end records")
    write("zip64.xlsx", data)


# --- LibreOffice ----------------------------------------------------------------

def fods_cell(v):
    if v is None:
        return "<table:table-cell/>"
    if isinstance(v, str) and v.startswith("="):
        return '<table:table-cell table:formula="of:%s"/>' % v
    if isinstance(v, (int, float)) and not isinstance(v, bool):
        return '<table:table-cell office:value-type="float" office:value="%r"><text:p>%r</text:p></table:table-cell>' % (v, v)
    esc = str(v).replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")
    return '<table:table-cell office:value-type="string"><text:p>%s</text:p></table:table-cell>' % esc


def libreoffice():
    cells = layout()
    # A formula of the results sheet that depends on cells the program writes.
    cells += [(3, 20, 1, "Sets analysed"), (3, 20, 2, "=COUNT([.A13:.A18])")]
    sheets = {}
    for sheet, r, c, v in cells:
        sheets.setdefault(sheet, {}).setdefault(r, {})[c] = v
    names = {1: "Test", 2: "Initial analysis", 3: "Results"}
    body = []
    for s in (1, 2, 3):
        body.append('<table:table table:name="%s">' % names[s])
        rows = sheets[s]
        for r in range(1, max(rows) + 1):
            row = rows.get(r, {})
            body.append("<table:table-row>")
            for c in range(1, (max(row) if row else 0) + 1):
                body.append(fods_cell(row.get(c)))
            if not row:
                body.append("<table:table-cell/>")
            body.append("</table:table-row>")
        body.append("</table:table>")
    fods = ('<?xml version="1.0" encoding="UTF-8"?>\n'
            '<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" '
            'xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" '
            'xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" '
            'xmlns:of="urn:oasis:names:tc:opendocument:xmlns:of:1.2" '
            'office:version="1.2" office:mimetype="application/vnd.oasis.opendocument.spreadsheet">'
            "<office:body><office:spreadsheet>" + "".join(body) +
            "</office:spreadsheet></office:body></office:document>\n")
    work = tempfile.mkdtemp(prefix="vk-foreign-")
    try:
        src = os.path.join(work, "libreoffice.fods")
        with open(src, "w", encoding="utf-8") as f:
            f.write(fods)
        subprocess.run(["soffice", "-env:UserInstallation=file://%s/profile" % work, "--headless",
                        "--convert-to", "xlsx:Calc MS Excel 2007 XML", "--outdir", work, src],
                       check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=300)
        shutil.copyfile(os.path.join(work, "libreoffice.xlsx"), os.path.join(HERE, "libreoffice.xlsx"))
        print("wrote libreoffice.xlsx")
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    rich_text()
    inline_strings()
    cached_formulas()
    numbers_as_text()
    zip64()
    if "--no-libreoffice" not in sys.argv:
        libreoffice()
