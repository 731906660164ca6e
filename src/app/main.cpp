#include "app/main_app.h"
#include "app/qt_platform.h"

int main(int argc, char** argv) {
  vantrel::app::ChooseQtPlatform(argc, argv);
  vantrel::app::CMainApp app(argc, argv);
  return app.InitInstance();
}
