"""tlf, the contest logger, keys through Vantrel on the simulated interface: its CQ message, a
callsign with the exchange and serial number, a speed change and Escape in mid-message. At
firmware 23 the CmdSendCodes bytes are checked; at 10 the key timing, read back as Morse."""
import difflib
import os
import shutil
import subprocess
import sys
import time

from vantrel_run import SKIP, Vantrel

MORSE = {"A": ".-", "B": "-...", "C": "-.-.", "D": "-..", "E": ".", "F": "..-.", "G": "--.",
         "H": "....", "I": "..", "J": ".---", "K": "-.-", "L": ".-..", "M": "--", "N": "-.",
         "O": "---", "P": ".--.", "Q": "--.-", "R": ".-.", "S": "...", "T": "-", "U": "..-",
         "V": "...-", "W": ".--", "X": "-..-", "Y": "-.--", "Z": "--..", "0": "-----",
         "1": ".----", "2": "..---", "3": "...--", "4": "....-", "5": ".....", "6": "-....",
         "7": "--...", "8": "---..", "9": "----."}
LETTERS = {m: c for c, m in MORSE.items()}
WPM = 24
CQ = "CQ TEST JA1ZZZ"
EXCHANGE = "JA2XYZ 5NN 001"
LOGCFG = "CALL=JA1ZZZ\nNETKEYER\nNETKEYERHOST=127.0.0.1\nNETKEYERPORT={port}\nCWSPEED=24\nRULES=test\n"
RULES = ("CONTEST=test\nLOGFILE=test.log\nCONTEST_MODE\nSERIAL_EXCHANGE\n"
         f"F1={CQ}\nF3=@ 5NN #\nCQ_TU_MSG=TU\n")
failures = []


def code_byte(char):
    if char == " ":
        return 0x80
    code, bit = 0, 0x80
    for element in MORSE[char]:
        if element == "-":
            code |= bit
        bit >>= 1
    return code | bit


def codes_of(text):
    return [f"{code_byte(c):02X} 00 00 00 00 00 00" for c in text]


def check(what, got, want):
    if got != want:
        failures.append(f"{what}: got {got!r}, want {want!r}")


class Tlf:
    def __init__(self, port, name):
        self.dir = subprocess.check_output(["mktemp", "-d"], text=True).strip()
        os.makedirs(os.path.join(self.dir, "rules"))
        with open(os.path.join(self.dir, "logcfg.dat"), "w") as f:
            f.write(LOGCFG.format(port=port))
        with open(os.path.join(self.dir, "rules", "test"), "w") as f:
            f.write(RULES)
        self.name = name
        subprocess.check_call(["tmux", "new-session", "-d", "-s", name, "-x", "120", "-y", "40",
                               f"cd {self.dir} && TERM=xterm tlf"])
        self.wait_for("Press any key")
        self.keys("Space")
        time.sleep(1.5)

    def screen(self):
        return subprocess.check_output(["tmux", "capture-pane", "-p", "-t", self.name], text=True)

    def wait_for(self, text, seconds=15):
        deadline = time.monotonic() + seconds
        while text not in self.screen():
            if time.monotonic() > deadline:
                raise RuntimeError(f"tlf never showed {text!r}")
            time.sleep(0.2)

    def keys(self, *keys):
        subprocess.check_call(["tmux", "send-keys", "-t", self.name, *keys])

    def close(self):
        subprocess.call(["tmux", "kill-session", "-t", self.name])
        shutil.rmtree(self.dir, ignore_errors=True)


def settle(vantrel, seconds=2.5):
    """Waits until the event log has been quiet for `seconds` of keying."""
    size = -1
    while True:
        events = vantrel.events()
        if len([e for e in events if "KEY" in e or " 05 " in e]) == size:
            return
        size = len([e for e in events if "KEY" in e or " 05 " in e])
        time.sleep(seconds)


def decoded(vantrel, start):
    """The key transitions after event `start` read back as text at WPM."""
    dot = 1200 / WPM
    marks = []
    for line in open(vantrel.log, encoding="ascii").read().splitlines()[start:]:
        stamp, event = line.split(" ", 1)
        if event.startswith("KEY "):
            marks.append((float(stamp), event == "KEY 1"))
    text, letter = "", ""
    for (t0, down), (t1, _) in zip(marks, marks[1:]):
        length = (t1 - t0) / dot
        if down:
            letter += "-" if length > 2 else "."
        elif length > 2:
            text += LETTERS.get(letter, "?")
            letter = ""
            if length > 5:
                text += " "
    if letter:
        text += LETTERS.get(letter, "?")
    return text


def check_timing(what, vantrel, start, text):
    """The text read back from the key timing. The PC times firmware 10's elements and the
    reader's report cycle carries them to the interface, so on a loaded machine a stalled cycle
    can lengthen or swallow an element: the read-back must match closely, not exactly."""
    got = decoded(vantrel, start)
    marks = sum(1 for e in vantrel.events()[start:] if e == "KEY 1")
    print(f"{what}: read back {got!r}, {marks} of {sum(len(MORSE[c]) for c in text if c != ' ')}"
          " elements")
    if difflib.SequenceMatcher(None, got, text).ratio() < 0.75:
        check(f"{what}: read back", got, text)


def session(binary, firmware):
    vantrel = Vantrel(binary, firmware=firmware)
    tlf = Tlf(vantrel.port, f"vantrel-tlf-{os.getpid()}-{firmware}")
    try:
        settle(vantrel)
        start = len(vantrel.events())
        sent = len(vantrel.commands(0x05))
        tlf.keys("F1")
        time.sleep(0.5)
        settle(vantrel)
        if firmware >= 20:
            check(f"{firmware}: CQ", vantrel.commands(0x05)[sent:], codes_of(CQ))
        else:
            check_timing(f"{firmware}: CQ", vantrel, start, CQ)
        start = len(vantrel.events())
        sent = len(vantrel.commands(0x05))
        tlf.keys("JA2XYZ")
        tlf.wait_for("JA2XYZ")
        tlf.keys("Enter")
        time.sleep(0.5)
        settle(vantrel)
        if firmware >= 20:
            check(f"{firmware}: exchange", vantrel.commands(0x05)[sent:], codes_of(EXCHANGE))
        else:
            check_timing(f"{firmware}: exchange", vantrel, start, EXCHANGE)
        tlf.keys("Escape", "Escape", "Escape")
        time.sleep(0.5)
        tlf.keys("PageUp")
        time.sleep(0.5)
        if firmware >= 20:
            half_dot = 1200 // (WPM + 2) // 2
            check(f"{firmware}: speed", vantrel.commands(0x24)[-1], f"{half_dot:02X} 00 00 00 00 00 00")
        sent = len(vantrel.commands(0x05))
        tlf.keys("F1")
        time.sleep(1.2)
        tlf.keys("Escape")
        settle(vantrel)
        if firmware >= 20:
            cut = vantrel.commands(0x05)[sent:]
            check(f"{firmware}: Escape cuts the CQ short", 0 < len(cut) < len(CQ), True)
            check(f"{firmware}: what went out is the CQ's start", cut, codes_of(CQ)[:len(cut)])
            check(f"{firmware}: the interface was cleared", vantrel.events()[-3:].count("OUT 00 34 00 00 00 00 00 00 00") > 0 or
                  "OUT 00 34 00 00 00 00 00 00 00" in vantrel.events()[-40:], True)
        else:
            tail = vantrel.events()[-1]
            check(f"{firmware}: Escape leaves the key up", tail.startswith("KEY 1"), False)
    finally:
        tlf.close()
        vantrel.close()


def main(binary):
    for program in ("tlf", "tmux"):
        if shutil.which(program) is None:
            print(f"SKIP: {program} is not installed (apt-get install tlf tmux)")
            return SKIP
    for firmware in (23, 10):
        session(binary, firmware)
    for failure in failures:
        print("FAIL", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
