"""xlog, set to add remote data to its QSO frame, shows the callsign and report that F11 hands
over in its Call and TX(RST) fields: through its message queue while xlog reads it, and through
TCP port 7311 when the queue is one a killed xlog left. With no xlog, F11 says so; F12 says
xlog cannot be asked. xlog runs under Xvfb; its fields are read through the accessibility bus."""
import os
import subprocess
import sys

from desktop_run import App, run_gui_logger
from route_run import PATIENCE, Route, wait_until

XLOG_QUEUE = "0x000004d6"  # key 1238
NOT_FOUND = "box xlogが見つかりません"


def queue_exists():
    return XLOG_QUEUE in subprocess.check_output(["ipcs", "-q"], text=True)


class Xlog(App):
    def __init__(self):
        super().__init__("xlog", ["xlog"])

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
        dialog = self.wait_for("dialog", "xlog - new log")
        self.find("text", None, dialog).queryEditableText().setTextContents(name)
        self.press("push button", "OK", dialog)
        self.wait_for("page tab", name)

    def quit(self):
        self.press("menu item", "Quit")
        self.press("push button", "OK", self.wait_for("dialog", "xlog - exiting"))
        self.process.wait(timeout=PATIENCE)


FIRST_RUN = None


def first_run(home):
    """xlog writes its settings file on its first run; then one key is changed in it."""
    global FIRST_RUN
    xlog = FIRST_RUN = Xlog()
    try:
        xlog.press("push button", "OK", xlog.wait_for("dialog", "xlog - setup"))
        xlog.wait_for("frame", "xlog")
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
    wait_until(lambda: (xlog.field("Call"), xlog.field("TX(RST)")) == (call, str(report)),
               PATIENCE, f"{call} {report} in xlog's Call and TX(RST) fields")


def check(got, want, what):
    if got != want:
        raise RuntimeError(f"{what} gave {got!r}")


def session(driver, home):
    xlogs = []
    route = None
    try:
        first_run(home)
        xlogs.append(Xlog())
        xlogs[-1].new_log("vantrel")
        wait_until(queue_exists, PATIENCE, "xlog's message queue")
        route = Route(driver, "xlog", 0)
        check(route.send("Q1ABC", 599), "sent", "F11 through the message queue")
        handed_over(xlogs[-1], "Q1ABC", 599)
        print("PASS xlog: F11 filled Call Q1ABC and TX(RST) 599 through its message queue")
        xlogs[-1].kill()
        check(route.send("Q3AAA", 599), NOT_FOUND, "F11 with xlog killed")
        print("PASS xlog: F11 with xlog killed, its queue left behind, says xlog is not found")
        xlogs.append(Xlog())
        xlogs[-1].new_log("vantrel2")
        check(route.send("Q2XYZ", 579), "sent", "F11 through TCP port 7311")
        handed_over(xlogs[-1], "Q2XYZ", 579)
        print("PASS xlog: F11 filled Call Q2XYZ and TX(RST) 579 through TCP port 7311, the "
              "queue's last reader being gone")
        route.fetch_is_refused("xlog")
    except RuntimeError as error:
        print("FAIL", error)
        for xlog in xlogs or [FIRST_RUN]:
            print("xlog's windows:", xlog.windows(), "exit status:", xlog.process.poll())
        return 1
    finally:
        if route:
            route.close()
        for xlog in xlogs:
            xlog.kill()
        if queue_exists():  # none was there before the run
            subprocess.call(["ipcrm", "-Q", "1238"])
    return 0


def unready():
    if queue_exists():
        return "an xlog is running here already (its message queue exists)"
    return None


def main(driver):
    return run_gui_logger(__file__, driver, session, ["xlog", "ipcs", "ipcrm"], "xlog", unready)


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
