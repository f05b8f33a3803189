#pragma once
// The main window's controls, one pointer per control, named as the controls'
// objectNames, grouped by where they sit: the window's commands, the "Control"
// page, the operation settings pages and the "Result" page. Plain holders,
// private to the window, which builds and owns the widgets; a helper of the
// window takes the group it works on. Tests and other code find a control by
// its objectName.

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QMenuBar;
class QPushButton;
class QStackedWidget;
class QStatusBar;
class QTabWidget;
class QToolButton;
class QWidget;

namespace vt {

class TFileListBox;
class TFilterDirectoryListBox;
class TFilterDriveComboBox;
class TResultListView;
class TUpDown;

// The window's own: the pages, the command buttons, the status bar and menus.
struct TWindowControls {
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

// Page "Control": where and what to rename, and the operation chosen.
struct TControlPageControls {
  QWidget* TabSheetControls = nullptr;
  QFrame* Panel1 = nullptr;
  TFilterDriveComboBox* FilterDriveComboBox1 = nullptr;
  TFilterDirectoryListBox* FilterDirectoryListBox1 = nullptr;
  QLabel* Label1 = nullptr;
  QLineEdit* EdSearch = nullptr;
  TFileListBox* FileListBox1 = nullptr;
  QGroupBox* GroupBoxTreatments = nullptr;
  QCheckBox* ChkBxIncSubDir = nullptr;
  QCheckBox* ChkBxForceReadOnly = nullptr;
  QGroupBox* GroupBoxActions = nullptr;
  QListWidget* LstBoxActions = nullptr;
  QStackedWidget* PageCtrlSettings = nullptr;
};

// The six operation settings pages shown in PageCtrlSettings.
struct TSettingsPagesControls {
  // Settings page 0, Search/Replace
  QWidget* TabSheetSetSearch = nullptr;
  QLabel* Label3 = nullptr;
  QLineEdit* EdSearchFor = nullptr;
  QLabel* Label2 = nullptr;
  QLineEdit* EdReplaceWith = nullptr;
  QCheckBox* ChkBxSearchInExt = nullptr;
  QCheckBox* ChkBxSearchRecursive = nullptr;
  QCheckBox* ChkBxCaseSensitive = nullptr;

  // Settings page 1, Insert
  QWidget* TabSheetSetInsert = nullptr;
  QLabel* Label4 = nullptr;
  QLineEdit* EdInsert = nullptr;
  QComboBox* ComboInsertTo = nullptr;
  QLineEdit* EdInsertPos = nullptr;
  TUpDown* UpDownInsertPos = nullptr;

  // Settings page 2, Remove
  QWidget* TabSheetSetDelete = nullptr;
  QLabel* Label5 = nullptr;
  QComboBox* ComboItemToDelete = nullptr;
  QLineEdit* EdDelete = nullptr;
  QCheckBox* ChkBxDelRecursive = nullptr;
  QCheckBox* ChkBxCaseSensDel = nullptr;
  QLabel* LabelNnrDelete = nullptr;
  QLineEdit* EdNbrDelete = nullptr;
  TUpDown* UpDownNbrDelete = nullptr;
  QComboBox* ComboDeleteFrom = nullptr;
  QLineEdit* EdDeletePos = nullptr;
  TUpDown* UpDownDeletePos = nullptr;

  // Settings page 3, Number
  QWidget* TabSheetSetNumber = nullptr;
  QLabel* Label6 = nullptr;
  QLineEdit* EdStartNumber = nullptr;
  TUpDown* UpDownStartNumber = nullptr;
  QLabel* Label7 = nullptr;
  QLineEdit* EdIncrement = nullptr;
  TUpDown* UpDownIncrement = nullptr;
  QCheckBox* ChkBxUseBaseFilename = nullptr;
  QLabel* LblBaseFilename = nullptr;
  QComboBox* ComboBaseFileName = nullptr;
  QComboBox* ComboNumberInsertTo = nullptr;
  QLineEdit* EdNumberPos = nullptr;
  TUpDown* UpDownNumberPos = nullptr;
  QCheckBox* ChkBxUseLeadingZero = nullptr;
  QCheckBox* ChkBxDecrement = nullptr;

  // Settings page 4, Change Case
  QWidget* TabSheetSetCaseSensitive = nullptr;
  QLabel* Label8 = nullptr;
  QComboBox* ComboChangeCase = nullptr;
  QCheckBox* ChkBxChangecaseWithExt = nullptr;

  // Settings page 5, Truncate
  QWidget* TabSheetSetTruncate = nullptr;
  QLabel* Label9 = nullptr;
  QComboBox* ComboTruncateTo = nullptr;
  QLineEdit* EdNbrTruncate = nullptr;
  TUpDown* UpDownNbrTruncate = nullptr;
};

// Page "Result"
struct TResultPageControls {
  QWidget* TabSheetResults = nullptr;
  TResultListView* ListView = nullptr;
  QFrame* Panel2 = nullptr;
  QCheckBox* ChkBxAllRecord = nullptr;
  QPushButton* BtLoadResult = nullptr;
  QPushButton* BtSaveAsResult = nullptr;
  QPushButton* BtClearResult = nullptr;
};

// All of them, as the window holds them.
struct TForm1Controls : TWindowControls, TControlPageControls, TSettingsPagesControls, TResultPageControls {};

}  // namespace vt
