#pragma once
// The journal of the window's real passes. A Rename or Recover writes its rows
// ahead of its renames; once the pass has ended the journal of a rename becomes
// the automatic result file in the records' folder, as the command line's does.
// The journal lives beside the run control and outlives the pass that writes it.
#include <memory>
#include <optional>
#include <string>

#include "passes/PassJournalWriter.h"

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
  // After the pass has ended. When the record cannot be completed, an error box
  // (or standard error, once the window is going) says where the rows are.
  enum class TFailureReport { Box, StandardError };
  void Finish(bool stopped, TFailureReport report = TFailureReport::Box);

  // The journal whose rows the table shows, marked recovered once a Recover
  // of the window has undone them; empty when the rows have none.
  const std::string& TableJournal() const { return TableJournal_; }
  void SetTableJournal(std::string path) { TableJournal_ = std::move(path); }

 private:
  std::unique_ptr<TPassJournalWriter> Writer_;
  TJournalKind Kind_ = TJournalKind::Rename;
  std::string TableJournal_;
};

}  // namespace vt
