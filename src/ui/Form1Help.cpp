// Help Topics: the program's own manual in the help window.
#include "browse/ApplicationError.h"
#include "ui/Form1.h"
#include "ui/HelpWindow.h"

namespace vt {

void TForm1::HelpItemClick() {
  if (!HelpWindow_) HelpWindow_ = new THelpWindow(this, ManualRoot_.isEmpty() ? QString(kManualRoot) : ManualRoot_);
  if (!HelpWindow_->LoadManual()) {
    // The window goes on without help.
    ReportApplicationError("Cannot show the help topics: the manual is missing from this program");
    return;
  }
  HelpWindow_->ShowTopics();
}

}  // namespace vt
