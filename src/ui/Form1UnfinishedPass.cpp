// The start-up question about a rename pass that never ended: killed, crashed
// or cut off by a power loss, its journal still holds every rename it made.
#include <cstdlib>

#include "results/RecordToRecover.h"
#include "ui/Form1.h"
#include "ui/Form1PassJournal.h"
#include "ui/Form1RunControl.h"
#include "ui/MessageBoxes.h"

namespace vt {
namespace {

QString Text(const std::string& bytes) { return QString::fromStdString(bytes); }

QString UnfinishedPassText(const TJournal& journal, const std::string& path) {
  const std::size_t renamed = RenamedRows(journal);
  return QString(
             "A rename pass started %1 in %2 did not end: %3 renamed. Its rows are in %4.\n\n"
             "Load them into the result table so that Recover can undo them?")
      .arg(Text(UtcText(journal.Header.StartedUtcNs)), Text(journal.Header.Folder),
           renamed == 1 ? QStringLiteral("1 file was") : QString("%1 files were").arg(renamed), Text(path));
}

}  // namespace

void TForm1::OfferUnfinishedPass() {
  // A journal whose record is still being kept is no pass cut off.
  RunControl_->WaitForRecord();
  // Records another user could have planted are not offered; a pass says why.
  const TRecordToRecover unfinished =
      FindRecordToRecover([](const char* name) { return std::getenv(name); }, TRecordWanted::Unfinished);
  if (!unfinished.Found()) return;
  const TJournal& journal = unfinished.Journal;
  // No, or closing the box: the journal stays for later, or for recover --last.
  if (ShowMessageBox(TMessageKind::Confirmation, UnfinishedPassText(journal, unfinished.File)) != TAnswer::Yes) return;
  JournalToTable(journal, ResultTable_);
  RunControl_->Journal().SetTableJournal(unfinished.File);
  ShowResultPage();
  if (ResultTable_.RowCount() > 0) ResultLoadedCommands();
}

}  // namespace vt
