#include "platform/linux/exit_signals.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <cstdlib>

namespace vantrel::platform {
namespace {

// Signals raised before the release and after it, and the exit code; the last exit hangs until
// the watchdog started for it ends the process.
TEST(ExitSignalsDeathTest, AFurtherSignalAfterTheReleaseOrAHangingExitEndsTheProcess) {
  for (const auto& [before, after, exitCode] :
       {std::tuple{1, 0, 0}, {1, 1, 128 + SIGINT}, {2, 0, 128 + SIGHUP}, {0, 0, 128 + SIGALRM}}) {
    EXPECT_EXIT(
        {
          ExitSignals exitSignals;
          for (int i = 0; i < before; ++i) raise(i == 0 ? SIGTERM : SIGHUP);
          exitSignals.StartWatchdog(exitCode == 128 + SIGALRM ? 1 : 0);
          exitSignals.AllowImmediateExit(1);
          for (int i = 0; i < after; ++i) raise(SIGINT);
          while (exitCode == 128 + SIGALRM) pause();
          std::exit(0);
        },
        testing::ExitedWithCode(exitCode), "")
        << before << "/" << after;
  }
}

}  // namespace
}  // namespace vantrel::platform
