// Saves a picture of the operating window, as it first opens on a simulated firmware 23
// interface in a temporary folder: window_screenshot FILE.png
#include <QApplication>
#include <QPixmap>

#include <iostream>

#include "sim_window_rig.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 2) {
    std::cerr << "usage: window_screenshot FILE.png\n";
    return 2;
  }
  const std::filesystem::path target = std::filesystem::absolute(argv[1]);
  vantrel::ui::rig::SimWindowRig rig(23);
  rig.Open();
  QTest::qWait(200);
  return rig.window->grab().save(QString::fromStdString(target.string())) ? 0 : 1;
}
