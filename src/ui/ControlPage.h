#pragma once
// The "Control" page (TabSheetControls): the folder, the file masks and the
// file list, the treatments, the operation list and, beside it, the operation
// settings pages. It owns its controls and handles them; to the window it is
// what a pass started now would walk and the settings it would rename with.
#include <QWidget>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/RenameSettings.h"
#include "engine/SettingsChecks.h"
#include "passes/SearchPassOptions.h"

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;

namespace vt {

class TFileListBox;
class TFilePreview;
class TNamePreviewWorker;
class TFilterDirectoryListBox;
class TFilterDriveComboBox;
class TSettingsPages;

class TControlPage : public QWidget {
 public:
  explicit TControlPage(QWidget* parent = nullptr);
  ~TControlPage() override;

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
  // The new names beside the file list's names, as the settings stand; the
  // switch is remembered by the caller.
  void SetPreviewOn(bool on);
  bool PreviewOn() const { return PreviewOn_; }
  // The preview of the whole list is shown for the settings as they stand.
  bool PreviewSettled() const;
  // "Let renames make room for each other", for the window's Execute menu.
  QAction* ChainsItem() const { return Ui_.ChainsItem; }

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void Build();
  void EdSearchChange();
  void LstBoxActionsClick();
  // The preview follows every change of a setting, the operation and the list.
  void WatchSettings();
  void PreviewSoon();
  void UpdatePreview();
  void PreviewRowsInView();
  void TakePreview();
  void PreviewDone(std::uint64_t generation, std::shared_ptr<const TFilePreview> preview);
  void SayInStatusBar(const QString& text);
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
    QAction* ChainsItem = nullptr;
    QLabel* LblOrder = nullptr;
    QComboBox* ComboOrder = nullptr;
    QCheckBox* ChkBxReverse = nullptr;
    QGroupBox* GroupBoxActions = nullptr;
    QListWidget* LstBoxActions = nullptr;
    TSettingsPages* PageCtrlSettings = nullptr;
  };
  TControls Ui_;
  bool PreviewOn_ = false;
  bool PreviewDue_ = false;
  bool SettingsTouched_ = false;      // since start-up: a reason shows only once the user has begun
  std::uint64_t PreviewStarted_ = 0;  // the newest preview's number
  std::uint64_t PreviewShown_ = 0;    // that of the whole preview shown
  TRenameSettings PreviewSettings_;
  QString Said_;  // what the preview put in the status bar
  // Last: joined before anything its results would reach goes.
  std::unique_ptr<TNamePreviewWorker> PreviewWorker_;
};

}  // namespace vt
