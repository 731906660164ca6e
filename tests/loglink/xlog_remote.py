"""xlog, set to add remote data to its QSO frame, shows the callsign and report that F11 hands
over in its Call and TX(RST) fields: through its message queue while xlog reads it, and through
TCP port 7311 when the queue is one a killed xlog left. With no xlog, F11 says so; F12 says
xlog cannot be asked. xlog runs under Xvfb; its fields are
read through the accessibility bus, in a D-Bus session of the test's own."""
import os
import re
import shutil
import subprocess
import sys
import tempfile

from route_run import SKIP, Route, wait_until

SYSTEM_PYTHON = "/usr/bin/python3"  # the one that has pyatspi
BUS_LAUNCHER = "/usr/libexec/at-spi-bus-launcher"
XLOG_QUEUE = "0x000004d6"  # key 1238
NOT_FOUND = "box xlogが見つかりません"
CANNOT_ASK = "box このログソフトからは呼出符号とレポートを取得できません"


def missing():
    for program in ("xlog", "Xvfb", "dbus-run-session", "ipcs", "ipcrm"):
        if shutil.which(program) is None:
            return program
    if not os.path.exists(BUS_LAUNCHER):
        return "at-spi2-core"
    if subprocess.call([SYSTEM_PYTHON, "-c", "import pyatspi"], stderr=subprocess.DEVNULL) != 0:
        return "python3-pyatspi"
    return None


def queue_exists():
    return XLOG_QUEUE in subprocess.check_output(["ipcs", "-q"], text=True)


class Xlog:
    """One xlog process, reached through the accessibility bus."""

    def __init__(self, env):
        import pyatspi
        self.pyatspi = pyatspi
        self.process = subprocess.Popen(["xlog"], env=env, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)

    def app(self):
        desktop = self.pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and app.name == "xlog":
                return app
        return None

    def find(self, role, name=None, node=None):
        node = node or self.app()
        if node is None:
            return None
        if node.getRoleName() == role and (name is None or node.name == name):
            return node
        if node.getRoleName() in ("table", "tree table"):
            return None  # the log and the scores: many cells, none of them wanted
        for i in range(node.childCount):
            child = node.getChildAtIndex(i)
            found = child is not None and self.find(role, name, child)
            if found:
                return found
        return None

    def press(self, role, name, within=None):
        wait_until(lambda: self.find(role, name, within), 20, f"xlog's {role} {name!r}")
        self.find(role, name, within).queryAction().doAction(0)

    def field(self, label):
        """The text of the entry beside a label of the QSO frame."""
        node = self.find("label", label)
        for box in (node.parent, node.parent.parent):
            for i in range(box.childCount):
                child = box.getChildAtIndex(i)
                if child.getRoleName() == "text":
                    return child.queryText().getText(0, -1)
        return None

    def new_log(self, name):
        self.press("menu item", "New...")
        wait_until(lambda: self.find("dialog", "xlog - new log"), 20, "xlog's new log dialog")
        dialog = self.find("dialog", "xlog - new log")
        self.find("text", None, dialog).queryEditableText().setTextContents(name)
        self.press("push button", "OK", dialog)
        wait_until(lambda: self.find("page tab", name), 20, "the new log's page")

    def quit(self):
        self.press("menu item", "Quit")
        wait_until(lambda: self.find("dialog", "xlog - exiting"), 20, "xlog's exit question")
        self.press("push button", "OK", self.find("dialog", "xlog - exiting"))
        self.process.wait(timeout=20)

    def kill(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()


def first_run(env, home):
    """xlog writes its settings file on its first run; then one key is changed in it."""
    xlog = Xlog(env)
    try:
        xlog.press("push button", "OK", None)  # the setup dialog of a first start
        wait_until(lambda: xlog.find("frame", "xlog"), 20, "xlog's window")
        xlog.quit()
    finally:
        xlog.kill()
    path = os.path.join(home, ".xlog", "xlog.cfg")
    with open(path) as f:
        settings = f.read()
    if "remoteadding=2\n" not in settings:
        raise RuntimeError("xlog's settings have no remoteadding=2")
    with open(path, "w") as f:
        f.write(settings.replace("remoteadding=2\n", "remoteadding=1\n"))


def handed_over(xlog, call, report):
    wait_until(lambda: (xlog.field("Call"), xlog.field("TX(RST)")) == (call, str(report)), 20,
               f"{call} {report} in xlog's Call and TX(RST) fields")


def inside(driver):
    home = tempfile.mkdtemp(prefix="vantrel-xlog-")
    read_end, write_end = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24",
                             "-nolisten", "tcp"], pass_fds=[write_end],
                            stderr=subprocess.DEVNULL)
    os.close(write_end)
    display = os.read(read_end, 16).decode().strip()
    env = dict(os.environ, HOME=home, DISPLAY=f":{display}", GTK_MODULES="gail:atk-bridge")
    env.pop("NO_AT_BRIDGE", None)
    os.environ.update(env)
    bus = subprocess.Popen([BUS_LAUNCHER, "--launch-immediately"], env=env,
                           stderr=subprocess.DEVNULL)
    xlogs = []
    route = None
    try:
        first_run(env, home)
        xlog = Xlog(env)
        xlogs.append(xlog)
        xlog.new_log("vantrel")
        wait_until(queue_exists, 20, "xlog's message queue")
        route = Route(driver, "xlog", 0)
        if route.send("Q1ABC", 599) != "sent":
            raise RuntimeError("F11 through the message queue was refused")
        handed_over(xlog, "Q1ABC", 599)
        print("PASS xlog: F11 filled Call Q1ABC and TX(RST) 599 through its message queue")
        xlog.kill()
        got = route.send("Q3AAA", 599)
        if got != NOT_FOUND:
            raise RuntimeError(f"F11 with xlog killed gave {got!r}")
        print("PASS xlog: F11 with xlog killed, its queue left behind, says xlog is not found")
        xlog = Xlog(env)
        xlogs.append(xlog)
        xlog.new_log("vantrel2")
        if route.send("Q2XYZ", 579) != "sent":
            raise RuntimeError("F11 through TCP port 7311 was refused")
        handed_over(xlog, "Q2XYZ", 579)
        print("PASS xlog: F11 filled Call Q2XYZ and TX(RST) 579 through TCP port 7311, the "
              "queue's last reader being gone")
        got = route.fetch()
        if got != CANNOT_ASK:
            raise RuntimeError(f"F12 gave {got!r}")
        print("PASS xlog: F12 says the logging program cannot be asked")
    except RuntimeError as error:
        print("FAIL", error)
        return 1
    finally:
        if route:
            route.close()
        for xlog in xlogs:
            xlog.kill()
        if queue_exists():  # none was there before the run
            subprocess.call(["ipcrm", "-Q", "1238"])
        bus.terminate()
        xvfb.terminate()
        bus.wait()
        xvfb.wait()
        shutil.rmtree(home, ignore_errors=True)
    return 0


def main(driver):
    if len(sys.argv) > 2 and sys.argv[2] == "--inside":
        return inside(driver)
    lacking = missing()
    if lacking:
        print(f"SKIP: {lacking} is not installed (apt-get install xlog xvfb at-spi2-core "
              "python3-pyatspi libatk-adaptor libgail-common)")
        return SKIP
    if queue_exists():
        print("SKIP: an xlog is running here already (its message queue exists)")
        return SKIP
    return subprocess.call(["dbus-run-session", "--", SYSTEM_PYTHON, os.path.abspath(__file__),
                            driver, "--inside"])


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
