#include <cstdint>
#include <string>
#include <string_view>

#include "loglink/fldigi_methods.h"
#include "loglink/xml_rpc_request.h"
#include "require.h"

namespace {

using namespace vantrel::loglink;
using Status = XmlRpcRequest::Status;

bool IsMethodCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
         c == '.' || c == ':' || c == '/';
}

}  // namespace

// The bytes are what one connection sends; the first byte also picks where the bytes are cut
// short, as a connection delivers them part by part.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view received(reinterpret_cast<const char*>(data), size);
  const XmlRpcRequest whole = ReadXmlRpcRequest(received);
  if (size > 0) {
    const Status part = ReadXmlRpcRequest(received.substr(0, data[0] * size / 256)).status;
    Require(part == Status::kNeedMore || part == whole.status,
            "a part of the request reads otherwise than the whole");
  }
  if (whole.status != Status::kCall) return 0;
  Require(!whole.call.method.empty() && whole.call.method.size() <= 64, "method name length");
  for (char c : whole.call.method) Require(IsMethodCharacter(c), "method name character");
  Require(whole.call.params.size() <= 8, "too many parameters kept");
  FldigiLogFields fields{"Q1ABC", "599", "1234", ""};
  Require(!AnswerFldigiCall(whole.call, fields, "1240").empty(), "a call went unanswered");
  return 0;
}
