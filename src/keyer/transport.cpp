#include <algorithm>
#include <string>
#include <vector>

#include "keyer/cw_device.h"
#include "keyer/firmware_version.h"
#include "platform/diag.h"
#include "platform/thread_name.h"

namespace vantrel::keyer {

using platform::Trace;

struct CCwDevice::ReaderContext {
  std::thread thread;
  std::shared_ptr<platform::HidDevice> device;
  bool stop = false;
  bool finished = false;
};

CCwDevice::CCwDevice(CwDeviceServices services) : services_(std::move(services)) {
  codeTable_.LoadFile(services_.tablePath);
  std::unique_lock lock(mutex_);
  MarkStepStart();
  SendCommand(MakeCommand(CmdOutputLines, {0x0F}));
  OpenSidetone();
}

CCwDevice::~CCwDevice() {
  std::unique_lock lock(mutex_);
  readerRunning_ = false;
  CancelTimer(elementTimer_);
  CancelTimer(pttTimer_);
  RetireReader();
  JoinRetiredReaders(lock);
  lock.unlock();
  // A timer callback already under way finds its slot cleared and returns; wait for it.
  services_.timers.Quiesce();
  lock.lock();
  SendCommand(MakeAllLinesCommand(CmdOutputLines, 0x0F));
  SendCommand(MakeAllLinesCommand(CmdOutputLines2, 0x0F));
  writeHandle_.reset();
  Trace("CloseHandle(DeviceHandle): ");
  readHandle_.reset();
  Trace("CloseHandle(ReadHandle): ");
  Trace("CloseHandle(ThreadHandle)");
  CloseSidetone();
}

void CCwDevice::SetTargetWindow(platform::TargetWindow* window) {
  std::lock_guard lock(mutex_);
  targetWindow_ = window;
}

void CCwDevice::SetLinesObserver(std::function<void(std::uint8_t lines)> observer) {
  std::lock_guard lock(mutex_);
  linesObserver_ = std::move(observer);
}

bool CCwDevice::OpenDevice() {
  // A write handle left by a failed read is closed here rather than leaked.
  writeHandle_.reset();
  readHandle_.reset();
  firmwareVersion_ = 0;
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
    Trace("CreateFile: failed for " + info.path);
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
  Trace(reader ? "CreateFile for Read Handle: ok" : "CreateFile for Read Handle: failed");
  writeHandle_ = std::move(device);
  readHandle_ = std::move(reader);
  inputReportLength_ = in;
  outputReportLength_ = out;
  firmwareVersion_ = version;
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
  Trace("WriteFile: ");
  Trace("Bytes Written: " + std::to_string(written ? buffer.size() : 0));
}

void CCwDevice::StartReader() {
  std::erase_if(retiredReaders_, [](const std::shared_ptr<ReaderContext>& context) {
    // A finished reader has left the lock for good, so joining it here cannot block.
    if (!context->finished) return false;
    context->thread.join();
    return true;
  });
  // A reopened interface starts afresh: its first report is answered with the output lines,
  // and its decode counter and speed switch become new references.
  lastOutputLinesWritten_ = 0;
  lastDecodeCounter_ = -1;
  lastSpeedSwitch_ = -1;
  reader_ = std::make_shared<ReaderContext>();
  reader_->device = readHandle_;
  reader_->thread = std::thread(&CCwDevice::ReaderLoop, this, reader_);
  Trace("CreateThread: ");
}

void CCwDevice::RetireReader() {
  if (!reader_) return;
  reader_->stop = true;
  retiredReaders_.push_back(std::move(reader_));
}

void CCwDevice::JoinRetiredReaders(std::unique_lock<std::mutex>& lock) {
  auto readers = std::move(retiredReaders_);
  lock.unlock();
  for (auto& context : readers) context->thread.join();
  lock.lock();
}

bool CCwDevice::ReaderShouldRun(const ReaderContext& context) const {
  return !context.stop && readerRunning_ && linkOpen_;
}

void CCwDevice::ReaderLoop(std::shared_ptr<ReaderContext> context) {
  platform::NameThisThread("vantrel-reader");
  std::array<std::uint8_t, kInputBufferSize> buffer{};
  std::unique_lock lock(mutex_);
  while (ReaderShouldRun(*context)) {
    const std::size_t length = inputReportLength_;
    lock.unlock();
    buffer.fill(0);
    const int count = context->device->Read(buffer.data(), length, services_.readTimeoutMs);
    lock.lock();
    if (count < 0) {
      OnReadFailure(*context);
      break;
    }
    if (count > 0 && !context->stop) HandleReport(buffer.data());
  }
  // A reader stopped by a failed write leaves the version as the failed read would, unless
  // the link was opened again meanwhile.
  if (context->stop && !linkOpen_ && readerRunning_) firmwareVersion_ = 0;
  if (reader_ == context) RetireReader();
  context->finished = true;
}

void CCwDevice::OnReadFailure(ReaderContext& context) {
  if (context.stop) return;
  Trace("Can't read from device");
  readHandle_.reset();
  linkOpen_ = false;
  firmwareVersion_ = 0;
  RetireReader();
}

std::size_t CCwDevice::ReaderThreadCount() const {
  std::lock_guard lock(mutex_);
  const auto running = std::count_if(retiredReaders_.begin(), retiredReaders_.end(),
                                     [](const auto& context) { return !context->finished; });
  return static_cast<std::size_t>(running) + (reader_ ? 1 : 0);
}

unsigned CCwDevice::FirmwareVersion() const {
  std::lock_guard lock(mutex_);
  return firmwareVersion_;
}

bool CCwDevice::LinkOpen() const {
  std::lock_guard lock(mutex_);
  return linkOpen_;
}

}  // namespace vantrel::keyer
