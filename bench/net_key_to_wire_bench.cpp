// Network key-to-wire latency at firmware 23: from a one-character datagram sent to the
// network keyer on loopback to the CmdSendCodes report carrying it reaching the simulated
// interface.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>

#include "to_wire_run.h"

namespace {

const std::string kText = "CQTESTDEJA1ABCKUR599TU";
constexpr unsigned kPort = 46789;

class LoopbackClient {
 public:
  LoopbackClient() : fd_(socket(AF_INET, SOCK_DGRAM, 0)) {
    to_.sin_family = AF_INET;
    to_.sin_port = htons(kPort);
    to_.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  }
  ~LoopbackClient() { close(fd_); }
  LoopbackClient(const LoopbackClient&) = delete;
  LoopbackClient& operator=(const LoopbackClient&) = delete;

  void Send(char c) const {
    sendto(fd_, &c, 1, 0, reinterpret_cast<const sockaddr*>(&to_), sizeof to_);
  }

 private:
  int fd_;
  sockaddr_in to_{};
};

}  // namespace

// An optional argument sets how many datagrams each run sends (300 unless given).
int main(int argc, char** argv) {
  const LoopbackClient client;
  return vantrel::bench::RunToWireBench(
      argc, argv,
      {.name = "datagram-to-wire fw23",
       .countFigure = "datagrams sent/keyed",
       .defaultCharacters = 300,
       .netKeyerPort = kPort,
       .handOver = [&client](vantrel::bench::SimWindow&, std::size_t index) {
         client.Send(kText[index % kText.size()]);
       }});
}
