#include "logstub_arguments.h"

#include <charconv>

namespace vantrel::tools {
namespace {

std::optional<std::uint64_t> ParseResult(const std::string& text) {
  std::uint64_t value = 0;
  int base = text.rfind("0x", 0) == 0 ? 16 : 10;
  const char* begin = text.data() + (base == 16 ? 2 : 0);
  const char* end = text.data() + text.size();
  auto [stop, error] = std::from_chars(begin, end, value, base);
  if (error != std::errc{} || stop != end || begin == end) return std::nullopt;
  return value;
}

bool Apply(loglink::LogStubOptions& options, const std::string& name, const std::string& value,
           std::string& error) {
  if (name == "--result") {
    std::optional<std::uint64_t> result = ParseResult(value);
    if (!result) error = "--result wants a number, not \"" + value + "\"";
    if (result) options.result = *result;
    return result.has_value();
  }
  if (name == "--reply") {
    options.reply = value;
    return true;
  }
  if (name == "--reply-timing" && (value == "during" || value == "after")) {
    options.timing =
        value == "during" ? loglink::ReplyTiming::kDuring : loglink::ReplyTiming::kAfter;
    return true;
  }
  error = name == "--reply-timing" ? "--reply-timing is during or after" : "unknown option " + name;
  return false;
}

}  // namespace

std::optional<loglink::LogStubOptions> ParseLogStubArguments(const std::vector<std::string>& args,
                                                             std::string& error) {
  loglink::LogStubOptions options;
  for (std::size_t i = 0; i < args.size(); i += 2) {
    if (i + 1 == args.size()) {
      error = args[i] == "--help" ? "" : args[i] + " wants a value";
      return std::nullopt;
    }
    if (!Apply(options, args[i], args[i + 1], error)) return std::nullopt;
  }
  return options;
}

}  // namespace vantrel::tools
