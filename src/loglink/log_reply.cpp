#include "loglink/log_reply.h"

#include <charconv>
#include <vector>

namespace vantrel::loglink {
namespace {

bool IsWhiteSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::vector<std::string_view> FirstTokens(std::string_view text, std::size_t wanted) {
  std::vector<std::string_view> tokens;
  std::size_t at = 0;
  while (tokens.size() < wanted) {
    while (at < text.size() && IsWhiteSpace(text[at])) ++at;
    if (at == text.size()) break;
    std::size_t start = at;
    while (at < text.size() && !IsWhiteSpace(text[at])) ++at;
    tokens.push_back(text.substr(start, at - start));
  }
  return tokens;
}

// A leading sign and digits, as scanf's %d takes them; whatever follows is ignored.
std::optional<int> LeadingInteger(std::string_view token) {
  const char* begin = token.data();
  const char* end = token.data() + token.size();
  if (begin != end && *begin == '+') {
    ++begin;
    if (begin != end && *begin == '-') return std::nullopt;
  }
  int value = 0;
  auto [stop, error] = std::from_chars(begin, end, value);
  if (error != std::errc{}) return std::nullopt;
  return value;
}

}  // namespace

LogReply ParseLogReply(std::string_view bytes) {
  std::string_view text = bytes.substr(0, bytes.find('\0'));
  std::vector<std::string_view> tokens = FirstTokens(text, 4);
  LogReply reply;
  if (!tokens.empty()) reply.HisCall = std::string(tokens[0].substr(0, kReplyTokenLimit));
  if (tokens.size() == 4) reply.Report = LeadingInteger(tokens[3]);
  return reply;
}

void ApplyLogReply(const LogReply& reply, std::string& hisCall, int& report) {
  if (reply.HisCall) hisCall = *reply.HisCall;
  if (reply.Report) report = *reply.Report;
}

}  // namespace vantrel::loglink
