#pragma once
// Start-up of the program: the application's title, help file and fonts, then
// the main window and the hidden About box, in that order.
#include <memory>

class QApplication;

namespace vt {

class TForm1;
class TFrmAbout;

inline constexpr char kApplicationTitle[] = "Veltrane";
inline constexpr char kHelpFile[] = "Veltrane.hlp";
// The application object's property holding the help file name.
inline constexpr char kHelpFileProperty[] = "HelpFile";

// Title, help file, style, fonts, icon and the standard error box.
void SetUpApplication(QApplication& app);

struct TApplicationWindows {
  std::unique_ptr<TForm1> Form1;  // the main window: closing it ends the program
  std::unique_ptr<TFrmAbout> FrmAbout;
  TApplicationWindows();
  TApplicationWindows(TApplicationWindows&&) noexcept;
  ~TApplicationWindows();
};

// Form1 first, then the About box, hidden, which Form1's Help menu shows.
TApplicationWindows CreateApplicationWindows();

}  // namespace vt
