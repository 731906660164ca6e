#pragma once

#include <cstdint>
#include <string>

namespace vantrel::loglink {

// One data-copy record as it travels between Vantrel and the logging program. The reply
// address is the sender's own socket, where the receiver may send records back; empty when
// the sender takes none.
struct CopyDataRecord {
  std::uint64_t identifier = 0;
  std::string bytes;
  std::string replyAddress;
};

}  // namespace vantrel::loglink
