// Simulate, Rename, Stop, Recover, Escape and closing, driven through the
// window's own buttons on real temporary folders.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "UiTestApp.h"
#include "browse/FileListBox.h"
#include "browse/FilterDirectoryListBox.h"
#include "engine/Messages.h"
#include "passes/RunControl.h"
#include "platform/CurrentFolder.h"
#include "support/TempFolder.h"
#include "ui/Form1.h"
#include "ui/MessageBoxes.h"
#include "ui/ResultListView.h"
#include "ui/ResultTableModel.h"

namespace vt {
namespace {

using test::WaitUntil;

// Enough files that a pass is still running after the first rows have been shown.
constexpr int kMany = 3000;

const QString kProcessOk = QString::fromUtf8(Message(Msg::ProcessOk));
const QString kStopped = QString::fromUtf8(Message(Msg::StoppedByUser));
const QString kCloseDuringPass = QString::fromUtf8(Message(Msg::CloseDuringPass));
const QString kSaveBeforeClearing = QString::fromUtf8(Message(Msg::SaveBeforeClearing));

class TFolder {
 public:
  TFolder() : Path_(Temp_.Path().string()) {}
  const std::string& Path() const { return Path_; }
  void Files(int count, const std::string& prefix = "f") const {
    for (int i = 0; i < count; ++i) std::ofstream(Path_ + "/" + prefix + std::to_string(i) + ".txt") << "x";
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(Path_)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }
  std::size_t CountStartingWith(const std::string& prefix) const {
    const std::vector<std::string> names = Names();
    return std::size_t(
        std::count_if(names.begin(), names.end(), [&](const std::string& n) { return n.rfind(prefix, 0) == 0; }));
  }

 private:
  test::TTempFolder Temp_;
  std::string Path_;
};

// Answers the message boxes that come up, in turn, by the caption of a button
// or by a key (kEscape, kEnter), and keeps each box's text and objectName.
const QString kEscape = "<Escape>";
const QString kEnter = "<Enter>";

class TBoxAnswers {
 public:
  explicit TBoxAnswers(std::vector<QString> buttons) : Buttons_(std::move(buttons)) {
    QObject::connect(&Timer_, &QTimer::timeout, [this] { Answer(); });
    Timer_.start(2);
  }
  std::vector<QString> Texts;
  std::vector<QString> Names;
  int FileDialogs = 0;

 private:
  void Answer() {
    // A save dialog that an answer opens is cancelled.
    if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
      ++FileDialogs;
      dialog->reject();
      return;
    }
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || box->property("answered").toBool()) return;
    box->setProperty("answered", true);
    if (Texts.size() >= Buttons_.size()) {  // never left waiting for an answer
      ADD_FAILURE() << "unexpected box: " << box->text().toStdString();
      box->reject();
      return;
    }
    const QString wanted = Buttons_[Texts.size()];
    Texts.push_back(box->text());
    Names.push_back(box->objectName());
    if (wanted == kEscape || wanted == kEnter) {
      QKeyEvent press(QEvent::KeyPress, wanted == kEscape ? Qt::Key_Escape : Qt::Key_Return, Qt::NoModifier);
      QApplication::sendEvent(box, &press);
      return;
    }
    for (QAbstractButton* button : box->buttons())
      if (button->text() == wanted) {
        button->click();
        return;
      }
    ADD_FAILURE() << "no button " << wanted.toStdString();
    box->reject();
  }
  std::vector<QString> Buttons_;
  QTimer Timer_;
};

struct TCommands {
  bool Rename, Simulate, Recover, Stop, Save, Clear;
  bool operator==(const TCommands&) const = default;
};
void PrintTo(const TCommands& c, std::ostream* out) {
  *out << "{Rename " << c.Rename << ", Simulate " << c.Simulate << ", Recover " << c.Recover << ", Stop " << c.Stop
       << ", Save " << c.Save << ", Clear " << c.Clear << "}";
}

class Form1RunControl : public ::testing::Test {
 protected:
  Form1RunControl() : Form(std::make_unique<TForm1>()) {
    test::Named<TFilterDirectoryListBox>(*Form, "FilterDirectoryListBox1")->SetFolder(Folder.Path());
    // Insert "x" at the beginning of every name.
    test::Named<QListWidget>(*Form, "LstBoxActions")->setCurrentRow(1);
    test::Named<QLineEdit>(*Form, "EdInsert")->setText("x");
    test::Named<QComboBox>(*Form, "ComboInsertTo")->setCurrentIndex(1);
    Form->show();
  }
  ~Form1RunControl() override { SetCurrentFolder(Kept_); }

  // The state of each command, checked to be the same on its button and its menu item.
  TCommands Commands() const {
    const auto both = [](const QAbstractButton* button, const QAction* item) {
      EXPECT_EQ(button->isEnabled(), item->isEnabled()) << item->objectName().toStdString();
      return item->isEnabled();
    };
    const TForm1& f = *Form;
    return {both(test::Named<QPushButton>(f, "BtRename"), test::Named<QAction>(f, "RenameItem")),
            both(test::Named<QPushButton>(f, "BtSimul"), test::Named<QAction>(f, "SimulItem")),
            both(test::Named<QToolButton>(f, "SpBtUndo"), test::Named<QAction>(f, "UndoItem")),
            both(test::Named<QPushButton>(f, "BtCancel"), test::Named<QAction>(f, "StopItem")),
            both(test::Named<QPushButton>(f, "BtSaveAsResult"), test::Named<QAction>(f, "SaveAsItem")),
            both(test::Named<QPushButton>(f, "BtClearResult"), test::Named<QAction>(f, "ClearResultItem"))};
  }
  bool Ended() {
    return WaitUntil([&] { return !Form->RunControl().PassAlive(); });
  }
  QColor RowColour(int row) const {
    const TResultTableModel* model = test::Named<TResultListView>(*Form, "ListView")->TableModel();
    return model->data(model->index(row, 0), Qt::ForegroundRole).value<QColor>();
  }
  void Key(QWidget* target, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
  }

  std::string Kept_ = GetCurrentFolder();
  TFolder Folder;
  std::unique_ptr<TForm1> Form;
};

TEST_F(Form1RunControl, RenameRunsWithItsCommandsOffAndOffersRecoverAfter) {
  Folder.Files(3);
  Form->ResultTable().AppendRow("old", "older", "/", "Ok");  // not asked about, just gone
  test::Named<QPushButton>(*Form, "BtRename")->click();
  // The worker cannot add a row before the window thread is back in its loop.
  EXPECT_EQ(Commands(), (TCommands{false, false, false, true, true, true}));
  EXPECT_TRUE(Form->FRunning());
  EXPECT_EQ(Form->ResultTable().RowCount(), 0u);
  EXPECT_EQ(test::Named<QTabWidget>(*Form, "PageControl1")->currentWidget(),
            test::Named<QWidget>(*Form, "TabSheetResults"));
  EXPECT_EQ(Form->PanelText(0), "");

  ASSERT_TRUE(Ended());
  EXPECT_EQ(Commands(), (TCommands{true, true, true, true, true, true}));
  EXPECT_FALSE(Form->FRunning());
  EXPECT_EQ(Form->PanelText(0), kProcessOk);
  EXPECT_EQ(Form->PanelText(1), "");
  EXPECT_EQ(Form->ResultTable().RowCount(), 3u);
  EXPECT_EQ(RowColour(0), QColor(Qt::black));
  EXPECT_EQ(Folder.CountStartingWith("xf"), 3u);
  // The file list has read the folder again.
  ASSERT_TRUE(test::WaitUntil([&] { return !test::Named<TFileListBox>(*Form, "FileListBox1")->FillPending(); }));
  EXPECT_EQ(test::Named<TFileListBox>(*Form, "FileListBox1")->Names(), (QStringList{"xf0.txt", "xf1.txt", "xf2.txt"}));
}

TEST_F(Form1RunControl, SimulateRunsGreyWithoutSaveAndOffersNoRecoverAfter) {
  Folder.Files(2);
  test::Named<QPushButton>(*Form, "BtSimul")->click();
  EXPECT_EQ(Commands(), (TCommands{false, false, false, true, false, true}));
  EXPECT_TRUE(Form->FSimulation());
  ASSERT_TRUE(Ended());
  EXPECT_EQ(Commands(), (TCommands{true, true, false, true, false, true}));
  EXPECT_FALSE(Form->FSimulation());
  ASSERT_EQ(Form->ResultTable().RowCount(), 2u);
  EXPECT_EQ(RowColour(1), QColor(128, 128, 128));
  EXPECT_EQ(Folder.CountStartingWith("x"), 0u);

  // A real pass after it turns the text black again and brings Save back.
  test::Named<QAction>(*Form, "RenameItem")->trigger();
  ASSERT_TRUE(Ended());
  EXPECT_EQ(RowColour(0), QColor(Qt::black));
  EXPECT_EQ(Commands(), (TCommands{true, true, true, true, true, true}));
  EXPECT_TRUE(Form->ResultLayout().FontChanged());
}

// Started from the keyboard, each pass gives the focus back to what started it
// (Recover: the result list holding its rows), never to Quit, where the next
// Space would ask to quit.
TEST_F(Form1RunControl, FocusGoesBackToWhatStartedThePass) {
  Folder.Files(3);
  Form->activateWindow();
  auto* simulate = test::Named<QPushButton>(*Form, "BtSimul");
  auto* rename = test::Named<QPushButton>(*Form, "BtRename");
  auto* list = test::Named<QWidget>(*Form, "ListView");
  const struct {
    const char* Pass;
    QWidget* Started;  // Space on it, or null for Recover's menu command
    QWidget* Focus;
  } cases[] = {{"simulate", simulate, simulate}, {"rename", rename, rename}, {"recover", nullptr, list}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Pass);
    if (c.Started) {
      c.Started->setFocus();
      QTest::keyClick(c.Started, Qt::Key_Space);
    } else {
      test::Named<QAction>(*Form, "UndoItem")->trigger();
    }
    ASSERT_TRUE(Ended());
    EXPECT_EQ(Form->focusWidget(), c.Focus)
        << (Form->focusWidget() ? Form->focusWidget()->objectName().toStdString() : "none");
  }
  EXPECT_EQ(Folder.CountStartingWith("x"), 0u);  // undone
}

TEST_F(Form1RunControl, StopShowsItsTextAtOnceAndTheCommandsComeBackAtTheEnd) {
  Folder.Files(20);
  test::Named<QPushButton>(*Form, "BtRename")->click();
  test::Named<QPushButton>(*Form, "BtCancel")->click();
  EXPECT_EQ(Form->PanelText(1), kStopped);
  EXPECT_FALSE(Form->FRunning());
  EXPECT_EQ(Commands(), (TCommands{false, false, false, true, true, true}));
  EXPECT_EQ(Form->PanelText(0), "");
  ASSERT_TRUE(Ended());
  EXPECT_EQ(Form->PanelText(0), kProcessOk);
  EXPECT_EQ(Form->PanelText(1), kStopped);
  EXPECT_TRUE(test::Named<QPushButton>(*Form, "BtRename")->isEnabled());
  // However far the pass came before the stop: every file it renamed has its row.
  EXPECT_EQ(Folder.CountStartingWith("x"), Form->ResultTable().RowCount());
}

TEST_F(Form1RunControl, StopDuringRecoverLeavesThePassRunningToItsEnd) {
  Folder.Files(5);
  test::Named<QPushButton>(*Form, "BtRename")->click();
  ASSERT_TRUE(Ended());
  ASSERT_EQ(Folder.CountStartingWith("xf"), 5u);
  test::Named<QToolButton>(*Form, "SpBtUndo")->click();
  EXPECT_EQ(Commands(), (TCommands{false, false, false, true, true, true}));
  test::Named<QAction>(*Form, "StopItem")->trigger();
  EXPECT_EQ(Form->PanelText(1), kStopped);
  EXPECT_FALSE(Form->FRunning());
  ASSERT_TRUE(Ended());
  EXPECT_EQ(Folder.CountStartingWith("f"), 5u);
  EXPECT_EQ(Form->PanelText(0), kProcessOk);
  EXPECT_EQ(Commands(), (TCommands{true, true, true, true, true, true}));
}

TEST_F(Form1RunControl, RecordAllMessagesIsReadFromTheBoxForEachPass) {
  Folder.Files(2);
  test::Named<QListWidget>(*Form, "LstBoxActions")->setCurrentRow(0);
  test::Named<QLineEdit>(*Form, "EdSearchFor")->setText("nowhere");
  test::Named<QLineEdit>(*Form, "EdReplaceWith")->setText("x");
  test::Named<QPushButton>(*Form, "BtSimul")->click();
  ASSERT_TRUE(Ended());
  EXPECT_EQ(Form->ResultTable().RowCount(), 0u);
  test::Named<QCheckBox>(*Form, "ChkBxAllRecord")->setChecked(true);
  test::Named<QPushButton>(*Form, "BtSimul")->click();
  ASSERT_TRUE(Ended());
  ASSERT_EQ(Form->ResultTable().RowCount(), 2u);
  EXPECT_EQ(Form->ResultTable().Row(0).KnownStatus(), TRenameStatus::rsNoMatch);
}

TEST_F(Form1RunControl, EscapeInASettingsFieldStopsThePassAndReachesTheField) {
  Folder.Files(20);
  test::Named<QPushButton>(*Form, "BtRename")->click();
  test::Named<QTabWidget>(*Form, "PageControl1")->setCurrentWidget(test::Named<QWidget>(*Form, "TabSheetControls"));
  test::Named<QLineEdit>(*Form, "EdInsert")->setFocus();
  ASSERT_EQ(Form->focusWidget(), test::Named<QLineEdit>(*Form, "EdInsert"));
  int keysSeen = 0;
  struct TCounter : QObject {
    int& Seen;
    explicit TCounter(int& seen) : Seen(seen) {}
    bool eventFilter(QObject*, QEvent* event) override {
      if (event->type() == QEvent::KeyPress) ++Seen;
      return false;
    }
  } counter(keysSeen);
  test::Named<QLineEdit>(*Form, "EdInsert")->installEventFilter(&counter);
  Key(test::Named<QLineEdit>(*Form, "EdInsert"), Qt::Key_Escape);
  test::Named<QLineEdit>(*Form, "EdInsert")->removeEventFilter(&counter);
  EXPECT_EQ(keysSeen, 1);
  EXPECT_EQ(Form->PanelText(1), kStopped);
  ASSERT_TRUE(Ended());
  EXPECT_EQ(Folder.CountStartingWith("x"), Form->ResultTable().RowCount());
}

TEST_F(Form1RunControl, EscapeWhenIdleAndF1FromAFieldTakeTheirCommands) {
  int helps = 0;
  QObject::connect(test::Named<QAction>(*Form, "HelpItem"), &QAction::triggered, [&] { ++helps; });
  test::Named<QLineEdit>(*Form, "EdSearch")->setFocus();
  Key(test::Named<QLineEdit>(*Form, "EdSearch"), Qt::Key_Escape);
  EXPECT_EQ(Form->PanelText(1), "");
  Key(test::Named<QLineEdit>(*Form, "EdSearch"), Qt::Key_F1);
  EXPECT_EQ(helps, 1);
  Key(test::Named<QLineEdit>(*Form, "EdSearch"), Qt::Key_A);
  EXPECT_EQ(helps, 1);
}

TEST_F(Form1RunControl, CloseDuringAPassAnsweredNoKeepsTheWindowAndThePass) {
  Folder.Files(50);
  test::Named<QPushButton>(*Form, "BtRename")->click();
  TBoxAnswers answers({"&No"});
  test::Named<QPushButton>(*Form, "BtQuit")->click();
  EXPECT_EQ(answers.Texts, std::vector<QString>{kCloseDuringPass});
  EXPECT_TRUE(Form->isVisible());
  ASSERT_TRUE(Ended());
  EXPECT_EQ(Folder.CountStartingWith("xf"), 50u);
}

TEST_F(Form1RunControl, CloseDuringAPassAnsweredYesEndsThePassThenAsksToSave) {
  Folder.Files(kMany);
  int saves = 0;
  std::size_t rowsAtSave = 0;
  QObject::connect(test::Named<QAction>(*Form, "SaveAsItem"), &QAction::triggered, [&] {
    ++saves;
    rowsAtSave = Form->ResultTable().RowCount();
  });
  test::Named<QPushButton>(*Form, "BtRename")->click();
  ASSERT_TRUE(WaitUntil([&] { return Form->ResultTable().RowCount() > 0 || !Form->FRunning(); }));
  if (!Form->FRunning()) GTEST_SKIP() << "the pass ended before the window could be closed";
  TBoxAnswers answers({"&Yes", "&Yes"});
  Form->close();
  EXPECT_FALSE(Form->isVisible());
  EXPECT_EQ(answers.Texts, (std::vector<QString>{kCloseDuringPass, kSaveBeforeClearing}));
  EXPECT_FALSE(Form->RunControl().PassAlive());
  EXPECT_EQ(saves, 1);
  EXPECT_EQ(answers.FileDialogs, 1);
  // The save came after the last rename: it holds a row for every one.
  EXPECT_EQ(rowsAtSave, Folder.CountStartingWith("xf"));
  EXPECT_EQ(Form->PanelText(1), "");  // closing sends the stop request only
}

TEST_F(Form1RunControl, CloseDuringAPassAnsweredYesClosesEvenOnCancel) {
  Folder.Files(kMany);
  test::Named<QPushButton>(*Form, "BtRename")->click();
  ASSERT_TRUE(WaitUntil([&] { return Form->ResultTable().RowCount() > 0 || !Form->FRunning(); }));
  if (!Form->FRunning()) GTEST_SKIP() << "the pass ended before the window could be closed";
  TBoxAnswers answers({"&Yes", "Cancel"});
  Form->close();
  EXPECT_FALSE(Form->isVisible());
  EXPECT_EQ(answers.Texts.size(), 2u);
}

TEST_F(Form1RunControl, CloseWhenIdleAsksOnlyForRowsThatSaveResultWouldKeep) {
  Folder.Files(2);
  {  // after a simulation: no question
    test::Named<QPushButton>(*Form, "BtSimul")->click();
    ASSERT_TRUE(Ended());
    TBoxAnswers answers({});
    EXPECT_TRUE(Form->close());
    EXPECT_TRUE(answers.Texts.empty());
  }
  Form->show();
  test::Named<QPushButton>(*Form, "BtRename")->click();
  ASSERT_TRUE(Ended());
  test::Named<QTabWidget>(*Form, "PageControl1")->setCurrentWidget(test::Named<QWidget>(*Form, "TabSheetControls"));
  {
    TBoxAnswers answers({"Cancel"});
    EXPECT_FALSE(Form->close());
    EXPECT_EQ(answers.Texts, std::vector<QString>{kSaveBeforeClearing});
    EXPECT_TRUE(Form->isVisible());
    EXPECT_EQ(test::Named<QTabWidget>(*Form, "PageControl1")->currentWidget(),
              test::Named<QWidget>(*Form, "TabSheetResults"));
  }
  {
    TBoxAnswers answers({"&No"});
    EXPECT_TRUE(Form->close());
    EXPECT_EQ(answers.Texts.size(), 1u);
  }
}

// The close questions are the window's confirmation boxes: Escape answers
// Cancel, Enter answers "&Yes".
TEST_F(Form1RunControl, CloseQuestionsAreTheWindowsConfirmations) {
  const QString confirmation = MessageBoxName(TMessageKind::Confirmation);
  Folder.Files(kMany);
  test::Named<QPushButton>(*Form, "BtRename")->click();
  ASSERT_TRUE(WaitUntil([&] { return Form->ResultTable().RowCount() > 0 || !Form->FRunning(); }));
  if (Form->FRunning()) {
    TBoxAnswers answers({kEscape});
    EXPECT_FALSE(Form->close());
    EXPECT_EQ(answers.Texts, std::vector<QString>{kCloseDuringPass});
    EXPECT_EQ(answers.Names, std::vector<QString>{confirmation});
    EXPECT_TRUE(Form->isVisible());
  }
  ASSERT_TRUE(Ended());
  {
    TBoxAnswers answers({kEscape});
    EXPECT_FALSE(Form->close());
    EXPECT_EQ(answers.Texts, std::vector<QString>{kSaveBeforeClearing});
    EXPECT_EQ(answers.Names, std::vector<QString>{confirmation});
  }
  {
    TBoxAnswers answers({kEnter});
    EXPECT_TRUE(Form->close());
    EXPECT_EQ(answers.Names, std::vector<QString>{confirmation});
    EXPECT_EQ(answers.FileDialogs, 1);  // "&Yes" offered the save
  }
}

TEST_F(Form1RunControl, CloseAfterStopWaitsForThePassBeforeAsking) {
  Folder.Files(kMany);
  test::Named<QPushButton>(*Form, "BtRename")->click();
  ASSERT_TRUE(WaitUntil([&] { return Form->ResultTable().RowCount() > 0 || !Form->FRunning(); }));
  test::Named<QPushButton>(*Form, "BtCancel")->click();
  TBoxAnswers answers({"&No"});
  EXPECT_TRUE(Form->close());
  EXPECT_FALSE(Form->RunControl().PassAlive());
  EXPECT_EQ(answers.Texts, std::vector<QString>{kSaveBeforeClearing});
}

TEST_F(Form1RunControl, ClearDuringAPassKeepsTheLaterRows) {
  Folder.Files(kMany);
  test::Named<QPushButton>(*Form, "BtRename")->click();
  ASSERT_TRUE(WaitUntil([&] { return Form->ResultTable().RowCount() > 0 || !Form->FRunning(); }));
  if (!Form->FRunning()) GTEST_SKIP() << "the pass ended before the table could be cleared";
  // The rows the views knew of when the table was emptied, whatever the
  // question's own loop let in before.
  int cleared = 0;
  const TResultTableModel* model = test::Named<TResultListView>(*Form, "ListView")->TableModel();
  QObject guard;  // the counting goes with the test, not with the window
  QObject::connect(model, &QAbstractItemModel::modelAboutToBeReset, &guard, [&] { cleared = model->rowCount(); });
  {
    TBoxAnswers answers({"&No"});
    test::Named<QPushButton>(*Form, "BtClearResult")->click();
  }
  ASSERT_TRUE(Ended());
  ASSERT_GT(cleared, 0);
  EXPECT_EQ(Form->ResultTable().RowCount() + std::size_t(cleared), Folder.CountStartingWith("xf"));
  EXPECT_EQ(Form->PanelText(0), kProcessOk);
}

TEST_F(Form1RunControl, DestroyingTheWindowDuringAPassStopsItAndWaits) {
  Folder.Files(kMany);
  test::Named<QPushButton>(*Form, "BtRename")->click();
  ASSERT_TRUE(WaitUntil([&] { return Form->ResultTable().RowCount() > 0 || !Form->FRunning(); }));
  Form.reset();  // no worker may be left that refers to the window
  const std::size_t renamed = Folder.CountStartingWith("xf");
  EXPECT_GT(renamed, 0u);
  EXPECT_EQ(renamed + Folder.CountStartingWith("f"), std::size_t(kMany));
}

}  // namespace
}  // namespace vt
