// The whole life of a pass through the window: Rename, Save Result, a new
// window as after a restart, Load Result, Recover; the files are back. And F1
// from a settings field opens the help.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "ModalScript.h"
#include "UiTestApp.h"
#include "browse/FilterDirectoryListBox.h"
#include "support/TempFolder.h"
#include "ui/Form1.h"
#include "ui/HelpWindow.h"

namespace vt {
namespace {

using test::ChooseFile;
using test::TModalScript;
using test::TTempFolder;
using test::WaitUntil;

TEST(Form1RoundTrip, RenameSaveRestartLoadRecoverPutsTheFilesBack) {
  TTempFolder photos;
  TTempFolder results;
  for (const char* name : {"IMG_0041.JPG", "IMG_0042.JPG", "notes.txt"}) photos.WriteFile(name);
  const std::string file = results.File("holiday.vtr");
  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(photos.Path());
  {
    TForm1 form;
    form.show();
    test::Named<TFilterDirectoryListBox>(form, "FilterDirectoryListBox1")->SetFolder(photos.Folder());
    test::Named<QLineEdit>(form, "EdSearchFor")->setText("IMG_");
    test::Named<QLineEdit>(form, "EdReplaceWith")->setText("Rome ");
    test::Named<QPushButton>(form, "BtRename")->click();
    ASSERT_TRUE(WaitUntil(
        [&] { return test::Named<QAction>(form, "RenameItem")->isEnabled() && form.ResultTable().RowCount() == 2; }));
    EXPECT_EQ(photos.Names(), (std::set<std::string>{"Rome 0041.JPG", "Rome 0042.JPG", "notes.txt"}));
    TModalScript save;
    save.Then(ChooseFile(QString::fromStdString(file))).Run([&] {
      test::Named<QPushButton>(form, "BtSaveAsResult")->click();
    });
    EXPECT_EQ(save.Unexpected(), 0);
    EXPECT_TRUE(std::filesystem::exists(file));
  }
  TForm1 later;
  later.show();
  TModalScript load;
  load.Then(ChooseFile(QString::fromStdString(file))).Run([&] {
    test::Named<QPushButton>(later, "BtLoadResult")->click();
  });
  ASSERT_EQ(later.ResultTable().RowCount(), 2u);
  ASSERT_TRUE(test::Named<QToolButton>(later, "SpBtUndo")->isEnabled());
  test::Named<QToolButton>(later, "SpBtUndo")->click();
  ASSERT_TRUE(WaitUntil([&] { return test::Named<QAction>(later, "RenameItem")->isEnabled(); }));
  EXPECT_EQ(photos.Names(), (std::set<std::string>{"IMG_0041.JPG", "IMG_0042.JPG", "notes.txt"}));
  ASSERT_EQ(later.ResultTable().RowCount(), 2u);
  for (std::size_t i = 0; i < 2; ++i) EXPECT_EQ(later.ResultTable().Row(i).KnownStatus(), TRenameStatus::rsOk);
  std::filesystem::current_path(previous);
}

TEST(Form1RoundTrip, F1FromASettingsFieldOpensHelp) {
  TForm1 form;
  form.show();
  ASSERT_TRUE(WaitUntil([&] { return form.isVisible(); }));
  test::Named<QLineEdit>(form, "EdSearchFor")->setFocus();
  QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
  QApplication::sendEvent(test::Named<QLineEdit>(form, "EdSearchFor"), &f1);
  EXPECT_TRUE(WaitUntil([&] {
    const auto* help = form.findChild<THelpWindow*>("HelpWindow");
    return help && help->isVisible();
  }));
}

}  // namespace
}  // namespace vt
