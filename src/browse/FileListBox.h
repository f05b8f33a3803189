#pragma once
// The files of a folder that the masks select, sorted without case.
#include <QListWidget>
#include <string>

namespace vt {

class TFileListBox : public QListWidget {
  Q_OBJECT
 public:
  explicit TFileListBox(QWidget* parent = nullptr);
  ~TFileListBox() override;

  const std::string& Folder() const;
  void SetFolder(const std::string& folder);
  const std::string& Mask() const;
  void SetMask(const std::string& mask);
  void FillFileList();
};

}  // namespace vt
