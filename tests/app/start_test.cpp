#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

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
  const std::pair<std::vector<std::string>, AppOptions> cases[] = {
      {{}, AppOptions{}},
      {{"--simulate"}, AppOptions{true, 23, "", ""}},
      {{"--simulate=99"}, AppOptions{true, 99, "", ""}},
      {{"--simulate-log=a.log"}, AppOptions{true, 23, "a.log", ""}},
      {{"--simulate=22", "--simulate-script=s.txt"}, AppOptions{true, 22, "", "s.txt"}},
      {{"--net-keyer"}, AppOptions{false, 23, "", "", true, 0}},
      {{"--simulate=10", "--net-keyer=6790"}, AppOptions{true, 10, "", "", true, 6790}},
      {{"--config-home", "--simulate"}, AppOptions{true, 23, "", "", false, 0, true}},
  };
  for (const auto& [arguments, expected] : cases) {
    const ParsedOptions parsed = ParseAppOptions(arguments);
    EXPECT_EQ(parsed.error, "");
    EXPECT_EQ(parsed.options, expected) << (arguments.empty() ? "" : arguments.back());
  }
  for (const char* refused : {"--simulate=9", "--simulate=100", "--simulate=", "--simulate-log=",
                              "--simulated", "--net-keyer=0", "--net-keyer=65536", "-x"}) {
    EXPECT_NE(ParseAppOptions({refused}).error, "") << refused;
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

// Folders it makes are the owner's alone; one that exists keeps its mode.
TEST(ConfigHome, MissingFoldersAreMadeOwnerOnly) {
  const auto mode = [](const std::filesystem::path& path) {
    return static_cast<unsigned>(std::filesystem::status(path).permissions());
  };
  settings::TempDir home;
  std::filesystem::permissions(home.path(), std::filesystem::perms{0755});
  const std::filesystem::path folder = home.path() / ".config" / "vantrel";
  MakeOwnerOnlyFolder(folder);
  MakeOwnerOnlyFolder(folder);
  EXPECT_EQ(mode(home.path()), 0755u);
  EXPECT_EQ(mode(home.path() / ".config"), 0700u);
  EXPECT_EQ(mode(folder), 0700u);

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
    EXPECT_EQ(PreferredQtPlatform(c.environment), c.expected) << "case " << &c - cases;
  }
}

// A second copy exits at once, before anything is made or written, and calls the running one;
// a lock left by a copy that crashed, or a folder that cannot hold the lock, does not stop the
// program (whose machine here is missing, which ends its run with 1).
TEST(SecondCopy, ExitsAtOnceAndCallsTheRunningCopyUnlessItCrashed) {
  settings::TempDir work;
  settings::TempDir instances;
  settings::TempDir afterCrash;
  int machinesMade = 0;
  const auto start = [&](const std::filesystem::path& instanceDir) {
    const auto make = [&] {
      ++machinesMade;
      return std::unique_ptr<Machine>();
    };
    return RunOperatingWindow(WindowRun{work.path(), instanceDir, {}, make, {}});
  };
  auto running = platform::SingleInstance::Acquire(instances.path(), "MyApp");
  ASSERT_TRUE(running && running->Held());
  EXPECT_EQ(platform::SingleInstance::Acquire(instances.path(), "MyApp"), nullptr);
  platform::ActivationListener listener(
      QString::fromStdString((instances.path() / "MyApp.socket").string()));
  QSignalSpy activations(&listener, &platform::ActivationListener::ActivationRequested);
  EXPECT_EQ(start(instances.path()), 0);
  EXPECT_EQ(machinesMade, 0);
  EXPECT_TRUE(std::filesystem::is_empty(work.path()));
  EXPECT_TRUE(activations.wait(5000));

  afterCrash.Write("MyApp.lock", "");
  afterCrash.Write("MyApp.socket", "");
  EXPECT_EQ(start(afterCrash.path()), 1);
  EXPECT_EQ(start("/nonexistent-folder"), 1);
  EXPECT_EQ(machinesMade, 2);
}

}  // namespace
}  // namespace vantrel::app
