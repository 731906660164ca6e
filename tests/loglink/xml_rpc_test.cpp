#include <gtest/gtest.h>

#include <string>
#include <tuple>
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

TEST(XmlRpcRequestTest, ReadsTheCallsOfTheLoggers) {
  const std::string getCall = Post(Call("log.get_call"));
  const struct {
    std::string bytes;
    std::string method;
    std::vector<std::string> params;
  } cases[] = {
      {getCall, "log.get_call"},
      {getCall + "junk", "log.get_call"},
      {Post(Call("modem.get_name"), "HTTP/1.0"), "modem.get_name"},
      {Post("<methodCall><methodName> main.get_trx_state </methodName></methodCall>"),
       "main.get_trx_state"},
      // Typed and untyped scalars; an array ends the parameters.
      {Post(Call("log.set_call",
                 "<param><value><string>Q1&amp;&lt;X</string></value></param>"
                 "<param><value> 7 </value></param><param><value><i4>-3</i4></value></param>"
                 "<param><value><string/></value></param>")),
       "log.set_call",
       {"Q1&<X", " 7 ", "-3", ""}},
      {Post(Call("rig.set_modes",
                 "<param><value>A</value></param><param><value><array><data>"
                 "</data></array></value></param>")),
       "rig.set_modes",
       {"A"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bytes);
    const XmlRpcRequest request = ReadXmlRpcRequest(c.bytes);
    EXPECT_EQ(request.status, Status::kCall);
    EXPECT_EQ(request.call.method, c.method);
    EXPECT_EQ(request.call.params, c.params);
  }
}

TEST(XmlRpcRequestTest, RefusesTheRestOrWaitsForMore) {
  const std::string getCall = Post(Call("log.get_call"));
  const std::pair<std::string, Status> cases[] = {
      {getCall.substr(0, 30), Status::kNeedMore},
      {getCall.substr(0, getCall.size() - 1), Status::kNeedMore},
      {"GET /RPC2 HTTP/1.1\r\nHost: x\r\n\r\n", Status::kNotPost},
      {"hello\r\n\r\n", Status::kBadRequest},
      {"POST / HTTP/1.1\r\nbad\r\n\r\n", Status::kBadRequest},
      {"POST / HTTP/1.1\r\nHost: x\r\n\r\n", Status::kNoLength},
      {"POST / HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n", Status::kNoLength},
      {"POST / HTTP/1.1\r\nContent-Length: 1x\r\n\r\n", Status::kBadRequest},
      {"POST / HTTP/1.1\r\ncontent-length: 1\r\nContent-Length: 2\r\n\r\n", Status::kBadRequest},
      {"POST / HTTP/1.1\r\nContent-Length: 16385\r\n\r\n", Status::kTooLarge},
      {"POST / HTTP/1.1\r\nContent-Length: 99999999999999999999999\r\n\r\n", Status::kTooLarge},
      {"POST / HTTP/1.1\r\nX: " + std::string(8200, 'a'), Status::kTooLarge},
      {Post("<methodCall></methodCall>"), Status::kNotMethodCall},
      {Post("<methodName>log.get_call"), Status::kNotMethodCall},
      {Post(Call("log.get<b>")), Status::kNotMethodCall},
      {Post(Call(std::string(65, 'a'))), Status::kNotMethodCall},
  };
  for (const auto& [bytes, status] : cases) {
    EXPECT_EQ(ReadXmlRpcRequest(bytes).status, status) << bytes.substr(0, 80);
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
  std::vector<MethodCase> cases{
      {"log.get_call", {}, "<value>Q1ABC</value>", handed},
      {"log.get_rst_out", {}, "<value>599</value>", handed},
      {"log.get_time_on", {}, "<value>1234</value>", handed},
      {"log.get_exchange", {}, "<value>5</value>", handed},
      {"log.get_time_off", {}, "<value>1240</value>", handed},
      {"main.get_trx_state", {}, "<value>RX</value>", handed},
      {"modem.get_name", {}, "<value>CW</value>", handed},
      {"modem.get_carrier", {}, "<value><i4>0</i4></value>", handed},
      {"log.set_call", {""}, "<value></value>", {"", "599", "1234", "5"}},
      {"log.set_exchange", {""}, "<value></value>", {"Q1ABC", "599", "1234", ""}},
      {"log.clear", {}, "<value></value>", {}},
      {"log.set_call", {}, "log.set_call: expected a string", handed},
      {"main.tx", {}, "main.tx: unknown method name", handed},
  };
  for (const char* empty :
       {"rst_in", "frequency", "name", "qth", "state", "province", "notes", "locator"}) {
    cases.push_back({std::string("log.get_") + empty, {}, "<value></value>", handed});
  }
  for (const MethodCase& c : cases) {
    SCOPED_TRACE(c.method);
    FldigiLogFields fields = handed;
    const bool fault = c.value.front() != '<';
    EXPECT_EQ(AnswerFldigiCall({c.method, c.params}, fields, "1240"),
              fault ? XmlRpcFaultBody(c.value) : XmlRpcResponseBody(c.value));
    EXPECT_EQ(std::tie(fields.call, fields.rstOut, fields.timeOn, fields.exchange),
              std::tie(c.after.call, c.after.rstOut, c.after.timeOn, c.after.exchange));
  }
}

}  // namespace
}  // namespace vantrel::loglink
