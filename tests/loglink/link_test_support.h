#pragma once

#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

#include "support/temp_dir.h"

namespace vantrel::loglink::testing {

// Each test gets its own runtime folder, so the logging program's socket name never clashes.
class LinkTest : public ::testing::Test {
 protected:
  void SetUp() override { ::setenv("XDG_RUNTIME_DIR", dir_.c_str(), 1); }
  void TearDown() override { ::unsetenv("XDG_RUNTIME_DIR"); }
  std::string LogProgramPath() const { return dir_ + "/TThwin"; }

  settings::TempDir tempDir_;
  const std::string dir_ = tempDir_.path().string();
};

// Serves a pollable object on a thread of its own until destroyed.
class ServingThread {
 public:
  ServingThread(int fd, std::function<void()> serve) {
    EXPECT_EQ(::pipe(stop_), 0);
    thread_ = std::thread([this, fd, serve = std::move(serve)] {
      for (;;) {
        pollfd waits[2] = {{fd, POLLIN, 0}, {stop_[0], POLLIN, 0}};
        if (::poll(waits, 2, -1) < 0) continue;
        if (waits[1].revents != 0) return;
        if (waits[0].revents != 0) serve();
      }
    });
  }
  ~ServingThread() {
    EXPECT_EQ(::write(stop_[1], "x", 1), 1);
    thread_.join();
    ::close(stop_[0]);
    ::close(stop_[1]);
  }

 private:
  int stop_[2] = {-1, -1};
  std::thread thread_;
};

}  // namespace vantrel::loglink::testing
