#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <optional>
#include <tuple>

#include "app/app_options.h"
#include "app/files_folder.h"
#include "app/qt_platform.h"
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
      {{"--config-home", "--simulate"}, AppOptions{true, 23, "", "", false, 0, true}},
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

TEST(ConfigHome, IsTheXdgFolderOrTheOneUnderHome) {
  const std::tuple<const char*, const char*, const char*> cases[] = {
      {"/x/cfg", "/home/op", "/x/cfg/vantrel"},
      {nullptr, "/home/op", "/home/op/.config/vantrel"},
      {"", "/home/op", "/home/op/.config/vantrel"},
      {"relative", "/home/op", "/home/op/.config/vantrel"},
      {nullptr, nullptr, nullptr},
      {nullptr, "relative", nullptr}};
  for (const auto& [xdg, home, expected] : cases) {
    SCOPED_TRACE(std::string(xdg ? xdg : "(unset)") + " " + (home ? home : "(unset)"));
    if (expected == nullptr) {
      EXPECT_THROW(ConfigHomeFolder(xdg, home), std::filesystem::filesystem_error);
    } else {
      EXPECT_EQ(ConfigHomeFolder(xdg, home), expected);
    }
  }
}

mode_t Mode(const std::filesystem::path& path) {
  struct stat status {};
  stat(path.c_str(), &status);
  return status.st_mode & 0777;
}

// Folders it makes are the owner's alone; one that exists keeps its mode.
TEST(ConfigHome, MissingFoldersAreMadeOwnerOnly) {
  settings::TempDir home;
  chmod(home.path().c_str(), 0755);
  const std::filesystem::path folder = home.path() / ".config" / "vantrel";
  MakeOwnerOnlyFolder(folder);
  MakeOwnerOnlyFolder(folder);
  EXPECT_EQ(Mode(home.path()), 0755u);
  EXPECT_EQ(Mode(home.path() / ".config"), 0700u);
  EXPECT_EQ(Mode(folder), 0700u);

  home.Write("file", "");
  EXPECT_THROW(MakeOwnerOnlyFolder(home.path() / "file" / "vantrel"),
               std::filesystem::filesystem_error);
}

TEST(QtPlatform, XWaylandUnlessThePlatformWasChosen) {
  struct Case {
    PlatformEnvironment environment;
    std::optional<std::string> expected;
  };
  const Case cases[] = {
      {{nullptr, "wayland", "wayland-0", ":0", {}}, "xcb;wayland"},
      {{nullptr, nullptr, "wayland-0", ":0", {}}, "xcb;wayland"},
      {{nullptr, "wayland", nullptr, ":0", {"--simulate"}}, "xcb;wayland"},
      {{"", "wayland", "wayland-0", ":0", {}}, "xcb;wayland"},
      {{"wayland", "wayland", "wayland-0", ":0", {}}, std::nullopt},
      {{nullptr, "wayland", "wayland-0", ":0", {"-platform", "wayland"}}, std::nullopt},
      {{nullptr, "wayland", "wayland-0", nullptr, {}}, std::nullopt},
      {{nullptr, "wayland", "wayland-0", "", {}}, std::nullopt},
      {{nullptr, "x11", nullptr, ":0", {}}, std::nullopt},
      {{nullptr, nullptr, nullptr, ":0", {}}, std::nullopt}};
  for (const Case& c : cases) {
    const PlatformEnvironment& e = c.environment;
    SCOPED_TRACE(std::string(e.qtQpaPlatform ? e.qtQpaPlatform : "-") + " " +
                 (e.xdgSessionType ? e.xdgSessionType : "-") + " " +
                 (e.waylandDisplay ? e.waylandDisplay : "-") + " " + (e.display ? e.display : "-"));
    EXPECT_EQ(PreferredQtPlatform(e), c.expected);
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
