"""A client written from docs/network-keyer.md alone: every command and the echo replies."""
import sys

from vantrel_run import Client, Vantrel

ESC = b"\x1b"
failures = []


def check(what, got, want):
    if got != want:
        failures.append(f"{what}: got {got!r}, want {want!r}")


def run(binary):
    vantrel = Vantrel(binary, firmware=23)
    try:
        client = Client(vantrel.port)
        six = Client(vantrel.port, "::1")
        for command in [b"0", b"2 30", b"3600", b"30", b"6", b"7-20", b"8null", b"96789", b"a1",
                        b"a0", b"b1", b"d20", b"e1001", b"fn", b"g50", b"5", b"2 99", b"z"]:
            client.send(ESC + command)
        check("commands answer nothing", client.replies(0.5), [])
        check("speed 30", vantrel.commands(0x24)[-1], "14 00 00 00 00 00 00")
        check("PTT on then off", vantrel.commands(0x35)[-2:],
              ["00 01 00 00 00 00 00", "00 00 00 00 00 00 00"])
        check("lead-in 20", vantrel.commands(0x22)[-1][:5], "14 C8")
        check("weight -20", vantrel.commands(0x20)[-1][:8], "14 01 04")

        client.send(ESC + b"hcat")
        client.send(b"E")
        check("ESC h", [r for r, _ in client.replies(1.5)], [b"hcat\r\n"])
        six.send(b"EE^")
        check("echo over IPv6", [r for r, _ in six.replies(1.5)], [b"EE\r\n"])
        codes_before = len(vantrel.commands(0x05))
        client.send(b"++E--E")
        client.replies(1.5)
        check("speed marks", vantrel.commands(0x24)[-2:], ["11 00 00 00 00 00 00", "14 00 00 00 00 00 00"])
        check("two codes", len(vantrel.commands(0x05)) - codes_before, 2)
        client.send(ESC + b"hx")
        client.send(b"PARIS PARIS PARIS")
        client.send(ESC + b"4")
        check("abort", [r for r, _ in client.replies(1.0)], [b"break\r\n"])
        client.send(ESC + b"c1")
        client.send(ESC + b"c0")
        client.send(b"*^")
        check("prosign", [r for r, _ in client.replies(2.0)], [b"+\r\n"])
        check("AR keyed as one code", vantrel.commands(0x05)[-1], "54 00 00 00 00 00 00")
        check("still running after ESC 5", vantrel.process.poll(), None)
    finally:
        vantrel.close()


if __name__ == "__main__":
    run(sys.argv[1])
    for failure in failures:
        print("FAIL", failure)
    sys.exit(1 if failures else 0)
