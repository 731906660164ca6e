#include "platform/text_encoding.h"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>
#include <utility>

namespace vantrel::platform {
namespace {

constexpr std::string_view kReplacementUtf8 = "\xEF\xBF\xBD";

// One conversion descriptor per call: iconv state must not be shared between threads.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv_open failed");
  }
  ~Converter() { iconv_close(cd_); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts as much as it can; returns false at the first byte it cannot convert, leaving
  // `in` pointing at it, or true when all of `in` is consumed.
  bool Convert(std::string_view& in, std::string& out) {
    char buffer[256];
    while (!in.empty()) {
      char* src = const_cast<char*>(in.data());
      std::size_t srcLeft = in.size();
      char* dst = buffer;
      std::size_t dstLeft = sizeof buffer;
      std::size_t rc = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
      int error = errno;
      out.append(buffer, dst - buffer);
      in.remove_prefix(in.size() - srcLeft);
      if (rc == static_cast<std::size_t>(-1) && error != E2BIG) return false;
    }
    return true;
  }

 private:
  iconv_t cd_;
};

// Length of the malformed unit at the start of `in`: a lead byte with its trail byte when
// the pair simply has no mapping, otherwise the single byte.
std::size_t Cp932BadUnitLength(std::string_view in) {
  auto lead = static_cast<unsigned char>(in[0]);
  bool is_lead = (lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC);
  if (!is_lead || in.size() < 2) return 1;
  auto trail = static_cast<unsigned char>(in[1]);
  bool is_trail = trail >= 0x40 && trail <= 0xFC && trail != 0x7F;
  return is_trail ? 2 : 1;
}

std::size_t Utf8UnitLength(std::string_view in) {
  auto lead = static_cast<unsigned char>(in[0]);
  std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
  std::size_t n = 1;
  while (n < length && n < in.size() && (static_cast<unsigned char>(in[n]) & 0xC0) == 0x80) ++n;
  return n;
}

}  // namespace

std::string Cp932ToUtf8(std::string_view cp932) {
  Converter converter("UTF-8", "CP932");
  std::string out;
  while (!converter.Convert(cp932, out)) {
    out += kReplacementUtf8;
    cp932.remove_prefix(Cp932BadUnitLength(cp932));
  }
  return out;
}

std::string Utf8ToCp932(std::string_view utf8) {
  Converter converter("CP932", "UTF-8");
  std::string out;
  while (!converter.Convert(utf8, out)) {
    out += '?';
    utf8.remove_prefix(Utf8UnitLength(utf8));
  }
  return out;
}

bool Cp932ConversionAvailable() {
  for (const auto& [to, from] : {std::pair("UTF-8", "CP932"), std::pair("CP932", "UTF-8")}) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    iconv_close(cd);
  }
  return true;
}

std::optional<std::string> TryUtf8ToCp932(std::string_view utf8) {
  Converter converter("CP932", "UTF-8");
  std::string out;
  if (!converter.Convert(utf8, out)) return std::nullopt;
  return out;
}

}  // namespace vantrel::platform
