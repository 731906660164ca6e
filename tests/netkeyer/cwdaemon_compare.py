"""One datagram script against Debian's cwdaemon (null device, no sound) and Vantrel side by
side: the replies must match byte for byte; the time to each echo is printed for both."""
import shutil
import subprocess
import sys
import time

from vantrel_run import SKIP, Client, Vantrel, free_udp_port

ESC = b"\x1b"
# Each step: datagrams sent together, then the replies collected until the line is quiet.
SCRIPT = [
    [ESC + b"2 40", ESC + b"7 0", ESC + b"d 10"],
    [ESC + b"hcat", b"PUR"],
    [b"CQ T^"],
    [ESC + b"h", b"E\r\n"],
    [b"A+B-C^"],
    [b"TU *^"],
    [ESC + b"hdog", b"PARIS PARIS", ESC + b"4"],
    [b"QRL? ^", ESC + b"4"],
    [ESC + b"z", ESC + b"2 99", ESC + b"7 99"],
    [b"~E~^"],
    [b"5NN^"],
]


def play(port):
    client = Client(port)
    results = []
    for datagrams in SCRIPT:
        for datagram in datagrams:
            client.send(datagram)
        results.append(client.replies(2.5))
    return results


def main(binary):
    if shutil.which("cwdaemon") is None:
        print("SKIP: cwdaemon is not installed (apt-get install cwdaemon)")
        return SKIP
    port = free_udp_port()
    daemon = subprocess.Popen(["cwdaemon", "-n", "-d", "null", "-x", "n", "-y", "n",
                               "-p", str(port)], stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL)
    try:
        time.sleep(0.5)
        reference = play(port)
    finally:
        daemon.terminate()
        daemon.wait(timeout=10)
    vantrel = Vantrel(binary, firmware=23)
    try:
        ours = play(vantrel.port)
    finally:
        vantrel.close()
    failed = False
    for datagrams, want, got in zip(SCRIPT, reference, ours):
        same = [r for r, _ in want] == [r for r, _ in got]
        failed |= not same
        times = " ".join(f"{r!r} cwdaemon {a * 1000:.0f} ms, Vantrel {b * 1000:.0f} ms"
                         for (r, a), (_, b) in zip(want, got))
        print("ok  " if same else "FAIL", datagrams, [r for r, _ in want], [r for r, _ in got],
              times)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
