#pragma once
// The "Control" page (TabSheetControls): the folder, the file masks and the
// file list, the treatments, the operation list and, beside it, the operation
// settings pages. It owns its controls and handles them; to the window it is
// what a pass started now would walk and the settings it would rename with.
#include <QWidget>
#include <string>
#include <vector>

#include "engine/RenameSettings.h"
#include "engine/SettingsChecks.h"
#include "passes/SearchPassOptions.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;

namespace vt {

class TFileListBox;
class TFilterDirectoryListBox;
class TFilterDriveComboBox;
class TSettingsPages;

class TControlPage : public QWidget {
 public:
  explicit TControlPage(QWidget* parent = nullptr);

  // The folder of the folder list with a final "/", the masks of EdSearch,
  // "Include sub-directories", the order and "Restart numbering in each folder".
  TSearchPassOptions PassOptions() const;
  // The values the checks before a pass read, and the settings a pass renames with.
  TControlValues Values() const;
  TRenameSettings Settings() const;
  // The field a refused check names, focused; the window shows the page first.
  void FocusCheckedField(TCheckedField field);
  // The file list read anew, with the names a pass has left.
  void RefreshFileList();
  // The focusable controls, in the order Tab reaches them.
  std::vector<QWidget*> FocusOrder() const;

 private:
  void Build();
  void EdSearchChange();
  void LstBoxActionsClick();
  void ComboOrderChange();

  // Named as their objectNames.
  struct TControls {
    QFrame* Panel1 = nullptr;
    TFilterDriveComboBox* FilterDriveComboBox1 = nullptr;
    TFilterDirectoryListBox* FilterDirectoryListBox1 = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* EdSearch = nullptr;
    TFileListBox* FileListBox1 = nullptr;
    QGroupBox* GroupBoxTreatments = nullptr;
    QCheckBox* ChkBxIncSubDir = nullptr;
    QCheckBox* ChkBxForceReadOnly = nullptr;
    QCheckBox* ChkBxRestartPerFolder = nullptr;
    QCheckBox* ChkBxUseFields = nullptr;
    QLabel* LblOrder = nullptr;
    QComboBox* ComboOrder = nullptr;
    QGroupBox* GroupBoxActions = nullptr;
    QListWidget* LstBoxActions = nullptr;
    TSettingsPages* PageCtrlSettings = nullptr;
  };
  TControls Ui_;
};

}  // namespace vt
