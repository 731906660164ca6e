#include <gtest/gtest.h>

#include "operating/operating_rig.h"

namespace vantrel::operating {
namespace {

// Function keys and their banks, macros, the CQ repeat and the hot keys.
TEST(MemoriesTest, Sessions) {
  RunSessions({
      "ctrl shows bank b until released: "
      "?captions=CQ DE $M K|$M|$C|UR $R ~BK|NR?|~BK||TU ~VA E E||TNX FER UR CALL|>THL|<THL; "
      "?tips=CQ DE $M K|$M|$C|UR $R ~BK|NR?|~BK||TU ~VA E E||TNX FER UR CALL; press+Ctrl Control; "
      "?consumed=0; ?captions=B1 $C|B2|B3|B4|B5|B6|B7|B8|B9|B10|>THL|<THL; "
      "?tips=B1 $C|B2|B3|B4|B5|B6|B7|B8|B9|B10; release Control; "
      "?captions=CQ DE $M K|$M|$C|UR $R ~BK|NR?|~BK||TU ~VA E E||TNX FER UR CALL|>THL|<THL",
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
      "press+Ctrl F12; ?consumed=0; ?loglink=11",
  });
}

}  // namespace
}  // namespace vantrel::operating
