#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "browse/FileListBox.h"
#include "browse/FilterDirectoryListBox.h"
#include "browse/FilterDriveComboBox.h"
#include "ui/ControlFactory.h"
#include "ui/Form1.h"

namespace vt {
namespace {

QFrame* FillPage(QWidget* page, const char* name) {
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* panel = new QFrame(page);
  panel->setObjectName(name);
  panel->setFrameShape(QFrame::NoFrame);
  layout->addWidget(panel);
  return panel;
}

QGroupBox* MakeGroup(QWidget* parent, const char* name, const QString& caption, int left, int top, int width,
                     int height) {
  auto* group = new QGroupBox(caption, parent);
  group->setObjectName(name);
  group->setGeometry(left, top, width, height);
  return group;
}

}  // namespace

void TForm1::BuildControlPage() {
  Panel1 = FillPage(TabSheetControls, "Panel1");

  FilterDriveComboBox1 = new TFilterDriveComboBox(Panel1);
  FilterDriveComboBox1->setObjectName("FilterDriveComboBox1");
  FilterDriveComboBox1->setGeometry(6, 8, 179, kFieldHeight);

  FilterDirectoryListBox1 = new TFilterDirectoryListBox(Panel1);
  FilterDirectoryListBox1->setObjectName("FilterDirectoryListBox1");
  FilterDirectoryListBox1->setGeometry(6, 38, 303, 111);

  Label1 = MakeLabel(Panel1, "Label1", "Search :", 327, 10);
  EdSearch = MakeEdit(Panel1, "EdSearch", 384, 6, 205);
  QFont bold = EdSearch->font();
  bold.setBold(true);
  EdSearch->setFont(bold);
  EdSearch->setText("*.*");

  FileListBox1 = new TFileListBox(Panel1);
  FileListBox1->setObjectName("FileListBox1");
  FileListBox1->setGeometry(322, 38, 285, 111);

  // The drive box moves the folder list, the folder list the file list.
  FilterDirectoryListBox1->SetFileList(FileListBox1);
  FilterDriveComboBox1->SetDirList(FilterDirectoryListBox1);
  FilterDriveComboBox1->SetIncludeDriveType(IncludeBit(TIncludeType::itFloppy) | IncludeBit(TIncludeType::itFixed) |
                                            IncludeBit(TIncludeType::itNetwork) | IncludeBit(TIncludeType::itRAM));
  FilterDriveComboBox1->SetDriveTypeSelected(TDriveType::dtUnknown);

  GroupBoxTreatments = MakeGroup(Panel1, "GroupBoxTreatments", "Options", 6, 155, 601, 40);
  ChkBxIncSubDir = MakeCheckBox(GroupBoxTreatments, "ChkBxIncSubDir", "Include sub-directories", 12, 18);
  // Kept for the settings it stands for; never shown and never read.
  ChkBxForceReadOnly = MakeCheckBox(GroupBoxTreatments, "ChkBxForceReadOnly", "Force if read only", 194, 18);
  ChkBxForceReadOnly->hide();

  GroupBoxActions = MakeGroup(Panel1, "GroupBoxActions", "Functions", 6, 206, 601, 100);
  LstBoxActions = new QListWidget(GroupBoxActions);
  LstBoxActions->setObjectName("LstBoxActions");
  LstBoxActions->setGeometry(12, 20, 127, 69);
  LstBoxActions->addItems({"Search/Replace", "Insert", "Remove", "Number", "Change Case", "Truncate"});
  LstBoxActions->setSelectionMode(QAbstractItemView::SingleSelection);

  PageCtrlSettings = new QStackedWidget(GroupBoxActions);
  PageCtrlSettings->setObjectName("PageCtrlSettings");
  PageCtrlSettings->setGeometry(150, 6, 449, 92);
}

}  // namespace vt
