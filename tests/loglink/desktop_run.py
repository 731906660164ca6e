"""What the runs against the GUI loggers share: an Xvfb display and an accessibility bus in a
D-Bus session of the run's own, and programs whose widgets are found through that bus."""
import os
import shutil
import subprocess
import sys
import tempfile

from route_run import PATIENCE, SKIP, wait_until

SYSTEM_PYTHON = "/usr/bin/python3"  # the one that has pyatspi
BUS_LAUNCHER = "/usr/libexec/at-spi-bus-launcher"
PACKAGES = "xvfb dbus-daemon at-spi2-core python3-pyatspi libatk-adaptor libgail-common"


def missing(programs):
    """The first thing the run lacks, or None."""
    for program in (*programs, "Xvfb", "dbus-run-session"):
        if shutil.which(program) is None:
            return program
    if not os.path.exists(BUS_LAUNCHER):
        return "at-spi2-core"
    if subprocess.call([SYSTEM_PYTHON, "-c", "import pyatspi"], stderr=subprocess.DEVNULL) != 0:
        return "python3-pyatspi"
    return None


def run_gui_logger(script, driver, session, programs, package, unready=lambda: None):
    """The entry of a run against a GUI logger: skipped when something is missing or
    `unready()` says why not; otherwise `script` runs again inside a D-Bus session of its own,
    with --inside, where `session(driver, home)` runs on a desktop of its own."""
    if sys.argv[2:] == ["--inside"]:
        with Desktop() as desktop:
            return session(driver, desktop.home)
    lacking = missing(programs)
    if lacking:
        print(f"SKIP: {lacking} is not installed (apt-get install {package} {PACKAGES})")
        return SKIP
    reason = unready()
    if reason:
        print(f"SKIP: {reason}")
        return SKIP
    return subprocess.call(["dbus-run-session", "--", SYSTEM_PYTHON, os.path.abspath(script),
                            driver, "--inside"])


class Desktop:
    """A display, the accessibility bus and a home of their own, for the life of a `with`."""

    def __enter__(self):
        self.home = tempfile.mkdtemp(prefix="vantrel-desktop-")
        # Xvfb picks a free display and writes its number to the pipe, with a line feed after
        # it; a pipe closed before that ends Xvfb.
        self.displayfd, write_end = os.pipe()
        self.xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0",
                                      "1024x768x24", "-nolisten", "tcp"], pass_fds=[write_end],
                                     stderr=subprocess.DEVNULL)
        os.close(write_end)
        display = b""
        while not display.endswith(b"\n"):
            got = os.read(self.displayfd, 16)
            if not got:
                raise RuntimeError("Xvfb did not start")
            display += got
        os.environ.update(HOME=self.home, DISPLAY=f":{display.decode().strip()}",
                          GTK_MODULES="gail:atk-bridge")
        os.environ.pop("NO_AT_BRIDGE", None)
        self.bus = subprocess.Popen([BUS_LAUNCHER, "--launch-immediately"],
                                    stderr=subprocess.DEVNULL)
        return self

    def __exit__(self, *exc):
        for process in (self.bus, self.xvfb):
            process.terminate()
            process.wait()
        os.close(self.displayfd)
        shutil.rmtree(self.home, ignore_errors=True)


class App:
    """One program, reached through the accessibility bus by its application name."""

    def __init__(self, name, argv, cwd=None):
        import pyatspi
        from gi.repository import GLib
        self.pyatspi = pyatspi
        self.GLib = GLib
        self.name = name
        self.process = subprocess.Popen(argv, cwd=cwd, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)

    def app(self):
        desktop = self.pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app and app.name == self.name and app.get_process_id() == self.process.pid:
                return app
        return None

    def find(self, role, name=None, node=None):
        """The first widget of that role and name; None while there is none, or while the
        widgets change under the search."""
        try:
            return self._find(role, name, node or self.app())
        except self.GLib.GError:
            return None

    def _find(self, role, name, node):
        if node is None:
            return None
        if node.getRoleName() == role and (name is None or node.name == name):
            return node
        if node.getRoleName() in ("table", "tree table"):
            return None  # logs and score tables: many cells, none of them wanted
        for i in range(node.childCount):
            child = node.getChildAtIndex(i)
            found = child is not None and self._find(role, name, child)
            if found:
                return found
        return None

    def windows(self):
        """The roles and names of the program's windows, for a failure's report."""
        app = self.app()
        if app is None:
            return []
        return [(w.getRoleName(), w.name) for w in (app.getChildAtIndex(i)
                                                    for i in range(app.childCount)) if w]

    def wait_for(self, role, name=None, within=None, seconds=PATIENCE):
        wait_until(lambda: self.find(role, name, within), seconds, f"{self.name}'s {role} {name!r}")
        return self.find(role, name, within)

    def press(self, role, name, within=None, seconds=PATIENCE):
        self.wait_for(role, name, within, seconds).queryAction().doAction(0)

    def texts(self, node):
        """The text entries under `node` as (top, left, text), in reading order."""
        found = []

        def walk(n):
            if n.getRoleName() in ("table", "tree table", "menu bar"):
                return
            if n.getRoleName() == "text":
                box = n.queryComponent().getExtents(self.pyatspi.DESKTOP_COORDS)
                found.append((box.y, box.x, n.queryText().getText(0, -1)))
            for i in range(n.childCount):
                child = n.getChildAtIndex(i)
                if child is not None:
                    walk(child)

        walk(node)
        return sorted(found)

    def kill(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
