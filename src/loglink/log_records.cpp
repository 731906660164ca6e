#include "loglink/log_records.h"

namespace vantrel::loglink {
namespace {

bool IsCp932LeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

std::string_view CutCp932(std::string_view text, std::size_t limit) {
  std::size_t end = 0;
  while (end < text.size()) {
    std::size_t width = IsCp932LeadByte(static_cast<unsigned char>(text[end])) ? 2 : 1;
    if (end + width > limit) break;
    end += width;
  }
  return text.substr(0, end);
}

}  // namespace

std::string CopyDataSendText(std::string_view hisCall, int report) {
  const std::string tail = "\n\n\n" + std::to_string(report) + "\n\n\nCW";
  const std::size_t room = kCopyDataSendCapacity - 1 - 1 - tail.size();
  return "\n" + std::string(CutCp932(hisCall, room)) + tail;
}

}  // namespace vantrel::loglink
