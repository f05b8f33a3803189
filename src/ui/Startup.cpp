#include "ui/Startup.h"

#include <QApplication>
#include <QIcon>

#include "Version.h"
#include "ui/ButtonImages.h"
#include "ui/ErrorBox.h"
#include "ui/Form1.h"
#include "ui/FrmAbout.h"
#include "ui/WindowFont.h"
#include "ui/WindowStyle.h"

namespace vt {

void SetUpApplication(QApplication& app) {
  // The application name is the title. A display name is not set, as Qt would
  // append it to the caption of every other window.
  QApplication::setApplicationName(kApplicationTitle);
  // Wayland matches the window to its menu entry, and so to its icon, by this name.
  QGuiApplication::setDesktopFileName(kApplicationId);
  app.setProperty(kHelpFileProperty, QString(kHelpFile));
  QApplication::setStyle(new TWindowStyle);  // the application owns its style
  InstallFontSubstitution();
  QApplication::setFont(WindowFont());
  QApplication::setWindowIcon(QIcon(ProgramIconImage()));
  InstallErrorBox();
}

TApplicationWindows::TApplicationWindows() = default;
TApplicationWindows::TApplicationWindows(TApplicationWindows&&) noexcept = default;
TApplicationWindows::~TApplicationWindows() {
  // The About box goes first, as it came last.
  FrmAbout.reset();
  Form1.reset();
}

TApplicationWindows CreateApplicationWindows() {
  TApplicationWindows windows;
  windows.Form1 = std::make_unique<TForm1>();
  // The Help menu finds it by its name.
  windows.FrmAbout = std::make_unique<TFrmAbout>();
  return windows;
}

}  // namespace vt
