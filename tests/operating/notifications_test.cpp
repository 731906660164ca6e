#include <gtest/gtest.h>

#include "operating/operating_rig.h"

namespace vantrel::operating {
namespace {

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
