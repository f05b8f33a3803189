#pragma once
// The window's handlers for running passes: Rename, Simulate, Stop, Recover,
// Quit, the close request and the keys the window sees first (Escape, F1).
// TForm1 keeps the handler names and calls these.
//
// The window owns its pass through the run control: a timer takes the pass's
// rows into the table in batches while the pass is alive, so the worker never
// waits for the window and the window paints between batches. Destroying this
// object stops a rename pass and joins its worker.
#include <QObject>
#include <QTimer>

#include "passes/RunControl.h"
#include "ui/Form1PassJournal.h"
#include "ui/Form1PassWindow.h"

class QCheckBox;

namespace vt {

class TForm1;

class TForm1RunControl final : public QObject, public ICloseQueryWindow {
 public:
  TForm1RunControl(TForm1& form, const QCheckBox& allRecord);
  ~TForm1RunControl() override;

  TRunControl& Control() { return Control_; }
  const TRunControl& Control() const { return Control_; }
  TForm1PassJournal& Journal() { return Journal_; }

  // After the checks have passed.
  void BtRenameClick();
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
  void WaitForPassEnd() override;

 protected:
  // Key preview: every key pressed in the window reaches FormKeyDown first.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void PassStarted();
  void PumpRows();
  // Once the pass has ended: its journal becomes its record.
  void PassEnded(bool stopped);
  bool StopAsked() const;

  TForm1& Form_;
  TForm1PassWindow PassWindow_;
  TForm1PassJournal Journal_;  // outlives the pass that writes it
  TRunControl Control_;        // after the pass window and the journal: goes first
  QTimer RowTimer_;
  bool Closing_ = false;
  bool EndingBySignal_ = false;
};

}  // namespace vt
