#pragma once
// Drop-down list of mounted volumes of chosen kinds; a choice moves the linked folder list.
#include <QComboBox>
#include <cstdint>
#include <string>

namespace vt {

class TFilterDirectoryListBox;

enum class TIncludeType : std::uint8_t { itFloppy, itFixed, itNetwork, itCDROM, itRAM };
using TIncludeDriveType = std::uint8_t;  // bit i = TIncludeType i
constexpr TIncludeDriveType IncludeBit(TIncludeType t) { return TIncludeDriveType(1u << unsigned(t)); }
enum class TDriveType : std::uint8_t { dtUnknown, dtNoDrive, dtFloppy, dtFixed, dtNetwork, dtCDROM, dtRAM };
enum class TTextCase : std::uint8_t { tcLowerCase, tcUpperCase };

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
  void SetDirList(TFilterDirectoryListBox* dirList);
  TFilterDirectoryListBox* DirList() const;
  // Root of the box's volume; empty for none.
  const std::string& Drive() const;
  void SetDrive(const std::string& root);

  void FillDriveList();
  void ApplyDrive(const std::string& root);

 signals:
  void DriveChanged();

  // The rest of the class is the widget's own.
};

}  // namespace vt
