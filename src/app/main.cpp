// Veltrane: the window program. It reads no arguments and keeps no settings.
#include <QApplication>

#include "ui/Form1.h"
#include "ui/Startup.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  vt::SetUpApplication(app);
  const vt::TApplicationWindows windows = vt::CreateApplicationWindows();
  windows.Form1->show();
  return QApplication::exec();
}
