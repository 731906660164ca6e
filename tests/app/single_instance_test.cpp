#include "platform/linux/single_instance.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace vantrel::platform {
namespace {

TEST(SingleInstance, ASecondHolderIsRefusedUntilTheFirstLetsGo) {
  settings::TempDir dir;
  auto first = SingleInstance::Acquire(dir.path(), "MyApp");
  ASSERT_TRUE(first && first->Held());
  EXPECT_EQ(SingleInstance::Acquire(dir.path(), "MyApp"), nullptr);
  EXPECT_NE(SingleInstance::Acquire(dir.path(), "Other"), nullptr);
  first.reset();
  EXPECT_NE(SingleInstance::Acquire(dir.path(), "MyApp"), nullptr);
}

TEST(SingleInstance, ALockFileLeftBehindDoesNotBlock) {
  settings::TempDir dir;
  dir.Write("MyApp.lock", "");
  auto instance = SingleInstance::Acquire(dir.path(), "MyApp");
  ASSERT_NE(instance, nullptr);
  EXPECT_TRUE(instance->Held());
}

TEST(SingleInstance, AFolderThatCannotHoldTheLockDoesNotStopTheProgram) {
  auto instance = SingleInstance::Acquire("/nonexistent-folder", "MyApp");
  ASSERT_NE(instance, nullptr);
  EXPECT_FALSE(instance->Held());
}

}  // namespace
}  // namespace vantrel::platform
