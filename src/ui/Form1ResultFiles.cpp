// Save Result, Load Result and Clear Result: the commands on the result table's
// files. The "Result" page asks for the files and reads and writes them; the
// window switches the pages, the record of the rows and the commands.
#include <QAction>
#include <QTabWidget>

#include "engine/Messages.h"
#include "results/RecordToRecover.h"
#include "ui/ControlPage.h"
#include "ui/Form1.h"
#include "ui/Form1Commands.h"
#include "ui/Form1RunControl.h"
#include "ui/MessageBoxes.h"
#include "ui/ResultPage.h"

namespace vt {
namespace {

QString Text(std::string_view bytes) { return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size())); }

}  // namespace

void TForm1::BtSaveAsResultClick() { SaveResultToFile(); }

// A record still being kept is waited for first: the file chosen may be one of
// the records' folder, or the record itself.
void TForm1::SaveResultToFile() {
  RunControl_->WaitForRecord();
  ResultPage_->SaveToFile();
}

void TForm1::BtLoadResultClick() {
  RunControl_->WaitForRecord();
  const std::optional<std::string> path = ResultPage_->ChooseFileToLoad();
  if (!path) return;
  // A pass's journal: its rows settled from the disk, as a kept pass of the history loads.
  if (FileIsJournal(*path)) {
    HistoryChain_ = {*path};
    LoadNextOfHistory();
    return;
  }
  ShowResultPage();
  // A failure keeps what was applied before it; no command changes.
  if (!ResultPage_->LoadFile(*path)) return;
  // An older version's automatic record keeps its journal beside it; a Recover
  // of its rows marks the journal recovered, as the command line does.
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
  RunControl_->WaitForRecord();  // else its end would give the cleared table its journal again
  ResultTable_.Clear();
  RunControl_->Journal().SetTableJournal({});
  ResultClearedCommands();
  PageControl1->setCurrentWidget(ControlPage_);
}

// The commands a load and a clear switch, by the rules the command line shares.
// Each item carries its button along.
void TForm1::ResultLoadedCommands() { ApplyCommandStates(ResultLoaded(CurrentCommandStates(), WindowFacts())); }

void TForm1::ResultClearedCommands() { ApplyCommandStates(ResultCleared(CurrentCommandStates(), WindowFacts())); }

TCommandStates TForm1::CurrentCommandStates() const { return CommandStates(*this); }

// Whether a pass is alive comes from the run control: a load or a clear during a
// pass must not offer a command that starts another.
TWindowFacts TForm1::WindowFacts() const { return RunControl_->Control().Facts(); }

void TForm1::ApplyCommandStates(const TCommandStates& states) { SetCommandStates(*this, states); }

}  // namespace vt
