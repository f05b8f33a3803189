// The window keeps no record in a folder another user could change: the pass
// does not start, and a box says why and how to mend it.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <string>

#include "ModalScript.h"
#include "UiTestApp.h"
#include "browse/FilterDirectoryListBox.h"
#include "passes/RunControl.h"
#include "platform/CurrentFolder.h"
#include "support/TempFolder.h"
#include "ui/Form1.h"

namespace vt {
namespace {

namespace fs = std::filesystem;

TEST(Form1RecordTrust, AFolderOfRecordsOthersCanWriteStopsThePassWithABox) {
  const std::string kept = GetCurrentFolder();
  const fs::path records = test::RecordsFolderForTests().toStdString();
  fs::remove_all(records);
  fs::create_directories(records);
  fs::permissions(records, fs::perms::all);
  test::TTempFolder dir;
  for (const char* name : {"a.txt", "b.txt"}) dir.WriteFile(name);
  {
    TForm1 form;
    test::Named<TFilterDirectoryListBox>(form, "FilterDirectoryListBox1")->SetFolder(dir.Path().string());
    test::Named<QListWidget>(form, "LstBoxActions")->setCurrentRow(1);  // insert "x" at the beginning
    test::Named<QLineEdit>(form, "EdInsert")->setText("x");
    test::Named<QComboBox>(form, "ComboInsertTo")->setCurrentIndex(1);
    form.show();
    test::TModalScript script;
    script.Then(test::Press(QMessageBox::Ok));
    script.Run([&] { test::Named<QPushButton>(form, "BtRename")->click(); });
    ASSERT_TRUE(test::WaitUntil([&] { return !form.RunControl().PassAlive(); }));
    ASSERT_EQ(script.Seen().size(), 1) << script.Seen().join("; ").toStdString();
    const std::string box = script.Seen()[0].toStdString();
    EXPECT_NE(box.find("Nothing was renamed: no journal of the pass is kept in a folder another user could change."),
              std::string::npos)
        << box;
    EXPECT_NE(box.find("Other users can write to " + records.string()), std::string::npos) << box;
    EXPECT_NE(box.find("(chmod go-w "), std::string::npos) << box;
  }
  EXPECT_EQ(dir.Names(), (std::set<std::string>{"a.txt", "b.txt"}));
  EXPECT_TRUE(fs::is_empty(records));
  fs::permissions(records, fs::perms::owner_all);
  fs::remove_all(records);
  SetCurrentFolder(kept);
}

}  // namespace
}  // namespace vt
