#include "loglink/xml_rpc_request.h"

#include <array>
#include <optional>
#include <utility>

namespace vantrel::loglink {
namespace {

using Status = XmlRpcRequest::Status;

XmlRpcRequest Only(Status status) {
  XmlRpcRequest request;
  request.status = status;
  return request;
}

constexpr std::size_t kMaxParams = 8;
constexpr std::size_t kMaxMethodName = 64;
constexpr std::string_view kHeaderEnd = "\r\n\r\n";

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view TrimFront(std::string_view text) {
  while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
  return text;
}

std::string_view Trim(std::string_view text) {
  text = TrimFront(text);
  while (!text.empty() && IsSpace(text.back())) text.remove_suffix(1);
  return text;
}

struct Headers {
  Status status = Status::kCall;
  std::size_t contentLength = 0;
};

Status ReadContentLength(std::string_view value, std::optional<std::size_t>& length) {
  if (value.empty()) return Status::kBadRequest;
  std::size_t parsed = 0;
  for (char c : value) {
    if (c < '0' || c > '9') return Status::kBadRequest;
    parsed = parsed * 10 + static_cast<std::size_t>(c - '0');
    if (parsed > kMaxXmlRpcBodyBytes) return Status::kTooLarge;
  }
  if (length && *length != parsed) return Status::kBadRequest;
  length = parsed;
  return Status::kCall;
}

// `head` is the request line and the header lines, without the blank line that ends them.
Headers ReadHeaders(std::string_view head) {
  std::size_t lineEnd = head.find("\r\n");
  std::string_view requestLine = head.substr(0, lineEnd);
  std::size_t firstSpace = requestLine.find(' ');
  std::size_t lastSpace = requestLine.rfind(' ');
  if (firstSpace == std::string_view::npos || lastSpace == firstSpace ||
      !requestLine.substr(lastSpace + 1).starts_with("HTTP/")) {
    return {Status::kBadRequest};
  }
  if (requestLine.substr(0, firstSpace) != "POST") return {Status::kNotPost};
  std::optional<std::size_t> length;
  while (lineEnd != std::string_view::npos) {
    head.remove_prefix(lineEnd + 2);
    lineEnd = head.find("\r\n");
    std::string_view line = head.substr(0, lineEnd);
    std::size_t colon = line.find(':');
    if (colon == std::string_view::npos) return {Status::kBadRequest};
    std::string_view name = line.substr(0, colon);
    if (EqualsIgnoringCase(name, "Transfer-Encoding")) return {Status::kNoLength};
    if (!EqualsIgnoringCase(name, "Content-Length")) continue;
    Status status = ReadContentLength(Trim(line.substr(colon + 1)), length);
    if (status != Status::kCall) return {status};
  }
  if (!length) return {Status::kNoLength};
  return {Status::kCall, *length};
}

std::string DecodeEntities(std::string_view text) {
  static constexpr std::array<std::pair<std::string_view, char>, 5> kEntities{
      {{"&lt;", '<'}, {"&gt;", '>'}, {"&amp;", '&'}, {"&apos;", '\''}, {"&quot;", '"'}}};
  std::string decoded;
  while (!text.empty()) {
    bool replaced = false;
    for (const auto& [entity, character] : kEntities) {
      if (text.starts_with(entity)) {
        decoded += character;
        text.remove_prefix(entity.size());
        replaced = true;
        break;
      }
    }
    if (!replaced) {
      decoded += text.front();
      text.remove_prefix(1);
    }
  }
  return decoded;
}

// Walks the body of a method call, skipping the white space between elements.
class XmlCursor {
 public:
  explicit XmlCursor(std::string_view text) : text_(text) {}

  bool Take(std::string_view tag) {
    std::string_view rest = TrimFront(text_.substr(pos_));
    if (!rest.starts_with(tag)) return false;
    pos_ = text_.size() - rest.size() + tag.size();
    return true;
  }

  // The raw text up to `end`, which is consumed too; nullopt when it holds another element.
  std::optional<std::string_view> TextUntil(std::string_view end) {
    std::size_t close = text_.find('<', pos_);
    if (close == std::string_view::npos || text_.substr(close, end.size()) != end) {
      return std::nullopt;
    }
    std::string_view text = text_.substr(pos_, close - pos_);
    pos_ = close + end.size();
    return text;
  }

  // A scalar value, the cursor just past its "<value>"; an untyped value is a string.
  std::optional<std::string> Scalar() {
    static constexpr std::array<std::string_view, 5> kTypes{"string", "i4", "int", "double",
                                                            "boolean"};
    for (std::string_view type : kTypes) {
      const std::string name(type);
      if (Take("<" + name + "/>"))
        return Take("</value>") ? std::optional<std::string>("") : std::nullopt;
      if (!Take("<" + name + ">")) continue;
      std::optional<std::string_view> text = TextUntil("</" + name + ">");
      if (!text || !Take("</value>")) return std::nullopt;
      return DecodeEntities(*text);
    }
    std::optional<std::string_view> text = TextUntil("</value>");
    if (!text) return std::nullopt;
    return DecodeEntities(*text);
  }

  std::size_t Find(std::string_view tag) const { return text_.find(tag, pos_); }
  void MoveTo(std::size_t pos) { pos_ = pos; }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
};

bool IsMethodName(std::string_view name) {
  if (name.empty() || name.size() > kMaxMethodName) return false;
  for (char c : name) {
    bool allowed = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                   c == '_' || c == '.' || c == ':' || c == '/';
    if (!allowed) return false;
  }
  return true;
}

XmlRpcRequest ReadMethodCall(std::string_view body) {
  XmlCursor cursor(body);
  std::size_t open = cursor.Find("<methodName>");
  if (open == std::string_view::npos) return Only(Status::kNotMethodCall);
  cursor.MoveTo(open + std::string_view("<methodName>").size());
  std::optional<std::string_view> name = cursor.TextUntil("</methodName>");
  if (!name || !IsMethodName(Trim(*name))) return Only(Status::kNotMethodCall);
  XmlRpcRequest request{Status::kCall, {std::string(Trim(*name)), {}}};
  if (!cursor.Take("<params>")) return request;
  while (request.call.params.size() < kMaxParams && cursor.Take("<param>") &&
         cursor.Take("<value>")) {
    std::optional<std::string> value = cursor.Scalar();
    if (!value || !cursor.Take("</param>")) break;
    request.call.params.push_back(std::move(*value));
  }
  return request;
}

}  // namespace

XmlRpcRequest ReadXmlRpcRequest(std::string_view received) {
  std::size_t headEnd = received.find(kHeaderEnd);
  if (headEnd == std::string_view::npos) {
    return Only(received.size() > kMaxXmlRpcHeaderBytes ? Status::kTooLarge : Status::kNeedMore);
  }
  if (headEnd > kMaxXmlRpcHeaderBytes) return Only(Status::kTooLarge);
  Headers headers = ReadHeaders(received.substr(0, headEnd));
  if (headers.status != Status::kCall) return Only(headers.status);
  std::string_view body = received.substr(headEnd + kHeaderEnd.size());
  if (body.size() < headers.contentLength) return Only(Status::kNeedMore);
  return ReadMethodCall(body.substr(0, headers.contentLength));
}

}  // namespace vantrel::loglink
