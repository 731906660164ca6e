#include "uhid_link.h"

#include <fcntl.h>
#include <linux/uhid.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace vantrel::tools {
namespace {

constexpr int kPollMs = 50;
constexpr std::uint16_t kBusUsb = 0x03;

}  // namespace

UhidLink::UhidLink(UhidIdentity identity, OutputHandler onOutput)
    : identity_(std::move(identity)), onOutput_(std::move(onOutput)) {
  fd_ = open("/dev/uhid", O_RDWR | O_CLOEXEC);
  if (fd_ < 0) throw std::runtime_error(std::string("/dev/uhid: ") + std::strerror(errno));
  events_ = std::thread([this] { ReadEvents(); });
}

UhidLink::~UhidLink() {
  Destroy();
  running_ = false;
  events_.join();
  close(fd_);
}

bool UhidLink::Create() {
  std::lock_guard lock(writeMutex_);
  if (created_) return true;
  uhid_event event{};
  event.type = UHID_CREATE2;
  auto& create = event.u.create2;
  std::strncpy(reinterpret_cast<char*>(create.name), identity_.name.c_str(),
               sizeof create.name - 1);
  std::strncpy(reinterpret_cast<char*>(create.phys), "vantrel-virtual-halvix",
               sizeof create.phys - 1);
  create.rd_size = static_cast<std::uint16_t>(identity_.descriptor.size());
  std::memcpy(create.rd_data, identity_.descriptor.data(), identity_.descriptor.size());
  create.bus = kBusUsb;
  create.vendor = identity_.vendorId;
  create.product = identity_.productId;
  created_ = WriteEvent(&event, sizeof event);
  return created_;
}

void UhidLink::Destroy() {
  std::lock_guard lock(writeMutex_);
  if (!created_) return;
  uhid_event event{};
  event.type = UHID_DESTROY;
  WriteEvent(&event, sizeof event);
  created_ = false;
}

bool UhidLink::Input(const std::uint8_t* data, std::size_t length) {
  uhid_event event{};
  event.type = UHID_INPUT2;
  event.u.input2.size = static_cast<std::uint16_t>(std::min(length, sizeof event.u.input2.data));
  std::memcpy(event.u.input2.data, data, event.u.input2.size);
  std::lock_guard lock(writeMutex_);
  return created_ && WriteEvent(&event, sizeof event);
}

bool UhidLink::WriteEvent(const void* event, std::size_t size) {
  return write(fd_, event, size) == static_cast<ssize_t>(size);
}

void UhidLink::ReadEvents() {
  while (running_) {
    pollfd ready{fd_, POLLIN, 0};
    if (poll(&ready, 1, kPollMs) <= 0) continue;
    uhid_event event{};
    if (read(fd_, &event, sizeof event) <= 0) continue;
    switch (event.type) {
      case UHID_OUTPUT:
        onOutput_(event.u.output.data, event.u.output.size);
        break;
      case UHID_GET_REPORT:
        Answer(UHID_GET_REPORT_REPLY, event.u.get_report.id);
        break;
      case UHID_SET_REPORT:
        Answer(UHID_SET_REPORT_REPLY, event.u.set_report.id);
        break;
      default:
        break;
    }
  }
}

// The interface has no feature reports: the kernel is told so rather than left waiting.
void UhidLink::Answer(std::uint32_t type, std::uint32_t id) {
  uhid_event reply{};
  reply.type = type;
  if (type == UHID_GET_REPORT_REPLY) {
    reply.u.get_report_reply.id = id;
    reply.u.get_report_reply.err = EIO;
  } else {
    reply.u.set_report_reply.id = id;
    reply.u.set_report_reply.err = EIO;
  }
  std::lock_guard lock(writeMutex_);
  WriteEvent(&reply, sizeof reply);
}

}  // namespace vantrel::tools
