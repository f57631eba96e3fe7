"""End to end: Binderly registers the Decimora component with LibreOffice.

  /usr/bin/python3 tests/test_binderly_e2e.py BINDERLY REGISTER_LIBRARY

In a private profile ($XDG_CONFIG_HOME/libreoffice/4 of a scratch
XDG_CONFIG_HOME): `binderly --register` on libdecimora_register.so installs
the Calc extension beside it, and a headless office then answers dcmADD in a
cell; `binderly --unregister` removes it again, and the same cell is #NAME?.
"""
import os
import pathlib
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent.parent / "calc"))
from office import Office, prop  # noqa: E402

FORMULA = '=dcmADD("0.1";"0.2")'


def binderly(binary, action, library, env):
    run = subprocess.run([binary, f"--{action}", library], env=env, capture_output=True, text=True, timeout=300)
    print(f"binderly --{action}: exit {run.returncode}: {run.stderr.strip()}", flush=True)
    return run.returncode, run.stderr


def answer(profile):
    """What a cell holding FORMULA shows in an office on that profile."""
    office = Office(profile=profile).start()
    try:
        doc = office.desktop.loadComponentFromURL("private:factory/scalc", "_blank", 0, (prop("Hidden", True),))
        cell = doc.Sheets.getByIndex(0).getCellByPosition(0, 0)
        cell.setFormula(FORMULA)
        doc.calculateAll()
        shown = cell.getString()
        doc.close(True)
        return shown
    finally:
        left = office.still_running()
        office.stop()
        if left and office.still_running():
            print("FAIL: soffice left running:", office.still_running())


def main(argv):
    binary, library = argv[1], argv[2]
    config = pathlib.Path(tempfile.mkdtemp(prefix="binderly-e2e-"))
    env = dict(os.environ, XDG_CONFIG_HOME=str(config))
    profile = config / "libreoffice" / "4"
    failures = []
    checks = 4
    try:
        status, text = binderly(binary, "register", library, env)
        if status != 0 or not text.startswith("Successfully registered."):
            failures.append("register")
        shown = answer(profile)
        print("after register:", shown, flush=True)
        if shown != "0.3":
            failures.append(f"dcmADD after register shows {shown!r}")
        status, text = binderly(binary, "unregister", library, env)
        if status != 0 or not text.startswith("Successfully unregistered."):
            failures.append("unregister")
        shown = answer(profile)
        print("after unregister:", shown, flush=True)
        if shown == "0.3":
            failures.append("dcmADD still answers after unregister")
    finally:
        shutil.rmtree(config, ignore_errors=True)
    for failure in failures:
        print("FAIL:", failure)
    print(f"{checks - len(failures)} passed, {len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
