// Save Result, Load Result and Clear Result: the result table to and from files.
#include <QAction>
#include <QFileDialog>
#include <QTabWidget>

#include "browse/ApplicationError.h"
#include "browse/BusyCursor.h"
#include "engine/Messages.h"
#include "passes/UndoRowChecks.h"
#include "platform/AppendFile.h"
#include "results/JournalReader.h"
#include "results/PassJournals.h"
#include "results/ResultFile.h"
#include "results/UndoFromFile.h"
#include "ui/Form1.h"
#include "ui/Form1Commands.h"
#include "ui/Form1RunControl.h"
#include "ui/MessageBoxes.h"
#include "ui/NameBytes.h"
#include "ui/ResultFileDialog.h"

namespace vt {
namespace {

QString Text(std::string_view bytes) { return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size())); }

void ShowNotAResultFile() { ShowMessageBox(TMessageKind::Error, Text(Message(Msg::NotAResultFile))); }

QString RowsNotUndoableText(std::size_t count) {
  return QString(
             "%1 of the rows saved cannot be undone from this file: the path of their folder is %2 "
             "bytes or longer, and a result file keeps only the first %3 bytes of a text, so Recover "
             "will refuse them after loading it.\n\nTo undo them, use Recover now, before the table "
             "is cleared.")
      .arg(count)
      .arg(kShortestCutText)
      .arg(kResultTextLimit);
}

void ShowRowsNotUndoable(std::size_t count) { ShowMessageBox(TMessageKind::Information, RowsNotUndoableText(count)); }

// An automatic record keeps its journal beside it; a Recover of its rows marks
// the journal recovered, as the command line does.
std::string JournalOfRecord(const std::string& path) {
  const std::string journal = JournalPathFor(path);
  std::string start;
  if (journal == path || ReadFileStart(journal, kJournalSignature.size(), start) != 0 || !IsJournal(start)) return {};
  return journal;
}

}  // namespace

void TForm1::ConnectResultFileHandlers() {
  connect(SaveAsItem, &QAction::triggered, this, &TForm1::BtSaveAsResultClick);
  connect(LoadResultItem, &QAction::triggered, this, &TForm1::BtLoadResultClick);
  connect(ClearResultItem, &QAction::triggered, this, &TForm1::BtClearResultClick);
}

void TForm1::BtSaveAsResultClick() { SaveResultToFile(); }

void TForm1::SaveResultToFile() {
  // Set even when nothing is saved, as every showing of the dialog expects it.
  SaveDialog1()->setDefaultSuffix("vtr");
  if (ResultTable_.RowCount() == 0) return;
  const std::optional<std::string> path = ChooseResultFile(*SaveDialog1());
  if (!path) return;
  TResultFileStatus status;
  {
    const TBusyCursor busy;
    status = SaveResultFile(ResultTable_, ResultLayout_, *path);
  }
  if (!status) {
    // "Cannot create file %s" or "Stream write error"; the old file, if any, is untouched.
    ReportApplicationError(NameText(status.Error().Message));
    return;
  }
  if (const std::size_t lost = CountRowsNotUndoableFromFile(ResultTable_.Rows())) ShowRowsNotUndoable(lost);
}

void TForm1::BtLoadResultClick() {
  const std::optional<std::string> path = ChooseResultFile(*OpenDialog1());
  if (!path) return;
  PageControl1->setCurrentWidget(TabSheetResults);
  TResultFileStatus status;
  {
    const TBusyCursor busy;
    status = LoadWholeResultFile(*path, ResultTable_, ResultLayout_);
  }
  if (!status && status.Error().Kind == TResultFileError::CannotOpen) {
    ReportApplicationError(NameText(status.Error().Message));
    return;
  }
  if (!status) {
    // The table keeps what was applied before the failure; no command changes.
    ShowNotAResultFile();
    return;
  }
  RunControl_->Journal().SetTableJournal(JournalOfRecord(*path));
  if (ResultTable_.RowCount() > 0) ResultLoadedCommands();
}

void TForm1::BtClearResultClick() {
  if (ResultTable_.RowCount() == 0) return;
  TAnswer answer = TAnswer::No;
  if (SaveAsItem->isEnabled())
    answer = ShowMessageBox(TMessageKind::Confirmation, Text(Message(Msg::SaveBeforeClearing)));
  if (answer == TAnswer::Yes)
    SaveResultToFile();  // saved or not, the clearing goes on
  else if (answer == TAnswer::Cancel)
    return;
  ResultTable_.Clear();
  RunControl_->Journal().SetTableJournal({});
  ResultClearedCommands();
  PageControl1->setCurrentWidget(TabSheetControls);
}

// The commands a load and a clear switch, by the rules the command line shares.
// Each item carries its button along.
void TForm1::ResultLoadedCommands() { ApplyCommandStates(ResultLoaded(CurrentCommandStates(), WindowFacts())); }

void TForm1::ResultClearedCommands() { ApplyCommandStates(ResultCleared(CurrentCommandStates(), WindowFacts())); }

TCommandStates TForm1::CurrentCommandStates() const { return CommandStates(*this); }

// Whether a pass is alive comes from the run control: a load or a clear during a
// pass must not offer a command that starts another.
TWindowFacts TForm1::WindowFacts() const { return RunControl_->Control().Facts(); }

void TForm1::ApplyCommandStates(const TCommandStates& states) { SetCommandStates(*this, *this, states); }

}  // namespace vt
