#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace vantrel::tools {

struct UhidIdentity {
  std::string name;  // the product string a host reads back
  std::uint16_t vendorId = 0;
  std::uint16_t productId = 0;
  std::vector<std::uint8_t> descriptor;
};

// One device created through /dev/uhid. The kernel's output reports reach `onOutput` on the
// link's own thread, with the report-id byte first as the host wrote it.
class UhidLink {
 public:
  using OutputHandler = std::function<void(const std::uint8_t* data, std::size_t length)>;

  // Throws std::runtime_error when /dev/uhid cannot be opened.
  UhidLink(UhidIdentity identity, OutputHandler onOutput);
  ~UhidLink();
  UhidLink(const UhidLink&) = delete;
  UhidLink& operator=(const UhidLink&) = delete;

  // The device appears on the bus, or goes; each is a no-op when already so.
  bool Create();
  void Destroy();
  // One input report as the descriptor lays it out.
  bool Input(const std::uint8_t* data, std::size_t length);

 private:
  bool WriteEvent(const void* event, std::size_t size);
  void ReadEvents();
  void Answer(std::uint32_t type, std::uint32_t id);

  const UhidIdentity identity_;
  const OutputHandler onOutput_;
  int fd_ = -1;
  std::mutex writeMutex_;
  bool created_ = false;
  std::atomic<bool> running_ = true;
  std::thread events_;
};

}  // namespace vantrel::tools
