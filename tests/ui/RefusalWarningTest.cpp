// The window's warning before a real pass about new names the volume refuses:
// a confirmation box (VolumeRefusalsBox) naming them, whose answer decides
// whether the pass starts. The files are judged on a worker while the window
// goes on, and Stop, Escape or a close end the look with nothing renamed.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>

#include "ModalScript.h"
#include "UiTestApp.h"
#include "browse/FilterDirectoryListBox.h"
#include "engine/RenameStep.h"
#include "passes/RunControl.h"
#include "platform/CurrentFolder.h"
#include "platform/MountTable.h"
#include "support/TempFolder.h"
#include "ui/Form1.h"
#include "ui/RefusalWarning.h"

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

// Names over 255 bytes are refused by every volume: warned of on one that
// takes any other name too, when the settings can make them.
TEST(RefusalWarning, NamesTooLongForAnyVolumeAreWarnedOf) {
  struct Case {
    const char* Insert;
    bool Box;
  };
  const Case cases[] = {{"xxxxxx", true}, {"xxxxx", false}};
  const std::string kept = GetCurrentFolder();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Insert);
    const test::TTempFolder folder;
    const std::string path = folder.Path().string();
    std::string longName(250, 'a');
    longName.replace(246, 4, ".txt");
    std::ofstream(path + "/" + longName) << "x";
    SetMountTableForTesting(VolumeOf(path, "ext4"));
    {
      const auto form = std::make_unique<TForm1>();
      test::Named<TFilterDirectoryListBox>(*form, "FilterDirectoryListBox1")->SetFolder(path);
      test::Named<QListWidget>(*form, "LstBoxActions")->setCurrentRow(1);
      test::Named<QLineEdit>(*form, "EdInsert")->setText(c.Insert);
      form->show();
      test::TModalScript script;
      if (c.Box) script.Then(test::Press(QMessageBox::No));
      script.Run([&] { test::Named<QPushButton>(*form, "BtRename")->click(); });
      EXPECT_EQ(script.Unexpected(), 0);
      EXPECT_TRUE(script.Done());
      if (c.Box) {
        ASSERT_EQ(script.Seen().size(), 1);
        EXPECT_TRUE(script.Seen().front().contains("refuses the new name of 1 file"))
            << script.Seen().front().toStdString();
      }
      ASSERT_TRUE(test::WaitUntil([&] { return !form->RunControl().PassAlive(); }));
    }
    SetMountTableForTesting(std::nullopt);
    // No answered the box; without one the pass renamed it.
    EXPECT_EQ(std::filesystem::exists(path + "/" + longName), c.Box);
    SetCurrentFolder(kept);
  }
}

TEST(RefusalWarning, TheLookRunsWhileTheWindowGoesOnAndStopsWithoutRenaming) {
  enum class TEnd { Escape, StopButton, Close, Finished };
  struct Case {
    const char* What;
    TEnd End;
  };
  const Case cases[] = {
      {"Escape", TEnd::Escape},
      {"Stop", TEnd::StopButton},
      {"the window closed", TEnd::Close},
      {"the look finished, Yes", TEnd::Finished},
  };
  const std::string kept = GetCurrentFolder();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    const test::TTempFolder folder;
    const std::string path = folder.Path().string();
    for (const char* name : {"f0.txt", "a:b.txt"}) std::ofstream(path + "/" + name) << "x";
    SetMountTableForTesting(VolumeOf(path, "exfat"));
    // A look that holds until it is stopped, or let go by the test.
    std::atomic<bool> letGo{false};
    std::atomic<bool> sawStop{false};
    SetRefusalFinderForTesting([&](const TSearchPassOptions& options, const std::function<bool()>& stopped,
                                   std::atomic<std::uint64_t>& files) {
      files.store(42);
      while (!stopped() && !letGo.load()) std::this_thread::yield();
      sawStop.store(stopped());
      TVolumeRefusals found;
      found.Count = 1;
      found.First.push_back({options.Folder, "a:b.txt", "xa:b.txt", kVolumeRefusesChar});
      return found;
    });
    {
      const auto form = std::make_unique<TForm1>();
      test::Named<TFilterDirectoryListBox>(*form, "FilterDirectoryListBox1")->SetFolder(path);
      test::Named<QListWidget>(*form, "LstBoxActions")->setCurrentRow(1);
      test::Named<QLineEdit>(*form, "EdInsert")->setText("x");
      test::Named<QComboBox>(*form, "ComboInsertTo")->setCurrentIndex(1);
      form->show();
      // Runs on the window's own loop while the look holds it.
      QString progress;
      bool simulated = true;
      QTimer during;
      during.setInterval(1);
      QObject::connect(&during, &QTimer::timeout, [&] {
        if (!form->PanelText(0).startsWith("Looking")) return;
        during.stop();
        progress = form->PanelText(0);
        // Other commands wait out the look.
        QTest::mouseClick(test::Named<QPushButton>(*form, "BtSimul"), Qt::LeftButton);
        simulated = form->RunControl().PassAlive() || form->ResultTable().RowCount() > 0;
        switch (c.End) {
          case TEnd::Escape: QTest::keyClick(form.get(), Qt::Key_Escape); break;
          case TEnd::StopButton: QTest::mouseClick(test::Named<QPushButton>(*form, "BtCancel"), Qt::LeftButton); break;
          case TEnd::Close: form->close(); break;
          case TEnd::Finished: letGo.store(true); break;
        }
      });
      test::TModalScript script;
      if (c.End == TEnd::Finished) script.Then(test::Press(QMessageBox::Yes));
      script.Run([&] {
        during.start();
        test::Named<QPushButton>(*form, "BtRename")->click();
      });
      EXPECT_EQ(progress, QString::fromUtf8("Looking for new names the volume refuses: 42 files\u2026"));
      EXPECT_FALSE(simulated);
      EXPECT_EQ(sawStop.load(), c.End != TEnd::Finished);
      EXPECT_EQ(script.Unexpected(), 0);
      EXPECT_TRUE(script.Done());
      EXPECT_EQ(script.Seen().size(), c.End == TEnd::Finished ? 1 : 0);
      EXPECT_FALSE(form->PanelText(0).startsWith("Looking"));
      ASSERT_TRUE(test::WaitUntil([&] { return !form->RunControl().PassAlive(); }));
      EXPECT_EQ(form->ResultTable().RowCount(), c.End == TEnd::Finished ? 2U : 0U);
    }
    SetRefusalFinderForTesting(std::nullopt);
    SetMountTableForTesting(std::nullopt);
    EXPECT_EQ(std::filesystem::exists(path + "/xf0.txt"), c.End == TEnd::Finished);
    EXPECT_TRUE(std::filesystem::exists(path + "/a:b.txt"));
    SetCurrentFolder(kept);
  }
}

}  // namespace
}  // namespace vt
