#pragma once
// The window's handlers for running passes: Rename, Simulate, Stop, Recover,
// Quit, the close request and the keys the window sees first (Escape, F1).
// TForm1 keeps the handler names and calls these.
//
// The window owns its pass through the run control: a timer takes the pass's
// rows into the table in batches while the pass is alive, so the worker never
// waits for the window and the window paints between batches. Once a rename
// pass has ended its record is kept on a worker, which the same timer looks in
// on; whatever needs the record waits for it first. Destroying this object
// stops a rename pass, joins its worker and waits for its record.
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>

#include "passes/RunControl.h"
#include "ui/Form1PassEvents.h"
#include "ui/Form1PassJournal.h"

class QCheckBox;
class QWidget;

namespace vt {

class TForm1;

class TForm1RunControl final : public QObject, public ICloseQueryWindow {
 public:
  TForm1RunControl(TForm1& form, const QCheckBox& allRecord);
  ~TForm1RunControl() override;

  TRunControl& Control() { return Control_; }
  const TRunControl& Control() const { return Control_; }
  TForm1PassJournal& Journal() { return Journal_; }

  // After the checks have passed; a rename pass with the options and settings
  // the checks saw.
  void BtRenameClick(const TSearchPassOptions& checkedOptions, const TRenameSettings& checkedSettings);
  void BtSimulClick();
  void BtCancelClick();
  void SpBtUndoClick();
  void FormCloseQuery(bool& canClose);
  // The next close asks nothing: a running pass is stopped and its end awaited.
  void EndingBySignal() { EndingBySignal_ = true; }
  void FormKeyDown(int key);

  // ICloseQueryWindow
  TAnswer Ask(TCloseQuestion question) override;
  TCommandStates CommandStates() const override;
  void ShowResultPage() override;
  void SaveResultToFile() override;
  // Until the pass has ended and its record has been kept.
  void WaitForPassEnd() override;

  // Waits, painting, until the record of the last rename pass has been kept,
  // and then shows its failure. Whatever starts a pass, reads or changes the
  // table's journal or looks in the records' folder calls this first.
  void WaitForRecord();
  // The record of the last rename pass is still being kept.
  bool KeepingRecord() const { return Journal_.KeepingRecord(); }
  // Called on the window's loop once a Recover has ended on its own (not
  // stopped, nor ended by a signal): undoing passes one after another.
  std::function<void()> AfterRecover;
  // The last Simulate or Rename let renames make room for each other.
  bool LastPassChains() const { return LastPassChains_; }

 protected:
  // Key preview: every key pressed in the window reaches FormKeyDown first.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // starter: the control the focus goes back to when the pass ends.
  void PassStarted(const char* starter);
  void ReturnFocus();
  // Stop, and its text in the status bar when a pass ran.
  void StopPass();
  void PumpRows();
  // Once the pass has ended: its journal becomes its record.
  void PassEnded(bool stopped);
  // No pass alive and no record being kept.
  void Settle();
  void TakeRecord();
  // Ending by a signal, no one may be there to answer a box.
  TForm1PassJournal::TFailureReport FailureReport() const;
  bool StopAsked() const;

  TForm1& Form_;
  bool RecoverRunning_ = false;
  TForm1PassEvents Events_;
  TForm1PassJournal Journal_;  // outlives the pass that writes it
  TRunControl Control_;        // after the events and the journal: goes first
  QTimer RowTimer_;
  QPointer<QWidget> Starter_;
  bool FocusMovedByUser_ = false;  // a click or Tab in the window since the pass started
  bool Closing_ = false;
  bool LastPassChains_ = false;
  bool EndingBySignal_ = false;
};

}  // namespace vt
