#include "platform/hid_input_framing.h"

namespace vantrel::platform {

int ReadWithReportId(bool numbered, std::uint8_t* buf, std::size_t capacity,
                     const RawReportRead& read) {
  if (numbered) return read(buf, capacity);
  if (capacity == 0) return -1;
  const int count = read(buf + 1, capacity - 1);
  if (count <= 0) return count;
  buf[0] = 0;
  return count + 1;
}

}  // namespace vantrel::platform
