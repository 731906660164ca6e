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

// Tone output for tests: records each call with its frequency, "Open558" or "Start0".
class NullToneOutput final : public ToneOutput, public Recorded<std::string> {
 public:
  bool Open(unsigned frequencyHz) override {
    Add("Open" + std::to_string(frequencyHz));
    return true;
  }
  void Start() override { Add("Start0"); }
  void Pause() override { Add("Pause0"); }
  void Close() override { Add("Close0"); }
};

// "Open558 Start0 Pause0": the calls in their order.
inline std::string ToneList(const std::vector<std::string>& calls) {
  std::string text;
  for (const auto& call : calls) text += (text.empty() ? "" : " ") + call;
  return text;
}

}  // namespace vantrel::platform
