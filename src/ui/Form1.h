#pragma once
// The main window: a holder of its own controls (TForm1Controls: menus, command
// buttons, status bar, page control) and of its pages, which own theirs. It
// connects the pages and the commands and runs the sequence of a pass. Its face
// to others is what it does (the settings of a pass, its commands) and, for
// tests and accessibility, each control's objectName.
#include <QMainWindow>
#include <memory>
#include <string>
#include <vector>

#include "engine/RenameSettings.h"
#include "passes/CommandStates.h"
#include "passes/ResultTable.h"
#include "passes/SearchPassOptions.h"
#include "results/ResultLayout.h"
#include "ui/Form1Controls.h"

namespace vt {

class TControlPage;
class TErrorReasons;
class TForm1RunControl;
class THelpWindow;
class THistoryWindow;
struct THistoryEntry;
class TResultPage;
class TRunControl;

class TForm1 : public QMainWindow, private TForm1Controls {
  Q_OBJECT
 public:
  explicit TForm1(QWidget* parent = nullptr);
  ~TForm1() override;

  TResultTable& ResultTable() { return ResultTable_; }
  TResultLayout& ResultLayout() { return ResultLayout_; }
  // Why rows of the last pass failed, as the pass tells it.
  TErrorReasons* ErrorReasons() const { return ErrorReasons_; }

  // Status-bar panels 0 and 1.
  void SetPanelText(int panel, const QString& text);
  QString PanelText(int panel) const;

  // The run state, as the run control keeps it: the pass started last is a
  // simulation and has not ended; a pass runs and has not been stopped.
  bool FSimulation() const;
  bool FRunning() const;
  TRunControl& RunControl();
  // The record of the last rename pass is still being kept (on a worker).
  bool KeepingRecord() const;
  // What a pass started now would walk, and the settings it would rename with.
  TSearchPassOptions PassOptions() const;
  TRenameSettings PassSettings() const;
  // The run and result commands, as the enabling rules see them.
  TCommandStates CurrentCommandStates() const;
  void ApplyCommandStates(const TCommandStates& states);
  void ShowResultPage();
  // The menu commands, as choosing them does (nothing while one is disabled).
  void TriggerHelpTopics();
  void TriggerSaveResult();
  // The file list read anew, with the names a pass has left.
  void RefreshFileList();
  // At start-up: when a rename pass of an earlier run never ended, asks whether
  // to load its rows so that Recover can undo them.
  void OfferUnfinishedPass();
  // SIGTERM or SIGHUP: closes as Quit answered "&Yes", keeping the record of a
  // running pass without asking.
  void EndBySignal();
  // The checks before a pass; a refusal shows its box, the "Control" page and
  // the field to correct. True lets the pass start.
  bool CheckSettings();
  // Where the help window finds the manual; tests point it elsewhere.
  void SetManualRoot(const QString& root) { ManualRoot_ = root; }

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildMenus();
  void BuildWindowControls();
  void LinkCommands();
  void SetFocusOrder();
  void FormCreate();
  void ConnectHandlers();
  void AddDesktopHelpers();
  void ResultLoadedCommands();
  void ResultClearedCommands();
  TWindowFacts WindowFacts() const;
  void CenterOnScreen();

  // Handlers
  void AboutItemClick();
  void HelpItemClick();
  void BtRenameClick();
  void BtSimulClick();
  void BtCancelClick();
  void SpBtUndoClick();
  void BtQuitClick();
  void FormCloseQuery(bool& canClose);
  // Result files: the table saved to, loaded from and cleared.
  void BtSaveAsResultClick();
  void BtLoadResultClick();
  void BtClearResultClick();
  // Asks for a file name and writes the table; also run by Clear and on closing.
  void SaveResultToFile();
  // Recover an earlier pass (Form1History.cpp).
  void HistoryItemClick();
  void LoadHistoryPass(const std::vector<THistoryEntry>& entries, std::size_t chosen);
  bool LoadNextOfHistory();
  void RecoverNextOfHistory();

  // Goes before the widgets (Qt deletes them in the base class): the result
  // list is detached from it in the destructor.
  TResultTable ResultTable_;
  TResultLayout ResultLayout_;
  TControlPage* ControlPage_ = nullptr;
  TResultPage* ResultPage_ = nullptr;
  THelpWindow* HelpWindow_ = nullptr;
  THistoryWindow* HistoryWindow_ = nullptr;
  // Journals of passes still to undo one after another, newest first.
  std::vector<std::string> HistoryChain_;
  TErrorReasons* ErrorReasons_ = nullptr;
  QString ManualRoot_;
  bool Centered_ = false;
  // Made once the controls exist; goes first, so no pass outlives the window.
  std::unique_ptr<TForm1RunControl> RunControl_;
};

}  // namespace vt
