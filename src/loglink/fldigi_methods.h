#pragma once

#include <string>
#include <string_view>

#include "loglink/xml_rpc_request.h"

namespace vantrel::loglink {

// fldigi's log fields that the loggers read, holding what the last F11 handed over.
struct FldigiLogFields {
  std::string call;
  std::string rstOut;  // the report sent, in decimal
  std::string timeOn;  // HHMM, UTC, of the hand-over
  std::string exchange;
};

// The XML-RPC body that answers `call` as fldigi would; log.set_call, log.set_exchange and
// log.clear change `fields`. `clock` is the time now as HHMM, UTC. Unknown methods get a fault.
std::string AnswerFldigiCall(const XmlRpcCall& call, FldigiLogFields& fields,
                             std::string_view clock);

}  // namespace vantrel::loglink
