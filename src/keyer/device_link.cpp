#include <algorithm>
#include <string>
#include <vector>

#include "keyer/cw_device.h"
#include "platform/diag.h"

namespace vantrel::keyer {
namespace {

// Only the low byte of each UTF-16 unit counts, as for an 8-bit copy of the string.
int DigitAt(const std::u16string& text, std::size_t pos) {
  if (pos >= text.size()) return -1;
  const auto byte = static_cast<unsigned char>(text[pos] & 0xFF);
  return byte >= '0' && byte <= '9' ? byte - '0' : -1;
}

}  // namespace

using platform::Trace;

unsigned FirmwareVersionFromStrings(const std::u16string& product,
                                    const std::u16string& manufacturer) {
  const int major = DigitAt(product, 13);
  const int minor = DigitAt(product, 15);
  if (major >= 0 && minor >= 0) return static_cast<unsigned>(10 * major + minor);
  if (!manufacturer.empty() && (manufacturer[0] & 0xFF) == 'J') return 10;
  return 99;
}

CCwDevice::CCwDevice(CwDeviceServices services)
    : services_(std::move(services)),
      keyer_({.timers = services_.timers,
              .tone = services_.tone,
              .mutex = mutex_,
              .params = params_,
              .post = [this](unsigned message, std::intptr_t wParam) { Post(message, wParam); },
              .setPtt = [this](bool on) { SetPtt(on); }}) {
  codeTable_.LoadFile(services_.tablePath);
  std::unique_lock lock(mutex_);
  keyer_.MarkStepStart();
  SendCommand(Build(OutputLinesCommand{kLinesAtRest}));
  keyer_.OpenSidetone();
}

CCwDevice::~CCwDevice() {
  std::unique_lock lock(mutex_);
  readerRunning_ = false;
  keyer_.CancelTimers();
  RetireReader();
  JoinRetiredReaders(lock);
  Trace("Reader thread ended");
  lock.unlock();
  // A timer callback already under way finds its slot cleared and returns; wait for it.
  services_.timers.Quiesce();
  lock.lock();
  SendCommand(AllLinesCommand(CmdOutputLines, kLinesAtRest));
  SendCommand(AllLinesCommand(CmdOutputLines2, kLinesAtRest));
  writeHandle_.reset();
  Trace("Write handle closed");
  readHandle_.reset();
  Trace("Read handle closed");
  keyer_.CloseSidetone();
}

void CCwDevice::SetTargetWindow(platform::TargetWindow* window) {
  std::lock_guard lock(mutex_);
  targetWindow_ = window;
}

void CCwDevice::SetLinesObserver(std::function<void(std::uint8_t lines)> observer) {
  std::lock_guard lock(mutex_);
  keyer_.SetLinesObserver(std::move(observer));
}

bool CCwDevice::OpenDevice() {
  // A write handle left by a failed read is closed here rather than leaked.
  writeHandle_.reset();
  readHandle_.reset();
  firmware_ = ProfileFor(0);
  for (const auto& info : services_.bus.Enumerate()) {
    if (info.vendorId != kHalvixVendorId || info.productId != kHalvixProductId) continue;
    Trace("Device detected");
    if (TryOpen(info)) return true;
  }
  Trace("Device not detected");
  return false;
}

bool CCwDevice::TryOpen(const platform::HidDeviceInfo& info) {
  auto device = services_.bus.Open(info.path);
  if (!device) {
    Trace("Interface not opened: " + info.path);
    return false;
  }
  const std::size_t in = device->InputReportLength();
  const std::size_t out = device->OutputReportLength();
  Trace("Input Report Byte Length: " + std::to_string(in));
  Trace("Output Report Byte Length: " + std::to_string(out));
  if (in == 0 || in > kInputBufferSize || out == 0 || out > kMaxOutputReportLength) {
    Trace("Report lengths not usable: " + info.path);
    return false;
  }
  const unsigned version =
      FirmwareVersionFromStrings(device->ProductString(), device->ManufacturerString());
  std::shared_ptr<platform::HidDevice> reader = services_.bus.Open(info.path);
  Trace(reader ? "Read handle opened" : "Read handle not opened; no input reports");
  writeHandle_ = std::move(device);
  readHandle_ = std::move(reader);
  inputReportLength_ = in;
  outputReportLength_ = out;
  firmware_ = ProfileFor(version);
  if (readHandle_ && readerRunning_ && !reader_) StartReader();
  return true;
}

void CCwDevice::SendCommand(const CommandReport& report) {
  Trace("***HID Test Report***");
  if (!linkOpen_) linkOpen_ = OpenDevice();
  if (linkOpen_) WriteReport(report);
}

void CCwDevice::WriteReport(const CommandReport& report) {
  std::vector<std::uint8_t> buffer(outputReportLength_, 0);
  std::copy_n(report.begin(), std::min(report.size(), buffer.size()), buffer.begin());
  const bool written = writeHandle_->Write(buffer.data(), buffer.size());
  if (!written) {
    writeHandle_.reset();
    readHandle_.reset();
    RetireReader();
    Trace("Can't write to device");
    linkOpen_ = false;
  }
  Trace("Bytes Written: " + std::to_string(written ? buffer.size() : 0));
}

unsigned CCwDevice::FirmwareVersion() const {
  std::lock_guard lock(mutex_);
  return firmware_.version;
}

bool CCwDevice::LinkOpen() const {
  std::lock_guard lock(mutex_);
  return linkOpen_;
}

}  // namespace vantrel::keyer
