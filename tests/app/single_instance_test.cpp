#include "platform/linux/single_instance.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace vantrel::platform {
namespace {

// A second holder is refused until the first lets go; a lock file left behind does not block,
// and a folder that cannot hold the lock does not stop the program.
TEST(SingleInstance, ASecondHolderIsRefusedUntilTheFirstLetsGo) {
  settings::TempDir dir;
  dir.Write("MyApp.lock", "");
  auto first = SingleInstance::Acquire(dir.path(), "MyApp");
  ASSERT_TRUE(first && first->Held());
  EXPECT_EQ(SingleInstance::Acquire(dir.path(), "MyApp"), nullptr);
  EXPECT_NE(SingleInstance::Acquire(dir.path(), "Other"), nullptr);
  first.reset();
  EXPECT_NE(SingleInstance::Acquire(dir.path(), "MyApp"), nullptr);

  auto unheld = SingleInstance::Acquire("/nonexistent-folder", "MyApp");
  ASSERT_NE(unheld, nullptr);
  EXPECT_FALSE(unheld->Held());
}

}  // namespace
}  // namespace vantrel::platform
