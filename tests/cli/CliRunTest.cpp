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
#include "cli/CliWindow.h"
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

  TCliWindow window(TRowKeeping::Keep, {}, false);
  TPassRunner runner(window, environment);
  EXPECT_EQ(runner.RunSearch(options, CaptureSettings(InsertAtBeginning("x")), false), TPassEnd::StoppedByUser);
  EXPECT_EQ(window.ResultTable().RowCount(), 0u);
  EXPECT_EQ(window.StatusText(0), std::string(Message(Msg::ProcessOk)));
  EXPECT_EQ(window.StatusText(1), std::string(Message(Msg::StoppedByUser)));
  EXPECT_FALSE(window.FRunning());
  EXPECT_FALSE(window.UndoEnabled());  // no rows to recover
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
  TCliWindow window(
      TRowKeeping::Drop,
      [&](const TResultRow& row, TRenameStatus status, int error) {
        EXPECT_EQ(row.KnownStatus(), status);
        EXPECT_EQ(row.SystemError, error);
        seen.push_back(row.OldName + "|" + std::string(row.StatusWord()) + "|" + std::to_string(error));
      },
      false);
  TPassRunner runner(window, TRunnerEnvironment{});
  TSearchPassOptions options = Options(dir);
  options.Masks = "a.txt;b.txt";
  EXPECT_EQ(runner.RunSearch(options, CaptureSettings(InsertAtBeginning("x")), false), TPassEnd::Completed);
  EXPECT_EQ(seen, (std::vector<std::string>{"a.txt|Error|" + std::to_string(EEXIST), "b.txt|Ok|0"}));
  EXPECT_EQ(window.ResultTable().RowCount(), 0u);
  EXPECT_EQ(window.RowsSeen(), 2u);
  EXPECT_EQ(window.FailedRows(), 1u);
  EXPECT_EQ(dir.Names(), (std::set<std::string>{"a.txt", "xa.txt", "xb.txt"}));
}

TEST(CliRun, RecoverUndoesTheRowsOfTheTableAndCountsFilesNotFound) {
  TTempFolder dir;
  dir.WriteFile("new.txt");
  TCliWindow window(TRowKeeping::Keep, {}, false);
  window.ResultTable().AppendRow("old.txt", "new.txt", dir.Folder(), "Ok");
  window.ResultTable().AppendRow("gone.txt", "vanished.txt", dir.Folder(), "Ok");
  window.ResultTable().AppendRow("c.txt", "d.txt", dir.Folder(), "Can be renamed");
  TPassRunner runner(window, TRunnerEnvironment{});
  runner.RunRecover();
  ASSERT_EQ(window.ResultTable().RowCount(), 3u);
  EXPECT_EQ(window.ResultTable().Row(0).KnownStatus(), TRenameStatus::rsOk);
  EXPECT_EQ(window.ResultTable().Row(1).KnownStatus(), TRenameStatus::rsFileNotFound);
  EXPECT_EQ(window.ResultTable().Row(2).KnownStatus(), TRenameStatus::rsNoChange);
  EXPECT_EQ(window.FailedRows(), 1u);  // rows loaded before the pass are not counted
  EXPECT_TRUE(window.UndoEnabled());
  EXPECT_EQ(dir.Names(), std::set<std::string>{"old.txt"});
}

}  // namespace
}  // namespace vt::test
