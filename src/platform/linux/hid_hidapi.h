#pragma once

#include "platform/hid.h"

namespace vantrel::platform {

// Holds hidapi initialised; the last holder to go releases it.
class HidapiLibraryUse {
 public:
  HidapiLibraryUse();
  ~HidapiLibraryUse();
  HidapiLibraryUse(const HidapiLibraryUse&) = delete;
  HidapiLibraryUse& operator=(const HidapiLibraryUse&) = delete;
};

// HID devices through hidapi's hidraw backend.
class HidapiBus final : public HidBus {
 public:
  HidapiBus();
  ~HidapiBus() override;
  HidapiBus(const HidapiBus&) = delete;
  HidapiBus& operator=(const HidapiBus&) = delete;

  std::vector<HidDeviceInfo> Enumerate() override;
  std::unique_ptr<HidDevice> Open(const std::string& path) override;

 private:
  HidapiLibraryUse library_;
};

}  // namespace vantrel::platform
