"""A private headless LibreOffice for one run, driven over UNO.

Each Office gets its own pipe name and, unless told otherwise, its own
profile directory, because a second soffice on a busy profile hands its
arguments to the running one and exits at once. soffice execs oosplash,
which starts soffice.bin: both are tracked by PID and ended by PID.

Runs under Debian's /usr/bin/python3 (the one with the uno module).
"""
import os
import pathlib
import shutil
import signal
import subprocess
import tempfile
import time
import uuid

import uno
import unohelper
from com.sun.star.task import XInteractionHandler
from com.sun.star.ucb import XCommandEnvironment, XProgressHandler
from com.sun.star.beans import PropertyValue

EXTENSION_ID = "org.decimora.calc"
SOFFICE = os.environ.get("DECIMORA_SOFFICE", "soffice")


def prop(name, value):
    p = PropertyValue()
    p.Name = name
    p.Value = value
    return p


def profile_url(path):
    return pathlib.Path(path).resolve().as_uri()


class _Approve(unohelper.Base, XInteractionHandler):
    """Answers every question of the extension manager with its approval
    (the licence and "install for this user?" prompts)."""

    def handle(self, request):
        approve = uno.getTypeByName("com.sun.star.task.XInteractionApprove")
        for c in request.Continuations:
            if c.queryInterface(approve) is not None:
                c.select()
                return


class _Progress(unohelper.Base, XProgressHandler):
    def push(self, status):
        pass

    def update(self, status):
        pass

    def pop(self):
        pass


class _Environment(unohelper.Base, XCommandEnvironment):
    def getInteractionHandler(self):
        return _Approve()

    def getProgressHandler(self):
        return _Progress()


def _children(pid):
    """PIDs whose parent is pid (from /proc)."""
    out = []
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/stat") as f:
                fields = f.read().rsplit(")", 1)[1].split()
            if int(fields[1]) == pid:
                out.append(int(entry))
        except (OSError, IndexError, ValueError):
            pass
    return out


def _alive(pid):
    try:
        with open(f"/proc/{pid}/stat") as f:
            state = f.read().rsplit(")", 1)[1].split()[0]
        return state != "Z"
    except OSError:
        return False


class Office:
    def __init__(self, profile=None, extra_args=(), env=None, headless=True):
        self.headless = headless
        self._own_profile = profile is None
        self.profile = pathlib.Path(profile or tempfile.mkdtemp(prefix="decimora-lo-"))
        self.pipe = "decimora_" + uuid.uuid4().hex
        self.extra_args = list(extra_args)
        self.env = env
        self.proc = None
        self.pids = []
        self.ctx = None
        self.desktop = None

    def start(self, timeout=60):
        shown = ["--headless", "--invisible"] if self.headless else []
        args = [SOFFICE, f"-env:UserInstallation={profile_url(self.profile)}", *shown,
                "--norestore", "--nologo", "--nodefault", "--nolockcheck",
                f"--accept=pipe,name={self.pipe};urp;StarOffice.ComponentContext", *self.extra_args]
        self.proc = subprocess.Popen(args, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, env=self.env,
                                     start_new_session=True)
        local = uno.getComponentContext()
        resolver = local.ServiceManager.createInstanceWithContext("com.sun.star.bridge.UnoUrlResolver", local)
        url = f"uno:pipe,name={self.pipe};urp;StarOffice.ComponentContext"
        deadline = time.monotonic() + timeout
        while True:
            self._track()
            try:
                self.ctx = resolver.resolve(url)
                break
            except Exception:
                if time.monotonic() > deadline or (self.proc.poll() is not None and not self._office_alive()):
                    self.stop()
                    raise RuntimeError("soffice did not answer on its pipe")
                time.sleep(0.2)
        self._track()
        self.desktop = self.ctx.ServiceManager.createInstanceWithContext("com.sun.star.frame.Desktop", self.ctx)
        return self

    def _track(self):
        if self.proc and self.proc.pid not in self.pids:
            self.pids.append(self.proc.pid)
        for pid in list(self.pids):
            for child in _children(pid):
                if child not in self.pids:
                    self.pids.append(child)

    def _office_alive(self):
        return any(_alive(p) for p in self.pids if p != self.proc.pid)

    def create(self, service):
        return self.ctx.ServiceManager.createInstanceWithContext(service, self.ctx)

    def stop(self):
        """Terminates the office, then ends by PID whatever is left."""
        self._track()
        if self.desktop is not None:
            try:
                self.desktop.terminate()
            except Exception:
                pass  # the bridge drops as the office goes
        self.desktop = None
        self.ctx = None
        deadline = time.monotonic() + 15
        while time.monotonic() < deadline and any(_alive(p) for p in self.pids):
            if self.proc:
                self.proc.poll()
            time.sleep(0.1)
        for sig in (signal.SIGTERM, signal.SIGKILL):
            left = [p for p in self.pids if _alive(p)]
            if not left:
                break
            for p in left:
                try:
                    os.kill(p, sig)
                except OSError:
                    pass
            time.sleep(0.5)
        if self.proc:
            try:
                self.proc.wait(timeout=5)
            except subprocess.TimeoutExpired:
                pass
        if self._own_profile:
            shutil.rmtree(self.profile, ignore_errors=True)

    def still_running(self):
        return [p for p in self.pids if _alive(p)]

    def __enter__(self):
        return self.start()

    def __exit__(self, *exc):
        self.stop()
        return False

    # --- extensions -------------------------------------------------------
    def _manager(self):
        return self.ctx.getValueByName("/singletons/com.sun.star.deployment.ExtensionManager")

    def add_extension(self, oxt):
        url = pathlib.Path(oxt).resolve().as_uri()
        self._manager().addExtension(url, (), "user", None, _Environment())

    def remove_extension(self, identifier=EXTENSION_ID, file_name="decimora.oxt"):
        manager = self._manager()
        deployed = manager.getDeployedExtensions("user", None, _Environment())
        for package in deployed:
            if package.getIdentifier().Value == identifier:
                manager.removeExtension(identifier, package.getName(), "user", None, _Environment())
                return True
        return False
