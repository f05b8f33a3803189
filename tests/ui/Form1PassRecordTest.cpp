// The records the window keeps of its real passes: a journal ahead of the
// renames, the automatic result file at the end, and Recover marking it undone.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <QUrl>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "ModalScript.h"
#include "UiTestApp.h"
#include "browse/FilterDirectoryListBox.h"
#include "passes/PassJournalWriter.h"
#include "passes/RunControl.h"
#include "platform/AppendFile.h"
#include "platform/CurrentFolder.h"
#include "results/JournalReader.h"
#include "results/PassJournals.h"
#include "results/UndoneMark.h"
#include "support/ErrorPrint.h"
#include "support/FileSizeLimit.h"
#include "ui/Form1.h"
#include "ui/MessageBoxes.h"
#include "ui/StopSignalWatcher.h"

namespace vt {
namespace {

namespace fs = std::filesystem;
using test::WaitUntil;

constexpr int kMany = 3000;

std::vector<fs::path> FilesEndingWith(const fs::path& folder, const std::string& extension) {
  std::vector<fs::path> found;
  std::error_code ignored;
  for (fs::directory_iterator it(folder, ignored), end; it != end; it.increment(ignored))
    if (it->path().extension() == extension) found.push_back(it->path());
  return found;
}

std::size_t CountStartingWith(const fs::path& folder, const std::string& prefix) {
  std::size_t count = 0;
  for (const auto& entry : fs::directory_iterator(folder))
    count += entry.path().filename().string().rfind(prefix, 0) == 0 ? 1U : 0U;
  return count;
}

class Form1PassRecord : public ::testing::Test {
 protected:
  Form1PassRecord() : Records(test::RecordsFolderForTests().toStdString()) {
    std::error_code ignored;
    fs::remove_all(Records, ignored);  // the test program's own folder
    Form = std::make_unique<TForm1>();
    test::Named<TFilterDirectoryListBox>(*Form, "FilterDirectoryListBox1")->SetFolder(Here().string());
    test::Named<QListWidget>(*Form, "LstBoxActions")->setCurrentRow(1);  // insert "x" at the beginning of every name
    test::Named<QLineEdit>(*Form, "EdInsert")->setText("x");
    test::Named<QComboBox>(*Form, "ComboInsertTo")->setCurrentIndex(1);
    Form->show();
  }
  // The folder list makes the pass's folder the current one; it goes at the end.
  ~Form1PassRecord() override { SetCurrentFolder(Kept_); }
  void Files(int count) const {
    for (int i = 0; i < count; ++i) std::ofstream(Here() / ("f" + std::to_string(i) + ".txt")) << "x";
  }
  fs::path Here() const { return Folder.path().toStdString(); }
  // The pass has ended and the window has taken its record.
  bool Ended() {
    return WaitUntil([&] { return !Form->RunControl().PassAlive() && !Form->KeepingRecord(); });
  }
  // Only the pass has ended ("Process Ok."): its record may still be being kept.
  bool PassEnded() {
    return WaitUntil([&] { return !Form->RunControl().PassAlive(); });
  }
  // The record the pass left in the records' folder: its journal alone, ended
  // as `end`, with every row.
  void ExpectCompleteRecord(TJournalEnd end, std::size_t rows) const {
    EXPECT_TRUE(FilesEndingWith(Records, ".vtr").empty());
    const std::vector<fs::path> records = FilesEndingWith(Records, ".vtj");
    ASSERT_EQ(records.size(), 1u);
    TExpected<TJournal> journal = LoadJournal(records[0].string());
    ASSERT_TRUE(journal) << journal.Error();
    EXPECT_EQ(journal->End, end);
    EXPECT_EQ(journal->Rows.size(), rows);
    TJournal unfinished;
    EXPECT_FALSE(UnfinishedPass(Records.string(), unfinished));
  }

  const std::string Kept_ = GetCurrentFolder();
  QTemporaryDir Folder;
  const fs::path Records;
  std::unique_ptr<TForm1> Form;
};

TEST_F(Form1PassRecord, RenameKeepsItsJournalAloneAsAPrivateRecord) {
  Files(3);
  test::Named<QPushButton>(*Form, "BtRename")->click();
  ASSERT_TRUE(Ended());
  EXPECT_EQ(fs::status(Records).permissions() & fs::perms::all, fs::perms::owner_all);
  ExpectCompleteRecord(TJournalEnd::Completed, 3);
  const std::vector<fs::path> records = FilesEndingWith(Records, ".vtj");
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(fs::status(records[0]).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
  // A later start-up or recover --last finds it as the pass to undo.
  TJournal journal;
  const std::optional<TRecordFile> last = LastRecord(Records.string(), journal);
  ASSERT_TRUE(last);
  EXPECT_EQ(last->Journal, records[0].string());
  EXPECT_EQ(RenamedRows(journal), 3u);
}

// The record is kept beside the window, which goes on meanwhile: it appears
// once the worker has ended, and Recover then undoes its rows.
TEST_F(Form1PassRecord, TheRecordIsKeptAfterThePassEndsAndBecomesTheTablesJournal) {
  Files(kMany);
  test::Named<QPushButton>(*Form, "BtRename")->click();
  ASSERT_TRUE(PassEnded());
  ASSERT_TRUE(WaitUntil([&] { return !Form->KeepingRecord(); }));
  ExpectCompleteRecord(TJournalEnd::Completed, kMany);
  test::Named<QToolButton>(*Form, "SpBtUndo")->click();
  ASSERT_TRUE(Ended());
  EXPECT_EQ(CountStartingWith(Here(), "xf"), 0u);
  TJournal journal;
  EXPECT_FALSE(LastRecord(Records.string(), journal));  // marked undone: it was the table's
}

// Recover is clicked at once: it waits for the record of the rows it undoes.
TEST_F(Form1PassRecord, RecoverRightAfterThePassEndsUndoesThePass) {
  Files(kMany);
  test::Named<QPushButton>(*Form, "BtRename")->click();
  ASSERT_TRUE(PassEnded());
  test::Named<QToolButton>(*Form, "SpBtUndo")->click();
  EXPECT_FALSE(Form->KeepingRecord());
  ASSERT_TRUE(Ended());
  EXPECT_EQ(CountStartingWith(Here(), "f"), static_cast<std::size_t>(kMany));
  const std::vector<fs::path> journals = FilesEndingWith(Records, ".vtj");
  ASSERT_EQ(journals.size(), 1u);
  TExpected<TJournal> loaded = LoadJournal(journals[0].string());
  ASSERT_TRUE(loaded) << loaded.Error();
  EXPECT_EQ(loaded->Header.Kind, TJournalKind::Rename);
  EXPECT_EQ(StateOf(*loaded), TPassState::Undone);
}

// The window goes while the record may still be kept: it is complete all the same.
TEST_F(Form1PassRecord, AWindowClosedOrDestroyedRightAfterThePassEndsLeavesItsRecordComplete) {
  for (const bool close : {true, false}) {
    SCOPED_TRACE(close ? "closed" : "destroyed");
    if (!Form) Form = std::make_unique<TForm1>();
    fs::remove_all(Records);
    for (const auto& entry : fs::directory_iterator(Here())) fs::remove(entry.path());
    Files(kMany);
    test::Named<TFilterDirectoryListBox>(*Form, "FilterDirectoryListBox1")->SetFolder(Here().string());
    test::Named<QListWidget>(*Form, "LstBoxActions")->setCurrentRow(1);
    test::Named<QLineEdit>(*Form, "EdInsert")->setText("x");
    test::Named<QComboBox>(*Form, "ComboInsertTo")->setCurrentIndex(1);
    Form->show();
    test::Named<QPushButton>(*Form, "BtRename")->click();
    ASSERT_TRUE(PassEnded());
    if (close) {
      test::TModalScript script;  // whatever the close asks is answered No
      script.Then(test::Press(QMessageBox::No));
      script.Run([&] { EXPECT_TRUE(Form->close()); });
      EXPECT_FALSE(Form->KeepingRecord());
    }
    Form.reset();
    ExpectCompleteRecord(TJournalEnd::Completed, kMany);
    EXPECT_EQ(CountStartingWith(Here(), "xf"), static_cast<std::size_t>(kMany));
  }
}

TEST_F(Form1PassRecord, SimulateKeepsNoRecord) {
  Files(3);
  test::Named<QPushButton>(*Form, "BtSimul")->click();
  ASSERT_TRUE(Ended());
  EXPECT_TRUE(FilesEndingWith(Records, ".vtr").empty());
  EXPECT_TRUE(FilesEndingWith(Records, ".vtj").empty());
}

TEST_F(Form1PassRecord, RecoverMarksTheRecordUndoneAndKeepsNoJournalOfItsOwn) {
  Files(3);
  test::Named<QPushButton>(*Form, "BtRename")->click();
  ASSERT_TRUE(Ended());
  test::Named<QToolButton>(*Form, "SpBtUndo")->click();
  ASSERT_TRUE(Ended());
  EXPECT_EQ(CountStartingWith(Here(), "f"), 3u);
  const std::vector<fs::path> journals = FilesEndingWith(Records, ".vtj");
  ASSERT_EQ(journals.size(), 1u);  // the rename's; the recover's went once it had undone all
  TExpected<TJournal> loaded = LoadJournal(journals[0].string());
  ASSERT_TRUE(loaded) << loaded.Error();
  TJournal& journal = *loaded;
  EXPECT_EQ(journal.Header.Kind, TJournalKind::Rename);
  EXPECT_EQ(StateOf(journal), TPassState::Undone);
  EXPECT_FALSE(LastRecord(Records.string(), journal));
}

TEST_F(Form1PassRecord, AStoppedRenameRecordsEveryFileItRenamed) {
  Files(kMany);
  test::Named<QPushButton>(*Form, "BtRename")->click();
  ASSERT_TRUE(WaitUntil([&] { return Form->ResultTable().RowCount() > 0 || !Form->FRunning(); }));
  test::Named<QPushButton>(*Form, "BtCancel")->click();
  ASSERT_TRUE(Ended());
  const std::vector<fs::path> records = FilesEndingWith(Records, ".vtj");
  ASSERT_EQ(records.size(), 1u);
  TExpected<TJournal> loaded = LoadJournal(records[0].string());
  ASSERT_TRUE(loaded) << loaded.Error();
  TJournal& journal = *loaded;
  ASSERT_TRUE(journal.End);
  EXPECT_EQ(RenamedRows(journal), CountStartingWith(Here(), "xf"));
}

TEST_F(Form1PassRecord, AWindowDestroyedDuringAPassFinishesItsRecordAsAClose) {
  Files(kMany);
  test::Named<QPushButton>(*Form, "BtRename")->click();
  ASSERT_TRUE(WaitUntil([&] { return Form->ResultTable().RowCount() > 0 || !Form->FRunning(); }));
  Form.reset();
  const std::size_t renamed = CountStartingWith(Here(), "xf");
  TJournal journal;
  const std::optional<TRecordFile> last = LastRecord(Records.string(), journal);
  ASSERT_TRUE(last);
  EXPECT_EQ(RenamedRows(journal), renamed);
  EXPECT_TRUE(FilesEndingWith(Records, ".vtr").empty());
  TExpected<TJournal> loadedEnded = LoadJournal(last->Journal);
  ASSERT_TRUE(loadedEnded) << loadedEnded.Error();
  TJournal& ended = *loadedEnded;
  EXPECT_EQ(ended.End, TJournalEnd::Stopped);
  // It ended: the next start-up does not take it for a pass that was cut off.
  EXPECT_FALSE(UnfinishedPass(Records.string(), journal));
}

// A disk that refuses the journal part-way (the kernel's file-size limit:
// EFBIG, as ENOSPC would): the pass stops, and the box says how many files
// were renamed and which journal holds their rows.
TEST_F(Form1PassRecord, AJournalThatCannotBeWrittenSaysHowManyWereRenamedAndWhereTheirRowsAre) {
  constexpr int kFiles = 60;
  Files(kFiles);
  // The same pass once, undone, for the size of its journal.
  test::Named<QPushButton>(*Form, "BtRename")->click();
  ASSERT_TRUE(Ended());
  const std::vector<fs::path> first = FilesEndingWith(Records, ".vtj");
  ASSERT_EQ(first.size(), 1u);
  const auto journalBytes = fs::file_size(first[0]);
  test::Named<QToolButton>(*Form, "SpBtUndo")->click();
  ASSERT_TRUE(Ended());
  ASSERT_EQ(CountStartingWith(Here(), "xf"), 0u);
  fs::remove_all(Records);

  test::TModalScript script;
  script.Then(test::Press(QMessageBox::Ok));
  {
    // Room for the header and the intents, not for the outcomes and the end mark.
    const test::TFileSizeLimit limit(journalBytes - 16);
    ASSERT_TRUE(limit.Applied());
    script.Run([&] {
      test::Named<QPushButton>(*Form, "BtRename")->click();
      ASSERT_TRUE(Ended());
    });
  }
  const std::size_t renamed = CountStartingWith(Here(), "xf");
  ASSERT_EQ(script.Seen().size(), 1);
  const QString box = script.Seen()[0];
  const std::vector<fs::path> journals = FilesEndingWith(Records, ".vtj");
  ASSERT_EQ(journals.size(), 1u);
  EXPECT_TRUE(box.contains(QString("%1 files were renamed").arg(renamed))) << box.toStdString();
  EXPECT_TRUE(box.contains(QString::fromStdString(journals[0].string()))) << box.toStdString();
  EXPECT_TRUE(box.contains("could not be written")) << box.toStdString();
  // The rows are where the box says: the journal undoes every rename.
  TJournal journal;
  const std::optional<TRecordFile> last = LastRecord(Records.string(), journal);
  ASSERT_TRUE(last);
  EXPECT_EQ(last->Journal, journals[0].string());
  EXPECT_EQ(RenamedRows(journal), renamed);
}

// A records folder others can read is no failure: the pass runs, and the
// window says so in its own words first; a private one goes unmentioned.
TEST_F(Form1PassRecord, ARecordsFolderOthersCanReadIsToldBeforeThePass) {
  Files(1);
  const std::string own = Records.string().substr(0, Records.string().size() - 1);
  const struct {
    fs::perms Mode;
    QStringList Seen;
  } cases[] = {
      {fs::perms::owner_all, {}},
      {fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec,
       {QString("%1|%2 can be read by other users; its records name your files (chmod 700 %2)")
            .arg(MessageBoxTitle(TMessageKind::Information), QString::fromStdString(own))}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.Mode));
    fs::create_directories(Records);
    fs::permissions(Records, c.Mode);
    test::TModalScript script;
    script.Then(test::Press(QMessageBox::Ok));
    script.Run([&] {
      test::Named<QPushButton>(*Form, "BtRename")->click();
      ASSERT_TRUE(Ended());
    });
    EXPECT_EQ(script.Seen(), c.Seen) << script.Seen().join("; ").toStdString();
    EXPECT_FALSE(FilesEndingWith(Records, ".vtj").empty());  // the pass ran and kept its record
  }
}

TEST_F(Form1PassRecord, TheLoadDialogOffersTheRecordsFolder) {
  Files(1);
  test::Named<QPushButton>(*Form, "BtRename")->click();
  ASSERT_TRUE(Ended());
  QList<QUrl> sidebar;
  test::TModalScript script;
  script.Then([&](QWidget* modal) {
    if (auto* dialog = qobject_cast<QFileDialog*>(modal)) sidebar = dialog->sidebarUrls();
    test::CancelDialog()(modal);
  });
  script.Run([&] { test::Named<QAction>(*Form, "LoadResultItem")->trigger(); });
  EXPECT_TRUE(sidebar.contains(QUrl::fromLocalFile(QDir::cleanPath(QString::fromStdString(Records.string())))))
      << sidebar.size();
}

// The folder of records holds journals: Load Result takes one, and Recover
// undoes its rows and marks it, as choosing it in the history does.
TEST_F(Form1PassRecord, LoadResultTakesAKeptJournalAndRecoverMarksIt) {
  Files(3);
  test::Named<QPushButton>(*Form, "BtRename")->click();
  ASSERT_TRUE(Ended());
  const std::vector<fs::path> journals = FilesEndingWith(Records, ".vtj");
  ASSERT_EQ(journals.size(), 1u);
  test::TModalScript clear;  // not saved first
  clear.Then(test::Press(QMessageBox::No)).Run([&] { test::Named<QAction>(*Form, "ClearResultItem")->trigger(); });
  ASSERT_EQ(Form->ResultTable().RowCount(), 0u);
  test::TModalScript script;
  script.Then(test::ChooseFile(QString::fromStdString(journals[0].string())));
  script.Run([&] { test::Named<QAction>(*Form, "LoadResultItem")->trigger(); });
  ASSERT_EQ(Form->ResultTable().RowCount(), 3u);
  EXPECT_EQ(Form->ResultTable().Row(0).NewName.substr(0, 2), "xf");
  ASSERT_TRUE(test::Named<QToolButton>(*Form, "SpBtUndo")->isEnabled());
  test::Named<QToolButton>(*Form, "SpBtUndo")->click();
  ASSERT_TRUE(Ended());
  EXPECT_EQ(CountStartingWith(Here(), "f"), 3u);
  TExpected<TJournal> loaded = LoadJournal(journals[0].string());
  ASSERT_TRUE(loaded) << loaded.Error();
  EXPECT_EQ(StateOf(*loaded), TPassState::Undone);
}

class Form1StopSignal : public Form1PassRecord, public ::testing::WithParamInterface<int> {};

TEST_P(Form1StopSignal, EndsThePassKeepsItsRecordAndClosesTheWindowWithoutAsking) {
  Files(kMany);
  const TStopSignalWatcher watcher(*Form);
  test::Named<QPushButton>(*Form, "BtRename")->click();
  ASSERT_TRUE(WaitUntil([&] { return Form->ResultTable().RowCount() > 0 || !Form->FRunning(); }));
  test::TModalScript script;  // a question would be recorded and refused
  script.Run([&] {
    std::raise(GetParam());
    ASSERT_TRUE(WaitUntil([&] { return !Form->isVisible(); }));
  });
  EXPECT_TRUE(script.Seen().isEmpty()) << script.Seen().join("; ").toStdString();
  EXPECT_FALSE(Form->RunControl().PassAlive());
  const std::vector<fs::path> records = FilesEndingWith(Records, ".vtj");
  ASSERT_EQ(records.size(), 1u);
  TExpected<TJournal> loaded = LoadJournal(records[0].string());
  ASSERT_TRUE(loaded) << loaded.Error();
  EXPECT_TRUE(loaded->End);
  EXPECT_EQ(RenamedRows(*loaded), CountStartingWith(Here(), "xf"));
}

// The signal comes while the close's own question is open (whichever: the pass
// may have ended before the close asked).
TEST_P(Form1StopSignal, WhileACloseQuestionIsOpenTurnsItDownAndEndsTheWindowWithItsRecord) {
  Files(kMany);
  const TStopSignalWatcher watcher(*Form);
  test::Named<QPushButton>(*Form, "BtRename")->click();
  ASSERT_TRUE(WaitUntil([&] { return Form->ResultTable().RowCount() > 0 || !Form->FRunning(); }));
  bool closed = false;
  test::TModalScript script;
  script.Then([&](QWidget* modal) {
    std::raise(GetParam());
    // Answered here only if the signal left it open, so that a failure cannot hang.
    if (!WaitUntil([&] { return !modal->isVisible(); }, std::chrono::seconds(3))) {
      ADD_FAILURE() << "the box stayed open";
      test::Press(QMessageBox::Cancel)(modal);
    }
  });
  script.Run([&] { closed = Form->close(); });
  EXPECT_TRUE(closed);
  EXPECT_FALSE(Form->isVisible());
  EXPECT_EQ(script.Seen().size(), 1) << script.Seen().join("; ").toStdString();
  EXPECT_FALSE(Form->RunControl().PassAlive());
  const std::vector<fs::path> records = FilesEndingWith(Records, ".vtj");
  ASSERT_EQ(records.size(), 1u);
  TExpected<TJournal> loaded = LoadJournal(records[0].string());
  ASSERT_TRUE(loaded) << loaded.Error();
  TJournal& journal = *loaded;
  EXPECT_TRUE(journal.End);
  EXPECT_EQ(RenamedRows(journal), CountStartingWith(Here(), "xf"));
}

INSTANTIATE_TEST_SUITE_P(TermAndHangUp, Form1StopSignal, ::testing::Values(SIGTERM, SIGHUP));

// A pass killed after renaming f0 to xf0: its journal holds the intent, no
// outcome and no end, and nobody holds its lock.
class Form1UnfinishedPass : public Form1PassRecord {
 protected:
  void KilledPass() {
    Files(1);
    fs::create_directories(Records);
    fs::permissions(Records, fs::perms::owner_all);  // else the window warns of it
    TPassJournalWriter writer;
    const std::string journal = Records.string() + "2026-12-08_09-30-05.vtj";
    ASSERT_TRUE(writer.Create(journal, TDurability::Kernel, {TJournalKind::Rename, 1, Folder(), "*.*"}));
    const std::vector<TJournalEntry> intent{{0, Folder(), "f0.txt", "xf0.txt", TRenameStatus::rsCanBeRenamed, 0, true}};
    ASSERT_TRUE(writer.Intend(intent));
    fs::rename(Here() / "f0.txt", Here() / "xf0.txt");
    Journal = journal;
  }  // the writer goes without an end mark
  const std::string& Folder() const { return FolderText; }

  // Answers the box, checking it is the window's confirmation; the box's text.
  QString Offer(int button) {
    test::TModalScript script;
    QString name;
    script.Then([&](QWidget* modal) {
      name = modal->objectName();
      test::Press(button)(modal);
    });
    script.Run([&] { Form->OfferUnfinishedPass(); });
    EXPECT_EQ(name, MessageBoxName(TMessageKind::Confirmation));
    return script.Seen().value(0);
  }

  const std::string FolderText = Here().string() + "/";
  std::string Journal;
};

TEST_F(Form1UnfinishedPass, YesLoadsItsRowsAndRecoverUndoesThemOnce) {
  KilledPass();
  const QString seen = Offer(QMessageBox::Yes);
  EXPECT_TRUE(seen.contains(QString::fromStdString(Folder()))) << seen.toStdString();
  EXPECT_TRUE(seen.contains("1 file was renamed")) << seen.toStdString();
  ASSERT_EQ(Form->ResultTable().RowCount(), 1u);
  EXPECT_EQ(Form->ResultTable().Row(0).NewName, "xf0.txt");
  EXPECT_EQ(test::Named<QTabWidget>(*Form, "PageControl1")->currentWidget(),
            test::Named<QWidget>(*Form, "TabSheetResults"));
  ASSERT_TRUE(test::Named<QToolButton>(*Form, "SpBtUndo")->isEnabled());
  test::Named<QToolButton>(*Form, "SpBtUndo")->click();
  ASSERT_TRUE(Ended());
  EXPECT_TRUE(fs::exists(Here() / "f0.txt"));
  TExpected<TJournal> loaded = LoadJournal(Journal);
  ASSERT_TRUE(loaded) << loaded.Error();
  TJournal& journal = *loaded;
  EXPECT_EQ(StateOf(journal), TPassState::Undone);
  // Undone: the next start asks nothing.
  test::TModalScript none;
  none.Run([&] { Form->OfferUnfinishedPass(); });
  EXPECT_TRUE(none.Seen().isEmpty());
}

TEST_F(Form1UnfinishedPass, NoLeavesTheJournalForLaterAndLoadsNothing) {
  KilledPass();
  Offer(QMessageBox::No);
  EXPECT_EQ(Form->ResultTable().RowCount(), 0u);
  EXPECT_FALSE(test::Named<QToolButton>(*Form, "SpBtUndo")->isEnabled());
  TJournal journal;
  EXPECT_TRUE(LastRecord(Records.string(), journal));
  Offer(QMessageBox::No);  // asked again at the next start
}

TEST_F(Form1UnfinishedPass, ASignalWhileItAsksEndsTheWindowAndLeavesTheJournalForLater) {
  KilledPass();
  const TStopSignalWatcher watcher(*Form);
  test::TModalScript script;
  script.Then([&](QWidget* modal) {
    std::raise(SIGTERM);
    // Answered here only if the signal left it open, so that a failure cannot hang.
    if (!WaitUntil([&] { return !modal->isVisible(); }, std::chrono::seconds(3))) {
      ADD_FAILURE() << "the box stayed open";
      test::Press(QMessageBox::Cancel)(modal);
    }
  });
  script.Run([&] { Form->OfferUnfinishedPass(); });
  EXPECT_TRUE(WaitUntil([&] { return !Form->isVisible(); }));
  EXPECT_EQ(Form->ResultTable().RowCount(), 0u);
  TJournal journal;
  EXPECT_TRUE(UnfinishedPass(Records.string(), journal));
}

TEST_F(Form1UnfinishedPass, APassThatEndedWithItsRecordIsNotAsked) {
  Files(2);
  test::Named<QPushButton>(*Form, "BtRename")->click();
  ASSERT_TRUE(Ended());
  test::TModalScript none;
  none.Run([&] { Form->OfferUnfinishedPass(); });
  EXPECT_TRUE(none.Seen().isEmpty());
}

}  // namespace
}  // namespace vt
