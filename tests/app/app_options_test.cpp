#include "app/app_options.h"

#include <gtest/gtest.h>

namespace vantrel::app {
namespace {

struct OptionsCase {
  std::vector<std::string> arguments;
  AppOptions options;
  bool ok;
};

class Options : public testing::TestWithParam<OptionsCase> {};

TEST_P(Options, ParseAsDocumented) {
  ParsedOptions parsed = ParseAppOptions(GetParam().arguments);
  EXPECT_EQ(parsed.error.empty(), GetParam().ok) << parsed.error;
  if (GetParam().ok) {
    EXPECT_EQ(parsed.options, GetParam().options);
  }
}

INSTANTIATE_TEST_SUITE_P(
    CommandLine, Options,
    testing::Values(
        OptionsCase{{}, AppOptions{}, true},
        OptionsCase{{"--simulate"}, AppOptions{true, 23, "", ""}, true},
        OptionsCase{{"--simulate=20"}, AppOptions{true, 20, "", ""}, true},
        OptionsCase{{"--simulate=10"}, AppOptions{true, 10, "", ""}, true},
        OptionsCase{{"--simulate=99"}, AppOptions{true, 99, "", ""}, true},
        OptionsCase{{"--simulate=9"}, {}, false}, OptionsCase{{"--simulate=100"}, {}, false},
        OptionsCase{{"--simulate=2x"}, {}, false}, OptionsCase{{"--simulate="}, {}, false},
        OptionsCase{{"--simulate-log=a.log"}, AppOptions{true, 23, "a.log", ""}, true},
        OptionsCase{
            {"--simulate=22", "--simulate-script=s.txt"}, AppOptions{true, 22, "", "s.txt"}, true},
        OptionsCase{{"--simulate-log="}, {}, false}, OptionsCase{{"--simulated"}, {}, false},
        OptionsCase{{"--net-keyer"}, AppOptions{false, 23, "", "", true, 0}, true},
        OptionsCase{
            {"--simulate=10", "--net-keyer=6790"}, AppOptions{true, 10, "", "", true, 6790}, true},
        OptionsCase{{"--net-keyer=0"}, {}, false}, OptionsCase{{"--net-keyer=65536"}, {}, false},
        OptionsCase{{"--net-keyer="}, {}, false}, OptionsCase{{"-x"}, {}, false}));

}  // namespace
}  // namespace vantrel::app
