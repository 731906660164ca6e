#include "app/window_run.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include "platform/linux/single_instance.h"
#include "platform/qt/activation_channel.h"
#include "support/temp_dir.h"

namespace vantrel::app {
namespace {

TEST(SecondCopy, ExitsAtOnceTouchingNothingAndCallsTheRunningCopy) {
  settings::TempDir work;
  settings::TempDir instances;
  auto running = platform::SingleInstance::Acquire(instances.path(), "MyApp");
  ASSERT_NE(running, nullptr);
  platform::ActivationListener listener(
      QString::fromStdString((instances.path() / "MyApp.socket").string()));
  QSignalSpy activations(&listener, &platform::ActivationListener::ActivationRequested);
  int machinesMade = 0;

  int result = RunOperatingWindow(WindowRun{work.path(), instances.path(), {}, [&] {
                                              ++machinesMade;
                                              return std::unique_ptr<Machine>();
                                            }});

  EXPECT_EQ(result, 0);
  EXPECT_EQ(machinesMade, 0);
  EXPECT_TRUE(std::filesystem::is_empty(work.path()));
  EXPECT_TRUE(activations.wait(5000));
}

TEST(SecondCopy, ALockLeftByACrashedCopyDoesNotBlock) {
  settings::TempDir work;
  settings::TempDir instances;
  instances.Write("MyApp.lock", "");
  instances.Write("MyApp.socket", "");
  int machinesMade = 0;
  int result = RunOperatingWindow(WindowRun{work.path(), instances.path(), {}, [&] {
                                              ++machinesMade;
                                              return std::unique_ptr<Machine>();
                                            }});
  EXPECT_EQ(result, 1);
  EXPECT_EQ(machinesMade, 1);
}

}  // namespace
}  // namespace vantrel::app
