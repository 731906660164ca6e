#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <variant>
#include <vector>

#include "keyer/firmware_profile.h"
#include "keyer/protocol.h"
#include "settings/data_table.h"
#include "sim/event_log.h"

namespace vantrel::keyer {
namespace {

using AnyReport =
    std::variant<OutputLinesCommand, PollInputsCommand, SendCodesCommand, KeyerParamsCommand,
                 PttDelaysCommand, SpeedCommand, PttControlCommand, PaddleReverseCommand,
                 ModeFlagsCommand, ClearBufferCommand, PttCommand, InputReport>;

// Each report's exact bytes; parsing them and building again gives the same bytes, so every
// field is read from where it was written.
TEST(Protocol, EachReportBuildsItsBytesAndParsesBack) {
  const std::pair<AnyReport, const char*> rows[] = {
      {OutputLinesCommand{0x0E}, "00 01 0E 00 00 00 00 00 00"},
      {PollInputsCommand{}, "00 04 0F 03 00 00 00 00 00"},
      {SendCodesCommand{{0xA8, 0xD8, 1, 2, 3, 4, 0xFF}}, "00 05 A8 D8 01 02 03 04 FF"},
      {KeyerParamsCommand{.halfDotMs = 0x1E, .dotWeight2 = 3, .dashWeight2 = 6, .sidetoneIndex = 7},
       "00 20 1E 03 06 02 07 00 00"},
      {PttDelaysCommand{25, 200}, "00 22 19 C8 00 00 00 00 00"},
      {SpeedCommand{0x18}, "00 24 18 00 00 00 00 00 00"},
      {PttControlCommand{true}, "00 25 01 00 00 00 00 00 00"},
      {PaddleReverseCommand{true}, "00 26 00 00 01 00 00 00 00"},
      {ModeFlagsCommand{{0x04, 0xA0, 0x01}}, "00 30 04 A0 01 00 00 00 00"},
      {ClearBufferCommand{}, "00 34 00 00 00 00 00 00 00"},
      {PttCommand{true}, "00 35 00 01 00 00 00 00 00"},
      {InputReport::PollReply(0xFB), "00 04 0B 03 00 00 00 00 00"},
      {InputReport{.kind = KindStatus,
                   .decodeCounter = -2,
                   .decodedCode = 0x60,
                   .switches = InputReport::SwitchesAt(SpeedSwitch::Down),
                   .status = InputReport::StatusOf(14, 0x1A)},
       "00 33 00 00 00 FE 60 20 EA"},
      {InputReport{.kind = KindModeFlags, .body = {4, 0xA0, 1}, .switches = 0x81},
       "00 31 04 A0 01 00 00 81 00"},
  };
  for (const auto& [fields, bytes] : rows) {
    std::visit(
        [bytes](const auto& built) {
          using R = std::decay_t<decltype(built)>;
          const CommandReport report = Build(built);
          EXPECT_EQ(sim::FormatReportBytes(report), bytes);
          EXPECT_EQ(Build(Parse<R>(report)), report) << bytes;
        },
        fields);
  }
}

TEST(FirmwareProfile, CapabilitiesFollowTheFirmwareNumber) {
  static const std::vector<std::string> kRoutes = {"none", "params", "flags", "own"};
  for (const auto& row : ReadTable(VANTREL_TEST_DATA "/firmware_profiles.txt")) {
    const auto on = [&](int i) { return row[i] == "1"; };
    const auto route = [&](int i) {
      return static_cast<SettingRoute>(std::ranges::find(kRoutes, row[i]) - kRoutes.begin());
    };
    const FirmwareProfile expected(static_cast<unsigned>(std::stoul(row[0])), on(1), on(2), on(3),
                                   on(4), on(5), route(6), route(7), on(8), on(9));
    EXPECT_EQ(ProfileFor(expected.version), expected) << "firmware " << row[0];
  }
}

}  // namespace
}  // namespace vantrel::keyer
