// Runs the program's own start-up (arguments as given) and reports every message box it
// shows, closing each one; a window that opens is closed after a while. Prints
// "message box: TEXT" per box and finally "exit CODE".
#include <QDialog>
#include <QMessageBox>
#include <QTimer>

#include <iostream>

#include "app/main_app.h"

int main(int argc, char** argv) {
  vantrel::app::CMainApp app(argc, argv);
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      std::cout << "message box: " << box->text().toStdString() << std::endl;
      box->done(QMessageBox::Ok);
    }
  });
  watch.start(50);
  QTimer::singleShot(3000, [] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && !qobject_cast<QMessageBox*>(modal)) modal->close();
  });
  const int code = app.InitInstance();
  std::cout << "exit " << code << std::endl;
  return code;
}
