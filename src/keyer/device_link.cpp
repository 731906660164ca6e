#include "keyer/device_link.h"

#include <algorithm>
#include <array>
#include <string>
#include <thread>
#include <vector>

#include "platform/diag.h"
#include "platform/linux/thread_name.h"

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

DeviceLink::DeviceLink(DeviceLinkServices services) : services_(services) {}

bool DeviceLink::OpenDevice() {
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

bool DeviceLink::TryOpen(const platform::HidDeviceInfo& info) {
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

void DeviceLink::StopReaders(std::unique_lock<std::mutex>& lock) {
  readerRunning_ = false;
  RetireReader();
  JoinRetiredReaders(lock);
  Trace("Reader thread ended");
}

void DeviceLink::CloseHandles() {
  writeHandle_.reset();
  Trace("Write handle closed");
  readHandle_.reset();
  Trace("Read handle closed");
}

// A successful write leaves no trace: a line for every command would flood the log, since below
// firmware 20 every input report is answered with one.
void DeviceLink::SendCommand(const CommandReport& report) {
  if (!linkOpen_) linkOpen_ = OpenDevice();
  if (linkOpen_) WriteReport(report);
}

void DeviceLink::WriteReport(const CommandReport& report) {
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
}

struct DeviceLink::ReaderContext {
  std::thread thread;
  std::shared_ptr<platform::HidDevice> device;
  bool stop = false;
  bool finished = false;
};

void DeviceLink::StartReader() {
  std::erase_if(retiredReaders_, [](const std::shared_ptr<ReaderContext>& context) {
    // A finished reader has left the lock for good, so joining it here cannot block.
    if (!context->finished) return false;
    context->thread.join();
    return true;
  });
  services_.sink.OnReaderStart();
  reader_ = std::make_shared<ReaderContext>();
  reader_->device = readHandle_;
  reader_->thread = std::thread(&DeviceLink::ReaderLoop, this, reader_);
  Trace("Reader thread started");
}

void DeviceLink::RetireReader() {
  if (!reader_) return;
  reader_->stop = true;
  retiredReaders_.push_back(std::move(reader_));
}

void DeviceLink::JoinRetiredReaders(std::unique_lock<std::mutex>& lock) {
  auto readers = std::move(retiredReaders_);
  lock.unlock();
  for (auto& context : readers) context->thread.join();
  lock.lock();
}

bool DeviceLink::ReaderShouldRun(const ReaderContext& context) const {
  return !context.stop && readerRunning_ && linkOpen_;
}

void DeviceLink::ReaderLoop(std::shared_ptr<ReaderContext> context) {
  platform::NameThisThread("vantrel-reader");
  if (services_.realtime != nullptr)
    services_.realtime->MakeThreadRealtime(platform::CurrentThreadId());
  std::array<std::uint8_t, kInputBufferSize> buffer{};
  std::unique_lock lock(services_.mutex);
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
    if (count > 0 && !context->stop) {
      services_.sink.OnInputReport(Parse<InputReport>(ReportBytes(buffer.data(), kReportLength)));
    }
  }
  // Every way out of the loop has retired this reader. One stopped by a failed read or write
  // leaves no version behind, unless the link was opened again meanwhile.
  if (context->stop && !linkOpen_ && readerRunning_) firmware_ = ProfileFor(0);
  context->finished = true;
}

void DeviceLink::OnReadFailure(ReaderContext& context) {
  if (context.stop) return;
  Trace("Can't read from device");
  readHandle_.reset();
  linkOpen_ = false;
  RetireReader();
}

std::size_t DeviceLink::ReaderThreadCount() const {
  const auto running = std::count_if(retiredReaders_.begin(), retiredReaders_.end(),
                                     [](const auto& context) { return !context->finished; });
  return static_cast<std::size_t>(running) + (reader_ ? 1 : 0);
}

}  // namespace vantrel::keyer
