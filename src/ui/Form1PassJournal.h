#pragma once
// The journal of the window's real passes. A Rename or Recover writes its rows
// ahead of its renames; once the pass has ended the journal of a rename is kept
// as its record in the records' folder, as the command line's is, and the
// folder pruned, on a worker of its own: the window paints meanwhile. The
// journal lives beside the run control and outlives the pass that writes it.
#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "passes/PassJournalWriter.h"
#include "results/PassRecordKeeper.h"

namespace vt {

// The records' folder of this user, ending with "/"; nothing without a home.
std::optional<std::string> RecordsFolder();

class TForm1PassJournal {
 public:
  // Before the pass: creates the journal. False, after an error box, when it
  // cannot be made: then nothing may be renamed. A folder open to others is
  // said in an information box.
  bool Start(TJournalKind kind, const std::string& folder, const std::string& what);
  // The journal of the pass about to start or running; null when none.
  IPassJournal* Writer() { return Writer_.get(); }
  // After the pass has ended. A recover's journal ends at once; a rename's
  // record is being kept until TakeRecord has taken it. When the record cannot
  // be completed, an error box (or standard error, once the window is going)
  // says where the rows are.
  enum class TFailureReport { Box, StandardError };
  void Finish(bool stopped, TFailureReport report = TFailureReport::Box);
  // The record of the last rename pass is still being kept or not yet taken.
  bool KeepingRecord() const { return !Keeper_.Idle(); }
  // Waits at most `most` for the record to be kept; true once it has.
  bool WaitForRecord(std::chrono::milliseconds most) const { return Keeper_.WaitFor(most); }
  // Once the record has been kept (waited for otherwise): its failure reported,
  // the table's journal set. Nothing when it has been taken already.
  void TakeRecord(TFailureReport report);

  // The journal whose rows the table shows, marked recovered once a Recover
  // of the window has undone them; empty when the rows have none. Only once
  // the record has been taken: taking it sets this.
  const std::string& TableJournal() const { return TableJournal_; }
  void SetTableJournal(std::string path) { TableJournal_ = std::move(path); }

 private:
  std::unique_ptr<TPassJournalWriter> Writer_;
  TJournalKind Kind_ = TJournalKind::Rename;
  std::string TableJournal_;
  TPassRecordKeeper Keeper_;  // last: its worker is joined before the rest goes
};

}  // namespace vt
