#pragma once
// Real temporary folder trees, a window over a TResultTable, and running a pass
// to its end through a run control.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "passes/ResultTable.h"
#include "passes/RunControl.h"
#include "passes/RunWindow.h"
#include "passes/SearchThread.h"
#include "passes/UndoThread.h"
#include "support/ControlValues.h"
#include "support/TempFolder.h"

namespace vt::test {

// A tree in the tests' one temporary folder, with the paths as the passes
// write folders: ending with "/".
class TTempTree {
 public:
  // base: where the tree is made; the system's temporary folder by default.
  explicit TTempTree(const std::filesystem::path& base = std::filesystem::temp_directory_path())
      : Folder_(base), Root_(Folder_.Folder()) {}

  // Ends with "/".
  const std::string& Root() const { return Root_; }
  std::string Path(const std::string& relative) const { return Root_ + relative; }

  void File(const std::string& relative, const std::string& content = "x") const {
    std::ofstream(Path(relative), std::ios::binary) << content;
  }
  void Folder(const std::string& relative) const { Folder_.MakeFolder(relative); }
  bool Exists(const std::string& relative) const { return Folder_.Exists(relative); }
  std::string Content(const std::string& relative) const { return Folder_.ReadFile(relative); }
  // Sorted names of a folder.
  std::vector<std::string> Names(const std::string& relative = "") const;

 private:
  TTempFolder Folder_;
  std::string Root_;
};

// The window as the passes and the run control see it; checks that every call
// arrives on the window thread.
class TTestWindow final : public IRunWindow {
 public:
  TResultTable Table;
  bool Running = false;
  bool Simulation = false;
  bool SearchControlsEnabled = true;
  bool UndoEnabled = false;
  bool SaveResultEnabled = false;
  std::string Panel[2];
  int Refreshes = 0;
  std::atomic<bool> RecordAll{false};
  mutable std::atomic<int> CallsOffWindowThread{0};
  std::vector<std::string> EndCalls;                    // the end-of-pass calls, in order
  std::vector<std::pair<std::string, int>> Unreadable;  // folders the walk could not read

  TResultTable& ResultTable() override { return Check(), Table; }
  void EnableSearchControls(bool enable) override {
    Check();
    EndCalls.push_back(enable ? "EnableSearchControls(true)" : "EnableSearchControls(false)");
    SearchControlsEnabled = enable;
    UndoEnabled = enable && Table.RowCount() > 0 && !Simulation;
    if (!Simulation) SaveResultEnabled = true;
  }
  void SetStatusText(int panel, const std::string& text) override {
    Check();
    Panel[panel] = text;
  }
  bool FRunning() const override { return Check(), Running; }
  void SetFRunning(bool running) override {
    Check();
    if (!running) EndCalls.push_back("SetFRunning(false)");
    Running = running;
  }
  bool FSimulation() const override { return Check(), Simulation; }
  void SetFSimulation(bool simulation) override {
    Check();
    if (!simulation) EndCalls.push_back("SetFSimulation(false)");
    Simulation = simulation;
  }
  void RefreshFileList() override {
    Check();
    EndCalls.push_back("RefreshFileList");
    ++Refreshes;
  }
  void EnableUndo() override {
    Check();
    EndCalls.push_back("EnableUndo");
    UndoEnabled = true;
  }
  const std::atomic<bool>& RecordAllMessages() const override { return RecordAll; }
  void DisableSaveResult() override {
    Check();
    SaveResultEnabled = false;
  }
  void PassRows(std::span<const TPassRow> rows) override {
    Check();
    Table.AppendRows(rows);
  }
  void FolderUnreadable(const std::string& folder, int error) override {
    Check();
    Unreadable.emplace_back(folder, error);
  }

 private:
  void Check() const {
    if (std::this_thread::get_id() != WindowThread_) ++CallsOffWindowThread;
  }
  std::thread::id WindowThread_ = std::this_thread::get_id();
};

// Rename, or Simulate when the window is in simulation mode, run to its end.
void RunSearch(TTestWindow& window, const TSearchPassOptions& options, const TControlValues& controls);
// Recover over the window's table, run to its end; journal as TRunControl::Recover takes it.
void RunUndo(TTestWindow& window, IPassJournal* journal = nullptr);

struct TRowTexts {
  std::string File, NewName, Path, Status;
  bool operator==(const TRowTexts&) const = default;
};
std::vector<TRowTexts> RowTexts(const TResultTable& table);
void PrintTo(const TRowTexts& row, std::ostream* out);

// Control values for Insert of text at the beginning, and for Number with its defaults.
TControlValues InsertAtBeginning(const std::string& text);
TControlValues NumberDefaults();
// Memory-backed where the system has it: for trees of many files.
std::filesystem::path FastTempBase();
// Plain files of a listing, in the order the platform returns them.
std::vector<std::string> ListedFiles(const std::string& folder, const std::string& mask);

}  // namespace vt::test
