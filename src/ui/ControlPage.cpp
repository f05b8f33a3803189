#include "ui/ControlPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "browse/FileListBox.h"
#include "browse/FilterDirectoryListBox.h"
#include "browse/FilterDriveComboBox.h"
#include "engine/TextHelpers.h"
#include "passes/FileOrder.h"
#include "ui/ControlFactory.h"
#include "ui/NameBytes.h"
#include "ui/SettingsPages.h"

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

TControlPage::TControlPage(QWidget* parent) : QWidget(parent) {
  setObjectName("TabSheetControls");
  Build();
  // A selection only: the settings pages already show the first operation's.
  Ui_.LstBoxActions->setCurrentRow(0);
  connect(Ui_.EdSearch, &QLineEdit::textChanged, this, &TControlPage::EdSearchChange);
  connect(Ui_.LstBoxActions, &QListWidget::currentRowChanged, this, &TControlPage::LstBoxActionsClick);
  connect(Ui_.ComboOrder, &QComboBox::currentIndexChanged, this, &TControlPage::ComboOrderChange);
  connect(Ui_.ChkBxUseFields, &QCheckBox::toggled, Ui_.PageCtrlSettings, &TSettingsPages::SetUseFields);
}

void TControlPage::Build() {
  QFrame* panel = Ui_.Panel1 = FillPage(this, "Panel1");

  Ui_.FilterDriveComboBox1 = new TFilterDriveComboBox(panel);
  Ui_.FilterDriveComboBox1->setObjectName("FilterDriveComboBox1");
  Ui_.FilterDriveComboBox1->setGeometry(6, 8, 179, kFieldHeight);

  Ui_.FilterDirectoryListBox1 = new TFilterDirectoryListBox(panel);
  Ui_.FilterDirectoryListBox1->setObjectName("FilterDirectoryListBox1");
  Ui_.FilterDirectoryListBox1->setGeometry(6, 38, 303, 111);

  Ui_.Label1 = MakeLabel(panel, "Label1", "Search :", 327, 10);
  Ui_.EdSearch = MakeEdit(panel, "EdSearch", 384, 6, 205);
  QFont bold = Ui_.EdSearch->font();
  bold.setBold(true);
  Ui_.EdSearch->setFont(bold);
  Ui_.EdSearch->setText("*.*");

  Ui_.FileListBox1 = new TFileListBox(panel);
  Ui_.FileListBox1->setObjectName("FileListBox1");
  Ui_.FileListBox1->setGeometry(322, 38, 285, 111);

  // The drive box moves the folder list, the folder list the file list.
  Ui_.FilterDirectoryListBox1->SetFileList(Ui_.FileListBox1);
  Ui_.FilterDriveComboBox1->SetDirList(Ui_.FilterDirectoryListBox1);
  Ui_.FilterDriveComboBox1->SetIncludeDriveType(IncludeBit(TIncludeType::itFloppy) | IncludeBit(TIncludeType::itFixed) |
                                                IncludeBit(TIncludeType::itNetwork) | IncludeBit(TIncludeType::itRAM));
  Ui_.FilterDriveComboBox1->SetDriveTypeSelected(TDriveType::dtUnknown);

  Ui_.GroupBoxTreatments = MakeGroup(panel, "GroupBoxTreatments", "Options", 6, 155, 601, 40);
  Ui_.ChkBxIncSubDir = MakeCheckBox(Ui_.GroupBoxTreatments, "ChkBxIncSubDir", "Include sub-directories", 12, 18);
  // Kept for the settings it stands for; never shown and never read.
  Ui_.ChkBxForceReadOnly = MakeCheckBox(Ui_.GroupBoxTreatments, "ChkBxForceReadOnly", "Force if read only", 194, 18);
  Ui_.ChkBxForceReadOnly->hide();
  Ui_.ChkBxRestartPerFolder =
      MakeCheckBox(Ui_.GroupBoxTreatments, "ChkBxRestartPerFolder", "Restart numbering in each folder", 170, 18);
  Ui_.ChkBxUseFields = MakeCheckBox(Ui_.GroupBoxTreatments, "ChkBxUseFields", "Use fields", 380, 18);
  Ui_.ChkBxUseFields->setToolTip(
      "Fill in fields such as {taken}, {make} or {artist} in the text inserted or in "
      "Number's base name, from each file (see Help)");
  Ui_.LblOrder = MakeLabel(Ui_.GroupBoxTreatments, "LblOrder", "Order :", 462, 20);
  Ui_.ComboOrder = MakeDropDown(Ui_.GroupBoxTreatments, "ComboOrder",
                                {"Name", "Natural", "Date modified", "Date taken", "Size"}, 504, 15, 91);
  Ui_.ComboOrder->setToolTip(
      "The order files are treated and numbered in, within each folder; "
      "files without a date taken come after those with one");
  Ui_.LblOrder->setBuddy(Ui_.ComboOrder);

  Ui_.GroupBoxActions = MakeGroup(panel, "GroupBoxActions", "Functions", 6, 206, 601, 100);
  Ui_.LstBoxActions = new QListWidget(Ui_.GroupBoxActions);
  Ui_.LstBoxActions->setObjectName("LstBoxActions");
  Ui_.LstBoxActions->setGeometry(12, 20, 127, 69);
  Ui_.LstBoxActions->addItems({"Search/Replace", "Insert", "Remove", "Number", "Change Case", "Truncate"});
  Ui_.LstBoxActions->setSelectionMode(QAbstractItemView::SingleSelection);

  Ui_.PageCtrlSettings = new TSettingsPages(Ui_.GroupBoxActions);
  Ui_.PageCtrlSettings->setGeometry(150, 6, 449, 92);
}

TSearchPassOptions TControlPage::PassOptions() const {
  TSearchPassOptions options;
  options.IncludeSubDirs = Ui_.ChkBxIncSubDir->isChecked();
  options.Folder = IncludeBackslash(Ui_.FilterDirectoryListBox1->Directory());
  options.Masks = NameBytes(Ui_.EdSearch->text());
  options.Order = static_cast<TFileOrder>(std::max(0, Ui_.ComboOrder->currentIndex()));
  options.RestartPerFolder = Ui_.ChkBxRestartPerFolder->isChecked();
  return options;
}

TControlValues TControlPage::Values() const {
  TControlValues values = Ui_.PageCtrlSettings->Values();
  values.LstBoxActions = Ui_.LstBoxActions->currentRow();
  values.ChkBxUseFields = Ui_.ChkBxUseFields->isChecked();
  return values;
}

TRenameSettings TControlPage::Settings() const { return CaptureSettings(Values()); }

void TControlPage::FocusCheckedField(TCheckedField field) { Ui_.PageCtrlSettings->FocusCheckedField(field); }

void TControlPage::RefreshFileList() {
  // The mask emptied and set again: the list reads the folder anew and shows the new names.
  Ui_.FileListBox1->SetMask(std::string());
  Ui_.FileListBox1->SetMask(NameBytes(Ui_.EdSearch->text()));
}

std::vector<QWidget*> TControlPage::FocusOrder() const {
  std::vector<QWidget*> order{Ui_.FileListBox1,   Ui_.ChkBxIncSubDir, Ui_.ChkBxRestartPerFolder,
                              Ui_.ChkBxUseFields, Ui_.ComboOrder,     Ui_.EdSearch};
  const std::vector<QWidget*> settings = Ui_.PageCtrlSettings->FocusOrder();
  order.insert(order.end(), settings.begin(), settings.end());
  order.insert(order.end(), {Ui_.LstBoxActions, Ui_.FilterDirectoryListBox1, Ui_.FilterDriveComboBox1});
  return order;
}

void TControlPage::EdSearchChange() { Ui_.FileListBox1->SetMask(NameBytes(Ui_.EdSearch->text())); }

// The file list shows the files in the order a pass would treat them in.
void TControlPage::ComboOrderChange() {
  const auto order = static_cast<TFileOrder>(std::max(0, Ui_.ComboOrder->currentIndex()));
  if (order == TFileOrder::Name) {
    Ui_.FileListBox1->SetArrange({});
    return;
  }
  Ui_.FileListBox1->SetArrange(
      [order](const std::string& folder, std::vector<std::string>& files, const TListingStop& stop) {
        ArrangeNames(folder, order, TOrderDirection::Ascending, files, stop);
      });
}

void TControlPage::LstBoxActionsClick() { Ui_.PageCtrlSettings->ShowOperationPage(Ui_.LstBoxActions->currentRow()); }

}  // namespace vt
