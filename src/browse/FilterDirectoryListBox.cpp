#include "browse/FilterDirectoryListBox.h"

#include <QKeyEvent>
#include <QMouseEvent>

#include "browse/ApplicationError.h"
#include "browse/FileListBox.h"
#include "browse/FilterDriveComboBox.h"
#include "browse/FolderItemDelegate.h"
#include "browse/NameBytes.h"
#include "browse/SortWithoutCase.h"
#include "platform/CurrentFolder.h"
#include "platform/SubFolders.h"
#include "platform/SysErrorText.h"
#include "platform/Volumes.h"

namespace vt {

namespace {

std::string VolumeRootOf(const std::string& folder) {
  const auto volume = VolumeOf(folder);
  return volume ? volume->Root : std::string();
}

std::string Join(const std::string& folder, const std::string& name) {
  return folder == "/" ? "/" + name : folder + "/" + name;
}

void ReportSystemError(int error) { ReportApplicationError(NameText(SysErrorText(error))); }

std::string StartFolder() {
  const std::string folder = GetCurrentFolder();
  return folder.empty() ? std::string("/") : folder;
}

}  // namespace

TFilterDirectoryListBox::TFilterDirectoryListBox(QWidget* parent) : QListWidget(parent), Directory_(StartFolder()) {
  setItemDelegate(new TFolderItemDelegate(this));
  setUniformItemSizes(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
}

TFilterDirectoryListBox::~TFilterDirectoryListBox() {
  if (DriveBox_ && DriveBox_->DirList() == this) DriveBox_->SetDirList(nullptr);
}

const std::string& TFilterDirectoryListBox::Directory() const { return Directory_; }
TFileListBox* TFilterDirectoryListBox::FileList() const { return FileList_; }
void TFilterDirectoryListBox::SetFileList(TFileListBox* fileList) { FileList_ = fileList; }
void TFilterDirectoryListBox::SetDriveBox(TFilterDriveComboBox* driveBox) { DriveBox_ = driveBox; }
TFilterDriveComboBox* TFilterDirectoryListBox::DriveBox() const { return DriveBox_; }

TGlyph TFilterDirectoryListBox::ItemGlyph(int index) const {
  return index >= 0 && std::size_t(index) < Glyphs_.size() ? Glyphs_[std::size_t(index)] : TGlyph::ClosedFolder;
}

void TFilterDirectoryListBox::AddItem(const std::string& name, TGlyph glyph) {
  Names_.push_back(name);
  Glyphs_.push_back(glyph);
  addItem(NameText(name));
}

void TFilterDirectoryListBox::AddSubFolders() {
  std::vector<std::string> found;
  // A folder that cannot be listed simply shows no sub-folders.
  ListSubFolders(Directory_, found);
  SortWithoutCase(found);
  QStringList texts;
  texts.reserve(qsizetype(found.size()));
  for (auto& name : found) {
    texts.push_back(NameText(name));
    Names_.push_back(std::move(name));
    Glyphs_.push_back(TGlyph::ClosedFolder);
  }
  addItems(texts);
}

void TFilterDirectoryListBox::ReadFolders() {
  setUpdatesEnabled(false);
  clear();
  Names_.clear();
  Glyphs_.clear();
  const TCaseFlags flags = CaseFlagsOfPath(Directory_);
  PreserveCase_ = flags.PreservesCase;
  CaseSensitive_ = flags.CaseSensitive;
  // The chain from "/" down: /home/ann/Text gives "/", "home", "ann", "Text".
  std::vector<std::string> chain{"/"};
  for (std::size_t start = 1; start < Directory_.size();) {
    const auto slash = Directory_.find('/', start);
    const auto end = slash == std::string::npos ? Directory_.size() : slash;
    if (end > start) chain.push_back(Directory_.substr(start, end - start));
    start = end + 1;
  }
  for (std::size_t i = 0; i + 1 < chain.size(); ++i) AddItem(chain[i], TGlyph::OpenFolder);
  AddItem(chain.back(), TGlyph::CurrentFolder);
  CurrentIndex_ = count() - 1;
  AddSubFolders();
  setUpdatesEnabled(true);
  if (Created_) setCurrentRow(CurrentIndex_);
}

std::string TFilterDirectoryListBox::ItemPath(int index) const {
  if (index < 0 || index >= int(Names_.size())) return {};
  if (index == 0) return "/";
  if (Glyphs_[std::size_t(index)] == TGlyph::ClosedFolder) return Join(Directory_, Names_[std::size_t(index)]);
  if (index == CurrentIndex_) return Directory_;
  // A folder above the current one: cut before the (index + 1)-th "/".
  std::size_t cut = 0;
  for (int n = 0; n <= index && cut != std::string::npos; ++n) cut = Directory_.find('/', n == 0 ? 0 : cut + 1);
  return cut == std::string::npos ? Directory_ : Directory_.substr(0, cut);
}

bool TFilterDirectoryListBox::SameFolder(const std::string& a, const std::string& b) const {
  if (CaseSensitive_) return a == b;
  return NameText(a).compare(NameText(b), Qt::CaseInsensitive) == 0;
}

void TFilterDirectoryListBox::SetFolder(const std::string& path) {
  if (path.empty() || SameFolder(path, Directory_)) return;
  const std::string target = path[0] == '/' ? path : Join(Directory_, path);
  // Move first: a folder that cannot be entered leaves the lists, the drive box and the process as they were.
  if (const int error = SetCurrentFolder(target)) {
    SetCurrentFolder(Directory_);
    ReportSystemError(error);
    return;
  }
  std::string folder = GetCurrentFolder();
  if (folder.empty()) folder = target;
  const std::string newVolume = VolumeRootOf(folder);
  if (newVolume != VolumeRootOf(Directory_)) {
    InSetFolder_ = true;
    if (DriveBox_)
      DriveBox_->ApplyDrive(newVolume);
    else
      TryChangeDrive(newVolume);
    InSetFolder_ = false;
  }
  Directory_ = std::move(folder);
  ReadFolders();
  Notify();
}

void TFilterDirectoryListBox::ChangeDrive(const std::string& root) { TryChangeDrive(root); }

bool TFilterDirectoryListBox::TryChangeDrive(const std::string& root) {
  if (root == VolumeRootOf(Directory_)) return true;
  // SetFolder has made its own folder current already.
  if (InSetFolder_) return true;
  if (!root.empty()) {
    if (const int error = SetCurrentVolume(root)) {
      ReportSystemError(error);
      return false;
    }
  }
  if (std::string folder = GetCurrentFolder(); !folder.empty()) Directory_ = std::move(folder);
  ReadFolders();
  Notify();
  return true;
}

void TFilterDirectoryListBox::OpenItemFolder() {
  const int row = currentRow();
  if (row >= 0) SetFolder(ItemPath(row));
}

void TFilterDirectoryListBox::Notify() {
  if (FileList_) FileList_->SetFolder(Directory_);
  emit FolderChanged();
}

void TFilterDirectoryListBox::showEvent(QShowEvent* event) {
  QListWidget::showEvent(event);
  if (Created_) return;
  Created_ = true;
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
