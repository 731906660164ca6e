// Drives the operating window's F11 and F12 from its standard input, for the runs against the
// real loggers: the window opens on a simulated interface with the link to PROGRAM on PORT
// chosen in its profile; "send CALL REPORT" types them into their boxes and presses F11,
// "fetch" presses F12. Each command prints the box the window showed, or "sent".
// Usage: loglink_window_driver fldigi|xlog PORT
#include <QApplication>

#include <iostream>
#include <sstream>
#include <string>

#include "sim_window_rig.h"

using namespace vantrel::ui;

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  QApplication app(argc, argv);
  rig::SimWindowRig window(23);
  window.dir.Write("Vantrel.ini",
                   std::string("[LogLink]\r\nProgram=") + argv[1] + "\r\nPort=" + argv[2] + "\r\n");
  window.Open();
  std::cout << "ready" << std::endl;
  for (std::string line; std::getline(std::cin, line);) {
    std::istringstream words(line);
    std::string command, call, report;
    words >> command >> call >> report;
    if (command == "send") {
      window.TypeOver(kIdHisCall, call);
      window.TypeOver(kIdReport, report);
      window.Key(Qt::Key_F11);
    } else if (command == "fetch") {
      window.FocusInput();
      window.Key(Qt::Key_F12);
    } else {
      continue;
    }
    const bool sent = window.messages.empty();
    std::cout << (sent ? "sent" : "box ") << (sent ? "" : window.messages.back().text) << std::endl;
    window.messages.clear();
  }
  return 0;
}
