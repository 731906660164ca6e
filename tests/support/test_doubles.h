#pragma once

#include <cstdint>
#include <mutex>
#include <string>
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
  bool Open(unsigned frequencyHz) override { return Add({ToneOp::Open, frequencyHz}), true; }
  void Start() override { Add({ToneOp::Start, 0}); }
  void Pause() override { Add({ToneOp::Pause, 0}); }
  void Close() override { Add({ToneOp::Close, 0}); }
};

// "Open558 Start0 Pause0": each call with its frequency.
inline std::string ToneList(const std::vector<ToneCall>& calls) {
  static const char* const kOps[] = {"Open", "Start", "Pause", "Close"};
  std::string text;
  for (const auto& c : calls)
    text += kOps[static_cast<int>(c.op)] + std::to_string(c.frequencyHz) + " ";
  if (!text.empty()) text.pop_back();
  return text;
}

}  // namespace vantrel::platform
