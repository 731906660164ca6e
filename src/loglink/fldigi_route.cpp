#include "loglink/fldigi_route.h"

#include <chrono>
#include <ctime>

#include "loglink/printable_ascii.h"
#include "loglink/xml_rpc_reply.h"
#include "loglink/xml_rpc_request.h"
#include "platform/diag.h"

namespace vantrel::loglink {
namespace {

// fldigi's time fields: HHMM, UTC.
std::string UtcHhmm() {
  std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm utc{};
  ::gmtime_r(&now, &utc);
  char text[8];
  std::strftime(text, sizeof text, "%H%M", &utc);
  return text;
}

}  // namespace

FldigiRoute::FldigiRoute(int port) : port_(port == 0 ? kFldigiPort : port) {
  Listen();
}

void FldigiRoute::Listen() {
  std::string error;
  server_ = LoopbackServer::Listen(
      port_, [this](std::string_view received) { return Answer(received); }, error);
  if (!server_)
    platform::Trace("fldigi XML-RPC link: port " + std::to_string(port_) + ": " + error);
}

LogOutcome FldigiRoute::SendToLog(const std::function<LogContact()>& readControls) {
  if (!server_) Listen();
  if (!server_) return {kLogPortInUse};
  LogContact contact = readControls();
  std::lock_guard lock(mutex_);
  fields_.call = PrintableAscii(contact.HisCall);
  fields_.rstOut = std::to_string(contact.Report);
  fields_.timeOn = UtcHhmm();
  return {};
}

LogOutcome FldigiRoute::FetchFromLog() {
  return {kLogCannotAsk};
}

std::optional<std::string> FldigiRoute::Answer(std::string_view received) {
  using Status = XmlRpcRequest::Status;
  XmlRpcRequest request = ReadXmlRpcRequest(received);
  switch (request.status) {
    case Status::kNeedMore:
      return std::nullopt;
    case Status::kCall: {
      std::lock_guard lock(mutex_);
      return HttpReply(200, AnswerFldigiCall(request.call, fields_, UtcHhmm()));
    }
    case Status::kNotMethodCall:
      return HttpReply(200, XmlRpcFaultBody("malformed method call"));
    case Status::kNotPost:
      return HttpReply(405);
    case Status::kNoLength:
      return HttpReply(411);
    case Status::kTooLarge:
      return HttpReply(413);
    case Status::kBadRequest:
      break;
  }
  return HttpReply(400);
}

}  // namespace vantrel::loglink
