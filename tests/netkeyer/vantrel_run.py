"""Runs Vantrel on the simulated interface with the network keyer, for the client tests."""
import os
import shutil
import socket
import subprocess
import tempfile
import time

SKIP = 77


def free_udp_port():
    with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


class Vantrel:
    """vantrel --simulate=FIRMWARE --net-keyer=PORT in a fresh working directory."""

    def __init__(self, binary, firmware=23, port=None):
        self.dir = tempfile.mkdtemp(prefix="vantrel-net-")
        self.log = os.path.join(self.dir, "events.log")
        self.port = port or free_udp_port()
        env = dict(os.environ, QT_QPA_PLATFORM="offscreen", XDG_RUNTIME_DIR=self.dir)
        self.process = subprocess.Popen(
            [os.path.abspath(binary), f"--simulate={firmware}", f"--simulate-log={self.log}",
             f"--net-keyer={self.port}"],
            cwd=self.dir, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        deadline = time.monotonic() + 10
        while not self.listening() and time.monotonic() < deadline:
            time.sleep(0.05)

    def listening(self):
        with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as probe:
            try:
                probe.bind(("127.0.0.1", self.port))
            except OSError:
                return True
        return False

    def events(self):
        with open(self.log, encoding="ascii") as log:
            return [line.split(" ", 1)[1].strip() for line in log]

    def commands(self, code):
        prefix = f"OUT 00 {code:02X}"
        return [e[len(prefix) + 1:] for e in self.events() if e.startswith(prefix)]

    def close(self):
        self.process.terminate()
        self.process.wait(timeout=10)
        shutil.rmtree(self.dir, ignore_errors=True)


class Client:
    def __init__(self, port, host="127.0.0.1"):
        family = socket.AF_INET6 if ":" in host else socket.AF_INET
        self.sock = socket.socket(family, socket.SOCK_DGRAM)
        self.to = (host, port)

    def send(self, data):
        self.sock.sendto(data, self.to)

    def replies(self, wait):
        """Every reply until none has come for `wait` seconds, with its delay after the call."""
        got = []
        start = time.monotonic()
        self.sock.settimeout(wait)
        try:
            while True:
                data = self.sock.recv(512)
                got.append((data, time.monotonic() - start))
        except socket.timeout:
            pass
        return got
