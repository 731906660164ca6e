#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vantrel::platform {

struct HidDeviceInfo {
  std::string path;
  std::uint16_t vendorId = 0;
  std::uint16_t productId = 0;
};

// One open handle to a HID device. Report buffers always start with the report-id byte,
// so a device with unnumbered 8-byte reports has input and output lengths of 9.
class HidDevice {
 public:
  virtual ~HidDevice() = default;

  // 0 when the device's report descriptor cannot be used.
  virtual std::size_t InputReportLength() const = 0;
  virtual std::size_t OutputReportLength() const = 0;

  // Strings as UTF-16 units; empty when they cannot be read.
  virtual std::u16string ProductString() = 0;
  virtual std::u16string ManufacturerString() = 0;

  // Writes one whole output report; false when it was not delivered.
  virtual bool Write(const std::uint8_t* data, std::size_t length) = 0;

  // Reads one input report into buf (report-id byte first). Returns the byte count,
  // 0 when nothing arrived within timeoutMs, -1 when the device failed or is gone.
  virtual int Read(std::uint8_t* buf, std::size_t capacity, int timeoutMs) = 0;
};

class HidBus {
 public:
  virtual ~HidBus() = default;
  virtual std::vector<HidDeviceInfo> Enumerate() = 0;
  // nullptr when the path cannot be opened.
  virtual std::unique_ptr<HidDevice> Open(const std::string& path) = 0;
};

}  // namespace vantrel::platform
