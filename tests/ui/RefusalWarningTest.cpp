// The window's warning before a real pass about new names the volume refuses:
// a confirmation box (VolumeRefusalsBox) naming them, whose answer decides
// whether the pass starts.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "ModalScript.h"
#include "UiTestApp.h"
#include "browse/FilterDirectoryListBox.h"
#include "passes/RunControl.h"
#include "platform/CurrentFolder.h"
#include "platform/MountTable.h"
#include "support/TempFolder.h"
#include "ui/Form1.h"

namespace vt {
namespace {

// The root's line, and one that gives the volume of folder the type.
std::string VolumeOf(const std::string& folder, const std::string& type) {
  struct stat info {};
  EXPECT_EQ(::stat(folder.c_str(), &info), 0);
  const std::string device = std::to_string(major(info.st_dev)) + ":" + std::to_string(minor(info.st_dev));
  return "1 0 0:1 / / rw - ext4 /dev/root rw\n21 1 " + device + " / " + folder + " rw - " + type + " /dev/sdz1 rw\n";
}

TEST(RefusalWarning, TheBoxNamesTheRefusedAndOnlyYesStartsThePass) {
  struct Case {
    const char* Volume;
    int Answer;  // the button pressed; 0: no box is expected
    bool Renamed;
  };
  const Case cases[] = {
      {"exfat", QMessageBox::Yes, true},
      {"exfat", QMessageBox::No, false},
      {"exfat", QMessageBox::Cancel, false},
      {"ext4", 0, true},
  };
  const std::string kept = GetCurrentFolder();
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.Volume) + ", answer " + std::to_string(c.Answer));
    const test::TTempFolder folder;
    const std::string path = folder.Path().string();
    for (const char* name : {"f0.txt", "f1.txt", "a:b.txt"}) std::ofstream(path + "/" + name) << "x";
    // Set before the window exists and cleared after it is gone: its workers read it.
    SetMountTableForTesting(VolumeOf(path, c.Volume));
    {
      const auto form = std::make_unique<TForm1>();
      test::Named<TFilterDirectoryListBox>(*form, "FilterDirectoryListBox1")->SetFolder(path);
      // Insert "x" at the beginning of every name.
      test::Named<QListWidget>(*form, "LstBoxActions")->setCurrentRow(1);
      test::Named<QLineEdit>(*form, "EdInsert")->setText("x");
      test::Named<QComboBox>(*form, "ComboInsertTo")->setCurrentIndex(1);
      form->show();
      QStringList names;
      test::TModalScript script;
      if (c.Answer != 0)
        script.Then([&names, answer = c.Answer](QWidget* modal) {
          names << modal->objectName();
          test::Press(answer)(modal);
        });
      script.Run([&] { test::Named<QPushButton>(*form, "BtRename")->click(); });
      EXPECT_EQ(script.Unexpected(), 0);
      EXPECT_TRUE(script.Done());
      if (c.Answer != 0) {
        EXPECT_EQ(names, QStringList{"VolumeRefusalsBox"});
        ASSERT_EQ(script.Seen().size(), 1);
        const QString text = script.Seen().front();
        EXPECT_TRUE(text.contains("refuses the new name of 1 file")) << text.toStdString();
        EXPECT_TRUE(text.contains(QString::fromUtf8("a:b.txt \u2192 xa:b.txt"))) << text.toStdString();
        EXPECT_FALSE(text.contains("f0.txt")) << text.toStdString();
      }
      ASSERT_TRUE(test::WaitUntil([&] { return !form->RunControl().PassAlive(); }));
      EXPECT_EQ(form->ResultTable().RowCount(), c.Renamed ? 3U : 0U);
    }
    SetMountTableForTesting(std::nullopt);
    EXPECT_EQ(std::filesystem::exists(path + "/xf0.txt"), c.Renamed);
    // Only a volume that takes any name lets it go.
    EXPECT_EQ(std::filesystem::exists(path + "/a:b.txt"), std::string(c.Volume) == "exfat");
    SetCurrentFolder(kept);
  }
}

}  // namespace
}  // namespace vt
