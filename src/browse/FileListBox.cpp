#include "browse/FileListBox.h"

#include <optional>
#include <vector>

#include "browse/ApplicationError.h"
#include "browse/BusyCursor.h"
#include "browse/FileItemDelegate.h"
#include "browse/NameOrder.h"
#include "platform/CurrentFolder.h"
#include "platform/DirectoryListing.h"
#include "platform/FindData.h"
#include "platform/SysErrorText.h"

namespace vt {

namespace {

constexpr std::size_t kBusyFrom = 100;  // the name at this position brings up the hourglass

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

void ReportSystemError(int error) { ReportApplicationError(ToQString(SysErrorText(error))); }

}  // namespace

TFileListBox::TFileListBox(QWidget* parent) : QListWidget(parent), folder_(GetCurrentFolder()) {
  setItemDelegate(new TFileItemDelegate(this));
  setUniformItemSizes(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
}

TFileListBox::~TFileListBox() = default;

const std::string& TFileListBox::Folder() const { return folder_; }
const std::string& TFileListBox::Mask() const { return mask_; }

void TFileListBox::SetFolder(const std::string& folder) {
  // Paths are case-sensitive here: /tmp/A and /tmp/a are two folders.
  if (folder == folder_) return;
  if (const int error = SetCurrentFolder(folder)) {
    ReportSystemError(error);
    return;
  }
  const std::string current = GetCurrentFolder();
  folder_ = current.empty() ? folder : current;
  FillFileList();
}

void TFileListBox::SetMask(const std::string& mask) {
  if (mask == mask_) return;
  mask_ = mask;
  FillFileList();
}

void TFileListBox::SetFileType(TFileType fileType) {
  if (fileType == fileType_) return;
  fileType_ = fileType;
  FillFileList();
}

void TFileListBox::SetItemHeight(int height) {
  itemHeight_ = height;
  doItemsLayout();
}

QStringList TFileListBox::Names() const {
  QStringList names;
  names.reserve(count());
  for (int i = 0; i < count(); ++i) names.push_back(item(i)->text());
  return names;
}

void TFileListBox::FillFileList() {
  if (!created_) return;
  const std::uint32_t asked = AttributeWord(fileType_);
  const bool normal = fileType_ & FileTypeBit(TFileAttr::ftNormal);
  // Kinds of entry that are left out unless asked for.
  const std::uint32_t excluded =
      (FileAttr::Hidden | FileAttr::System | FileAttr::VolumeLabel | FileAttr::Directory) & ~asked;
  // The names keep showing when the folder is gone; the error is reported.
  if (const int error = SetCurrentFolder(folder_)) {
    ReportSystemError(error);
    return;
  }
  QStringList found;
  std::optional<TBusyCursor> busy;
  for (const std::string& piece : SplitMask(mask_)) {
    TFindHandle find(PatternOf(folder_, piece), ListFilter::All);
    TFindData entry;
    while (find.FindNext(entry)) {
      if ((entry.dwFileAttributes & excluded) != 0) continue;
      if (!normal && (entry.dwFileAttributes & asked) == 0) continue;
      const QString name = ToQString(entry.cFileName);
      found.push_back(entry.dwFileAttributes & FileAttr::Directory ? "[" + name + "]" : name);
      if (found.size() == qsizetype(kBusyFrom) + 1 && !busy) busy.emplace();
    }
  }
  // One sort of everything found beats keeping the list sorted on every insert.
  QStringList sorted;
  sorted.reserve(found.size());
  for (const int i : OrderWithoutCase(found)) sorted.push_back(found[i]);
  setUpdatesEnabled(false);
  clear();
  addItems(sorted);
  setUpdatesEnabled(true);
  emit FileListChanged();
}

void TFileListBox::showEvent(QShowEvent* event) {
  QListWidget::showEvent(event);
  if (created_) return;
  created_ = true;
  FillFileList();
}

}  // namespace vt
