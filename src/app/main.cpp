// Veltrane: the window program. It reads no arguments and keeps no settings.
#include <QApplication>
#include <optional>

#include "app/NoDisplay.h"
#include "platform/GraphicalSession.h"
#include "ui/Form1.h"
#include "ui/Startup.h"

int main(int argc, char* argv[]) {
  if (!vt::GraphicalSessionNamed()) return vt::ReportNoDisplay();
  std::optional<vt::TNoDisplayGuard> guard(std::in_place);
  QApplication app(argc, argv);
  guard.reset();
  vt::SetUpApplication(app);
  const vt::TApplicationWindows windows = vt::CreateApplicationWindows();
  windows.Form1->show();
  return QApplication::exec();
}
