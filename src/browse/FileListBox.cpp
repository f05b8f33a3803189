#include "browse/FileListBox.h"

#include <algorithm>
#include <utility>

#include "browse/ApplicationError.h"
#include "browse/BusyCursor.h"
#include "browse/FileItemDelegate.h"
#include "browse/FileListWorker.h"
#include "browse/FileNameModel.h"
#include "browse/NameBytes.h"
#include "platform/CurrentFolder.h"
#include "platform/FindData.h"
#include "platform/SysErrorText.h"

namespace vt {

namespace {

// The listing's attribute bits of the kinds asked for; ftNormal adds none.
std::uint32_t AttributeWord(TFileType fileType) {
  constexpr std::uint32_t bits[] = {FileAttr::ReadOnly,    FileAttr::Hidden,    FileAttr::System,
                                    FileAttr::VolumeLabel, FileAttr::Directory, FileAttr::Archive};
  std::uint32_t word = 0;
  for (unsigned i = 0; i < 6; ++i)
    if (fileType & (1u << i)) word |= bits[i];
  return word;
}

// Every piece between ";", empty ones included.
std::vector<std::string> SplitMask(const std::string& mask) {
  std::vector<std::string> pieces;
  std::size_t start = 0;
  for (;;) {
    const auto semicolon = mask.find(';', start);
    pieces.push_back(mask.substr(start, semicolon - start));
    if (semicolon == std::string::npos) return pieces;
    start = semicolon + 1;
  }
}

std::string PatternOf(const std::string& folder, const std::string& piece) {
  if (!piece.empty() && piece[0] == '/') return piece;
  return (folder.empty() || folder.back() == '/' ? folder : folder + "/") + piece;
}

constexpr int kLayoutBatch = 20000;  // rows laid out between two turns of the event loop

void ReportSystemError(int error) { ReportApplicationError(NameText(SysErrorText(error))); }

}  // namespace

TFileListBox::TFileListBox(QWidget* parent)
    : QListView(parent), Model_(new TFileNameModel(this)), Folder_(GetCurrentFolder()) {
  setModel(Model_);
  setItemDelegate(new TFileItemDelegate(this));
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setUniformItemSizes(true);
  // Laid out in one go, a million rows hold the window for up to a tenth of a
  // second; in batches the loop runs between them and the first rows show at once.
  setLayoutMode(QListView::Batched);
  setBatchSize(kLayoutBatch);
  setSelectionMode(QAbstractItemView::SingleSelection);
}

TFileListBox::~TFileListBox() {
  // No result is posted once the worker is joined; one already posted dies with this object.
  Worker_.reset();
}

const std::string& TFileListBox::Folder() const { return Folder_; }
const std::string& TFileListBox::Mask() const { return Mask_; }

void TFileListBox::SetFolder(const std::string& folder) {
  // Paths are case-sensitive here: /tmp/A and /tmp/a are two folders.
  if (folder == Folder_) return;
  if (const int error = SetCurrentFolder(folder)) {
    ReportSystemError(error);
    return;
  }
  const std::string current = GetCurrentFolder();
  Folder_ = current.empty() ? folder : current;
  FillFileList();
}

void TFileListBox::SetMask(const std::string& mask) {
  if (mask == Mask_) return;
  Mask_ = mask;
  FillFileList();
}

void TFileListBox::SetFileType(TFileType fileType) {
  if (fileType == FileType_) return;
  FileType_ = fileType;
  FillFileList();
}

void TFileListBox::SetItemHeight(int height) {
  ItemHeight_ = height;
  doItemsLayout();
}

QStringList TFileListBox::Names() const {
  QStringList names;
  names.reserve(count());
  for (const std::string& name : Model_->Names()) names.push_back(NameText(name));
  return names;
}

int TFileListBox::count() const { return Model_->rowCount(); }

std::pair<int, int> TFileListBox::RowsInView() const {
  const int rows = count();
  if (rows == 0) return {0, -1};
  const QModelIndex first = indexAt(QPoint(1, 1));
  const QModelIndex last = indexAt(QPoint(1, viewport()->height() - 1));
  const int top = first.isValid() ? first.row() : 0;
  // A list shorter than its view ends at its last row.
  return {top, last.isValid() ? last.row() : std::min(rows - 1, top + viewport()->height() / std::max(ItemHeight_, 1))};
}

void TFileListBox::SetArrange(decltype(TFileListRequest::Arrange) arrange) {
  Arrange_ = std::move(arrange);
  FillFileList();
}

void TFileListBox::FillFileList() {
  if (!Created_) return;
  // The names keep showing when the folder is gone; the error is reported.
  if (const int error = SetCurrentFolder(Folder_)) {
    ReportSystemError(error);
    return;
  }
  // Absolute patterns: the current folder may have moved by the time the worker reads.
  const std::string folder = Folder_.starts_with('/') ? Folder_ : GetCurrentFolder();
  TFileListRequest request;
  for (const std::string& piece : SplitMask(Mask_)) request.Patterns.push_back(PatternOf(folder, piece));
  request.Asked = AttributeWord(FileType_);
  request.Normal = (FileType_ & FileTypeBit(TFileAttr::ftNormal)) != 0;
  request.Arrange = Arrange_;
  // Read again as it is shown (after a pass): about as many names as now.
  std::string listed = folder + '\n' + Mask_ + '\n' + std::to_string(FileType_);
  if (listed == ShownListing_) request.Expected = std::size_t(count());
  if (!Worker_) {
    // The worker's calls come to this object through its event queue, on the window thread.
    Worker_ = std::make_unique<TFileListWorker>(
        TFileListSink{[this](std::uint64_t generation) {
                        QMetaObject::invokeMethod(
                            this, [this, generation] { FillLong(generation); }, Qt::QueuedConnection);
                      },
                      [this] {
                        QMetaObject::invokeMethod(
                            this,
                            [this] {
                              if (!Worker_) return;
                              if (auto fill = Worker_->TakeDone()) FillDone(fill->Generation, std::move(fill->Names));
                            },
                            Qt::QueuedConnection);
                      }});
  }
  Worker_->Start(++Started_, std::move(request));
  StartedListing_ = std::move(listed);
  emit FillStarted();
}

void TFileListBox::FillLong(std::uint64_t generation) {
  // An earlier wake may already have taken this fill: its names are showing.
  if (generation == Started_ && generation != Shown_ && !Busy_) Busy_ = std::make_unique<TBusyCursor>();
}

void TFileListBox::FillDone(std::uint64_t generation, std::vector<std::string> names) {
  // Names of a folder or mask no longer asked for: a newer fill is under way.
  if (generation != Started_) return;
  Shown_ = generation;
  ShownListing_ = StartedListing_;
  Busy_.reset();
  // A million names take tens of milliseconds to free: the worker frees them.
  Worker_->Discard(Model_->SetNames(std::move(names)));
  emit FileListChanged();
}

void TFileListBox::showEvent(QShowEvent* event) {
  QListView::showEvent(event);
  if (Created_) return;
  Created_ = true;
  FillFileList();
}

}  // namespace vt
