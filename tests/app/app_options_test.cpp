#include "app/app_options.h"

#include <gtest/gtest.h>

namespace vantrel::app {
namespace {

TEST(Options, ParseAsDocumented) {
  const std::pair<std::vector<std::string>, std::optional<AppOptions>> cases[] = {
      {{}, AppOptions{}},
      {{"--simulate"}, AppOptions{true, 23, "", ""}},
      {{"--simulate=10"}, AppOptions{true, 10, "", ""}},
      {{"--simulate=99"}, AppOptions{true, 99, "", ""}},
      {{"--simulate-log=a.log"}, AppOptions{true, 23, "a.log", ""}},
      {{"--simulate=22", "--simulate-script=s.txt"}, AppOptions{true, 22, "", "s.txt"}},
      {{"--net-keyer"}, AppOptions{false, 23, "", "", true, 0}},
      {{"--simulate=10", "--net-keyer=6790"}, AppOptions{true, 10, "", "", true, 6790}},
      {{"--simulate=9"}, {}},
      {{"--simulate=100"}, {}},
      {{"--simulate="}, {}},
      {{"--simulate-log="}, {}},
      {{"--simulated"}, {}},
      {{"--net-keyer=0"}, {}},
      {{"--net-keyer=65536"}, {}},
      {{"-x"}, {}}};
  for (const auto& [arguments, expected] : cases) {
    SCOPED_TRACE(arguments.empty() ? "" : arguments.back());
    const ParsedOptions parsed = ParseAppOptions(arguments);
    EXPECT_EQ(parsed.error.empty(), expected.has_value()) << parsed.error;
    if (expected) {
      EXPECT_EQ(parsed.options, *expected);
    }
  }
}

}  // namespace
}  // namespace vantrel::app
