#pragma once
// What the main window shows of the passes the run control runs: the status
// panels, the run and result commands (through the enabling rules), the file
// list re-read and the rows in the table. Every call comes on the window thread.
#include "passes/PassEvents.h"

namespace vt {

class TForm1;

class TForm1PassEvents final : public IPassEvents {
 public:
  explicit TForm1PassEvents(TForm1& form) : Form_(form) {}

  void PassStarted(TPassKind kind) override;
  void PassRows(std::span<TPassRow> rows) override;
  void FolderUnreadable(const std::string& folder, int error) override;
  void PassEnded(TPassKind kind, TPassStopped stopped) override;
  // Stop was taken: the pass runs on until it has finished its entry.
  void PassStopping();

 private:
  TForm1& Form_;
};

}  // namespace vt
