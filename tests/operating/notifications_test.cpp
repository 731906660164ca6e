#include <gtest/gtest.h>

#include "operating/operating_rig.h"

namespace vantrel::operating {
namespace {

// The engine's notifications, text from a network client, and when the window may rest.
TEST(NotificationsTest, Sessions) {
  RunSessions({
      // 600 / half dot within 5..50, one step up when the dot got shorter and is flagged so;
      // a refusal brings the interface back to the window's speed and keeps the last value.
      {"speed_from_the_interface",
       "box 25; boxchanged; forget; msg SPEED 0 0; ?calls=; msg SPEED 200 0; ?speed=25; "
       "?calls=SetSpeed 25; msg SPEED 29 1; ?speed=20; ?wpm=20; ?calls=SetSpeed 20; "
       "msg SPEED 30 0; ?calls=; msg SPEED 10 1; ?speed=20; ?calls=SetSpeed 20; msg SPEED 29 1; "
       "?speed=21; ?engine=21; ?calls=SetSpeed 21; msg SPEED 28 0; ?speed=21; ?calls=; "
       "msg SPEED 28 1; ?speed=21; msg SPEED 31 1; ?speed=19; msg SPEED 12 0; ?speed=50; "
       "msg SPEED 11 0; msg SPEED 120 0; ?speed=5; msg SPEED 121 0; ?speed=5; "
       "?calls=SetSpeed 19|SetSpeed 50|SetSpeed 50|SetSpeed 5|SetSpeed 5"},
      {"speed_step_messages_stay_within_five_to_fifty",
       "box 50; boxchanged; msg UP; ?speed=50; ?wpm=50; ?engine=50; msg DOWN; ?speed=49; "
       "?engine=49; msg RESET; ?speed=20; ?wpm=20; ?engine=20; box 5; boxchanged; msg DOWN; "
       "?speed=5; ?engine=5; msg UP; ?speed=6; ?engine=6"},
      {"decoded_characters_go_to_the_end_of_the_log",
       "log TU\r\n; line AB; msg DECODED 126 0; msg DECODED -1 0; msg DECODED 10 65536; "
       "?focus=InputLine; ?log=TU\r\n; msg DECODED 10 65535; ?focus=Log; msg DECODED 26 0; "
       "msg DECODED 57 0; msg DECODED 67 0; msg DECODED 76 0; msg DECODED 125 0; "
       "?log=TU\r\nKa1 \xB1\xA3; ?input=AB; ?calls="},
      {"paddle_empties_the_input_line_and_keeps_the_queue",
       "type abc; msg PADDLE; ?input=; ?pending=ABC; ?calls="},
      {"other_messages_change_nothing",
       "type abc; forget; msg CHAR_SENT 13 1; msg WORD_SPACE 13 1; msg 1123 13 1; "
       "msg 1135 13 1; ?pending=ABC; ?input=ABC; ?calls=; ?gate="},
      {"older_firmware_text_done_in_block_mode_leaves_the_input_line",
       "fw 10; mode block; line NEXT; msg DONE; ?input=NEXT; ?log="},
      {"network_speed_changes_keep_their_place",
       "net CQ|+4|K|-4; ?input=CQK; ?keyed=0; forget; drain; "
       "?calls=SendText C|SendText Q|SetSpeed 24|SendText K|SetSpeed 20; ?wpm=20; ?log=CQK; "
       "?keyed=1; net +3|E; ?calls=SetSpeed 23; ?pending=E"},
      {"older_firmware_holds_network_text_behind_a_speed_change",
       "fw 10; net CQ|+4|~AR|K; ?calls=SendText CQ; ?keyed=0; ?input=CQARK; msg DONE; "
       "?calls=SetSpeed 24|SendText ~AR; msg DONE; ?calls=SendText K; ?keyed=0; msg DONE; "
       "?keyed=1; net A|BC|<; ?input=AB; msg DONE; ?calls=SendText A|SendText B"},
      {"network_erase_takes_back_the_last_queued_character",
       "net AB|<; ?pending=A; ?input=A; net <; ?pending=; ?input=; net \x82\xA0X|<|<; "
       "?pending=; ?input=; mode block; net AB|<; ?pending=A; ?log=A\r\n"},
      {"network_abort_drops_queued_text_and_its_speed_changes",
       "net A|+4|B; abort; ?pending=; status 15x3; ?keyed=1; ?wpm=20; fw 10; net A|+4|B; abort; "
       "msg DONE; ?keyed=1; ?wpm=20; "
       "?calls=SetPttHold 0|StopSending|SendText A|SetPttHold 0|StopSending"},
      {"network_speed_is_held_within_the_box_range",
       "netspeed 4; ?speed=5; ?engine=5; netspeed 60; ?speed=50; ?engine=50; netspeed 33; "
       "?speed=33; ?engine=33"},
      {"network_text_ends_a_cq_repeat_and_is_still_sent",
       "press+Ctrl Z; net TU; ?cq=0; ?pending=TU"},
      // The window rests only after a report that changed nothing: not while the countdown
      // runs, and not on the first idle report after the text, which marks a clear.
      {"the_window_rests_after_a_report_that_changed_nothing",
       "type ab; forget; status 1; ?rest=0; status 1; ?rest=0; status 1; ?rest=0; status 1; "
       "?rest=0; status 1; ?rest=0; status 1; ?rest=0; status 15; ?rest=0; status 15; ?rest=1; "
       "status 15; ?rest=1; status 5; ?rest=1; ?sent=AB; stop; status 15; ?rest=0; status 15; "
       "?rest=1"},
      {"a_cq_repeat_waiting_for_its_timer_rests_and_the_call_wakes",
       "press+Ctrl Z; drain; status 15; ?rest=1; timer; ?gate=W|WCQ DE JA1ZZZ K; status 15x3; "
       "?rest=0"},
      {"typing_wakes_before_the_text_is_queued",
       "status 15x3; ?rest=1; type e; ?gate=W; ?pending=E"},
  });
}

}  // namespace
}  // namespace vantrel::operating
