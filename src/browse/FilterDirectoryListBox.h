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
  int CurrentFolderIndex() const { return currentIndex_; }
  bool PreservesCase() const { return preserveCase_; }
  bool CaseSensitive() const { return caseSensitive_; }

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

  std::string directory_;
  bool preserveCase_ = true;
  bool caseSensitive_ = true;
  int currentIndex_ = -1;
  std::vector<std::string> names_;  // the bytes each item stands for
  std::vector<TGlyph> glyphs_;
  QPointer<TFileListBox> fileList_;
  QPointer<TFilterDriveComboBox> driveBox_;
  bool inSetFolder_ = false;
  bool created_ = false;
};

}  // namespace vt
