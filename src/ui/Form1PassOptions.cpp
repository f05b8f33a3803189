#include "ui/Form1PassOptions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>

#include "browse/FilterDirectoryListBox.h"
#include "engine/TextHelpers.h"
#include "ui/Form1Controls.h"
#include "ui/UpDown.h"

namespace vt {
namespace {

// Names and texts travel as the bytes the file system uses.
std::string Bytes(const QString& text) { return QFile::encodeName(text).toStdString(); }

}  // namespace

TSearchPassOptions PassOptions(const TForm1Controls& f) {
  TSearchPassOptions options;
  options.IncludeSubDirs = f.ChkBxIncSubDir->isChecked();
  options.Folder = IncludeBackslash(f.FilterDirectoryListBox1->Directory());
  options.Masks = Bytes(f.EdSearch->text());
  return options;
}

}  // namespace vt
