#include <gtest/gtest.h>

#include "operating/operating_rig.h"

namespace vantrel::operating {
namespace {

// Typing, the pacing of queued text on the status reports, and the send, stop and clear buttons.
TEST(SendingTest, Sessions) {
  RunSessions({
      // One character per hand-over, each on the third report after the one before, and only
      // while the buffer holds fewer than two; it moves from the input line to the log.
      "pacing: type abcd; status 1; ?sent=A; ?input=BCD; ?log=A; status 1; status 0; ?sent=A; "
      "status 1; ?sent=AB; ?input=CD; ?log=AB; status 5; status 14; status 2; ?sent=AB; status 1; "
      "?sent=ABC; status 1x2; ?sent=ABC; status 1; ?sent=ABCD; ?input=; ?log=ABCD",
      "prosign mark and two letters go together: type ~bk; status 1; "
      "?calls=SendText ~|SendText B|SendText K; stop; type ~b; status 1; "
      "?calls=SetPttHold 0|StopSending|SendText ~; stop; type b~k; status 1; "
      "?calls=SetPttHold 0|StopSending|SendText B; stop; type ~\x82\xA0k; status 1; "
      "?calls=SetPttHold 0|StopSending|SendText ~|SendText \x82|SendText \xA0",
      // Trail byte 0x81 is also a lead byte; the log gets the character whole.
      "double byte one byte per hand over: char \x83\x81; type k; status 1; ?sent=\x83; "
      "?input=\x83\x81K; status 1x3; ?sent=\x83\x81; ?input=K; ?log=\x83\x81; status 1x3; "
      "?sent=\x83\x81K; char \xB6; status 1x3; ?log=\x83\x81K\xB6",
      "idle on the third report abandons: ptt; type abc; status 15; status 1x2; "
      "?calls=SendText A; status 15; ?calls=SetPttHold 0|StopSending; ?pending=; ?input=; ?ptt=0; "
      "status 15x2; type d; status 1; ?calls=ClearBuffer|SendText D; drain; type e; status 1; "
      "?calls=ClearBuffer|SendText E",
      "stop resets the pacing: type ab; status 1x3; stop; type xy; status 15; "
      "?calls=SendText A|SetPttHold 0|StopSending|SendText X; drain; stop; type z; status 1; "
      "?calls=SendText Y|SetPttHold 0|StopSending|SendText Z",
      "case rule and caps lock: type cQ; type+Shift Cq; ?input=CQcq; drain; ?sent=CQcq",
      "older firmware sends each character at once: fw 10; type cQ; ?calls=SendText C|SendText Q; "
      "?pending=; ?input=CQ; msg DONE; ?log=CQ; ?input=; ?timer=-",
      "typed but not sent: mode block; char a; ?passed=A; char+Alt a; ?passed=A; mode seq; "
      "focus Call; char a; ?passed=A; char+Alt a; ?passed=A; focus Log; char+Shift a; ?passed=a; "
      "press Escape; ?focus=InputLine; char+Alt a; ?passed=-; char+Ctrl a; ?passed=-; "
      "char+Alt+Shift a; ?passed=-; char+Ctrl \x16; ?passed=\x16; ?calls=; ?pending=; char \b; "
      "?pending=\b",
      "no interface stops and reapplies keeping the live speed: box 30; boxchanged; ptt; line AB; "
      "unplug; type c; ?calls=SetSpeed 30|SetPttHold 0|StopSending|SetSpeed 30|SetKeyingSettings; "
      "?ptt=0; ?input=C; ?pending=C; ?loaded=1; fw 0; type e; "
      "?calls=SetPttHold 0|StopSending|SetSpeed 30|SetKeyingSettings|SendText E",
      "first key during a cq repeat only ends it: press+Ctrl Z; forget; char x; ?passed=-; ?cq=0; "
      "?pending=; ?calls=SetPttHold 0|StopSending; type x; ?pending=X; ?input=X",
      "escape in the input line stops: type abc; call Q1ABC; ptt; press Escape; ?consumed=1; "
      "?calls=SetPttHold 0|StopSending; ?pending=; ?input=; ?ptt=0; ?call=Q1ABC",
      "block send with time and a trailing space: set LogTime=1; mode block; type ur 599; ?sent=; "
      "?input=UR 599; send; drain; ?sent=UR 599 ; ?log=07:05:09> UR 599 \r\n; ?input=",
      "block send older firmware expands macros: fw 10; mode block; call Q1ABC; "
      "line $C DE $M ~AR; send; ?calls=SetSpeed 20|SendText Q1ABC DE JA1ZZZ ~AR ; "
      "?log=Q1ABC DE JA1ZZZ AR \r\n; ?input=",
      "sequential send logs what is still queued: type abcd; status 1; send; ?log=ABCD\r\n; "
      "?input=; ?pending=BCD; drain; ?sent=ABCD; ?log=ABCD\r\n; set LogTime=1; line TU ~VA; "
      "forget; call Q1ABC; send; ?log=ABCD\r\n07:05:09> TU VA\r\n; ?calls=; ?call=Q1ABC",
      "send kills the cq timer and keeps the count: press+Ctrl Z; drain; send; ?timer=5000; "
      "line QRZ; send; ?timer=-; ?cq=19",
      "clear and exit: type abc; log OLD; clear; ?pending=; ?log=; ?calls=; ?input=ABC; type d; "
      "exit; ?pending=; ?calls=StopSending",
      // A send that finds the log longer than the control holds starts a fresh log.
      "log at its limit: mode block; log " + std::string(32767, 'x') +
          "; line K; send; ?log=" + std::string(32767, 'x') + "K \r\n",
      "log over its limit: mode block; log " + std::string(32768, 'x') +
          "; line K; send; ?log=K \r\n",
  });
}

}  // namespace
}  // namespace vantrel::operating
