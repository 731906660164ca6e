#include <poll.h>
#include <signal.h>

#include <cerrno>
#include <csignal>
#include <iostream>

#include "loglink/link_directory.h"
#include "loglink/log_stub.h"
#include "logstub_arguments.h"

namespace {

volatile std::sig_atomic_t stopRequested = 0;

void RequestStop(int) {
  stopRequested = 1;
}

// Without SA_RESTART, so that the wait returns when the operator stops the program and the
// socket file is removed on the way out.
void CatchStopSignals() {
  struct sigaction action {};
  action.sa_handler = RequestStop;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

int Serve(vantrel::loglink::LogStub& stub) {
  while (!stopRequested) {
    pollfd wait{stub.Fd(), POLLIN, 0};
    int ready = ::poll(&wait, 1, -1);
    if (ready < 0 && errno != EINTR) return 1;
    if (ready > 0) stub.HandleReadable();
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::string error;
  std::optional<vantrel::loglink::LogStubOptions> options =
      vantrel::tools::ParseLogStubArguments({argv + 1, argv + argc}, error);
  if (!options) {
    (error.empty() ? std::cout : std::cerr)
        << error << (error.empty() ? "" : "\n") << vantrel::tools::kLogStubUsage;
    return error.empty() ? 0 : 2;
  }
  std::optional<std::string> address = vantrel::loglink::LogProgramAddress();
  std::unique_ptr<vantrel::loglink::LogStub> stub;
  if (address) stub = vantrel::loglink::LogStub::Listen(*address, *options, std::cout);
  if (!stub) {
    std::cerr << "vantrel-logstub: cannot listen at " << address.value_or("(no private folder)")
              << "; is another logging program running?\n";
    return 1;
  }
  std::cout << "listening at " << *address << std::endl;
  CatchStopSignals();
  return Serve(*stub);
}
