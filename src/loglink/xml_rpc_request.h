#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel::loglink {

// A request larger than this is refused: the loggers' calls are a few hundred bytes.
inline constexpr std::size_t kMaxXmlRpcHeaderBytes = 8192;
inline constexpr std::size_t kMaxXmlRpcBodyBytes = 16384;

struct XmlRpcCall {
  std::string method;
  // The scalar parameters as text, in order; reading stops at the first one that is not a
  // scalar (an array or a struct).
  std::vector<std::string> params;
};

// What the bytes a connection has sent so far amount to: an HTTP POST whose body is an
// XML-RPC method call.
struct XmlRpcRequest {
  enum class Status {
    kNeedMore,
    kCall,          // `call` holds the method and its parameters
    kBadRequest,    // HTTP 400: not an HTTP request line, or a bad Content-Length
    kNotPost,       // HTTP 405
    kNoLength,      // HTTP 411: no Content-Length (chunked bodies are not taken)
    kTooLarge,      // HTTP 413
    kNotMethodCall  // a complete body without a method name: answered by a fault
  };
  Status status = Status::kNeedMore;
  XmlRpcCall call;
};

// Reads everything received on one connection so far; pure, so it can be fed any bytes.
XmlRpcRequest ReadXmlRpcRequest(std::string_view received);

}  // namespace vantrel::loglink
