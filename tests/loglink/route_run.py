"""What the runs against the real loggers share: a free port and the window driver."""
import os
import socket
import subprocess
import time

SKIP = 77
CANNOT_ASK = "box このログソフトからは呼出符号とレポートを取得できません"
# How long a logger may take to show something: long, for a machine under load; a passing run
# never waits it out.
PATIENCE = 120


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def wait_until(condition, seconds, what):
    deadline = time.monotonic() + seconds
    while not condition():
        if time.monotonic() > deadline:
            raise RuntimeError(f"timed out waiting for {what}")
        time.sleep(0.2)


class Route:
    """The operating window, driven through window_driver: send() is F11, fetch() is F12."""

    def __init__(self, driver, program, port):
        self.process = subprocess.Popen([driver, program, str(port)], stdin=subprocess.PIPE,
                                        stdout=subprocess.PIPE, text=True,
                                        env=dict(os.environ, QT_QPA_PLATFORM="offscreen"))
        self.expect("ready")

    def expect(self, line):
        got = self.process.stdout.readline().strip()
        if got != line:
            raise RuntimeError(f"window driver said {got!r}, not {line!r}")

    def command(self, text):
        self.process.stdin.write(text + "\n")
        self.process.stdin.flush()
        return self.process.stdout.readline().strip()

    def send(self, call, report):
        return self.command(f"send {call} {report}")

    def fetch(self):
        return self.command("fetch")

    def fetch_is_refused(self, logger):
        """F12 against a logger that cannot be asked: the one box that says so."""
        got = self.fetch()
        if got != CANNOT_ASK:
            raise RuntimeError(f"F12 gave {got!r}")
        print(f"PASS {logger}: F12 says the logging program cannot be asked")

    def close(self):
        self.process.stdin.close()
        self.process.wait(timeout=10)
