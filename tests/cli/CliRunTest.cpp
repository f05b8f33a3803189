// The pass as the command line runs it, in this process: Stop, streamed rows.
#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "CliTestSupport.h"
#include "cli/PassRunner.h"
#include "engine/Messages.h"

namespace vt::test {
namespace {

TControlValues InsertAtBeginning(const std::string& text) {
  TControlValues controls;
  controls.LstBoxActions = ControlIndex(TOperation::Insert);
  controls.EdInsert = text;
  controls.ComboInsertTo = ControlIndex(TPlacement::AtBeginning);
  return controls;
}

TSearchPassOptions Options(const TTempFolder& dir) {
  TSearchPassOptions options;
  options.Folder = dir.Folder();
  return options;
}

TEST(CliRun, CtrlCWhileAFolderIsListedStopsThePassBeforeAnyEntryIsHandled) {
  TTempFolder dir;
  std::filesystem::create_directory(dir.Path() / "sub");
  dir.WriteFile("sub/inner.txt");
  for (int i = 0; i < 100; ++i) dir.WriteFile("f" + std::to_string(i) + ".txt");
  const std::set<std::string> before = dir.Names();

  std::atomic<int> polls{0};
  TRunnerEnvironment environment;
  environment.Err = std::tmpfile();
  environment.Tick = std::chrono::milliseconds(2);
  environment.Interrupted = [&] {
    polls.fetch_add(1);
    return true;
  };
  TSearchPassOptions options = Options(dir);
  options.IncludeSubDirs = true;
  // Hold the listing at its first entry until the runner has polled twice: by then it has
  // turned the first Ctrl-C into a stop request.
  options.OnCollected = [&](TSearchThread&, const TFindData&) {
    while (polls.load() < 2) std::this_thread::yield();
  };

  TPassRowSink rows(TRowKeeping::Keep, {}, false);
  TPassRunner runner(rows, environment);
  EXPECT_EQ(runner.RunSearch(options, CaptureSettings(InsertAtBeginning("x")), false), TPassEnd::StoppedByUser);
  EXPECT_EQ(rows.ResultTable().RowCount(), 0u);
  EXPECT_FALSE(runner.Control().PassAlive());
  EXPECT_FALSE(runner.Control().Running());
  EXPECT_EQ(rows.RowsSeen(), 0u);  // no rows to recover
  std::rewind(environment.Err);
  std::string said(256, '\0');
  said.resize(std::fread(said.data(), 1, said.size(), environment.Err));
  EXPECT_EQ(said, "veltrane-cli: " + std::string(Message(Msg::StoppedByUser)) + "\n");
  EXPECT_EQ(dir.Names(), before);
  EXPECT_EQ(dir.Names("sub"), std::set<std::string>{"inner.txt"});
  std::fclose(environment.Err);
}

TEST(CliRun, DroppedRowsReachTheSinkInOrderAndLeaveTheTableEmpty) {
  TTempFolder dir;
  dir.WriteFile("a.txt");
  dir.WriteFile("b.txt");
  dir.WriteFile("xa.txt", "in the way");
  std::vector<std::string> seen;
  TPassRowSink rows(
      TRowKeeping::Drop,
      [&](const TResultRow& row, TRenameStatus status, int error) {
        EXPECT_EQ(row.KnownStatus(), status);
        EXPECT_EQ(row.SystemError, error);
        seen.push_back(row.OldName + "|" + std::string(row.StatusWord()) + "|" + std::to_string(error));
      },
      false);
  TPassRunner runner(rows, TRunnerEnvironment{});
  TSearchPassOptions options = Options(dir);
  options.Masks = "a.txt;b.txt";
  EXPECT_EQ(runner.RunSearch(options, CaptureSettings(InsertAtBeginning("x")), false), TPassEnd::Completed);
  EXPECT_EQ(seen, (std::vector<std::string>{"a.txt|Error|" + std::to_string(EEXIST), "b.txt|Ok|0"}));
  EXPECT_EQ(rows.ResultTable().RowCount(), 0u);
  EXPECT_EQ(rows.RowsSeen(), 2u);
  EXPECT_EQ(rows.FailedRows(), 1u);
  EXPECT_EQ(dir.Names(), (std::set<std::string>{"a.txt", "xa.txt", "xb.txt"}));
}

TEST(CliRun, RecoverUndoesTheRowsOfTheTableAndCountsFilesNotFound) {
  TTempFolder dir;
  dir.WriteFile("new.txt");
  TPassRowSink rows(TRowKeeping::Keep, {}, false);
  rows.ResultTable().AppendRow("old.txt", "new.txt", dir.Folder(), "Ok");
  rows.ResultTable().AppendRow("gone.txt", "vanished.txt", dir.Folder(), "Ok");
  rows.ResultTable().AppendRow("c.txt", "d.txt", dir.Folder(), "Can be renamed");
  TPassRunner runner(rows, TRunnerEnvironment{});
  runner.RunRecover();
  ASSERT_EQ(rows.ResultTable().RowCount(), 3u);
  EXPECT_EQ(rows.ResultTable().Row(0).KnownStatus(), TRenameStatus::rsOk);
  EXPECT_EQ(rows.ResultTable().Row(1).KnownStatus(), TRenameStatus::rsFileNotFound);
  EXPECT_EQ(rows.ResultTable().Row(2).KnownStatus(), TRenameStatus::rsNoChange);
  EXPECT_EQ(rows.FailedRows(), 1u);  // rows loaded before the pass are not counted
  EXPECT_EQ(rows.RowsSeen(), 3u);    // each handed on once: a table to recover again
  EXPECT_FALSE(runner.Control().Running());
  EXPECT_EQ(dir.Names(), std::set<std::string>{"old.txt"});
}

}  // namespace
}  // namespace vt::test
