#include "browse/FilterDirectoryListBox.h"

#include <QKeyEvent>
#include <QMouseEvent>

#include "browse/ApplicationError.h"
#include "browse/FileListBox.h"
#include "browse/FilterDriveComboBox.h"
#include "browse/FolderItemDelegate.h"
#include "browse/NameOrder.h"
#include "platform/CurrentFolder.h"
#include "platform/SubFolders.h"
#include "platform/SysErrorText.h"
#include "platform/Volumes.h"

namespace vt {

namespace {

std::string VolumeRootOf(const std::string& folder) {
  const auto volume = VolumeOf(folder);
  return volume ? volume->root : std::string();
}

std::string Join(const std::string& folder, const std::string& name) {
  return folder == "/" ? "/" + name : folder + "/" + name;
}

void ReportSystemError(int error) { ReportApplicationError(ToQString(SysErrorText(error))); }

std::string StartFolder() {
  const std::string folder = GetCurrentFolder();
  return folder.empty() ? std::string("/") : folder;
}

}  // namespace

TFilterDirectoryListBox::TFilterDirectoryListBox(QWidget* parent) : QListWidget(parent), directory_(StartFolder()) {
  setItemDelegate(new TFolderItemDelegate(this));
  setUniformItemSizes(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
}

TFilterDirectoryListBox::~TFilterDirectoryListBox() {
  if (driveBox_ && driveBox_->DirList() == this) driveBox_->SetDirList(nullptr);
}

const std::string& TFilterDirectoryListBox::Directory() const { return directory_; }
TFileListBox* TFilterDirectoryListBox::FileList() const { return fileList_; }
void TFilterDirectoryListBox::SetFileList(TFileListBox* fileList) { fileList_ = fileList; }
void TFilterDirectoryListBox::SetDriveBox(TFilterDriveComboBox* driveBox) { driveBox_ = driveBox; }
TFilterDriveComboBox* TFilterDirectoryListBox::DriveBox() const { return driveBox_; }

TGlyph TFilterDirectoryListBox::ItemGlyph(int index) const {
  return index >= 0 && std::size_t(index) < glyphs_.size() ? glyphs_[std::size_t(index)] : TGlyph::ClosedFolder;
}

void TFilterDirectoryListBox::AddItem(const std::string& name, TGlyph glyph) {
  names_.push_back(name);
  glyphs_.push_back(glyph);
  addItem(ToQString(name));
}

void TFilterDirectoryListBox::AddSubFolders() {
  std::vector<std::string> found;
  // A folder that cannot be listed simply shows no sub-folders.
  ListSubFolders(directory_, found);
  SortWithoutCase(found);
  QStringList texts;
  texts.reserve(qsizetype(found.size()));
  for (auto& name : found) {
    texts.push_back(ToQString(name));
    names_.push_back(std::move(name));
    glyphs_.push_back(TGlyph::ClosedFolder);
  }
  addItems(texts);
}

void TFilterDirectoryListBox::ReadFolders() {
  setUpdatesEnabled(false);
  clear();
  names_.clear();
  glyphs_.clear();
  const TCaseFlags flags = CaseFlagsOfPath(directory_);
  preserveCase_ = flags.preservesCase;
  caseSensitive_ = flags.caseSensitive;
  // The chain from "/" down: /home/ann/Text gives "/", "home", "ann", "Text".
  std::vector<std::string> chain{"/"};
  for (std::size_t start = 1; start < directory_.size();) {
    const auto slash = directory_.find('/', start);
    const auto end = slash == std::string::npos ? directory_.size() : slash;
    if (end > start) chain.push_back(directory_.substr(start, end - start));
    start = end + 1;
  }
  for (std::size_t i = 0; i + 1 < chain.size(); ++i) AddItem(chain[i], TGlyph::OpenFolder);
  AddItem(chain.back(), TGlyph::CurrentFolder);
  currentIndex_ = count() - 1;
  AddSubFolders();
  setUpdatesEnabled(true);
  if (created_) setCurrentRow(currentIndex_);
}

std::string TFilterDirectoryListBox::ItemPath(int index) const {
  if (index < 0 || index >= int(names_.size())) return {};
  if (index == 0) return "/";
  if (glyphs_[std::size_t(index)] == TGlyph::ClosedFolder) return Join(directory_, names_[std::size_t(index)]);
  if (index == currentIndex_) return directory_;
  // A folder above the current one: cut before the (index + 1)-th "/".
  std::size_t cut = 0;
  for (int n = 0; n <= index && cut != std::string::npos; ++n) cut = directory_.find('/', n == 0 ? 0 : cut + 1);
  return cut == std::string::npos ? directory_ : directory_.substr(0, cut);
}

bool TFilterDirectoryListBox::SameFolder(const std::string& a, const std::string& b) const {
  if (caseSensitive_) return a == b;
  return ToQString(a).compare(ToQString(b), Qt::CaseInsensitive) == 0;
}

void TFilterDirectoryListBox::SetFolder(const std::string& path) {
  if (path.empty() || SameFolder(path, directory_)) return;
  const std::string target = path[0] == '/' ? path : Join(directory_, path);
  // Move first: a folder that cannot be entered leaves the lists, the drive box and the process as they were.
  if (const int error = SetCurrentFolder(target)) {
    SetCurrentFolder(directory_);
    ReportSystemError(error);
    return;
  }
  std::string folder = GetCurrentFolder();
  if (folder.empty()) folder = target;
  const std::string newVolume = VolumeRootOf(folder);
  if (newVolume != VolumeRootOf(directory_)) {
    inSetFolder_ = true;
    if (driveBox_)
      driveBox_->ApplyDrive(newVolume);
    else
      TryChangeDrive(newVolume);
    inSetFolder_ = false;
  }
  directory_ = std::move(folder);
  ReadFolders();
  Notify();
}

void TFilterDirectoryListBox::ChangeDrive(const std::string& root) { TryChangeDrive(root); }

bool TFilterDirectoryListBox::TryChangeDrive(const std::string& root) {
  if (root == VolumeRootOf(directory_)) return true;
  // SetFolder has made its own folder current already.
  if (inSetFolder_) return true;
  if (!root.empty()) {
    if (const int error = SetCurrentVolume(root)) {
      ReportSystemError(error);
      return false;
    }
  }
  if (std::string folder = GetCurrentFolder(); !folder.empty()) directory_ = std::move(folder);
  ReadFolders();
  Notify();
  return true;
}

void TFilterDirectoryListBox::OpenItemFolder() {
  const int row = currentRow();
  if (row >= 0) SetFolder(ItemPath(row));
}

void TFilterDirectoryListBox::Notify() {
  if (fileList_) fileList_->SetFolder(directory_);
  emit FolderChanged();
}

void TFilterDirectoryListBox::showEvent(QShowEvent* event) {
  QListWidget::showEvent(event);
  if (created_) return;
  created_ = true;
  ReadFolders();
}

void TFilterDirectoryListBox::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    OpenItemFolder();
    event->accept();
    return;
  }
  QListWidget::keyPressEvent(event);
}

void TFilterDirectoryListBox::mouseDoubleClickEvent(QMouseEvent* event) {
  QListWidget::mouseDoubleClickEvent(event);
  if (event->button() == Qt::LeftButton && itemAt(event->position().toPoint()) != nullptr) OpenItemFolder();
}

}  // namespace vt
