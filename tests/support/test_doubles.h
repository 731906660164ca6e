#pragma once

#include <cstdint>
#include <mutex>
#include <utility>
#include <vector>

#include "platform/key_injector.h"
#include "platform/sound.h"
#include "platform/target_window.h"

namespace vantrel::platform {

struct PostedMessage {
  unsigned message;
  std::intptr_t wParam;
  std::intptr_t lParam;
  bool operator==(const PostedMessage&) const = default;
};

// Records every posted message; safe to post from any thread.
class RecordingWindow final : public TargetWindow {
 public:
  void Post(unsigned message, std::intptr_t wParam, std::intptr_t lParam) override {
    std::lock_guard lock(mutex_);
    messages_.push_back({message, wParam, lParam});
  }
  std::vector<PostedMessage> Take() {
    std::lock_guard lock(mutex_);
    return std::exchange(messages_, {});
  }
  std::vector<PostedMessage> Snapshot() const {
    std::lock_guard lock(mutex_);
    return messages_;
  }

 private:
  mutable std::mutex mutex_;
  std::vector<PostedMessage> messages_;
};

struct KeyEvent {
  int virtualKey;
  bool down;
  bool operator==(const KeyEvent&) const = default;
};

class RecordingKeyInjector final : public KeyInjector {
 public:
  void Key(int virtualKey, bool down) override {
    std::lock_guard lock(mutex_);
    events_.push_back({virtualKey, down});
  }
  std::vector<KeyEvent> Take() {
    std::lock_guard lock(mutex_);
    return std::exchange(events_, {});
  }

 private:
  std::mutex mutex_;
  std::vector<KeyEvent> events_;
};

// Tone output for machines without sound and for tests: records what it was asked to do.
class NullToneOutput final : public ToneOutput {
 public:
  enum class Op { Open, Start, Pause, Close };
  struct Call {
    Op op;
    unsigned frequencyHz;
    bool operator==(const Call&) const = default;
  };

  bool Open(unsigned frequencyHz) override { return Record(Op::Open, frequencyHz), true; }
  void Start() override { Record(Op::Start, 0); }
  void Pause() override { Record(Op::Pause, 0); }
  void Close() override { Record(Op::Close, 0); }
  std::vector<Call> Take() {
    std::lock_guard lock(mutex_);
    return std::exchange(calls_, {});
  }

 private:
  void Record(Op op, unsigned hz) {
    std::lock_guard lock(mutex_);
    calls_.push_back({op, hz});
  }
  std::mutex mutex_;
  std::vector<Call> calls_;
};

}  // namespace vantrel::platform
