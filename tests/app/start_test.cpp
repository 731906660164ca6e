#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <iterator>
#include <sstream>

#include "app/app_options.h"
#include "app/files_folder.h"
#include "app/qt_platform.h"
#include "app/window_run.h"
#include "platform/linux/single_instance.h"
#include "platform/qt/activation_channel.h"
#include "settings/data_table.h"
#include "support/temp_dir.h"

namespace vantrel::app {
namespace {

// The words of a command line; "-" for a variable that is not set.
std::vector<std::string> Words(const std::string& line) {
  std::istringstream words(line);
  return {std::istream_iterator<std::string>(words), {}};
}
const char* Variable(const std::string& value) {
  return value == "-" ? nullptr : value.c_str();
}

TEST(Options, ParseAsDocumented) {
  for (const auto& row : ReadTable(VANTREL_APP_DATA "/options.txt")) {
    const ParsedOptions parsed = ParseAppOptions(Words(row[0]));
    const AppOptions& o = parsed.options;
    std::ostringstream read;
    read << o.simulate << ' ' << o.simulateVersion << " '" << o.simulateLog << "' '"
         << o.simulateScript << "' " << o.netKeyer << ' ' << o.netKeyerPort << ' ' << o.configHome;
    EXPECT_EQ(parsed.error.empty() ? read.str() : "refused", row[1]) << row[0];
  }
}

TEST(ConfigHome, IsTheXdgFolderOrTheOneUnderHomeAndMissingFoldersAreMadeOwnerOnly) {
  for (const auto& row : ReadTable(VANTREL_APP_DATA "/config_home.txt")) {
    SCOPED_TRACE(row[0] + " " + row[1]);
    if (row[2] == "-") {
      EXPECT_THROW(ConfigHomeFolder(Variable(row[0]), Variable(row[1])),
                   std::filesystem::filesystem_error);
    } else {
      EXPECT_EQ(ConfigHomeFolder(Variable(row[0]), Variable(row[1])), row[2]);
    }
  }
  // Folders it makes are the owner's alone; one that exists keeps its mode.
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
  for (const auto& row : ReadTable(VANTREL_APP_DATA "/qt_platforms.txt")) {
    const PlatformEnvironment environment{Variable(row[0]), Variable(row[1]), Variable(row[2]),
                                          Variable(row[3]), Words(row[4])};
    EXPECT_EQ(PreferredQtPlatform(environment).value_or("-"), row[5])
        << row[0] << " " << row[1] << " " << row[2] << " " << row[3] << " " << row[4];
  }
}

// A second copy exits at once, before anything is made or written, and calls the running one;
// a lock left by a copy that crashed, or a folder that cannot hold the lock, does not stop the
// program (whose machine here is missing, which ends its run with 1).
TEST(SecondCopy, ExitsAtOnceAndCallsTheRunningCopyUnlessItCrashed) {
  settings::TempDir work;
  settings::TempDir instances;
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
  platform::ActivationListener listener(
      QString::fromStdString((instances.path() / "MyApp.socket").string()));
  QSignalSpy activations(&listener, &platform::ActivationListener::ActivationRequested);
  EXPECT_EQ(start(instances.path()), 0);
  EXPECT_EQ(machinesMade, 0);
  EXPECT_TRUE(std::filesystem::is_empty(work.path()));
  EXPECT_TRUE(activations.wait(5000));

  work.Write("MyApp.lock", "");
  work.Write("MyApp.socket", "");
  EXPECT_EQ(start(work.path()), 1);
  EXPECT_EQ(start("/nonexistent-folder"), 1);
  EXPECT_EQ(machinesMade, 2);
}

}  // namespace
}  // namespace vantrel::app
