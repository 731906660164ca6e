#pragma once

#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "keyer/firmware_profile.h"
#include "keyer/protocol.h"
#include "platform/hid.h"
#include "platform/realtime.h"

namespace vantrel::keyer {

// The interface's firmware as 10 * major + minor, read from digits at positions 13 and 15 of
// the product string; a manufacturer beginning with 'J' marks the oldest (PC-timed) firmware.
unsigned FirmwareVersionFromStrings(const std::u16string& product,
                                    const std::u16string& manufacturer);

inline constexpr std::size_t kInputBufferSize = 32;
inline constexpr std::size_t kMaxOutputReportLength = 64;

// What the link hands to the engine, always with the engine's mutex held.
class InputReportSink {
 public:
  // A reader starts on a newly opened interface.
  virtual void OnReaderStart() = 0;
  virtual void OnInputReport(const InputReport& report) = 0;

 protected:
  ~InputReportSink() = default;
};

struct DeviceLinkServices {
  platform::HidBus& bus;
  // The engine's mutex. Every call into the link is made with it held; a reader thread takes
  // it for everything but the blocking read.
  std::mutex& mutex;
  InputReportSink& sink;
  int readTimeoutMs;
  platform::RealtimeRequest* realtime;
};

// The link to the interface: its write and read handles, the firmware profile read when it
// opens, and the reader threads. A write opens the interface when no link is open; a failed
// write or read closes the link, and the next write opens it again. A reader whose link closed
// is retired and joined when the next one starts, or when the link stops for good.
class DeviceLink {
 public:
  explicit DeviceLink(DeviceLinkServices services);

  void SendCommand(const CommandReport& report);
  // No reader starts from now on; the running ones are stopped and joined, the lock released
  // meanwhile.
  void StopReaders(std::unique_lock<std::mutex>& lock);
  void CloseHandles();

  const FirmwareProfile& Firmware() const { return firmware_; }
  bool IsOpen() const { return linkOpen_; }
  std::size_t ReaderThreadCount() const;

 private:
  struct ReaderContext;

  bool OpenDevice();
  bool TryOpen(const platform::HidDeviceInfo& info);
  void WriteReport(const CommandReport& report);
  void StartReader();
  void RetireReader();
  void JoinRetiredReaders(std::unique_lock<std::mutex>& lock);
  void ReaderLoop(std::shared_ptr<ReaderContext> context);
  bool ReaderShouldRun(const ReaderContext& context) const;
  void OnReadFailure(ReaderContext& context);

  DeviceLinkServices services_;
  FirmwareProfile firmware_;
  bool linkOpen_ = false;
  bool readerRunning_ = true;
  std::unique_ptr<platform::HidDevice> writeHandle_;
  std::shared_ptr<platform::HidDevice> readHandle_;
  std::size_t inputReportLength_ = 0;
  std::size_t outputReportLength_ = 0;
  std::shared_ptr<ReaderContext> reader_;
  std::vector<std::shared_ptr<ReaderContext>> retiredReaders_;
};

}  // namespace vantrel::keyer
