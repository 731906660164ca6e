#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include "app/app_options.h"
#include "app/window_run.h"
#include "platform/linux/single_instance.h"
#include "platform/qt/activation_channel.h"
#include "support/temp_dir.h"

namespace vantrel::app {
namespace {

TEST(Options, ParseAsDocumented) {
  const std::pair<std::vector<std::string>, std::optional<AppOptions>> cases[] = {
      {{}, AppOptions{}},
      {{"--simulate"}, AppOptions{true, 23, "", ""}},
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

// A second holder is refused until the first lets go, and a folder that cannot hold the lock
// does not stop the program.
TEST(SingleInstance, ASecondHolderIsRefusedUntilTheFirstLetsGo) {
  settings::TempDir dir;
  auto first = platform::SingleInstance::Acquire(dir.path(), "MyApp");
  ASSERT_TRUE(first && first->Held());
  EXPECT_EQ(platform::SingleInstance::Acquire(dir.path(), "MyApp"), nullptr);
  EXPECT_NE(platform::SingleInstance::Acquire(dir.path(), "Other"), nullptr);
  first.reset();
  EXPECT_NE(platform::SingleInstance::Acquire(dir.path(), "MyApp"), nullptr);

  auto unheld = platform::SingleInstance::Acquire("/nonexistent-folder", "MyApp");
  ASSERT_NE(unheld, nullptr);
  EXPECT_FALSE(unheld->Held());
}

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

TEST(SecondCopy, ExitsAtOnceAndCallsTheRunningCopyUnlessItCrashed) {
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

  SecondRun afterCrash;
  afterCrash.instances.Write("MyApp.lock", "");
  afterCrash.instances.Write("MyApp.socket", "");
  EXPECT_EQ(afterCrash.Start(), 1);
  EXPECT_EQ(afterCrash.machinesMade, 1);
}

}  // namespace
}  // namespace vantrel::app
