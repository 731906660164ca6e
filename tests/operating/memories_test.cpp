#include <gtest/gtest.h>

#include "operating/operating_rig.h"

namespace vantrel::operating {
namespace {

// Function keys and their banks, macros, the CQ repeat and the hot keys.
TEST(MemoriesTest, Sessions) {
  RunSessions({
      {"ctrl_shows_bank_b_until_released",
       "?captions=CQ DE $M K|$M|$C|UR $R ~BK|NR?|~BK||TU ~VA E E||TNX FER UR CALL|>THL|<THL; "
       "?tips=CQ DE $M K|$M|$C|UR $R ~BK|NR?|~BK||TU ~VA E E||TNX FER UR CALL; "
       "press+Ctrl Control; ?consumed=0; ?captions=B1 $C|B2|B3|B4|B5|B6|B7|B8|B9|B10|>THL|<THL; "
       "?tips=B1 $C|B2|B3|B4|B5|B6|B7|B8|B9|B10; release Control; "
       "?captions=CQ DE $M K|$M|$C|UR $R ~BK|NR?|~BK||TU ~VA E E||TNX FER UR CALL|>THL|<THL"},
      {"block_mode_sends_the_input_line_before_the_message",
       "set FnMsgA.2=UR $R ~BK; mode block; type q1abc; press F2; ?consumed=1; drain; "
       "?sent=Q1ABC UR 599 ~BK ; ?input=; ?log=Q1ABC UR 599 BK \r\n"},
      {"block_mode_older_firmware",
       "fw 10; mode block; type q1; fn 6; ?calls=SetSpeed 20|SendText Q1 ~BK ; ?log=Q1 BK \r\n"},
      {"sequential_shows_the_message_until_handed_over",
       "set LogTime=1; fn 4; ?pending=UR 599 ~BK; ?input=UR 599 BK; drain; ?sent=UR 599 ~BK; "
       "?log=07:05:09> UR 599 BK; ?input="},
      {"older_firmware_takes_the_whole_text",
       "fw 10; fn 1; ?calls=SetSpeed 20|SendText CQ DE JA1ZZZ K; ?input=CQ DE JA1ZZZ K"},
      {"f1_sends_what_its_caption_shows",
       "fw 10; call Q1ABC; press F1; ?consumed=1; ?calls=SetSpeed 20|SendText CQ DE JA1ZZZ K; "
       "press+Shift F1; ?consumed=0; press+Alt F1; press+Ctrl+Alt F1; ?consumed=0; ?calls=; "
       "press+Ctrl Control; press+Ctrl F1; ?consumed=1; ?calls=SetSpeed 20|SendText B1 Q1ABC; "
       "press F10; ?calls=SetSpeed 20|SendText B10"},
      {"keys_left_to_the_focused_control",
       "line Q1; press+Ctrl A; ?consumed=0; press K; ?consumed=0; press+Alt Z; ?consumed=0; "
       "press+Ctrl+Shift F5; ?consumed=0; press+Ctrl X; ?consumed=0; focus Call; press+Ctrl Q; "
       "?consumed=0; focus Log; press+Ctrl K; ?consumed=0; press+Ctrl S; ?consumed=0; "
       "press+Ctrl Z; ?consumed=0; press+Ctrl W; ?consumed=0; ?input=Q1; ?cq=0; ?speed=20; "
       "?calls="},
      {"cq_pause_in_whole_milliseconds",
       "set FnMsgA.1=CQ; fw 10; press+Ctrl Z; set CqLoopInterval=0.7; msg DONE; "
       "set CqLoopInterval=1.2345; msg DONE; set CqLoopInterval=0.0009; msg DONE; "
       "set CqLoopInterval=-1; msg DONE; ?timers=700 1234 0 0 "},
      {"an_empty_message_does_nothing", "press+Ctrl Z; forget; fn 7; ?cq=20; ?calls=; ?gate="},
      {"a_function_key_during_a_cq_repeat_only_ends_it",
       "press+Ctrl Z; drain; forget; fn 2; ?cq=0; ?timer=-; ?calls=SetPttHold 0|StopSending; "
       "?pending="},
      {"number_advances_after_the_send",
       "fw 10; set Auto=1; set Number=009; macro 5NN $N $N; ?number=010; set Number=11M; "
       "macro $N; set Number=000; macro $N; ?number=000; set Number=001; macro TU; ?number=001; "
       "set Auto=0; macro $N; ?number=001; set Auto=1; set Number=; macro $N; "
       "?sent=5NN 009 00911M000TU001"},
      {"an_empty_expansion_is_neither_sent_nor_logged",
       "set LogTime=1; macro $C; mode block; macro $C; ?pending=; ?log=; ?input=; "
       "?calls=SetSpeed 20|SetSpeed 20"},
      {"a_failed_read_stops_before_anything_is_sent",
       "fw 10; readfail; macro TEST; ?calls=; ?input="},
      {"only_a_keying_speed_reaches_the_engine",
       "fw 10; box 35; macro E; ?calls=SetSpeed 35|SendText E; box 4; macro E; "
       "?calls=SendText E; ?wpm=35; box 70; macro E; ?calls=SendText E; box 5; macro E; box 50; "
       "macro E; ?calls=SetSpeed 5|SendText E|SetSpeed 50|SendText E"},
      {"no_interface_reconnects_and_ends_the_repeat",
       "fw 10; press+Ctrl+Alt Z; forget; unplug; macro TEST; ?cq=0; "
       "?calls=SetPttHold 0|StopSending|SetSpeed 20|SetKeyingSettings|SetSpeed 20|SendText TEST"},
      {"ctrl_z_twenty_one_calls",
       "set FnMsgA.1=CQ $M; press+Ctrl Z; ?consumed=1; ?cq=20; repeat 100; ?sent*21=CQ JA1ZZZ; "
       "?timers*20=5000 ; ?cq=0; ?timer=-"},
      {"ctrl_z_firmware_20",
       "set CqLoopInterval=2.5; fw 20; press+Ctrl Z; repeat 100; ?sent*21=CQ DE JA1ZZZ K; "
       "?timers*20=2500 ; ?timer=-"},
      {"ctrl_z_older_firmware",
       "set FnMsgA.1=CQ; fw 10; press+Ctrl Z; repeat 100; ?sent*21=CQ; ?timers*20=5000 ; "
       "?timer=-"},
      {"ctrl_z_without_pause",
       "set CqLoopInterval=0; set FnMsgA.1=CQ; press+Ctrl Z; repeat 100; ?sent*21=CQ; "
       "?timers*20=0 "},
      {"the_timer_starts_after_the_last_hand_over",
       "set FnMsgA.1=CQ; press+Ctrl Z; status 1x4; ?sent=CQ; status 1x2; ?timer=-; status 1; "
       "?timer=5000; ?cq=19; status 15x10; ?timers=5000 "},
      {"ctrl_alt_z_without_end",
       "press+Ctrl+Alt Z; ?consumed=1; repeat 50; ?cq=-1; ?timer=5000; ?timers*50=5000 "},
      {"ctrl_z_stops_and_calls_at_once_keeping_a_pending_timer",
       "type abc; press+Ctrl Z; ?calls=StopSending|SetSpeed 20; ?pending=CQ DE JA1ZZZ K; drain; "
       "press+Ctrl+Alt Z; ?timer=5000; ?cq=-1"},
      {"bank_a_calls_while_ctrl_shows_bank_b",
       "fw 10; press+Ctrl Control; press+Ctrl Z; ?sent=CQ DE JA1ZZZ K"},
      {"an_empty_call_stalls_on_older_firmware",
       "set FnMsgA.1=; fw 10; press+Ctrl Z; ?sent=; ?timer=-; ?cq=20; fw 23; repeat 100; "
       "?timers*20=5000 ; ?sent="},
      {"interface_input_starts_only_when_idle_and_any_other_value_ends",
       "msg INPUT 13; ?cq=20; ?pending=CQ DE JA1ZZZ K; ?calls=StopSending|SetSpeed 20; drain; "
       "forget; msg INPUT 13; ?cq=19; ?calls=; ?timer=5000; msg INPUT 14; ?cq=0; ?timer=-; "
       "?calls=; press+Ctrl+Alt Z; msg INPUT 13; ?cq=-1; msg INPUT 0; ?cq=0; ?pending=; "
       "msg INPUT 1; ?cq=0; ?calls=StopSending|SetSpeed 20"},
      {"escape_ends_the_repeat_only_in_the_input_line",
       "press+Ctrl Z; focus Log; forget; press Escape; ?consumed=1; ?focus=InputLine; ?cq=20; "
       "?calls=; press Escape; ?cq=0; ?pending=; repeat 100; ?timers="},
      {"the_stop_button_keeps_the_count",
       "press+Ctrl Z; drain; ?cq=19; stop; ?timer=-; ?cq=19; status 15; ?timer=5000; ?cq=18; "
       "fw 10; press+Ctrl Z; stop; ?cq=20; ?timer=-"},
      {"older_firmware_text_done_restarts_a_pending_timer",
       "fw 10; press+Ctrl Z; msg DONE; msg DONE; ?timers=5000 5000 ; ?cq=18"},
      {"speed_keys_step_within_five_to_fifty",
       "box 49; press+Ctrl Q; ?consumed=1; ?speed=50; ?engine=50; press+Ctrl Q; ?speed=50; "
       "box 6; press+Ctrl S; ?speed=5; ?engine=5; press+Ctrl S; ?speed=5; "
       "?calls=SetSpeed 50|SetSpeed 5"},
      {"ctrl_k_starts_a_new_contact",
       "call Q1ABC; report 579; type q1; focus Call; press+Ctrl K; ?consumed=1; ?input=; "
       "?call=; ?report=599; ?focus=InputLine"},
      {"ctrl_w_empties_the_focused_box",
       "line ABC; call Q1ABC; focus Call; press+Ctrl W; ?call=; ?input=ABC; press Escape; "
       "press+Ctrl W; ?consumed=1; ?input="},
      {"alt_a_and_the_log_link_keys",
       "press+Alt A; ?consumed=1; ?focus=Call; press F11; ?consumed=0; press+Ctrl F12; "
       "?consumed=0; ?loglink=11"},
  });
}

}  // namespace
}  // namespace vantrel::operating
