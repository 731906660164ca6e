#include "settings/number_text.h"

#include <locale.h>

#include <cerrno>
#include <charconv>
#include <cstdlib>

namespace vantrel::settings {
namespace {

locale_t CLocale() {
  static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  return locale;
}

bool IsBlank(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::string ToChars(double value, std::chars_format format, int precision) {
  char buffer[400];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value, format, precision);
  return std::string(buffer, result.ptr);
}

}  // namespace

long LeadingInteger(std::string_view text) {
  std::string terminated(text);
  return std::strtol(terminated.c_str(), nullptr, 10);
}

double LeadingDecimal(std::string_view text) {
  std::string terminated(text);
  return strtod_l(terminated.c_str(), nullptr, CLocale());
}

std::optional<double> ParseDecimal(std::string_view text) {
  std::string terminated(TrimBlanks(text));
  if (terminated.empty()) return std::nullopt;
  char* end = nullptr;
  errno = 0;
  double value = strtod_l(terminated.c_str(), &end, CLocale());
  if (end != terminated.c_str() + terminated.size() || errno == ERANGE) return std::nullopt;
  return value;
}

std::optional<unsigned long> ParseUnsigned(std::string_view text) {
  text = TrimBlanks(text);
  unsigned long value = 0;
  auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || result.ec != std::errc() || result.ptr != text.data() + text.size()) {
    return std::nullopt;
  }
  return value;
}

std::string FormatSixDecimals(double value) {
  return ToChars(value, std::chars_format::fixed, 6);
}

std::string FormatShortDecimal(double value) {
  return ToChars(value, std::chars_format::general, 6);
}

}  // namespace vantrel::settings
