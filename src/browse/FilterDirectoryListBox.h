#pragma once
// The current folder with the chain of folders above it and the folders below it.
#include <QListWidget>
#include <QPointer>
#include <string>
#include <vector>

#include "browse/Glyphs.h"

namespace vt {

class TFileListBox;
class TFilterDriveComboBox;

// Read when first shown; every move makes the shown folder the process's current folder.
class TFilterDirectoryListBox : public QListWidget {
  Q_OBJECT
 public:
  explicit TFilterDirectoryListBox(QWidget* parent = nullptr);
  ~TFilterDirectoryListBox() override;

  // The current folder as the system returns it: "/" for the root, no trailing "/" below it.
  const std::string& Directory() const;
  void SetFolder(const std::string& path);
  void ChangeDrive(const std::string& root);
  void ReadFolders();
  std::string ItemPath(int index) const;
  void OpenItemFolder();
  void SetFileList(TFileListBox* fileList);
  TFileListBox* FileList() const;

  // As ChangeDrive; false when the volume could not be made current (the error is reported).
  bool TryChangeDrive(const std::string& root);
  // Back link, set by the drive box's SetDirList.
  void SetDriveBox(TFilterDriveComboBox* driveBox);
  TFilterDriveComboBox* DriveBox() const;

  // What drawing needs.
  TGlyph ItemGlyph(int index) const;
  // Index of the current folder's item.
  int CurrentFolderIndex() const { return CurrentIndex_; }
  bool PreservesCase() const { return PreserveCase_; }
  bool CaseSensitive() const { return CaseSensitive_; }

 signals:
  void FolderChanged();

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  void AddItem(const std::string& name, TGlyph glyph);
  void AddSubFolders();
  void Notify();
  bool SameFolder(const std::string& a, const std::string& b) const;

  std::string Directory_;
  bool PreserveCase_ = true;
  bool CaseSensitive_ = true;
  int CurrentIndex_ = -1;
  std::vector<std::string> Names_;  // the bytes each item stands for
  std::vector<TGlyph> Glyphs_;
  QPointer<TFileListBox> FileList_;
  QPointer<TFilterDriveComboBox> DriveBox_;
  bool InSetFolder_ = false;
  bool Created_ = false;
};

}  // namespace vt
