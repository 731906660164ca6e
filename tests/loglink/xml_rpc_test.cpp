#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "loglink/fldigi_methods.h"
#include "loglink/xml_rpc_reply.h"
#include "loglink/xml_rpc_request.h"

namespace vantrel::loglink {
namespace {

using Status = XmlRpcRequest::Status;

std::string Call(std::string_view method, std::string_view params = "") {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<methodCall>\r\n<methodName>" +
         std::string(method) + "</methodName>\r\n<params>\r\n" + std::string(params) +
         "</params>\r\n</methodCall>\r\n";
}

// As xmlrpc-c (tlf) and CQRLOG send them: the body after a blank line, its length declared.
std::string Post(std::string_view body, std::string_view version = "HTTP/1.1") {
  return "POST /RPC2 " + std::string(version) +
         "\r\nHost: localhost:7362\r\nContent-Type: text/xml\r\nContent-Length: " +
         std::to_string(body.size()) + "\r\n\r\n" + std::string(body);
}

struct RequestCase {
  const char* name;
  std::string bytes;
  Status status;
  std::string method;
  std::vector<std::string> params;
};

TEST(XmlRpcRequestTest, ReadsTheCallsOfTheLoggersAndRefusesTheRest) {
  const std::string getCall = Post(Call("log.get_call"));
  const std::vector<RequestCase> cases{
      {"tlf", getCall, Status::kCall, "log.get_call", {}},
      {"CQRLOG, HTTP/1.0",
       Post(Call("modem.get_name"), "HTTP/1.0"),
       Status::kCall,
       "modem.get_name",
       {}},
      {"no params element",
       Post("<methodCall><methodName> main.get_trx_state </methodName></methodCall>"),
       Status::kCall,
       "main.get_trx_state",
       {}},
      {"typed and untyped scalars",
       Post(Call("log.set_call",
                 "<param><value><string>Q1&amp;&lt;X</string></value></param>"
                 "<param><value> 7 </value></param>"
                 "<param><value><i4>-3</i4></value></param>"
                 "<param><value><string/></value></param>")),
       Status::kCall,
       "log.set_call",
       {"Q1&<X", " 7 ", "-3", ""}},
      {"an array ends the parameters",
       Post(Call("rig.set_modes",
                 "<param><value>A</value></param><param><value><array><data>"
                 "</data></array></value></param>")),
       Status::kCall,
       "rig.set_modes",
       {"A"}},
      {"header cut short", getCall.substr(0, 30), Status::kNeedMore, "", {}},
      {"body cut short", getCall.substr(0, getCall.size() - 1), Status::kNeedMore, "", {}},
      {"bytes past the body are left", getCall + "junk", Status::kCall, "log.get_call", {}},
      {"GET", "GET /RPC2 HTTP/1.1\r\nHost: x\r\n\r\n", Status::kNotPost, "", {}},
      {"no request line", "hello\r\n\r\n", Status::kBadRequest, "", {}},
      {"header line without a colon",
       "POST / HTTP/1.1\r\nbad\r\n\r\n",
       Status::kBadRequest,
       "",
       {}},
      {"no length", "POST / HTTP/1.1\r\nHost: x\r\n\r\n", Status::kNoLength, "", {}},
      {"chunked",
       "POST / HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n",
       Status::kNoLength,
       "",
       {}},
      {"length not a number",
       "POST / HTTP/1.1\r\nContent-Length: 1x\r\n\r\n",
       Status::kBadRequest,
       "",
       {}},
      {"two lengths",
       "POST / HTTP/1.1\r\ncontent-length: 1\r\nContent-Length: 2\r\n\r\n",
       Status::kBadRequest,
       "",
       {}},
      {"body too large",
       "POST / HTTP/1.1\r\nContent-Length: 16385\r\n\r\n",
       Status::kTooLarge,
       "",
       {}},
      {"length overflowing",
       "POST / HTTP/1.1\r\nContent-Length: 99999999999999999999999\r\n\r\n",
       Status::kTooLarge,
       "",
       {}},
      {"header too large",
       "POST / HTTP/1.1\r\nX: " + std::string(8200, 'a'),
       Status::kTooLarge,
       "",
       {}},
      {"no method name", Post("<methodCall></methodCall>"), Status::kNotMethodCall, "", {}},
      {"method name not closed", Post("<methodName>log.get_call"), Status::kNotMethodCall, "", {}},
      {"method name with markup", Post(Call("log.get<b>")), Status::kNotMethodCall, "", {}},
      {"method name too long", Post(Call(std::string(65, 'a'))), Status::kNotMethodCall, "", {}},
  };
  for (const RequestCase& c : cases) {
    SCOPED_TRACE(c.name);
    XmlRpcRequest request = ReadXmlRpcRequest(c.bytes);
    EXPECT_EQ(request.status, c.status);
    EXPECT_EQ(request.call.method, c.method);
    EXPECT_EQ(request.call.params, c.params);
  }
}

// fldigi's own reply layout, which CQRLOG reads by position: the value bare in <value>.
TEST(XmlRpcReplyTest, RepliesAreLaidOutAsFldigiLaysThemOut) {
  const std::string body = XmlRpcResponseBody(XmlRpcString("Q1<&>"));
  EXPECT_EQ(body,
            "<?xml version=\"1.0\"?>\r\n<methodResponse><params><param>\r\n\t"
            "<value>Q1&lt;&amp;&gt;</value>\r\n</param></params></methodResponse>\r\n");
  EXPECT_EQ(XmlRpcFaultBody("x.y: unknown method name"),
            "<?xml version=\"1.0\"?>\r\n<methodResponse><fault>\r\n\t<value><struct><member>"
            "<name>faultCode</name><value><i4>-1</i4></value></member><member><name>faultString"
            "</name><value>x.y: unknown method name</value></member></struct></value>\r\n"
            "</fault></methodResponse>\r\n");
  EXPECT_EQ(HttpReply(200, body),
            "HTTP/1.1 200 OK\r\nServer: Vantrel\r\nContent-Type: text/xml\r\nContent-Length: " +
                std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
  EXPECT_EQ(HttpReply(413),
            "HTTP/1.1 413 Content Too Large\r\nServer: Vantrel\r\nContent-Length: 0\r\n"
            "Connection: close\r\n\r\n");
}

struct MethodCase {
  std::string method;
  std::vector<std::string> params;
  std::string value;  // the <value> element answered, or the fault's text
  FldigiLogFields after;
};

TEST(FldigiMethodsTest, EachMethodTheLoggersCallIsAnswered) {
  const FldigiLogFields handed{"Q1ABC", "599", "1234", "5"};
  const std::vector<MethodCase> cases{
      {"log.get_call", {}, "<value>Q1ABC</value>", handed},
      {"log.get_rst_out", {}, "<value>599</value>", handed},
      {"log.get_time_on", {}, "<value>1234</value>", handed},
      {"log.get_exchange", {}, "<value>5</value>", handed},
      {"log.get_time_off", {}, "<value>1240</value>", handed},
      {"log.get_rst_in", {}, "<value></value>", handed},
      {"log.get_frequency", {}, "<value></value>", handed},
      {"log.get_name", {}, "<value></value>", handed},
      {"log.get_qth", {}, "<value></value>", handed},
      {"log.get_state", {}, "<value></value>", handed},
      {"log.get_province", {}, "<value></value>", handed},
      {"log.get_notes", {}, "<value></value>", handed},
      {"log.get_locator", {}, "<value></value>", handed},
      {"main.get_trx_state", {}, "<value>RX</value>", handed},
      {"modem.get_name", {}, "<value>CW</value>", handed},
      {"modem.get_carrier", {}, "<value><i4>0</i4></value>", handed},
      {"log.set_call", {""}, "<value></value>", {"", "599", "1234", "5"}},
      {"log.set_exchange", {""}, "<value></value>", {"Q1ABC", "599", "1234", ""}},
      {"log.clear", {}, "<value></value>", {}},
      {"log.set_call", {}, "log.set_call: expected a string", handed},
      {"main.tx", {}, "main.tx: unknown method name", handed},
  };
  for (const MethodCase& c : cases) {
    SCOPED_TRACE(c.method);
    FldigiLogFields fields = handed;
    const bool fault = c.value.front() != '<';
    EXPECT_EQ(AnswerFldigiCall({c.method, c.params}, fields, "1240"),
              fault ? XmlRpcFaultBody(c.value) : XmlRpcResponseBody(c.value));
    EXPECT_EQ(fields.call, c.after.call);
    EXPECT_EQ(fields.rstOut, c.after.rstOut);
    EXPECT_EQ(fields.timeOn, c.after.timeOn);
    EXPECT_EQ(fields.exchange, c.after.exchange);
  }
}

}  // namespace
}  // namespace vantrel::loglink
