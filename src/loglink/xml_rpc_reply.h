#pragma once

#include <string>
#include <string_view>

namespace vantrel::loglink {

// Values as fldigi writes them: a string bare inside <value>, with no type element (CQRLOG
// takes the text between the first <value> and </value> as the answer).
std::string XmlRpcString(std::string_view text);
std::string XmlRpcInt(int value);

// The body of a method response carrying one value, and of a fault (code -1, as fldigi).
std::string XmlRpcResponseBody(std::string_view value);
std::string XmlRpcFaultBody(std::string_view message);

// A complete HTTP reply that closes the connection: status 200 carries an XML body; the
// others (400, 405, 411, 413) none.
std::string HttpReply(int status, std::string_view body = {});

}  // namespace vantrel::loglink
