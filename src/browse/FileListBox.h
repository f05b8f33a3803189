#pragma once
// The files of a folder that the masks select, sorted without case.
#include <QListView>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "browse/FileListing.h"

namespace vt {

enum class TFileAttr : std::uint8_t { ftReadOnly, ftHidden, ftSystem, ftVolumeID, ftDirectory, ftArchive, ftNormal };
using TFileType = std::uint8_t;  // bit i = TFileAttr i
constexpr TFileType FileTypeBit(TFileAttr a) { return TFileType(1u << unsigned(a)); }

// Filled when first shown; until then changes of folder and mask are only stored.
// A view over a model of its own, so that a folder of 100,000 names fills quickly.
// The folder is read and sorted on a worker: the names shown stay until the
// newest fill's arrive, and FileListChanged says they have.
class TBusyCursor;
class TFileListWorker;
class TFileNameModel;

class TFileListBox : public QListView {
  Q_OBJECT
 public:
  explicit TFileListBox(QWidget* parent = nullptr);
  ~TFileListBox() override;

  const std::string& Folder() const;
  void SetFolder(const std::string& folder);
  const std::string& Mask() const;
  void SetMask(const std::string& mask);
  void FillFileList();
  // The order the files are shown in, when not by name (TFileListRequest::Arrange); reads the folder anew.
  void SetArrange(decltype(TFileListRequest::Arrange) arrange);

  TFileType FileType() const { return FileType_; }
  void SetFileType(TFileType fileType);
  // Rows are never lower than the font needs.
  void SetItemHeight(int height);
  int ItemHeight() const { return ItemHeight_; }
  QStringList Names() const;
  int count() const;
  // From the start of a fill until its names are shown.
  bool FillPending() const { return Shown_ != Started_; }
  // The names and any preview of them.
  TFileNameModel& NameModel() const { return *Model_; }
  // The rows in view, first and last; last < first when none.
  std::pair<int, int> RowsInView() const;

 signals:
  // A fill has begun on the worker; the names shown stay until FileListChanged.
  void FillStarted();
  void FileListChanged();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void FillLong(std::uint64_t generation);
  void FillDone(std::uint64_t generation, std::vector<std::string> names);

  TFileNameModel* Model_;
  std::string Folder_;
  std::string Mask_ = "*.*";
  decltype(TFileListRequest::Arrange) Arrange_;
  TFileType FileType_ = FileTypeBit(TFileAttr::ftNormal);
  int ItemHeight_ = 13;
  bool Created_ = false;
  std::uint64_t Started_ = 0;  // the newest fill's number
  std::uint64_t Shown_ = 0;    // the number of the fill whose names are shown
  // Folder, mask and kinds of the newest fill and of the one shown.
  std::string StartedListing_;
  std::string ShownListing_;
  std::unique_ptr<TBusyCursor> Busy_;
  // Last: stopped and joined before anything its results would reach goes.
  std::unique_ptr<TFileListWorker> Worker_;
};

}  // namespace vt
