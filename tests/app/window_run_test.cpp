#include "app/window_run.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include "platform/linux/single_instance.h"
#include "platform/qt/activation_channel.h"
#include "support/temp_dir.h"

namespace vantrel::app {
namespace {

struct SecondRun {
  settings::TempDir work;
  settings::TempDir instances;
  int machinesMade = 0;
  int Start() {
    auto make = [this] {
      ++machinesMade;
      return std::unique_ptr<Machine>();
    };
    return RunOperatingWindow(WindowRun{work.path(), instances.path(), {}, make, {}});
  }
};

TEST(SecondCopy, ExitsAtOnceTouchingNothingAndCallsTheRunningCopy) {
  SecondRun run;
  auto running = platform::SingleInstance::Acquire(run.instances.path(), "MyApp");
  ASSERT_NE(running, nullptr);
  platform::ActivationListener listener(
      QString::fromStdString((run.instances.path() / "MyApp.socket").string()));
  QSignalSpy activations(&listener, &platform::ActivationListener::ActivationRequested);
  EXPECT_EQ(run.Start(), 0);
  EXPECT_EQ(run.machinesMade, 0);
  EXPECT_TRUE(std::filesystem::is_empty(run.work.path()));
  EXPECT_TRUE(activations.wait(5000));
}

TEST(SecondCopy, ALockLeftByACrashedCopyDoesNotBlock) {
  SecondRun run;
  run.instances.Write("MyApp.lock", "");
  run.instances.Write("MyApp.socket", "");
  EXPECT_EQ(run.Start(), 1);
  EXPECT_EQ(run.machinesMade, 1);
}

}  // namespace
}  // namespace vantrel::app
