#!/usr/bin/python3
"""Takes the screenshots of the Calc windows kept in docs/: the About window
and the "Set Default Max SD" dialog, each over a Calc sheet, on a virtual
screen.

  /usr/bin/python3 tools/calc_screenshots.py build/calc/decimora.oxt docs

Needs Xvfb (Debian: xvfb) and ImageMagick's import. The virtual screen is
started here and the office runs on it with a private profile and a fresh
settings file (the default 100); both are ended by PID, the office after
each picture (the windows are modal, so nothing else closes them).
"""
import os
import pathlib
import subprocess
import sys
import tempfile
import threading
import time

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent.parent / "calc"))
from office import Office, prop  # noqa: E402

WINDOWS = [("org.decimora.calc:About", "calc-about.png"), ("org.decimora.calc:SetMaxSD", "calc-set-default-max-sd.png")]


def shoot(profile, command, target):
    office = Office(profile=profile, headless=False).start()
    try:
        doc = office.desktop.loadComponentFromURL("private:factory/scalc", "_blank", 0, ())
        sheet = doc.Sheets.getByIndex(0)
        # Below the window, which the office centres on the sheet.
        sheet.getCellByPosition(0, 17).setString('dcmDIVIDE("1";"7";;;;;40)')
        sheet.getCellByPosition(1, 17).setFormula('=dcmDIVIDE("1";"7";;;;;40)')
        sheet.getCellByPosition(0, 18).setString('dcmADD("0.1";"0.2")')
        sheet.getCellByPosition(1, 18).setFormula('=dcmADD("0.1";"0.2")')
        sheet.getColumns().getByIndex(0).Width = 6000
        sheet.getColumns().getByIndex(1).Width = 11000
        frame = doc.getCurrentController().getFrame()
        frame.getContainerWindow().setPosSize(0, 0, 1000, 640, 15)
        helper = office.create("com.sun.star.frame.DispatchHelper")
        # The window is modal: the dispatch returns only when it closes.
        threading.Thread(target=lambda: helper.executeDispatch(frame, command, "", 0, ()), daemon=True).start()
        time.sleep(4)
        subprocess.run(["import", "-window", "root", str(target)], check=True)
        print("wrote", target)
    finally:
        office.desktop = None  # terminate() would wait for the modal window
        office.stop()


def free_display():
    n = 90
    while pathlib.Path(f"/tmp/.X11-unix/X{n}").exists() or pathlib.Path(f"/tmp/.X{n}-lock").exists():
        n += 1
    return f":{n}"


def main():
    oxt, out = pathlib.Path(sys.argv[1]).resolve(), pathlib.Path(sys.argv[2])
    out.mkdir(parents=True, exist_ok=True)
    display = free_display()
    xvfb = subprocess.Popen(["Xvfb", display, "-screen", "0", "1000x640x24", "-nolisten", "tcp"],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        time.sleep(1.5)
        os.environ["DISPLAY"] = display
        return take_all(oxt, out)
    finally:
        xvfb.terminate()
        xvfb.wait(timeout=10)


def take_all(oxt, out):
    with tempfile.TemporaryDirectory(prefix="decimora-shots-") as tmp:
        os.environ["XDG_CONFIG_HOME"] = str(pathlib.Path(tmp) / "config")
        profile = pathlib.Path(tmp) / "profile"
        office = Office(profile=profile).start()
        try:
            office.add_extension(oxt)
        finally:
            office.stop()
        for command, name in WINDOWS:
            shoot(profile, command, out / name)
    return 0


if __name__ == "__main__":
    sys.exit(main())
