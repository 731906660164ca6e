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
      // Nothing is handed over for a character without a code, and none is left for an idle
      // report to find queued.
      "characters without a code go to the log only: type #a#b#; status 1; ?calls=SendText A; "
      "?log=#A#; ?input=B#; status 1x3; ?calls=SendText B; ?log=#A#B#; status 15x3; ?calls=; "
      "?pending=; type ~a#r; status 1; ?calls=ClearBuffer|SendText ~|SendText A|SendText R",
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
      "?ptt=0; ?input=C; ?pending=C; fw 0; type e; "
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

// Function keys and their banks, macros, the CQ repeat and the hot keys.
TEST(MemoriesTest, Sessions) {
  RunSessions({
      "ctrl shows bank b until released: "
      "?captions=CQ DE $M K|$M|$C|UR $R ~BK|NR?|~BK||TU ~VA E E||TNX FER UR CALL|>THL|<THL; "
      "press+Ctrl Control; ?consumed=0; ?captions=B1 $C|B2|B3|B4|B5|B6|B7|B8|B9|B10|>THL|<THL; "
      "release Control; ?captions=CQ DE $M K|$M|$C|UR $R ~BK|NR?|~BK||TU ~VA E E||TNX FER UR "
      "CALL|>THL|<THL",
      "block mode sends the input line before the message: set FnMsgA.2=UR $R ~BK; mode block; "
      "type q1abc; press F2; ?consumed=1; drain; ?sent=Q1ABC UR 599 ~BK ; ?input=; "
      "?log=Q1ABC UR 599 BK \r\n",
      "sequential shows the message until handed over: set LogTime=1; fn 4; ?pending=UR 599 ~BK; "
      "?input=UR 599 BK; drain; ?sent=UR 599 ~BK; ?log=07:05:09> UR 599 BK; ?input=",
      "f1 sends what its caption shows: fw 10; call Q1ABC; press F1; ?consumed=1; "
      "?input=CQ DE JA1ZZZ K; "
      "?calls=SetSpeed 20|SendText CQ DE JA1ZZZ K; press+Shift F1; ?consumed=0; press+Alt F1; "
      "press+Ctrl+Alt F1; ?consumed=0; ?calls=; press+Ctrl Control; press+Ctrl F1; ?consumed=1; "
      "?calls=SetSpeed 20|SendText B1 Q1ABC; press F10; ?calls=SetSpeed 20|SendText B10; "
      "press+Ctrl Z; ?sent=CQ DE JA1ZZZ KB1 Q1ABCB10CQ DE JA1ZZZ K",
      "keys left to the focused control: line Q1; press+Ctrl A; ?consumed=0; press K; "
      "?consumed=0; press+Alt Z; ?consumed=0; press+Ctrl+Shift F5; ?consumed=0; press+Ctrl X; "
      "?consumed=0; focus Call; press+Ctrl Q; ?consumed=0; focus Log; press+Ctrl K; ?consumed=0; "
      "press+Ctrl S; ?consumed=0; press+Ctrl Z; ?consumed=0; press+Ctrl W; ?consumed=0; "
      "?input=Q1; ?cq=0; ?speed=20; ?calls=",
      "cq pause in whole milliseconds: set FnMsgA.1=CQ; fw 10; press+Ctrl Z; "
      "set CqLoopInterval=0.7; msg DONE; set CqLoopInterval=1.2345; msg DONE; "
      "set CqLoopInterval=0.0009; msg DONE; set CqLoopInterval=-1; msg DONE; "
      "?timers=700 1234 0 0 ; ?cq=16",
      "an empty message does nothing, another ends a cq repeat: press+Ctrl Z; forget; fn 7; "
      "?cq=20; ?calls=; ?gate=; press+Ctrl Z; drain; forget; fn 2; ?cq=0; ?timer=-; "
      "?calls=SetPttHold 0|StopSending; ?pending=",
      "number advances after the send: fw 10; set Auto=1; set Number=009; macro 5NN $N $N; "
      "?number=010; set Number=11M; macro $N; set Number=000; macro $N; ?number=000; "
      "set Number=001; macro TU; ?number=001; set Auto=0; macro $N; ?number=001; set Auto=1; "
      "set Number=; macro $N; ?sent=5NN 009 00911M000TU001",
      "an empty expansion is neither sent nor logged: set LogTime=1; macro $C; mode block; "
      "macro $C; ?pending=; ?log=; ?input=; ?calls=SetSpeed 20|SetSpeed 20",
      "a failed read stops before anything is sent: fw 10; readfail; macro TEST; ?calls=; ?input=",
      "only a keying speed reaches the engine: fw 10; box 35; macro E; "
      "?calls=SetSpeed 35|SendText E; box 4; macro E; ?calls=SendText E; ?wpm=35; box 70; "
      "macro E; ?calls=SendText E; box 5; macro E; box 50; macro E; "
      "?calls=SetSpeed 5|SendText E|SetSpeed 50|SendText E",
      "no interface reconnects and ends the repeat: fw 10; press+Ctrl+Alt Z; forget; unplug; "
      "macro TEST; ?cq=0; "
      "?calls=SetPttHold 0|StopSending|SetSpeed 20|SetKeyingSettings|SetSpeed 20|SendText TEST",
      "ctrl z twenty one calls: set FnMsgA.1=CQ $M; press+Ctrl Z; ?consumed=1; ?cq=20; "
      "repeat 100; ?sent*21=CQ JA1ZZZ; ?timers*20=5000 ; ?cq=0; ?timer=-",
      "ctrl z firmware 20: set CqLoopInterval=2.5; fw 20; press+Ctrl Z; repeat 100; "
      "?sent*21=CQ DE JA1ZZZ K; ?timers*20=2500 ; ?timer=-",
      "ctrl z older firmware: set FnMsgA.1=CQ; fw 10; press+Ctrl Z; repeat 100; ?sent*21=CQ; "
      "?timers*20=5000 ; ?timer=-",
      "the timer starts after the last hand over: set FnMsgA.1=CQ; press+Ctrl Z; status 1x4; "
      "?sent=CQ; status 1x2; ?timer=-; status 1; ?timer=5000; ?cq=19; status 15x10; ?timers=5000 ",
      "ctrl alt z without end: press+Ctrl+Alt Z; ?consumed=1; repeat 50; ?cq=-1; ?timer=5000; "
      "?timers*50=5000 ",
      "ctrl z stops and calls at once keeping a pending timer: type abc; press+Ctrl Z; "
      "?calls=StopSending|SetSpeed 20; ?pending=CQ DE JA1ZZZ K; drain; press+Ctrl+Alt Z; "
      "?timer=5000; ?cq=-1",
      "an empty call stalls on older firmware: set FnMsgA.1=; fw 10; press+Ctrl Z; ?sent=; "
      "?timer=-; ?cq=20; fw 23; repeat 100; ?timers*20=5000 ; ?sent=",
      "interface input starts only when idle and any other value ends: msg INPUT 13; ?cq=20; "
      "?pending=CQ DE JA1ZZZ K; ?calls=StopSending|SetSpeed 20; drain; forget; msg INPUT 13; "
      "?cq=19; ?calls=; ?timer=5000; msg INPUT 14; ?cq=0; ?timer=-; ?calls=; press+Ctrl+Alt Z; "
      "msg INPUT 13; ?cq=-1; msg INPUT 0; ?cq=0; ?pending=; msg INPUT 1; ?cq=0; "
      "?calls=StopSending|SetSpeed 20",
      "escape ends the repeat only in the input line: press+Ctrl Z; focus Log; forget; "
      "press Escape; ?consumed=1; ?focus=InputLine; ?cq=20; ?calls=; press Escape; ?cq=0; "
      "?pending=; repeat 100; ?timers=",
      "the stop button keeps the count: press+Ctrl Z; drain; ?cq=19; stop; ?timer=-; ?cq=19; "
      "status 15; ?timer=5000; ?cq=18; fw 10; press+Ctrl Z; stop; ?cq=20; ?timer=-",
      "speed keys step within five to fifty: box 49; press+Ctrl Q; ?consumed=1; ?speed=50; "
      "?engine=50; press+Ctrl Q; ?speed=50; box 6; press+Ctrl S; ?speed=5; ?engine=5; "
      "press+Ctrl S; ?speed=5; ?calls=SetSpeed 50|SetSpeed 5",
      "edit and focus keys, log link keys: call Q1ABC; report 579; type q1; focus Call; "
      "press+Ctrl K; ?consumed=1; ?input=; ?call=; ?report=599; ?focus=InputLine; line ABC; "
      "call Q1ABC; focus Call; press+Ctrl W; ?call=; ?input=ABC; press Escape; press+Ctrl W; "
      "?consumed=1; ?input=; press+Alt A; ?consumed=1; ?focus=Call; press F11; ?consumed=0; "
      "press+Ctrl F12; ?consumed=0; ?calls=SendToLog|FetchFromLog",
  });
}

// The engine's notifications, text from a network client, and when the window may rest.
TEST(NotificationsTest, Sessions) {
  RunSessions({
      // 600 / half dot within 5..50, one step up when the dot got shorter and is flagged so;
      // a refusal brings the interface back to the window's speed and keeps the last value.
      "speed from the interface: box 25; boxchanged; forget; msg SPEED 0 0; ?calls=; "
      "msg SPEED 200 0; ?speed=25; ?calls=SetSpeed 25; msg SPEED 29 1; ?speed=20; ?wpm=20; "
      "?calls=SetSpeed 20; msg SPEED 30 0; ?calls=; msg SPEED 10 1; ?speed=20; "
      "?calls=SetSpeed 20; msg SPEED 29 1; ?speed=21; ?engine=21; ?calls=SetSpeed 21; "
      "msg SPEED 28 0; ?speed=21; ?calls=; msg SPEED 28 1; ?speed=21; msg SPEED 31 1; ?speed=19; "
      "msg SPEED 12 0; ?speed=50; msg SPEED 11 0; msg SPEED 120 0; ?speed=5; msg SPEED 121 0; "
      "?speed=5; ?calls=SetSpeed 19|SetSpeed 50|SetSpeed 50|SetSpeed 5|SetSpeed 5",
      "speed step messages stay within five to fifty: box 50; boxchanged; msg UP; ?speed=50; "
      "?wpm=50; ?engine=50; msg DOWN; ?speed=49; ?engine=49; msg RESET; ?speed=20; ?wpm=20; "
      "?engine=20; box 5; boxchanged; msg DOWN; ?speed=5; ?engine=5; msg UP; ?speed=6; ?engine=6",
      "decoded characters go to the end of the log: log TU\r\n; line AB; msg DECODED 126 0; "
      "msg DECODED -1 0; msg DECODED 10 65536; ?focus=InputLine; ?log=TU\r\n; "
      "msg DECODED 10 65535; ?focus=Log; msg DECODED 26 0; msg DECODED 57 0; msg DECODED 67 0; "
      "msg DECODED 76 0; msg DECODED 125 0; ?log=TU\r\nKa1 \xB1\xA3; ?input=AB; ?calls=",
      "paddle empties the input line, other messages change nothing: type abc; forget; "
      "msg CHAR_SENT 13 1; msg WORD_SPACE 13 1; msg 1123 13 1; msg 1135 13 1; ?input=ABC; "
      "?gate=; msg PADDLE; ?input=; ?pending=ABC; ?calls=",
      "older firmware text done in block mode leaves the input line: fw 10; mode block; "
      "line NEXT; msg DONE; ?input=NEXT; ?log=",
      "network speed changes keep their place: net CQ|+4|K|-4; ?input=CQK; ?keyed=0; forget; "
      "drain; ?calls=SendText C|SendText Q|SetSpeed 24|SendText K|SetSpeed 20; ?wpm=20; ?log=CQK; "
      "?keyed=1; net +3|E; ?calls=SetSpeed 23; ?pending=E",
      "older firmware holds network text behind a speed change: fw 10; net CQ|+4|~AR|K; "
      "?calls=SendText CQ; ?keyed=0; ?input=CQARK; msg DONE; ?calls=SetSpeed 24|SendText ~AR; "
      "msg DONE; ?calls=SendText K; ?keyed=0; msg DONE; ?keyed=1; net A|BC|<; ?input=AB; "
      "msg DONE; ?calls=SendText A|SendText B",
      "network erase takes back the last queued character: net AB|<; ?pending=A; ?input=A; net <; "
      "?pending=; ?input=; net \x82\xA0X|<|<; ?pending=; ?input=; mode block; net AB|<; "
      "?pending=A; ?log=A\r\n",
      "network abort drops queued text and its speed changes: net A|+4|B; abort; ?pending=; "
      "status 15x3; ?keyed=1; ?wpm=20; fw 10; net A|+4|B; abort; msg DONE; ?keyed=1; ?wpm=20; "
      "?calls=SetPttHold 0|StopSending|SendText A|SetPttHold 0|StopSending",
      "network speed held within the box range, network text ends a cq repeat: netspeed 4; "
      "?speed=5; ?engine=5; netspeed 60; ?speed=50; ?engine=50; netspeed 33; ?speed=33; "
      "?engine=33; press+Ctrl Z; net TU; ?cq=0; ?pending=TU",
      // The window rests only after a report that changed nothing: not while the countdown
      // runs, and not on the first idle report after the text, which marks a clear.
      "the window rests after a report that changed nothing: type ab; forget; status 1; ?rest=0; "
      "status 1; ?rest=0; status 1; ?rest=0; status 1; ?rest=0; status 1; ?rest=0; status 1; "
      "?rest=0; status 15; ?rest=0; status 15; ?rest=1; status 15; ?rest=1; status 5; ?rest=1; "
      "?sent=AB; stop; status 15; ?rest=0; status 15; ?rest=1",
      "a cq repeat waiting for its timer rests and the call wakes: press+Ctrl Z; drain; "
      "status 15; ?rest=1; timer; ?gate=W|WCQ DE JA1ZZZ K; status 15x3; ?rest=0",
      "typing wakes before the text is queued: status 15x3; ?rest=1; type e; ?gate=W; ?pending=E",
  });
}

}  // namespace
}  // namespace vantrel::operating
