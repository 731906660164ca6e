#include "platform/linux/exit_signals.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <cstdlib>

namespace vantrel::platform {
namespace {

TEST(ExitSignalsDeathTest, AFurtherSignalAfterTheReleaseOrAHangingExitEndsTheProcess) {
  // Signals raised before the release, after it, and the exit code.
  for (const auto& [before, after, exitCode] :
       {std::tuple{1, 0, 0}, {1, 1, 128 + SIGINT}, {2, 0, 128 + SIGHUP}}) {
    EXPECT_EXIT(
        {
          ExitSignals exitSignals;
          for (int i = 0; i < before; ++i) raise(i == 0 ? SIGTERM : SIGHUP);
          exitSignals.AllowImmediateExit(1);
          for (int i = 0; i < after; ++i) raise(SIGINT);
          std::exit(0);
        },
        testing::ExitedWithCode(exitCode), "")
        << before << "/" << after;
  }
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
