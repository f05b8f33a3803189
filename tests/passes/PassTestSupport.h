#pragma once
// Real temporary folder trees, a front end's side of running passes, and
// running a pass to its end through a run control.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "passes/CommandStates.h"
#include "passes/PassEvents.h"
#include "passes/ResultTable.h"
#include "passes/RunControl.h"
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

// A front end's side of running passes, without widgets: it owns a run control
// over its table and takes the events as the window does (the rows into the
// table, the commands through the enabling rules). It records the starts and
// ends in order and checks that every event arrives on the thread that owns it.
class TTestOwner final : public IPassEvents {
 public:
  TResultTable Table;
  TCommandStates States;
  bool Simulate = false;  // what RunSearch starts: a simulation, or a rename pass
  // "Started(Rename)", "Ended(Simulate)", "Ended(Rename, stopped)", ...
  std::vector<std::string> Events;
  std::vector<std::pair<std::string, int>> Unreadable;  // folders the walk could not read
  std::atomic<int> CallsOffOwnerThread{0};

  void PassStarted(TPassKind kind) override;
  void PassRows(std::span<TPassRow> rows) override;
  void FolderUnreadable(const std::string& folder, int error) override;
  void PassEnded(TPassKind kind, TPassStopped stopped) override;
  // The last start or end told; empty when none.
  std::string LastEvent() const { return Events.empty() ? std::string() : Events.back(); }

 private:
  void Check() {
    if (std::this_thread::get_id() != OwnerThread_) ++CallsOffOwnerThread;
  }
  std::thread::id OwnerThread_ = std::this_thread::get_id();

 public:
  TRunControl Control{Table, *this};  // last: goes first
};

// Rename, or Simulate when the owner asks for it, run to its end.
void RunSearch(TTestOwner& owner, const TSearchPassOptions& options, const TControlValues& controls);
// Recover over the owner's table, run to its end; journal as TRunControl::Recover takes it.
void RunUndo(TTestOwner& owner, IPassJournal* journal = nullptr);

struct TRowTexts {
  std::string File, NewName, Path, Status;
  bool operator==(const TRowTexts&) const = default;
};
std::vector<TRowTexts> RowTexts(const TResultTable& table);
void PrintTo(const TRowTexts& row, std::ostream* out);

// Control values for Insert of text at the beginning, and for Number with its defaults.
TControlValues InsertAtBeginning(const std::string& text);
// Every file of FOLDER, its renames written to JOURNAL (none for a simulation).
TSearchPassOptions JournaledPass(const std::string& folder, IPassJournal* journal);
TControlValues NumberDefaults();
// Memory-backed where the system has it: for trees of many files.
std::filesystem::path FastTempBase();
// Plain files of a listing, in the order the platform returns them.
std::vector<std::string> ListedFiles(const std::string& folder, const std::string& mask);

}  // namespace vt::test
