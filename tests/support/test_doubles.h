#pragma once

#include <cstdint>
#include <mutex>
#include <utility>
#include <vector>

#include "platform/key_injector.h"
#include "platform/sound.h"
#include "platform/target_window.h"

namespace vantrel::platform {

// A list that any thread may add to while the test takes it.
template <typename T>
class Recorded {
 public:
  std::vector<T> Take() {
    std::lock_guard lock(mutex_);
    return std::exchange(items_, {});
  }

 protected:
  void Add(T item) {
    std::lock_guard lock(mutex_);
    items_.push_back(std::move(item));
  }

 private:
  mutable std::mutex mutex_;
  std::vector<T> items_;
};

struct PostedMessage {
  unsigned message;
  std::intptr_t wParam;
  std::intptr_t lParam;
  bool operator==(const PostedMessage&) const = default;
};

class RecordingWindow final : public TargetWindow, public Recorded<PostedMessage> {
 public:
  void Post(unsigned message, std::intptr_t wParam, std::intptr_t lParam) override {
    Add({message, wParam, lParam});
  }
};

struct KeyEvent {
  int virtualKey;
  bool down;
  bool operator==(const KeyEvent&) const = default;
};

class RecordingKeyInjector final : public KeyInjector, public Recorded<KeyEvent> {
 public:
  void Key(int virtualKey, bool down) override { Add({virtualKey, down}); }
};

enum class ToneOp { Open, Start, Pause, Close };
struct ToneCall {
  ToneOp op;
  unsigned frequencyHz;
  bool operator==(const ToneCall&) const = default;
};

// Tone output for machines without sound and for tests: records what it was asked to do.
class NullToneOutput final : public ToneOutput, public Recorded<ToneCall> {
 public:
  using Op = ToneOp;
  using Call = ToneCall;
  bool Open(unsigned frequencyHz) override { return Add({Op::Open, frequencyHz}), true; }
  void Start() override { Add({Op::Start, 0}); }
  void Pause() override { Add({Op::Pause, 0}); }
  void Close() override { Add({Op::Close, 0}); }
};

}  // namespace vantrel::platform
