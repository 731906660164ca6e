#include "sim/sim_handle.h"

namespace vantrel::sim {

SimHandle::~SimHandle() {
  device_->Reports().CloseHandle(generation_, reading_);
}

std::u16string SimHandle::ProductString() {
  return device_->Reports().IsLive(generation_) ? device_->Strings().product : u"";
}

std::u16string SimHandle::ManufacturerString() {
  return device_->Reports().IsLive(generation_) ? device_->Strings().manufacturer : u"";
}

bool SimHandle::Write(const std::uint8_t* data, std::size_t length) {
  return device_->Receive(generation_, data, length);
}

int SimHandle::Read(std::uint8_t* buf, std::size_t capacity, int timeoutMs) {
  return device_->Reports().Read(generation_, reading_, buf, capacity, timeoutMs);
}

}  // namespace vantrel::sim
