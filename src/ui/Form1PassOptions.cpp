#include "ui/Form1PassOptions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>

#include "browse/FilterDirectoryListBox.h"
#include "engine/TextHelpers.h"
#include "ui/Form1Controls.h"
#include "ui/NameBytes.h"
#include "ui/UpDown.h"

namespace vt {
TSearchPassOptions PassOptions(const TControlPageControls& f) {
  TSearchPassOptions options;
  options.IncludeSubDirs = f.ChkBxIncSubDir->isChecked();
  options.Folder = IncludeBackslash(f.FilterDirectoryListBox1->Directory());
  options.Masks = NameBytes(f.EdSearch->text());
  return options;
}

}  // namespace vt
