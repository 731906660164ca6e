"""CQRLOG in its "fldigi remote" mode, polling fldigi's XML-RPC interface, takes the callsign
and report that F11 hands over into its New QSO window: the call field and His RST. CQRLOG
keeps its log in a MariaDB server that it starts itself. It runs under Xvfb; its fields are
read through the accessibility bus."""
import os
import signal
import socket
import subprocess
import sys
import time

from desktop_run import App, run_gui_logger
from route_run import PATIENCE, Route, wait_until

NEW_QSO = "New QSO ... (CQRLOG for Linux), database: Log 001"
# The log's settings live in its database: fldigi remote mode through XML-RPC, polled each second.
SETTINGS = "[fldigi]\\nxmlrpc=1\\ninterval=1\\n"


class Cqrlog(App):
    def __init__(self):
        super().__init__("cqrlog", ["cqrlog"], cwd="/usr/bin")  # it finds its data from there

    def answer_first_start(self):
        """CQRLOG asks on its first start whether the log is kept on this machine."""
        self.press("push button", "Yes", self.wait_for("alert", "Question"))


def database_dir(home):
    return os.path.join(home, ".config", "cqrlog", "database")


def stop(cqrlog, home):
    cqrlog.kill()
    pids = subprocess.run(["pgrep", "-f", "--", f"--defaults-file={database_dir(home)}/"],
                          capture_output=True, text=True).stdout.split()
    for pid in pids:
        os.kill(int(pid), signal.SIGKILL)


def sql(home, statement):
    return subprocess.run(["mariadb", f"--socket={database_dir(home)}/sock", "-e", statement],
                          capture_output=True, text=True).returncode == 0


def start(home):
    """The first start creates CQRLOG's databases. MariaDB refuses to run as root: then the
    server's settings file that CQRLOG has written gets user=root and CQRLOG starts again."""
    os.makedirs(os.path.join(home, ".config"))
    cqrlog = Cqrlog()
    cqrlog.answer_first_start()
    if os.geteuid() == 0:
        cqrlog.wait_for("frame", "Database problem")
        stop(cqrlog, home)
        path = os.path.join(database_dir(home), "mysql.cnf")
        with open(path) as f:
            settings = f.read()
        with open(path, "w") as f:
            f.write(settings.replace("[mysqld]\n", "[mysqld]\nuser=root\n", 1))
        cqrlog = Cqrlog()
        cqrlog.answer_first_start()
    wait_until(lambda: sql(home, "select 1 from cqrlog001.cqrlog_config"), 2 * PATIENCE,
               "CQRLOG's databases")
    return cqrlog


def open_log(cqrlog):
    """"Open log" does nothing while CQRLOG still fills its new databases, so it is pressed
    every few seconds until the log opens; the changes of the version, shown first, are closed."""
    deadline = time.monotonic() + 2 * PATIENCE
    while not cqrlog.find("frame", NEW_QSO):
        if time.monotonic() > deadline:
            raise RuntimeError("CQRLOG's log never opened")
        for window, button in (("Changelog", "Close"), ("Database connection", "Open log")):
            frame = cqrlog.find("frame", window)
            if frame:
                cqrlog.press("push button", button, frame)
                break
        time.sleep(3)


def call_row(cqrlog):
    """The New QSO window's first row of entries, left to right: call, frequency, mode, His
    RST, My RST; found as the entries level with the mode's."""
    window = cqrlog.find("frame", NEW_QSO)
    if window is None:
        return []
    try:
        entries = cqrlog.texts(window)
    except cqrlog.GLib.GError:
        return []
    mode = next((top for top, _, text in entries if text == "CW"), None)
    if mode is None:
        return []
    return [text for top, _, text in sorted(entries, key=lambda e: e[1]) if abs(top - mode) <= 4]


def session(driver, home):
    cqrlog = None
    route = None
    try:
        route = Route(driver, "fldigi", 0)
        cqrlog = start(home)
        if not sql(home, f"update cqrlog001.cqrlog_config set config_file='{SETTINGS}'"):
            raise RuntimeError("CQRLOG's log settings could not be set")
        open_log(cqrlog)
        cqrlog.press("menu item", "Remote mode for fldigi", cqrlog.wait_for("frame", NEW_QSO))
        if route.send("Q1ABC", 579) != "sent":
            raise RuntimeError("F11 did not hand the contact over")
        wait_until(lambda: call_row(cqrlog)[:1] == ["Q1ABC"] and call_row(cqrlog)[3:4] == ["579"],
                   30, "Q1ABC and 579 in CQRLOG's call and His RST fields")
        print("PASS CQRLOG: F11 put Q1ABC into its call field and 579 into His RST through "
              "fldigi XML-RPC")
        route.fetch_is_refused("CQRLOG")
    except RuntimeError as error:
        print("FAIL", error)
        if cqrlog:
            print("CQRLOG's windows:", cqrlog.windows())
            print("CQRLOG's call row:", call_row(cqrlog))
        return 1
    finally:
        if cqrlog:
            stop(cqrlog, home)
        if route:
            route.close()
    return 0


def port_taken(port):
    with socket.socket() as s:
        return s.connect_ex(("127.0.0.1", port)) == 0


def unready():
    for port, what in ((7362, "fldigi's"), (64000, "CQRLOG's database")):
        if port_taken(port):
            return f"{what} port {port} is taken here"
    return None


def main(driver):
    return run_gui_logger(__file__, driver, session, ["cqrlog", "mariadb", "pgrep"], "cqrlog",
                          unready)


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
