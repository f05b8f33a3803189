#include "browse/FilterDriveComboBox.h"

#include <QEvent>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <map>

#include "browse/DriveItemDelegate.h"
#include "browse/FilterDirectoryListBox.h"
#include "browse/Glyphs.h"
#include "browse/NameBytes.h"
#include "platform/CurrentFolder.h"
#include "platform/Volumes.h"

namespace vt {

namespace {

struct TKindRow {
  VolumeKind kind;
  TIncludeType include;
  TDriveType type;
  TGlyph glyph;
};

constexpr TKindRow kKinds[] = {
    {VolumeKind::Removable, TIncludeType::itFloppy, TDriveType::dtFloppy, TGlyph::Floppy},
    {VolumeKind::Fixed, TIncludeType::itFixed, TDriveType::dtFixed, TGlyph::Hard},
    {VolumeKind::Network, TIncludeType::itNetwork, TDriveType::dtNetwork, TGlyph::Network},
    {VolumeKind::CDROM, TIncludeType::itCDROM, TDriveType::dtCDROM, TGlyph::Cdrom},
    {VolumeKind::RAM, TIncludeType::itRAM, TDriveType::dtRAM, TGlyph::Ram},
};

const TKindRow* RowOf(VolumeKind kind) {
  for (const auto& row : kKinds)
    if (row.kind == kind) return &row;
  return nullptr;
}

std::uint8_t TypeBit(TDriveType type) { return std::uint8_t(1u << unsigned(type)); }

std::string RootOfCurrentVolume() {
  const auto volume = VolumeOf(GetCurrentFolder());
  return volume ? volume->Root : std::string();
}

}  // namespace

TFilterDriveComboBox::TFilterDriveComboBox(QWidget* parent) : QComboBox(parent), Drive_(RootOfCurrentVolume()) {
  setItemDelegate(new TDriveItemDelegate(this));
  connect(this, &QComboBox::activated, this, [this](int index) { ApplyDrive(ItemRoot(index)); });
}

TFilterDriveComboBox::~TFilterDriveComboBox() {
  if (DirList_) DirList_->SetDriveBox(nullptr);
}

void TFilterDriveComboBox::SetIncludeDriveType(TIncludeDriveType types) { IncludeDriveType_ = types; }
TIncludeDriveType TFilterDriveComboBox::IncludeDriveType() const { return IncludeDriveType_; }
TDriveType TFilterDriveComboBox::DriveTypeSelected() const { return DriveTypeSelected_; }
TTextCase TFilterDriveComboBox::TextCase() const { return TextCase_; }
TFilterDirectoryListBox* TFilterDriveComboBox::DirList() const { return DirList_; }
const std::string& TFilterDriveComboBox::Drive() const { return Drive_; }
void TFilterDriveComboBox::SetDrive(const std::string& root) { ApplyDrive(root); }

void TFilterDriveComboBox::SetDriveTypeSelected(TDriveType type) {
  if (type == DriveTypeSelected_) return;
  DriveTypeSelected_ = type;
  // Only the box's drive moves: neither its selection nor the folder list.
  if (const std::string root = FindDriveOfType(type); !root.empty()) Drive_ = root;
}

void TFilterDriveComboBox::SetTextCase(TTextCase textCase) {
  TextCase_ = textCase;
  if (!Created_) return;
  FillDriveList();
  ApplyDrive(Drive_);
}

void TFilterDriveComboBox::SetDirList(TFilterDirectoryListBox* dirList) {
  if (DirList_ == dirList) return;
  if (DirList_) DirList_->SetDriveBox(nullptr);
  DirList_ = dirList;
  if (DirList_) DirList_->SetDriveBox(this);
}

std::string TFilterDriveComboBox::ItemRoot(int index) const {
  if (index < 0 || index >= count()) return {};
  return itemData(index, kRootRole).toByteArray().toStdString();
}

QString TFilterDriveComboBox::InCase(const QString& text) const {
  return TextCase_ == TTextCase::tcUpperCase ? text.toUpper() : text.toLower();
}

QString TFilterDriveComboBox::VolumeText(const TVolume& volume) const {
  return "[" + InCase(NameText(VolumeLabel(volume))) + "]";
}

QString TFilterDriveComboBox::NetworkText(const TVolume& volume) const {
  const std::string name = NetworkName(volume);
  if (name.empty()) return VolumeText(volume);
  return InCase(NameText(name));
}

void TFilterDriveComboBox::AddVolume(const TVolume& volume) {
  const TKindRow* row = RowOf(volume.Kind);
  if (row == nullptr) return;
  if (IncludeDriveType_ != 0 && (IncludeDriveType_ & IncludeBit(row->include)) == 0) return;
  QString text = NameText(volume.Root);
  // Paths are case-sensitive: TextCase never touches the root. A removable volume is not touched at all.
  if (volume.Kind == VolumeKind::Network)
    text += " " + NetworkText(volume);
  else if (volume.Kind != VolumeKind::Removable)
    text += " " + VolumeText(volume);
  addItem(text);
  const int index = count() - 1;
  setItemData(index, QByteArray::fromStdString(volume.Root), kRootRole);
  setItemData(index, int(row->glyph), kGlyphRole);
  TypesPresent_ |= TypeBit(row->type);
}

void TFilterDriveComboBox::FillDriveList() {
  const QSignalBlocker quiet(this);
  clear();
  TypesPresent_ = 0;
  DriveMask_.clear();
  for (const TVolume& volume : ListVolumes()) {
    DriveMask_.push_back(volume.Root);
    AddVolume(volume);
  }
  setCurrentIndex(-1);
}

void TFilterDriveComboBox::ApplyDrive(const std::string& root) {
  if (currentIndex() >= 0 && root == Drive_) return;
  Drive_ = root;
  if (root.empty()) {
    setCurrentIndex(-1);
  } else {
    for (int i = 0; i < count(); ++i)
      if (ItemRoot(i) == root) {
        setCurrentIndex(i);
        break;
      }
  }
  // A failed move has been reported; the box keeps the new choice and stays quiet.
  if (DirList_ && !DirList_->TryChangeDrive(Drive_)) return;
  emit DriveChanged();
}

std::string TFilterDriveComboBox::FindDriveOfType(TDriveType type) {
  const auto volumes = ListVolumes();
  if (TypesPresent_ & TypeBit(type)) {
    DriveMask_.clear();
    for (const auto& volume : volumes) DriveMask_.push_back(volume.Root);
  }
  std::map<std::string, VolumeKind> kinds;
  for (const auto& volume : volumes) kinds[volume.Root] = volume.Kind;
  std::string found;
  for (const auto& root : DriveMask_) {
    const auto kind = kinds.find(root);
    const TKindRow* row = kind == kinds.end() ? nullptr : RowOf(kind->second);
    if (row && row->type == type) found = root;
  }
  return found;
}

void TFilterDriveComboBox::HandleCreated() {
  FillDriveList();
  ApplyDrive(Drive_);
}

void TFilterDriveComboBox::showEvent(QShowEvent* event) {
  QComboBox::showEvent(event);
  if (Created_) return;
  Created_ = true;
  HandleCreated();
}

void TFilterDriveComboBox::changeEvent(QEvent* event) {
  QComboBox::changeEvent(event);
  if (event->type() == QEvent::FontChange && Created_) HandleCreated();
}

void TFilterDriveComboBox::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionComboBox option;
  initStyleOption(&option);
  option.currentText.clear();
  option.currentIcon = QIcon();
  painter.drawComplexControl(QStyle::CC_ComboBox, option);
  if (currentIndex() < 0) return;
  const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
  painter.setClipRect(field);
  TDriveItemDelegate::PaintItem(&painter, field, itemData(currentIndex(), kGlyphRole), currentText(),
                                palette().color(QPalette::ButtonText));
}

}  // namespace vt
