#include "platform/linux/exit_signals.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <cstdlib>

namespace vantrel::platform {
namespace {

bool Waiting(const ExitSignals& exitSignals) {
  pollfd p{exitSignals.ReadFd(), POLLIN, 0};
  return poll(&p, 1, 0) == 1;
}

TEST(ExitSignals, UntilTheReleaseASignalOnlyWaitsOnThePipe) {
  for (int signal : {SIGTERM, SIGHUP, SIGINT}) {
    ExitSignals exitSignals;
    EXPECT_FALSE(Waiting(exitSignals));
    raise(signal);
    EXPECT_TRUE(Waiting(exitSignals)) << signal;
  }
}

struct ForcedExit {
  int before;  // signals raised before the release
  int after;   // and after it
  int exitCode;
};

class ExitSignalsDeathTest : public testing::TestWithParam<ForcedExit> {};

TEST_P(ExitSignalsDeathTest, AFurtherSignalAfterTheReleaseEndsTheProcess) {
  const ForcedExit& c = GetParam();
  EXPECT_EXIT(
      {
        ExitSignals exitSignals;
        for (int i = 0; i < c.before; ++i) raise(i == 0 ? SIGTERM : SIGHUP);
        exitSignals.AllowImmediateExit(1);
        for (int i = 0; i < c.after; ++i) raise(SIGINT);
        std::exit(0);
      },
      testing::ExitedWithCode(c.exitCode), "");
}

INSTANTIATE_TEST_SUITE_P(Table, ExitSignalsDeathTest,
                         testing::Values(ForcedExit{1, 0, 0}, ForcedExit{1, 1, 128 + SIGINT},
                                         ForcedExit{2, 0, 128 + SIGHUP}));

TEST(ExitSignalsDeathTest, AnExitThatHangsIsEndedByTheWatchdog) {
  EXPECT_EXIT(
      {
        ExitSignals exitSignals;
        exitSignals.StartWatchdog(1);
        for (;;) pause();
      },
      testing::ExitedWithCode(128 + SIGALRM), "");
}

}  // namespace
}  // namespace vantrel::platform
