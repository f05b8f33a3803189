#pragma once
// The current folder with the chain of folders above it and the folders below it.
#include <QListWidget>
#include <string>

namespace vt {

class TFileListBox;
class TFilterDriveComboBox;

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

 signals:
  void FolderChanged();
};

}  // namespace vt
