#include <cstdint>
#include <regex>

#include "fuzz_target.h"
#include "loglink/fldigi_methods.h"
#include "loglink/xml_rpc_request.h"

using namespace vantrel::loglink;
using Status = XmlRpcRequest::Status;

// The bytes are what one connection sends; the first byte also picks where the bytes are cut
// short, as a connection delivers them part by part.
void FuzzOne(std::string_view received) {
  const XmlRpcRequest whole = ReadXmlRpcRequest(received);
  if (!received.empty()) {
    const auto cut = static_cast<std::uint8_t>(received[0]) * received.size() / 256;
    const Status part = ReadXmlRpcRequest(received.substr(0, cut)).status;
    Require(part == Status::kNeedMore || part == whole.status,
            "a part of the request reads otherwise than the whole");
  }
  if (whole.status != Status::kCall) return;
  Require(std::regex_match(whole.call.method, std::regex("[A-Za-z0-9_.:/]{1,64}")),
          "method name of another length or character");
  Require(whole.call.params.size() <= 8, "too many parameters kept");
  FldigiLogFields fields{"Q1ABC", "599", "1234", ""};
  Require(!AnswerFldigiCall(whole.call, fields, "1240").empty(), "a call went unanswered");
}
