"""End-to-end test of the Calc add-in in a real headless LibreOffice.

  /usr/bin/python3 tests/test_calc_e2e.py OXT DECIMORA_BIN FUNCTIONS_JSON

A private profile and pipe per run: the extension is installed through the
office's extension manager, the office restarted, and then, in cells: the
registry's example of every function, the hard cases (a 2,000-digit text
operand, an omitted optional argument, a range with blanks, an array result
array-entered, an error result as Calc's error value, an open-ended list with
a directive), each compared with the command line; FunctionDescriptions
against the registry; a workbook with a stale result recalculated by
soffice --convert-to. Every soffice process is ended by PID and none may be
left behind.
"""
import json
import os
import pathlib
import re
import shutil
import subprocess
import sys
import tempfile
import zipfile

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent.parent / "calc"))
from office import Office, prop, profile_url, _children, _alive  # noqa: E402

failures = []


def check(ok, what):
    if not ok:
        failures.append(what)
        print("FAIL:", what, flush=True)


def cli(binary, formula):
    """The command line's answer as JSON: a string, number, bool, None, an
    {"error": ...} object or rows of cells."""
    out = subprocess.run([binary, "--json", formula], check=True, capture_output=True, text=True).stdout
    return json.loads(out)


def to_calc(formula):
    """A formula of the command line's syntax in Calc's API syntax: ';'
    between arguments, and in inline arrays ';' between cells and '|'
    between rows."""
    out, depth, i = [], 0, 0
    while i < len(formula):
        c = formula[i]
        if c == '"':
            j = i + 1
            while j < len(formula):
                if formula[j] == '"':
                    if j + 1 < len(formula) and formula[j + 1] == '"':
                        j += 2
                        continue
                    break
                j += 1
            out.append(formula[i:j + 1])
            i = j + 1
            continue
        if c == "{":
            depth += 1
        elif c == "}":
            depth -= 1
        elif c == ",":
            c = ";"
        elif c == ";" and depth > 0:
            c = "|"
        out.append(c)
        i += 1
    text = "".join(out)
    return text if text.startswith("=") else "=" + text


def shown(value):
    """What a Calc cell shows for one value of the command line's JSON: a
    Boolean as 1/0 (the add-in returns numbers for Booleans), empty as ""."""
    if isinstance(value, bool):
        return "1" if value else "0"
    if value is None:
        return ""
    if isinstance(value, dict):
        return value["error"]
    if isinstance(value, float) and value.is_integer():
        return str(int(value))
    return str(value)


ERROR_CODES = {"#NULL!": 521, "#DIV/0!": 532, "#VALUE!": 519, "#REF!": 524, "#NAME?": 525, "#NUM!": 503,
               "#N/A": 32767}


def expect_cell(cell, value, what):
    want = shown(value)
    got = cell.getString()
    check(got == want, f"{what}: shows {got[:80]!r}, expected {want[:80]!r}")
    code = ERROR_CODES.get(want) if isinstance(value, dict) else 0
    check(cell.getError() == code, f"{what}: error code {cell.getError()}, expected {code}")


def put(sheet, col, row, formula, rows=1, cols=1):
    if rows == 1 and cols == 1:
        sheet.getCellByPosition(col, row).setFormula(formula)
    else:
        sheet.getCellRangeByPosition(col, row, col + cols - 1, row + rows - 1).setArrayFormula(formula)


def main():
    oxt, binary, functions_json = sys.argv[1:4]
    rows = json.loads(pathlib.Path(functions_json).read_text())
    work = pathlib.Path(tempfile.mkdtemp(prefix="decimora-calc-e2e-"))
    profile = work / "profile"
    # A settings file of this run's own (the office and the command line
    # inherit it), so tests running beside this one cannot change the default.
    os.environ["XDG_CONFIG_HOME"] = str(work / "config")
    all_pids = []
    try:
        office = Office(profile=profile).start()
        try:
            office.add_extension(oxt)
        finally:
            office.stop()
            all_pids += office.pids
        office = Office(profile=profile).start()
        try:
            run_in_office(office, rows, binary, work)
            dialog_rules(office, binary)
        finally:
            office.stop()
            all_pids += office.pids
        stale_workbook(profile, work, all_pids)
    finally:
        left = [p for p in all_pids if _alive(p)]
        check(not left, f"soffice processes left behind: {left}")
        shutil.rmtree(work, ignore_errors=True)
    if failures:
        print(f"{len(failures)} check(s) failed")
        return 1
    print(f"calc end-to-end: every check passed ({len(rows)} functions)")
    return 0


def run_in_office(office, rows, binary, work):
    doc = office.desktop.loadComponentFromURL("private:factory/scalc", "_blank", 0, (prop("Hidden", True),))
    sheet = doc.Sheets.getByIndex(0)

    # --- FunctionDescriptions: every function, its description and arguments --
    described = {}
    fd = office.create("com.sun.star.sheet.FunctionDescriptions")
    for i in range(fd.getCount()):
        d = {p.Name: p.Value for p in fd.getByIndex(i)}
        described[d["Name"]] = d
    for r in rows:
        d = described.get(r["name"].upper())
        check(d is not None, f"FunctionDescriptions lacks {r['name']}")
        if d is None:
            continue
        check(d["Description"] == r["description"], f"{r['name']}: description {d['Description']!r}")
        names = [a.Name for a in (d["Arguments"] or ())]
        want = [p["name"] for p in r["params"]]
        check(names[:len(want)] == want, f"{r['name']}: arguments {names}, expected {want}")

    # --- The registry's example of every function ----------------------------
    placed = []
    row_no = 0
    for r in rows:
        expected = cli(binary, r["example"])
        formula = to_calc(r["example"])
        if isinstance(expected, list):
            n, m = len(expected), max(len(x) for x in expected)
            put(sheet, 0, row_no, formula, n, m)
            placed.append((r["name"], row_no, expected))
            row_no += n
        else:
            put(sheet, 0, row_no, formula)
            placed.append((r["name"], row_no, expected))
            row_no += 1
    # --- The hard cases, each against the command line ------------------------
    long_digits = "9" * 1999 + "7"
    sheet.getCellByPosition(3, 0).setString(long_digits)
    for i, v in enumerate([1, None, 2.5, None, "3"]):
        cell = sheet.getCellByPosition(4, i)
        if isinstance(v, str):
            cell.setString(v)
        elif v is not None:
            cell.setValue(v)
    hard = [
        ("2,000-digit text operand", '=dcmADD(D1;"1";;;;;32767)', f'dcmADD("{long_digits}","1",,,,,32767)'),
        ("omitted optional argument", '=dcmDIVIDE("1";"7";;;;;40)', 'dcmDIVIDE("1","7",,,,,40)'),
        ("range with blanks, sum", "=dcmSUM(E1:E5)", 'dcmSUM({VALUE(1);BLANK();VALUE(2.5);BLANK();"3"})'),
        ("range with blanks, count", "=dcmCOUNT(E1:E5)", 'dcmCOUNT({VALUE(1);BLANK();VALUE(2.5);BLANK();"3"})'),
        ("error result as Calc's error value", '=dcmSUM("abc")', 'dcmSUM("abc")'),
        ("open-ended list with a directive", '=dcmSUM2("1234.5";E1:E5;"format:negative,thousands,MSD=30";"-2")',
         'dcmSUM2("1234.5",{VALUE(1);BLANK();VALUE(2.5);BLANK();"3"},"format:negative,thousands,MSD=30","-2")'),
        ("Boolean flag given as TRUE", '=dcmFORMAT("-1234567.891";2;TRUE)', 'dcmFORMAT("-1234567.891",2,TRUE)'),
    ]
    hard_at = []
    for k, (what, formula, cli_formula) in enumerate(hard):
        put(sheet, 6, k, formula)
        hard_at.append((what, k, cli(binary, cli_formula)))
    # An array result array-entered into a larger block: the extra cells #N/A.
    put(sheet, 8, 0, '=dcmREDUCEFRACTION("6";"8")', 5, 5)
    put(sheet, 14, 0, '=ISERROR(G5)')
    put(sheet, 14, 1, '=ERROR.TYPE(G5)')
    doc.calculateAll()

    for name, at, expected in placed:
        if isinstance(expected, list):
            for i, cells in enumerate(expected):
                for j, v in enumerate(cells):
                    expect_cell(sheet.getCellByPosition(j, at + i), v, f"example of {name} [{i},{j}]")
        else:
            expect_cell(sheet.getCellByPosition(0, at), expected, f"example of {name}")
    for what, k, expected in hard_at:
        expect_cell(sheet.getCellByPosition(6, k), expected, what)
    fraction = cli(binary, 'dcmREDUCEFRACTION("6","8")')
    for i in range(5):
        for j in range(5):
            inside = i < len(fraction) and j < len(fraction[i])
            expect_cell(sheet.getCellByPosition(8 + j, i), fraction[i][j] if inside else {"error": "#N/A"},
                        f"array-entered dcmREDUCEFRACTION [{i},{j}]")
    check(sheet.getCellByPosition(14, 0).getValue() == 1, "ISERROR of the add-in's error value")
    check(sheet.getCellByPosition(14, 1).getValue() == 3, "ERROR.TYPE of the add-in's #VALUE! is 3")

    # Workbooks store the programmatic names, which must never change.
    book = work / "names.ods"
    doc.storeToURL(book.as_uri(), (prop("FilterName", "calc8"),))
    with zipfile.ZipFile(book) as z:
        content = z.read("content.xml").decode()
    check('of:=ORG.DECIMORA.ADDIN.DCMADD(' in content, "a stored workbook names dcmADD ORG.DECIMORA.ADDIN.DCMADD")
    doc.close(True)


def set_max_sd(office, frame, edits, button, recalculate=False):
    """The "Set Default Max SD" dialog driven through its model, with the
    texts typed, the button pressed and the answer to the question given in
    advance; returns what the windows would have shown."""
    helper = office.create("com.sun.star.frame.DispatchHelper")
    args = (prop("Edits", tuple(edits)), prop("Button", button), prop("Recalculate", recalculate))
    result = helper.executeDispatch(frame, "org.decimora.calc:SetMaxSD", "", 0, args)
    result = getattr(result, "Result", result)
    return list(result or ())


def stored_max_sd():
    config = pathlib.Path(os.environ.get("XDG_CONFIG_HOME") or pathlib.Path.home() / ".config")
    text = (config / "decimora" / "settings.ini").read_text()
    return re.search(r"^MaxSD=(.*)$", text, re.M).group(1).strip()


def dialog_rules(office, binary):
    """Digits only, Cancel, OK, an empty OK, and the recalculation sweep over
    two open documents, one of them using a named expression."""
    docs = [office.desktop.loadComponentFromURL("private:factory/scalc", "_blank", 0, (prop("Hidden", True),))
            for _ in range(2)]
    a, b = (d.Sheets.getByIndex(0) for d in docs)
    from com.sun.star.table import CellAddress
    docs[0].NamedRanges.addNewByName("SEVENTH", 'dcmDIVIDE("1";"7")', CellAddress(0, 0, 0), 0)
    a.getCellByPosition(0, 0).setFormula('=dcmDIVIDE("1";"7")')
    a.getCellByPosition(0, 1).setFormula("=SEVENTH")
    a.getCellByPosition(0, 2).setFormula("=1+1")
    b.getCellByPosition(0, 0).setFormula('=dcmDIVIDE("2";"3")')
    for d in docs:
        d.calculateAll()
    frame = docs[0].getCurrentController().getFrame()
    seventh_100 = cli(binary, 'dcmDIVIDE("1","7",,,,,100)')
    before = stored_max_sd()
    check(before == "100", f"the default starts at 100 (stored {before!r})")
    check(a.getCellByPosition(0, 1).getString() == seventh_100, "the named expression's cell at the default 100")

    log = set_max_sd(office, frame, ["1", "12", "12a"], "Cancel")
    check("refused=Enter digits (0-9) only." in log, f"12a refused: {log}")
    check("text=12 caret=2" in log, f"12a leaves 12, the caret after it: {log}")
    check("cancelled" in log and stored_max_sd() == "100", f"Cancel changes nothing: {log}")

    log = set_max_sd(office, frame, [""], "OK")
    check(log[-1:] == ["unchanged"] and stored_max_sd() == "100", f"an empty OK keeps the old value: {log}")

    log = set_max_sd(office, frame, ["10"], "OK", recalculate=False)
    check("stored=10" in log and stored_max_sd() == "10", f"OK stores 10: {log}")
    check(any(x.startswith("asked=Recalculate Decimora formulas now?") for x in log), f"OK asks: {log}")
    check(a.getCellByPosition(0, 0).getString() == seventh_100, "No leaves the results as they were")

    log = set_max_sd(office, frame, ["12"], "OK", recalculate=True)
    check("stored=12" in log and "recalculated=3" in log, f"Yes re-enters the three Decimora formulas: {log}")
    seventh_12 = cli(binary, 'dcmDIVIDE("1","7",,,,,12)')
    check(a.getCellByPosition(0, 0).getString() == seventh_12, "a direct call recalculated at 12")
    check(a.getCellByPosition(0, 1).getString() == seventh_12, "a call through a named expression recalculated")
    check(b.getCellByPosition(0, 0).getString() == cli(binary, 'dcmDIVIDE("2","3",,,,,12)'),
          "the second document recalculated")
    check(a.getCellByPosition(0, 2).getFormula() == "=1+1", "other formulas are left alone")
    # A call made afterwards takes the new default.
    a.getCellByPosition(1, 0).setFormula('=dcmDIVIDE("1";"3")')
    check(a.getCellByPosition(1, 0).getString() == cli(binary, 'dcmDIVIDE("1","3",,,,,12)'),
          "a later call uses the saved default")
    for d in docs:
        d.close(True)


def stale_workbook(profile, work, all_pids):
    """A workbook saved with a wrong result is recalculated on load by a batch
    conversion (the office marks add-in cells recalculate-on-load)."""
    book = work / "names.ods"
    stale = work / "stale.ods"
    with zipfile.ZipFile(book) as src, zipfile.ZipFile(stale, "w") as dst:
        for item in src.infolist():
            data = src.read(item.filename)
            if item.filename == "content.xml":
                text = data.decode()
                # The example cell of dcmADD (0.3): store 999 as its result.
                text, n = re.subn(r'(<table:table-cell[^>]*of:=ORG\.DECIMORA\.ADDIN\.DCMADD\(&quot;0\.1&quot;'
                                  r'[^>]*office:string-value=")0\.3(")', r"\g<1>999\g<2>", text, count=1)
                text, m = re.subn(r'(of:=ORG\.DECIMORA\.ADDIN\.DCMADD\(&quot;0\.1&quot;.*?<text:p>)0\.3(</text:p>)',
                                  r"\g<1>999\g<2>", text, count=1, flags=re.S)
                check(m == 1, "the stale workbook could be written")
                data = text.encode()
            dst.writestr(item, data, compress_type=zipfile.ZIP_DEFLATED if item.filename != "mimetype"
                         else zipfile.ZIP_STORED)
    out = work / "csv"
    proc = subprocess.Popen(["soffice", f"-env:UserInstallation={profile_url(profile)}", "--headless",
                             "--norestore", "--convert-to", "csv", "--outdir", str(out), str(stale)],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)
    pids = [proc.pid]
    try:
        while proc.poll() is None:
            for p in list(pids):
                pids += [c for c in _children(p) if c not in pids]
            try:
                proc.wait(timeout=0.2)
            except subprocess.TimeoutExpired:
                pass
        check(proc.returncode == 0, f"soffice --convert-to exited {proc.returncode}")
    finally:
        all_pids += pids
        for p in pids:
            if _alive(p):
                try:
                    os.kill(p, 9)
                except OSError:
                    pass
    csv = (out / "stale.csv").read_text() if (out / "stale.csv").exists() else ""
    first = csv.splitlines()[0] if csv else ""
    check(first.startswith("0.3,") or first == "0.3", f"the stale result was recalculated: first line {first!r}")


if __name__ == "__main__":
    sys.exit(main())
