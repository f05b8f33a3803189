#pragma once
// Drop-down list of mounted volumes of chosen kinds; a choice moves the linked folder list.
#include <QComboBox>
#include <QPointer>
#include <cstdint>
#include <string>
#include <vector>

namespace vt {

class TFilterDirectoryListBox;
struct TVolume;

enum class TIncludeType : std::uint8_t { itFloppy, itFixed, itNetwork, itCDROM, itRAM };
using TIncludeDriveType = std::uint8_t;  // bit i = TIncludeType i
constexpr TIncludeDriveType IncludeBit(TIncludeType t) { return TIncludeDriveType(1u << unsigned(t)); }
enum class TDriveType : std::uint8_t { dtUnknown, dtNoDrive, dtFloppy, dtFixed, dtNetwork, dtCDROM, dtRAM };
enum class TTextCase : std::uint8_t { tcLowerCase, tcUpperCase };

// The list is filled when the box is first shown (and again on a font change or
// when TextCase is assigned), so settings made before that take effect.
class TFilterDriveComboBox : public QComboBox {
  Q_OBJECT
 public:
  explicit TFilterDriveComboBox(QWidget* parent = nullptr);
  ~TFilterDriveComboBox() override;

  void SetIncludeDriveType(TIncludeDriveType types);
  TIncludeDriveType IncludeDriveType() const;
  void SetDriveTypeSelected(TDriveType type);
  TDriveType DriveTypeSelected() const;
  void SetTextCase(TTextCase textCase);
  TTextCase TextCase() const;
  void SetDirList(TFilterDirectoryListBox* dirList);
  TFilterDirectoryListBox* DirList() const;
  // Root of the box's volume; empty for none.
  const std::string& Drive() const;
  void SetDrive(const std::string& root);

  void FillDriveList();
  void ApplyDrive(const std::string& root);
  // Root of the last volume of that kind, or empty.
  std::string FindDriveOfType(TDriveType type);
  // Kinds met by the last fill, bit i = TDriveType i.
  std::uint8_t DriveTypesPresent() const { return TypesPresent_; }
  // Root an item stands for.
  std::string ItemRoot(int index) const;

  QString VolumeText(const TVolume& volume) const;
  QString NetworkText(const TVolume& volume) const;

 signals:
  void DriveChanged();

 protected:
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void HandleCreated();
  void AddVolume(const TVolume& volume);
  QString InCase(const QString& text) const;

  TIncludeDriveType IncludeDriveType_ = 0;
  TDriveType DriveTypeSelected_ = TDriveType::dtUnknown;
  TTextCase TextCase_ = TTextCase::tcLowerCase;
  std::string Drive_;
  std::uint8_t TypesPresent_ = 0;
  std::vector<std::string> DriveMask_;  // roots of the volumes as of the last fill
  QPointer<TFilterDirectoryListBox> DirList_;
  bool Created_ = false;
};

}  // namespace vt
