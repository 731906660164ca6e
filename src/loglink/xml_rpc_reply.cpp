#include "loglink/xml_rpc_reply.h"

namespace vantrel::loglink {
namespace {

std::string EscapeXml(std::string_view text) {
  std::string escaped;
  for (char c : text) {
    switch (c) {
      case '<':
        escaped += "&lt;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      case '&':
        escaped += "&amp;";
        break;
      case '\'':
        escaped += "&apos;";
        break;
      case '"':
        escaped += "&quot;";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

std::string_view Reason(int status) {
  switch (status) {
    case 200:
      return "OK";
    case 405:
      return "Method Not Allowed";
    case 411:
      return "Length Required";
    case 413:
      return "Content Too Large";
    default:
      return "Bad Request";
  }
}

}  // namespace

std::string XmlRpcString(std::string_view text) {
  return "<value>" + EscapeXml(text) + "</value>";
}

std::string XmlRpcInt(int value) {
  return "<value><i4>" + std::to_string(value) + "</i4></value>";
}

std::string XmlRpcResponseBody(std::string_view value) {
  return "<?xml version=\"1.0\"?>\r\n<methodResponse><params><param>\r\n\t" + std::string(value) +
         "\r\n</param></params></methodResponse>\r\n";
}

std::string XmlRpcFaultBody(std::string_view message) {
  return "<?xml version=\"1.0\"?>\r\n<methodResponse><fault>\r\n\t"
         "<value><struct><member><name>faultCode</name><value><i4>-1</i4></value></member>"
         "<member><name>faultString</name>" +
         XmlRpcString(message) + "</member></struct></value>\r\n</fault></methodResponse>\r\n";
}

std::string HttpReply(int status, std::string_view body) {
  std::string reply = "HTTP/1.1 " + std::to_string(status) + " " + std::string(Reason(status)) +
                      "\r\nServer: Vantrel\r\n";
  if (status == 200) reply += "Content-Type: text/xml\r\n";
  reply += "Content-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n";
  return reply + std::string(body);
}

}  // namespace vantrel::loglink
