#include "loglink/fldigi_methods.h"

#include <map>

#include "loglink/xml_rpc_reply.h"

namespace vantrel::loglink {
namespace {

using Field = std::string FldigiLogFields::*;

// Read by tlf (log.get_call, log.get_exchange, modem.get_carrier) and by CQRLOG's remote
// mode (the rest). Fields that Vantrel does not know stay empty, so the loggers keep theirs.
const std::map<std::string_view, Field, std::less<>> kFieldGetters{
    {"log.get_call", &FldigiLogFields::call},
    {"log.get_rst_out", &FldigiLogFields::rstOut},
    {"log.get_time_on", &FldigiLogFields::timeOn},
    {"log.get_exchange", &FldigiLogFields::exchange}};

const std::map<std::string_view, std::string_view, std::less<>> kFixedGetters{
    {"log.get_rst_in", ""},  {"log.get_frequency", ""}, {"log.get_name", ""},
    {"log.get_qth", ""},     {"log.get_state", ""},     {"log.get_province", ""},
    {"log.get_notes", ""},   {"log.get_locator", ""},   {"main.get_trx_state", "RX"},
    {"modem.get_name", "CW"}};

// tlf empties fldigi's fields once its operator has logged or wiped the call.
const std::map<std::string_view, Field, std::less<>> kSetters{
    {"log.set_call", &FldigiLogFields::call}, {"log.set_exchange", &FldigiLogFields::exchange}};

}  // namespace

std::string AnswerFldigiCall(const XmlRpcCall& call, FldigiLogFields& fields,
                             std::string_view clock) {
  const std::string& method = call.method;
  if (auto getter = kFieldGetters.find(method); getter != kFieldGetters.end()) {
    return XmlRpcResponseBody(XmlRpcString(fields.*(getter->second)));
  }
  if (auto getter = kFixedGetters.find(method); getter != kFixedGetters.end()) {
    return XmlRpcResponseBody(XmlRpcString(getter->second));
  }
  if (auto setter = kSetters.find(method); setter != kSetters.end()) {
    if (call.params.empty()) return XmlRpcFaultBody(method + ": expected a string");
    fields.*(setter->second) = call.params.front();
    return XmlRpcResponseBody(XmlRpcString(""));
  }
  if (method == "log.get_time_off") return XmlRpcResponseBody(XmlRpcString(clock));
  if (method == "modem.get_carrier") return XmlRpcResponseBody(XmlRpcInt(0));
  if (method == "log.clear") {
    fields = {};
    return XmlRpcResponseBody(XmlRpcString(""));
  }
  return XmlRpcFaultBody(method + ": unknown method name");
}

}  // namespace vantrel::loglink
