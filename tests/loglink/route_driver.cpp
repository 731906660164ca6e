// Drives one route to a Linux logger from its standard input, for the runs against the real
// loggers: "send CALL REPORT" is F11 with those in the boxes, "fetch" is F12. Each command
// prints the box the window would show, or "sent".
#include <iostream>
#include <memory>
#include <sstream>
#include <string>

#include "loglink/fldigi_route.h"
#include "loglink/xlog_route.h"

using namespace vantrel::loglink;

namespace {

void Print(const LogOutcome& outcome) {
  if (outcome.messageBox) {
    std::cout << "box " << outcome.messageBox->text << std::endl;
  } else {
    std::cout << "sent" << std::endl;
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: route_driver fldigi|xlog PORT\n";
    return 2;
  }
  const std::string program = argv[1];
  const int port = std::stoi(argv[2]);
  std::unique_ptr<LogRoute> route;
  if (program == "fldigi") {
    route = std::make_unique<FldigiRoute>(port);
  } else {
    route = std::make_unique<XlogRoute>(port);
  }
  std::cout << "ready" << std::endl;
  for (std::string line; std::getline(std::cin, line);) {
    std::istringstream words(line);
    std::string command;
    LogContact contact;
    words >> command >> contact.HisCall >> contact.Report;
    if (command == "send") Print(route->SendToLog([&] { return contact; }));
    if (command == "fetch") Print(route->FetchFromLog());
  }
  return 0;
}
