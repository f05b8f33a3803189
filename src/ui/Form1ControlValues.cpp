#include "ui/Form1ControlValues.h"

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

TControlValues ControlValues(const TForm1Controls& f) {
  TControlValues c;
  c.LstBoxActions = f.LstBoxActions->currentRow();
  c.EdSearchFor = Bytes(f.EdSearchFor->text());
  c.EdReplaceWith = Bytes(f.EdReplaceWith->text());
  c.ChkBxSearchRecursive = f.ChkBxSearchRecursive->isChecked();
  c.ChkBxCaseSensitive = f.ChkBxCaseSensitive->isChecked();
  c.ChkBxSearchInExt = f.ChkBxSearchInExt->isChecked();
  c.EdInsert = Bytes(f.EdInsert->text());
  c.ComboInsertTo = f.ComboInsertTo->currentIndex();
  c.UpDownInsertPos = f.UpDownInsertPos->Value();
  c.EdDelete = Bytes(f.EdDelete->text());
  c.ComboItemToDelete = f.ComboItemToDelete->currentIndex();
  c.UpDownDeletePos = f.UpDownDeletePos->Value();
  c.UpDownNbrDelete = f.UpDownNbrDelete->Value();
  c.ChkBxDelRecursive = f.ChkBxDelRecursive->isChecked();
  c.ChkBxCaseSensDel = f.ChkBxCaseSensDel->isChecked();
  c.ComboDeleteFrom = f.ComboDeleteFrom->currentIndex();
  c.ComboBaseFileName = Bytes(f.ComboBaseFileName->currentText());
  c.ChkBxUseBaseFilename = f.ChkBxUseBaseFilename->isChecked();
  c.EdStartNumber = Bytes(f.EdStartNumber->text());
  c.UpDownStartNumber = f.UpDownStartNumber->Value();
  c.UpDownIncrement = f.UpDownIncrement->Value();
  c.ChkBxUseLeadingZero = f.ChkBxUseLeadingZero->isChecked();
  c.ChkBxDecrement = f.ChkBxDecrement->isChecked();
  c.ComboNumberInsertTo = f.ComboNumberInsertTo->currentIndex();
  c.UpDownNumberPos = f.UpDownNumberPos->Value();
  c.ComboChangeCase = f.ComboChangeCase->currentIndex();
  c.ChkBxChangecaseWithExt = f.ChkBxChangecaseWithExt->isChecked();
  c.ComboTruncateTo = f.ComboTruncateTo->currentIndex();
  c.UpDownNbrTruncate = f.UpDownNbrTruncate->Value();
  return c;
}

TSearchPassOptions PassOptions(const TForm1Controls& f) {
  TSearchPassOptions options;
  options.IncludeSubDirs = f.ChkBxIncSubDir->isChecked();
  options.Folder = IncludeBackslash(f.FilterDirectoryListBox1->Directory());
  options.Masks = Bytes(f.EdSearch->text());
  return options;
}

}  // namespace vt
