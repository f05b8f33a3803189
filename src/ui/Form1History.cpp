// Recover an earlier pass: the history window, and what choosing a pass in it
// does here. Its rows are loaded into the result table as Load Result loads a
// file, with its journal the table's, so that Recover undoes and marks it (an
// orphan, a result file alone, is loaded as Load Result loads it).
// When later passes renamed some of its files again, the box says so first and
// offers to undo them with it, newest first: one Recover after another, each
// with its journal, the next loaded once the one before has ended.
#include <QAction>
#include <QMessageBox>
#include <QPushButton>

#include "browse/BusyCursor.h"
#include "results/AutomaticResultFiles.h"
#include "results/JournalReader.h"
#include "results/RecordToRecover.h"
#include "ui/Form1.h"
#include "ui/Form1PassJournal.h"
#include "ui/Form1RunControl.h"
#include "ui/HistoryWindow.h"
#include "ui/MessageBoxes.h"
#include "ui/ResultPage.h"

namespace vt {
namespace {

QString Text(const std::string& bytes) { return QString::fromStdString(bytes); }

QString FilesText(std::uint64_t files) { return files == 1 ? QString("1 file") : QString("%1 files").arg(files); }

QString PassText(const THistoryEntry& entry) {
  return QString("%1 (%2, %3)").arg(Text(entry.Id), HistoryStartText(entry.StartedUtcNs), Text(entry.What));
}

}  // namespace

void TForm1::HistoryItemClick() {
  const std::optional<std::string> folder = RecordsFolder();
  if (!folder) {
    ShowMessageBox(TMessageKind::Error, "No pass is kept: there is no folder of records (HOME is not set).");
    return;
  }
  if (const std::optional<TUntrustedFolder> refused = RefusedRecordsFolder(*folder)) {
    ShowMessageBox(TMessageKind::Error,
                   "The kept passes are not read: " + Text(refused->Path) + " could be changed by another user.");
    return;
  }
  if (!HistoryWindow_) {
    HistoryWindow_ = new THistoryWindow(*folder, this);
    HistoryWindow_->Chosen = [this](const std::vector<THistoryEntry>& entries, std::size_t chosen) {
      LoadHistoryPass(entries, chosen);
    };
    RunControl_->AfterRecover = [this] { RecoverNextOfHistory(); };
  }
  HistoryWindow_->ShowHistory();
}

void TForm1::LoadHistoryPass(const std::vector<THistoryEntry>& entries, std::size_t chosen) {
  const THistoryEntry& entry = entries[chosen];
  // A pass running here, or the one chosen still running elsewhere.
  if (!LoadResultItem->isEnabled() || entry.Running) {
    ShowMessageBox(TMessageKind::Information, "Wait for the pass to end, then choose it again.");
    return;
  }
  if (entry.Kind == THistoryKind::Recover) {
    ShowMessageBox(TMessageKind::Information,
                   "This is a recover that was cut short. To finish it, Recover "
                   "the pass it was undoing again: " +
                       Text(entry.Folder));
    return;
  }
  RunControl_->WaitForRecord();
  std::vector<std::string> chain{entry.Journal};
  TExpected<TLaterPasses> later = TLaterPasses{};
  {
    TBusyCursor busy;
    later = FindLaterPasses(entries, chosen);
  }
  if (later && !later->Later.empty()) {
    QString names;
    for (const TLaterPass& pass : later->Later)
      names += "\n    " + PassText(entries[pass.Index]) + ": " + FilesText(pass.Files);
    QMessageBox box(QMessageBox::Warning, "Veltrane",
                    QString("%1 of this pass %2 renamed again by %3:%4\n\nUndone alone, they would be "
                            "\"File not found\". Undo the later passes with it, newest first?")
                        .arg(FilesText(later->Files), later->Files == 1 ? "was" : "were",
                             later->Later.size() == 1 ? QString("a later pass")
                                                      : QString("%1 later passes").arg(later->Later.size()),
                             names),
                    QMessageBox::NoButton, this);
    box.setObjectName("HistoryLaterBox");
    QPushButton* together = box.addButton("Undo &Together", QMessageBox::YesRole);
    together->setObjectName("BtHistoryTogether");
    QPushButton* alone = box.addButton("This Pass &Alone", QMessageBox::NoRole);
    alone->setObjectName("BtHistoryAlone");
    box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(together);
    box.exec();
    if (box.clickedButton() == together) {
      chain.clear();
      for (const TLaterPass& pass : later->Later) chain.push_back(entries[pass.Index].Journal);
      chain.push_back(entry.Journal);
    } else if (box.clickedButton() != alone) {
      return;
    }
  }
  HistoryChain_ = std::move(chain);
  LoadNextOfHistory();
}

bool TForm1::LoadNextOfHistory() {
  if (HistoryChain_.empty()) return false;
  const std::string path = HistoryChain_.front();
  HistoryChain_.erase(HistoryChain_.begin());
  TBusyCursor busy;
  if (!FileIsJournal(path)) {
    // An orphan: a result file an older version kept, whose journal is gone.
    ShowResultPage();
    if (!ResultPage_->LoadFile(path)) {
      HistoryChain_.clear();
      return false;
    }
    RunControl_->Journal().SetTableJournal(JournalOfRecord(path));
    if (ResultTable_.RowCount() > 0) ResultLoadedCommands();
    SetPanelText(0, "A result file of an older version: " + Text(path));
    return true;
  }
  TExpected<TJournal> loaded = LoadJournal(path);
  if (!loaded) {
    HistoryChain_.clear();
    ShowMessageBox(TMessageKind::Error, "Cannot open file " + Text(path) + ".");
    return false;
  }
  TJournal& journal = *loaded;
  SettleFromDisk(journal);
  JournalToTable(journal, ResultTable_);
  RunControl_->Journal().SetTableJournal(path);
  ShowResultPage();
  if (ResultTable_.RowCount() > 0) ResultLoadedCommands();
  QString shown =
      QString("A pass of %1 in %2").arg(HistoryStartText(journal.Header.StartedUtcNs), Text(journal.Header.Folder));
  if (!HistoryChain_.empty()) shown += QString("; Recover undoes it, then %1 more").arg(HistoryChain_.size());
  SetPanelText(0, shown);
  return true;
}

void TForm1::RecoverNextOfHistory() {
  // Undone: the table's journal was marked and let go. A failed Recover ends the line.
  if (HistoryChain_.empty() || !RunControl_->Journal().TableJournal().empty() || !isVisible()) {
    HistoryChain_.clear();
  } else if (LoadNextOfHistory() && UndoItem->isEnabled()) {
    UndoItem->trigger();
  }
  if (HistoryWindow_ && HistoryWindow_->isVisible()) HistoryWindow_->Refresh();
}

}  // namespace vt
