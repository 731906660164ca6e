#include "app/main_app.h"

int main(int argc, char** argv) {
  vantrel::app::CMainApp app(argc, argv);
  return app.InitInstance();
}
