// Renders the main window and the About box, as start-up builds them, into PNG
// files: veltrane-screenshot <main-window.png> <about-box.png>
#include <QApplication>
#include <QPixmap>
#include <QTimer>
#include <cstdio>

#include "ui/Form1.h"
#include "ui/FrmAbout.h"
#include "ui/Startup.h"

namespace {

bool Save(QWidget& widget, const char* path) {
  const QPixmap picture = widget.grab();
  if (!picture.save(path, "PNG")) {
    std::fprintf(stderr, "veltrane-screenshot: cannot write %s\n", path);
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: veltrane-screenshot <main-window.png> <about-box.png>\n");
    return 2;
  }
  vt::SetUpApplication(app);
  const vt::TApplicationWindows windows = vt::CreateApplicationWindows();
  windows.Form1->show();
  int status = 0;
  // Once the windows have been laid out and painted by the event loop.
  QTimer::singleShot(300, [&] {
    if (!Save(*windows.Form1, argv[1])) status = 1;
    windows.FrmAbout->show();
    QTimer::singleShot(300, [&] {
      if (!Save(*windows.FrmAbout, argv[2])) status = 1;
      windows.FrmAbout->hide();
      QApplication::quit();
    });
  });
  QApplication::exec();
  return status;
}
