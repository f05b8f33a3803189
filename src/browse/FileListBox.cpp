#include "browse/FileListBox.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "browse/ApplicationError.h"
#include "browse/BusyCursor.h"
#include "browse/FileItemDelegate.h"
#include "browse/FileNameModel.h"
#include "browse/NameBytes.h"
#include "browse/SortWithoutCase.h"
#include "platform/CurrentFolder.h"
#include "platform/DirectoryListing.h"
#include "platform/FindData.h"
#include "platform/NameListing.h"
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

void ReportSystemError(int error) { ReportApplicationError(NameText(SysErrorText(error))); }

}  // namespace

TFileListBox::TFileListBox(QWidget* parent)
    : QListView(parent), Model_(new TFileNameModel(this)), Folder_(GetCurrentFolder()) {
  setModel(Model_);
  setItemDelegate(new TFileItemDelegate(this));
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setUniformItemSizes(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
}

TFileListBox::~TFileListBox() = default;

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

void TFileListBox::FillFileList() {
  if (!Created_) return;
  const std::uint32_t asked = AttributeWord(FileType_);
  const bool normal = FileType_ & FileTypeBit(TFileAttr::ftNormal);
  // Kinds of entry that are left out unless asked for.
  const std::uint32_t excluded =
      (FileAttr::Hidden | FileAttr::System | FileAttr::VolumeLabel | FileAttr::Directory) & ~asked;
  // The names keep showing when the folder is gone; the error is reported.
  if (const int error = SetCurrentFolder(Folder_)) {
    ReportSystemError(error);
    return;
  }
  std::vector<std::string> found;
  std::optional<TBusyCursor> busy;
  const auto add = [&](std::string name, std::uint32_t attributes) {
    if ((attributes & excluded) != 0) return;
    if (!normal && (attributes & asked) == 0) return;
    found.push_back(attributes & FileAttr::Directory ? "[" + name + "]" : std::move(name));
    if (found.size() == kBusyFrom + 1 && !busy) busy.emplace();
  };
  for (const std::string& piece : SplitMask(Mask_)) {
    const std::string pattern = PatternOf(Folder_, piece);
    if (asked & FileAttr::ReadOnly) {
      // Only the full listing looks at each file for its write bits.
      TFindHandle find(pattern, ListFilter::All, ShortNames::Skip);
      TFindData entry;
      while (find.FindNext(entry)) add(std::move(entry.cFileName), entry.dwFileAttributes);
    } else {
      std::vector<TListedName> entries;
      ListNames(pattern, entries);
      // Room for all at once: growing would hold the names one and a half times
      // over. Many pieces still grow it by half each time, never piece by piece.
      const std::size_t needed = found.size() + entries.size();
      if (needed > found.capacity()) found.reserve(std::max(needed, found.capacity() + found.capacity() / 2));
      for (auto& entry : entries) add(std::move(entry.Name), entry.Attributes);
    }
  }
  // One sort of everything found beats keeping the list sorted on every insert.
  SortWithoutCase(found);
  Model_->SetNames(std::move(found));
  emit FileListChanged();
}

void TFileListBox::showEvent(QShowEvent* event) {
  QListView::showEvent(event);
  if (Created_) return;
  Created_ = true;
  FillFileList();
}

}  // namespace vt
