#include "platform/linux/hid_hidapi.h"

#include <hidapi.h>

#include <cwchar>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "platform/diag.h"
#include "platform/linux/hidraw.h"
#include "platform/linux/report_descriptor.h"

namespace vantrel::platform {
namespace {

std::mutex libraryMutex;
int libraryUsers = 0;

}  // namespace

HidapiLibraryUse::HidapiLibraryUse() {
  std::lock_guard lock(libraryMutex);
  if (libraryUsers++ == 0 && hid_init() != 0) Trace("hid_init failed");
}

HidapiLibraryUse::~HidapiLibraryUse() {
  std::lock_guard lock(libraryMutex);
  if (--libraryUsers == 0) hid_exit();
}

namespace {

struct HidClose {
  void operator()(hid_device* device) const { hid_close(device); }
};
using HidHandle = std::unique_ptr<hid_device, HidClose>;

constexpr std::size_t kStringCapacity = 256;

std::u16string ReadString(hid_device* device, int (*get)(hid_device*, wchar_t*, std::size_t)) {
  wchar_t buffer[kStringCapacity] = {};
  if (get(device, buffer, kStringCapacity) != 0) return {};
  return WideToUtf16(std::wstring_view(buffer, wcsnlen(buffer, kStringCapacity)));
}

ReportLengths ReportLengthsOf(const std::string& path) {
  const auto lengths = ParseReportLengths(ReadHidrawReportDescriptor(path));
  if (!lengths) {
    Trace("Report descriptor not usable: " + path);
    return {};
  }
  Trace("Input Report Byte Length: " + std::to_string(lengths->input));
  Trace("Output Report Byte Length: " + std::to_string(lengths->output));
  return *lengths;
}

// Reads and writes go through separate handles, as hidapi keeps per-handle error state
// that a write on one thread and a read on another would otherwise share.
class HidapiDevice final : public HidDevice {
 public:
  HidapiDevice(HidHandle writer, HidHandle reader, ReportLengths lengths)
      : writer_(std::move(writer)), reader_(std::move(reader)), lengths_(lengths) {}

  std::size_t InputReportLength() const override { return lengths_.input; }
  std::size_t OutputReportLength() const override { return lengths_.output; }

  std::u16string ProductString() override {
    std::lock_guard lock(writeMutex_);
    return ReadString(writer_.get(), hid_get_product_string);
  }
  std::u16string ManufacturerString() override {
    std::lock_guard lock(writeMutex_);
    return ReadString(writer_.get(), hid_get_manufacturer_string);
  }

  bool Write(const std::uint8_t* data, std::size_t length) override {
    std::lock_guard lock(writeMutex_);
    const int written = hid_write(writer_.get(), data, length);
    if (written < 0) Trace("hid_write failed");
    return written >= 0 && static_cast<std::size_t>(written) == length;
  }

  int Read(std::uint8_t* buf, std::size_t capacity, int timeoutMs) override {
    std::lock_guard lock(readMutex_);
    const int count = ReadWithReportId(
        lengths_.numbered, buf, capacity, [&](std::uint8_t* dst, std::size_t room) {
          return hid_read_timeout(reader_.get(), dst, room, timeoutMs);
        });
    if (count < 0) Trace("hid_read_timeout failed");
    return count;
  }

 private:
  HidapiLibraryUse library_;
  std::mutex writeMutex_;
  std::mutex readMutex_;
  HidHandle writer_;
  HidHandle reader_;
  const ReportLengths lengths_;
};

HidHandle OpenHandle(const std::string& path) {
  HidHandle handle(hid_open_path(path.c_str()));
  if (!handle) Trace("hid_open_path failed: " + path);
  return handle;
}

}  // namespace

HidapiBus::HidapiBus() = default;

HidapiBus::~HidapiBus() = default;

std::vector<HidDeviceInfo> HidapiBus::Enumerate() {
  std::vector<HidDeviceInfo> found;
  hid_device_info* const list = hid_enumerate(0, 0);
  for (const hid_device_info* info = list; info != nullptr; info = info->next) {
    found.push_back({info->path != nullptr ? info->path : "", info->vendor_id, info->product_id});
  }
  hid_free_enumeration(list);
  return found;
}

std::unique_ptr<HidDevice> HidapiBus::Open(const std::string& path) {
  HidHandle writer = OpenHandle(path);
  if (!writer) return nullptr;
  HidHandle reader = OpenHandle(path);
  if (!reader) return nullptr;
  return std::make_unique<HidapiDevice>(std::move(writer), std::move(reader),
                                        ReportLengthsOf(path));
}

}  // namespace vantrel::platform
