#include <gtest/gtest.h>

#include "keyer/firmware_profile.h"

namespace vantrel::keyer {
namespace {

constexpr auto kNone = SettingRoute::None;
constexpr auto kParams = SettingRoute::KeyerParams;
constexpr auto kFlags = SettingRoute::ModeFlags;
constexpr auto kOwn = SettingRoute::OwnCommand;

TEST(FirmwareProfile, CapabilitiesFollowTheFirmwareNumber) {
  // version, PC-timed, speed switch, interface sidetone, input lines message, keying params,
  // speed route, switches route, decode check, interface tone choice
  const FirmwareProfile table[] = {
      {0, true, false, false, false, false, kNone, kNone, false, false},
      {10, true, false, false, false, false, kNone, kNone, true, true},
      {19, true, false, false, false, false, kNone, kNone, true, true},
      {20, false, false, false, false, true, kParams, kFlags, true, true},
      {21, false, false, false, false, true, kOwn, kOwn, true, true},
      {22, false, false, false, false, true, kOwn, kOwn, true, true},
      {23, false, true, true, true, true, kOwn, kOwn, true, true},
      {99, false, true, true, true, true, kOwn, kOwn, true, true},
  };
  for (const FirmwareProfile& expected : table) {
    EXPECT_EQ(ProfileFor(expected.version), expected) << "firmware " << expected.version;
  }
}

}  // namespace
}  // namespace vantrel::keyer
