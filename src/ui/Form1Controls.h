#pragma once
// The main window's own controls, one pointer per control, named as the
// controls' objectNames: the page control, the command buttons, the status bar
// and the menus. A plain holder, private to the window, which builds and owns
// the widgets; the pages hold their own controls. Tests and other code find a
// control by its objectName.

class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QPushButton;
class QStatusBar;
class QTabWidget;
class QToolButton;
class QWidget;

namespace vt {

struct TForm1Controls {
  // The window, top to bottom
  QWidget* ClientArea = nullptr;
  QTabWidget* PageControl1 = nullptr;
  QPushButton* BtQuit = nullptr;
  QToolButton* SpBtUndo = nullptr;
  QPushButton* BtSimul = nullptr;
  QPushButton* BtCancel = nullptr;
  QPushButton* BtRename = nullptr;
  QStatusBar* StatusBar = nullptr;
  QLabel* StatusPanels[2] = {nullptr, nullptr};

  // Menus
  QMenuBar* MainMenu1 = nullptr;
  QMenu* FileMnu = nullptr;
  QAction* LoadResultItem = nullptr;
  QAction* SaveAsItem = nullptr;
  QAction* ClearResultItem = nullptr;
  QAction* N1 = nullptr;
  QAction* QuitItem = nullptr;
  QMenu* ExecMnu = nullptr;
  QAction* UndoItem = nullptr;
  QAction* HistoryItem = nullptr;
  QAction* N2 = nullptr;
  QAction* SimulItem = nullptr;
  QAction* RenameItem = nullptr;
  QAction* N4 = nullptr;
  QAction* StopItem = nullptr;
  QMenu* HelpMnu = nullptr;
  QAction* HelpItem = nullptr;
  QAction* N3 = nullptr;
  QAction* AboutItem = nullptr;
};

}  // namespace vt
