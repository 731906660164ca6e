// Runs the program's own start-up (arguments as given) and reports every message box it
// shows, closing each one; a window that opens is closed after a while. Prints
// "message box: TEXT" per box and finally "exit CODE".
#include <QDialog>
#include <QMessageBox>
#include <QTimer>

#include <iostream>

#include "app/main_app.h"

namespace {

constexpr int kWatchMs = 50;
constexpr int kWindowLifeMs = 3000;

}  // namespace

int main(int argc, char** argv) {
  vantrel::app::CMainApp app(argc, argv);
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      std::cout << "message box: " << box->text().toStdString() << std::endl;
      box->done(QMessageBox::Ok);
    }
  });
  watch.start(kWatchMs);
  QTimer::singleShot(kWindowLifeMs, [] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && !qobject_cast<QMessageBox*>(modal)) modal->close();
  });
  const int code = app.InitInstance();
  std::cout << "exit " << code << std::endl;
  return code;
}
