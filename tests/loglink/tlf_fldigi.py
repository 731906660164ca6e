"""tlf, with its FLDIGI option pointed at the fldigi-style route, takes the callsign handed
over by F11 into its empty call field; F12 says tlf cannot be asked. tlf polls fldigi only
while its rig control runs, so the run uses Hamlib's dummy rig."""
import os
import shutil
import subprocess
import sys
import tempfile

from route_run import PATIENCE, SKIP, Route, free_port, wait_until

LOGCFG = ("CALL=JA1ZZZ\nRADIO_CONTROL\nRIGMODEL=1\nRIGPORT=/dev/null\n"
          "FLDIGI=http://localhost:{port}/RPC2\nRULES=test\n")
RULES = "CONTEST=test\nLOGFILE=test.log\n"


class Tlf:
    def __init__(self, port):
        self.dir = tempfile.mkdtemp(prefix="vantrel-tlf-")
        os.makedirs(os.path.join(self.dir, "rules"))
        with open(os.path.join(self.dir, "logcfg.dat"), "w") as f:
            f.write(LOGCFG.format(port=port))
        with open(os.path.join(self.dir, "rules", "test"), "w") as f:
            f.write(RULES)
        self.name = f"vantrel-tlf-fldigi-{os.getpid()}"
        subprocess.check_call(["tmux", "new-session", "-d", "-s", self.name, "-x", "100", "-y",
                               "30", f"cd {self.dir} && TERM=xterm tlf"])
        wait_until(lambda: "Press any key" in self.screen(), PATIENCE, "tlf's start")
        subprocess.check_call(["tmux", "send-keys", "-t", self.name, "Space"])

    def screen(self):
        return subprocess.check_output(["tmux", "capture-pane", "-p", "-t", self.name], text=True)

    def call_field(self):
        """The call entry line holds the mode, date, time and QSO number, then from column 29
        the call, as tlf prints it."""
        for line in self.screen().splitlines():
            fields = line.split()
            if len(fields) >= 4 and fields[0].endswith("CW") and fields[3].isdigit():
                return line[29:43].strip()
        return None

    def close(self):
        subprocess.call(["tmux", "kill-session", "-t", self.name])
        shutil.rmtree(self.dir, ignore_errors=True)


def main(driver):
    for program in ("tlf", "tmux"):
        if shutil.which(program) is None:
            print(f"SKIP: {program} is not installed (apt-get install tlf tmux)")
            return SKIP
    port = free_port()
    route = Route(driver, "fldigi", port)
    tlf = Tlf(port)
    try:
        wait_until(lambda: tlf.call_field() == "" and "TRX:" in tlf.screen(), PATIENCE,
                   "tlf's log view")
        if route.send("Q1ABC", 599) != "sent":
            raise RuntimeError("F11 did not hand the contact over")
        wait_until(lambda: tlf.call_field() == "Q1ABC", PATIENCE, "Q1ABC in tlf's call field")
        print("PASS tlf: F11 put Q1ABC into tlf's call field through fldigi XML-RPC")
        route.fetch_is_refused("tlf")
    except RuntimeError as error:
        print("FAIL", error)
        print(tlf.screen())
        return 1
    finally:
        tlf.close()
        route.close()
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
