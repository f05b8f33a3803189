// The main window as it comes up: every control's kind, caption, default,
// visibility and enabled state, the item lists, limits and positions.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolButton>

#include "ModalScript.h"
#include "UiTestApp.h"
#include "browse/FileListBox.h"
#include "browse/FilterDirectoryListBox.h"
#include "browse/FilterDriveComboBox.h"
#include "ui/Form1.h"
#include "ui/ResultListView.h"
#include "ui/UpDown.h"

namespace vt {
namespace {

enum class Kind {
  Edit,
  Check,
  ListBox,
  DropDown,
  EditableDropDown,
  Button,
  ImageButton,
  Label,
  Group,
  Tabs,
  Pages,
  Panel,
  ReportList,
  StatusBar,
  Arrows,
  DriveBox,
  FolderList,
  FileList
};

bool IsKind(QWidget* w, Kind kind) {
  switch (kind) {
    case Kind::Edit: return qobject_cast<QLineEdit*>(w) != nullptr;
    case Kind::Check: return qobject_cast<QCheckBox*>(w) != nullptr;
    case Kind::ListBox: return qobject_cast<QListWidget*>(w) != nullptr;
    case Kind::DropDown: {
      auto* c = qobject_cast<QComboBox*>(w);
      return c && !c->isEditable();
    }
    case Kind::EditableDropDown: {
      auto* c = qobject_cast<QComboBox*>(w);
      return c && c->isEditable();
    }
    case Kind::Button: return qobject_cast<QPushButton*>(w) != nullptr;
    case Kind::ImageButton: {
      auto* b = qobject_cast<QToolButton*>(w);
      return b && b->text().isEmpty() && !b->icon().isNull() && b->focusPolicy() == Qt::NoFocus;
    }
    case Kind::Label: return qobject_cast<QLabel*>(w) != nullptr;
    case Kind::Group: return qobject_cast<QGroupBox*>(w) != nullptr;
    case Kind::Tabs: return qobject_cast<QTabWidget*>(w) != nullptr;
    case Kind::Pages: return qobject_cast<QStackedWidget*>(w) != nullptr;
    case Kind::Panel: {
      auto* f = qobject_cast<QFrame*>(w);
      return f && f->frameShape() == QFrame::NoFrame;
    }
    case Kind::ReportList: return qobject_cast<TResultListView*>(w) != nullptr;
    case Kind::StatusBar: return qobject_cast<QStatusBar*>(w) != nullptr;
    case Kind::Arrows: return qobject_cast<TUpDown*>(w) != nullptr;
    case Kind::DriveBox: return qobject_cast<TFilterDriveComboBox*>(w) != nullptr;
    case Kind::FolderList: return qobject_cast<TFilterDirectoryListBox*>(w) != nullptr;
    case Kind::FileList: return qobject_cast<TFileListBox*>(w) != nullptr;
  }
  return false;
}

// The text a control shows: caption, title, or the value of an edit box.
QString Caption(QWidget* w) {
  if (auto* x = qobject_cast<QLineEdit*>(w)) return x->text();
  if (auto* x = qobject_cast<QAbstractButton*>(w)) return x->text();
  if (auto* x = qobject_cast<QLabel*>(w)) return x->text();
  if (auto* x = qobject_cast<QGroupBox*>(w)) return x->title();
  if (auto* x = qobject_cast<QComboBox*>(w)) return x->currentText();
  if (auto* x = qobject_cast<QListWidget*>(w)) return x->currentItem() ? x->currentItem()->text() : QString();
  return QString();
}

enum class Shown { Yes, Hidden };
enum class Enabled { Yes, No };

struct ControlRow {
  const char* Name;
  Kind Type;
  const char* Caption;  // nullptr: not compared
  Shown Visibility;
  Enabled State;
};

constexpr ControlRow kControls[] = {
    {"PageControl1", Kind::Tabs, nullptr, Shown::Yes, Enabled::Yes},
    {"BtQuit", Kind::Button, "Quit", Shown::Yes, Enabled::Yes},
    {"SpBtUndo", Kind::ImageButton, "", Shown::Yes, Enabled::No},
    {"BtSimul", Kind::Button, "Simulate", Shown::Yes, Enabled::Yes},
    {"BtCancel", Kind::Button, "Stop", Shown::Yes, Enabled::Yes},
    {"BtRename", Kind::Button, "Rename", Shown::Yes, Enabled::Yes},
    {"StatusBar", Kind::StatusBar, nullptr, Shown::Yes, Enabled::Yes},
    {"Panel1", Kind::Panel, nullptr, Shown::Yes, Enabled::Yes},
    {"FilterDriveComboBox1", Kind::DriveBox, nullptr, Shown::Yes, Enabled::Yes},
    {"FilterDirectoryListBox1", Kind::FolderList, nullptr, Shown::Yes, Enabled::Yes},
    {"Label1", Kind::Label, "Search :", Shown::Yes, Enabled::Yes},
    {"EdSearch", Kind::Edit, "*.*", Shown::Yes, Enabled::Yes},
    {"FileListBox1", Kind::FileList, nullptr, Shown::Yes, Enabled::Yes},
    {"GroupBoxTreatments", Kind::Group, "Options", Shown::Yes, Enabled::Yes},
    {"ChkBxIncSubDir", Kind::Check, "Include sub-directories", Shown::Yes, Enabled::Yes},
    {"ChkBxForceReadOnly", Kind::Check, "Force if read only", Shown::Hidden, Enabled::Yes},
    {"GroupBoxActions", Kind::Group, "Functions", Shown::Yes, Enabled::Yes},
    {"LstBoxActions", Kind::ListBox, "Search/Replace", Shown::Yes, Enabled::Yes},
    {"PageCtrlSettings", Kind::Pages, nullptr, Shown::Yes, Enabled::Yes},
    // Search/Replace
    {"Label3", Kind::Label, "Search for :", Shown::Yes, Enabled::Yes},
    {"EdSearchFor", Kind::Edit, "", Shown::Yes, Enabled::Yes},
    {"Label2", Kind::Label, "Replace with :", Shown::Yes, Enabled::Yes},
    {"EdReplaceWith", Kind::Edit, "", Shown::Yes, Enabled::Yes},
    {"ChkBxSearchInExt", Kind::Check, "Treat file extension", Shown::Yes, Enabled::Yes},
    {"ChkBxSearchRecursive", Kind::Check, "Recursive", Shown::Yes, Enabled::Yes},
    {"ChkBxCaseSensitive", Kind::Check, "Case sensitive", Shown::Yes, Enabled::Yes},
    {"ChkBxRegex", Kind::Check, "Regular expression", Shown::Yes, Enabled::Yes},
    // Insert
    {"Label4", Kind::Label, "Insert :", Shown::Yes, Enabled::Yes},
    {"EdInsert", Kind::Edit, "", Shown::Yes, Enabled::Yes},
    {"ComboInsertTo", Kind::DropDown, "To End", Shown::Yes, Enabled::Yes},
    {"EdInsertPos", Kind::Edit, "1", Shown::Hidden, Enabled::Yes},
    {"UpDownInsertPos", Kind::Arrows, nullptr, Shown::Hidden, Enabled::Yes},
    // Remove
    {"Label5", Kind::Label, "Remove :", Shown::Yes, Enabled::Yes},
    {"ComboItemToDelete", Kind::DropDown, "String", Shown::Yes, Enabled::Yes},
    {"EdDelete", Kind::Edit, "", Shown::Yes, Enabled::Yes},
    {"ChkBxDelRecursive", Kind::Check, "Recursive", Shown::Yes, Enabled::Yes},
    {"ChkBxCaseSensDel", Kind::Check, "Case sensitive", Shown::Yes, Enabled::Yes},
    {"LabelNnrDelete", Kind::Label, "Characters to remove :", Shown::Hidden, Enabled::Yes},
    {"EdNbrDelete", Kind::Edit, "0", Shown::Hidden, Enabled::Yes},
    {"UpDownNbrDelete", Kind::Arrows, nullptr, Shown::Hidden, Enabled::Yes},
    {"ComboDeleteFrom", Kind::DropDown, "From Beginning", Shown::Hidden, Enabled::Yes},
    {"EdDeletePos", Kind::Edit, "1", Shown::Hidden, Enabled::Yes},
    {"UpDownDeletePos", Kind::Arrows, nullptr, Shown::Hidden, Enabled::Yes},
    // Number
    {"Label6", Kind::Label, "Starting Number :", Shown::Yes, Enabled::Yes},
    {"EdStartNumber", Kind::Edit, "0", Shown::Yes, Enabled::Yes},
    {"UpDownStartNumber", Kind::Arrows, nullptr, Shown::Yes, Enabled::Yes},
    {"Label7", Kind::Label, "Increment :", Shown::Yes, Enabled::Yes},
    {"EdIncrement", Kind::Edit, "1", Shown::Yes, Enabled::Yes},
    {"UpDownIncrement", Kind::Arrows, nullptr, Shown::Yes, Enabled::Yes},
    {"ChkBxUseBaseFilename", Kind::Check, "Use Base Name", Shown::Yes, Enabled::Yes},
    {"LblBaseFilename", Kind::Label, "Base Name :", Shown::Hidden, Enabled::Yes},
    {"ComboBaseFileName", Kind::EditableDropDown, "", Shown::Hidden, Enabled::Yes},
    {"ComboNumberInsertTo", Kind::DropDown, "Append to End", Shown::Hidden, Enabled::Yes},
    {"EdNumberPos", Kind::Edit, "1", Shown::Hidden, Enabled::Yes},
    {"UpDownNumberPos", Kind::Arrows, nullptr, Shown::Hidden, Enabled::Yes},
    {"ChkBxUseLeadingZero", Kind::Check, "Use Leading Zero's", Shown::Hidden, Enabled::Yes},
    {"ChkBxDecrement", Kind::Check, "Count Backwards", Shown::Yes, Enabled::Yes},
    // Change Case
    {"Label8", Kind::Label, "Convert :", Shown::Yes, Enabled::Yes},
    {"ComboChangeCase", Kind::DropDown, "ALL UPPERCASE", Shown::Yes, Enabled::Yes},
    {"ChkBxChangecaseWithExt", Kind::Check, "Treat file extension", Shown::Yes, Enabled::Yes},
    {"ChkBxChangecaseExtOnly", Kind::Check, "Extension only", Shown::Yes, Enabled::Yes},
    // Truncate
    {"Label9", Kind::Label, "Truncate :", Shown::Yes, Enabled::Yes},
    {"ComboTruncateTo", Kind::DropDown, "MS-DOS Short Name (8.3)", Shown::Yes, Enabled::Yes},
    {"EdNbrTruncate", Kind::Edit, "1", Shown::Hidden, Enabled::Yes},
    {"UpDownNbrTruncate", Kind::Arrows, nullptr, Shown::Hidden, Enabled::Yes},
    // Result
    {"ListView", Kind::ReportList, nullptr, Shown::Yes, Enabled::Yes},
    {"Panel2", Kind::Panel, nullptr, Shown::Yes, Enabled::Yes},
    {"ChkBxAllRecord", Kind::Check, "To Record all messages", Shown::Yes, Enabled::Yes},
    {"BtLoadResult", Kind::Button, "Load Result", Shown::Yes, Enabled::Yes},
    {"BtSaveAsResult", Kind::Button, "Save Result", Shown::Yes, Enabled::No},
    {"BtClearResult", Kind::Button, "Clear Result", Shown::Yes, Enabled::No},
};

class Form1Controls : public testing::Test {
 protected:
  TForm1 Form;
  QWidget* Find(const char* name) { return Form.findChild<QWidget*>(name); }
};

TEST_F(Form1Controls, EveryControlHasItsKindCaptionVisibilityAndEnabledState) {
  for (const ControlRow& row : kControls) {
    SCOPED_TRACE(row.Name);
    QWidget* w = Find(row.Name);
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(IsKind(w, row.Type));
    if (row.Caption) {
      EXPECT_EQ(Caption(w), QString(row.Caption));
    }
    EXPECT_EQ(w->isHidden(), row.Visibility == Shown::Hidden);
    EXPECT_EQ(w->isEnabled(), row.State == Enabled::Yes);
  }
}

TEST_F(Form1Controls, EachNameBelongsToOneControl) {
  EXPECT_EQ(Form.objectName(), "Form1");
  EXPECT_EQ(Form.windowTitle(), "Veltrane");
  // Each name belongs to one control only.
  for (const ControlRow& row : kControls) EXPECT_EQ(Form.findChildren<QWidget*>(row.Name).size(), 1) << row.Name;
}

TEST_F(Form1Controls, StartsOnTheControlPageWithSearchReplaceChosen) {
  EXPECT_EQ(test::Named<QTabWidget>(Form, "PageControl1")->count(), 2);
  EXPECT_EQ(test::Named<QTabWidget>(Form, "PageControl1")->currentWidget(),
            test::Named<QWidget>(Form, "TabSheetControls"));
  EXPECT_EQ(test::Named<QTabWidget>(Form, "PageControl1")->tabText(0), "Control");
  EXPECT_EQ(test::Named<QTabWidget>(Form, "PageControl1")->tabText(1), "Result");
  EXPECT_EQ(test::Named<QTabWidget>(Form, "PageControl1")->widget(1), test::Named<QWidget>(Form, "TabSheetResults"));
  EXPECT_EQ(test::Named<QListWidget>(Form, "LstBoxActions")->currentRow(), 0);
  EXPECT_EQ(test::Named<QStackedWidget>(Form, "PageCtrlSettings")->currentWidget(),
            test::Named<QWidget>(Form, "TabSheetSetSearch"));
  EXPECT_FALSE(Form.FSimulation());
  EXPECT_EQ(Form.PanelText(0), "");
  EXPECT_EQ(Form.PanelText(1), "");
}

TEST_F(Form1Controls, SettingsPagesFollowTheOrderOfTheOperations) {
  const char* const pages[] = {"TabSheetSetSearch", "TabSheetSetInsert",        "TabSheetSetDelete",
                               "TabSheetSetNumber", "TabSheetSetCaseSensitive", "TabSheetSetTruncate"};
  const QStringList operations = {"Search/Replace", "Insert", "Remove", "Number", "Change Case", "Truncate"};
  ASSERT_EQ(test::Named<QStackedWidget>(Form, "PageCtrlSettings")->count(), 6);
  ASSERT_EQ(test::Named<QListWidget>(Form, "LstBoxActions")->count(), 6);
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(test::Named<QStackedWidget>(Form, "PageCtrlSettings")->widget(i)->objectName(), pages[i]);
    EXPECT_EQ(test::Named<QListWidget>(Form, "LstBoxActions")->item(i)->text(), operations[i]);
  }
}

QStringList Items(const QComboBox* combo) {
  QStringList items;
  for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
  return items;
}

TEST_F(Form1Controls, DropDownItemsKeepTheirTrailingBlanks) {
  const struct {
    QComboBox* Combo;
    QStringList Items;
  } lists[] = {
      {test::Named<QComboBox>(Form, "ComboInsertTo"),
       {"To End", "At Beginning", "At Offset from Beginning ", "At Offset from End"}},
      {test::Named<QComboBox>(Form, "ComboItemToDelete"), {"String", "# of characters"}},
      {test::Named<QComboBox>(Form, "ComboDeleteFrom"),
       {"From Beginning", "From End", "From Offset from Beginning ", "From Offset from End"}},
      {test::Named<QComboBox>(Form, "ComboBaseFileName"), {"Original Name "}},
      {test::Named<QComboBox>(Form, "ComboNumberInsertTo"),
       {"Append to End", "Insert at Beginning", "Insert at Offset from Beginning", "Insert at Offset from End"}},
      {test::Named<QComboBox>(Form, "ComboChangeCase"),
       {"ALL UPPERCASE", "all lowercase", "FIRST UPPERCASE - Ignore Rest", "FIRST UPPERCASE - Rest lowercase",
        "wEiRd CaSe"}},
      {test::Named<QComboBox>(Form, "ComboTruncateTo"), {"MS-DOS Short Name (8.3)", "Maximum # of characters of name"}},
  };
  for (const auto& list : lists) {
    SCOPED_TRACE(list.Combo->objectName().toStdString());
    EXPECT_EQ(Items(list.Combo), list.Items);
  }
  // Free text in the base name, which starts empty and never becomes an item.
  EXPECT_EQ(test::Named<QComboBox>(Form, "ComboBaseFileName")->currentText(), "");
  EXPECT_EQ(test::Named<QComboBox>(Form, "ComboBaseFileName")->insertPolicy(), QComboBox::NoInsert);
}

TEST_F(Form1Controls, CheckBoxDefaults) {
  for (QCheckBox* box :
       {test::Named<QCheckBox>(Form, "ChkBxIncSubDir"), test::Named<QCheckBox>(Form, "ChkBxForceReadOnly"),
        test::Named<QCheckBox>(Form, "ChkBxSearchInExt"), test::Named<QCheckBox>(Form, "ChkBxSearchRecursive"),
        test::Named<QCheckBox>(Form, "ChkBxCaseSensitive"), test::Named<QCheckBox>(Form, "ChkBxDelRecursive"),
        test::Named<QCheckBox>(Form, "ChkBxCaseSensDel"), test::Named<QCheckBox>(Form, "ChkBxUseBaseFilename"),
        test::Named<QCheckBox>(Form, "ChkBxUseLeadingZero"), test::Named<QCheckBox>(Form, "ChkBxDecrement"),
        test::Named<QCheckBox>(Form, "ChkBxAllRecord")})
    EXPECT_FALSE(box->isChecked()) << box->objectName().toStdString();
  EXPECT_TRUE(test::Named<QCheckBox>(Form, "ChkBxChangecaseWithExt")->isChecked());
}

TEST_F(Form1Controls, SpinFieldsPairAnEditBoxWithItsArrows) {
  const struct {
    TUpDown* Arrows;
    QLineEdit* Edit;
    int Min, Max, Position;
  } fields[] = {
      {test::Named<TUpDown>(Form, "UpDownInsertPos"), test::Named<QLineEdit>(Form, "EdInsertPos"), 1, 127, 1},
      {test::Named<TUpDown>(Form, "UpDownNbrDelete"), test::Named<QLineEdit>(Form, "EdNbrDelete"), 0, 127, 0},
      {test::Named<TUpDown>(Form, "UpDownDeletePos"), test::Named<QLineEdit>(Form, "EdDeletePos"), 1, 127, 1},
      {test::Named<TUpDown>(Form, "UpDownStartNumber"), test::Named<QLineEdit>(Form, "EdStartNumber"), 0, 32767, 0},
      {test::Named<TUpDown>(Form, "UpDownIncrement"), test::Named<QLineEdit>(Form, "EdIncrement"), 1, 20, 1},
      {test::Named<TUpDown>(Form, "UpDownNumberPos"), test::Named<QLineEdit>(Form, "EdNumberPos"), 1, 127, 1},
      {test::Named<TUpDown>(Form, "UpDownNbrTruncate"), test::Named<QLineEdit>(Form, "EdNbrTruncate"), 1, 127, 1},
  };
  for (const auto& f : fields) {
    SCOPED_TRACE(f.Arrows->objectName().toStdString());
    EXPECT_EQ(f.Arrows->Associate(), f.Edit);
    EXPECT_EQ(f.Arrows->Min(), f.Min);
    EXPECT_EQ(f.Arrows->Max(), f.Max);
    EXPECT_EQ(f.Arrows->Position(), f.Position);
    EXPECT_EQ(f.Edit->text(), QString::number(f.Position));
    // The arrows stand right of their edit box, as high as it is.
    EXPECT_EQ(f.Arrows->geometry().left(), f.Edit->geometry().right() + 1);
    EXPECT_EQ(f.Arrows->width(), 15);
    EXPECT_EQ(f.Arrows->height(), f.Edit->height());
    EXPECT_EQ(f.Arrows->isHidden(), f.Edit->isHidden());
  }
}

TEST_F(Form1Controls, ControlsStandWhereTheLayoutPutsThem) {
  const struct {
    QWidget* Control;
    QRect Geometry;  // width or height 0: not compared
  } places[] = {
      {test::Named<QTabWidget>(Form, "PageControl1"), {0, 0, 620, 339}},
      {test::Named<QPushButton>(Form, "BtQuit"), {10, 344, 75, 26}},
      {test::Named<QToolButton>(Form, "SpBtUndo"), {276, 344, 26, 26}},
      {test::Named<QPushButton>(Form, "BtSimul"), {312, 344, 79, 26}},
      {test::Named<QPushButton>(Form, "BtCancel"), {400, 344, 101, 26}},
      {test::Named<QPushButton>(Form, "BtRename"), {510, 344, 101, 26}},
      {test::Named<QStatusBar>(Form, "StatusBar"), {0, 375, 620, 19}},
      {test::Named<TFilterDriveComboBox>(Form, "FilterDriveComboBox1"), {6, 8, 179, 0}},
      {test::Named<TFilterDirectoryListBox>(Form, "FilterDirectoryListBox1"), {6, 38, 303, 111}},
      {test::Named<QLineEdit>(Form, "EdSearch"), {384, 6, 205, 0}},
      {test::Named<TFileListBox>(Form, "FileListBox1"), {322, 38, 285, 111}},
      {test::Named<QGroupBox>(Form, "GroupBoxTreatments"), {6, 155, 601, 40}},
      {test::Named<QGroupBox>(Form, "GroupBoxActions"), {6, 206, 601, 100}},
      {test::Named<QListWidget>(Form, "LstBoxActions"), {12, 20, 127, 69}},
      {test::Named<QStackedWidget>(Form, "PageCtrlSettings"), {150, 6, 449, 92}},
      {test::Named<QLineEdit>(Form, "EdSearchFor"), {7, 16, 195, 0}},
      {test::Named<QComboBox>(Form, "ComboInsertTo"), {7, 56, 195, 0}},
      {test::Named<QLineEdit>(Form, "EdInsertPos"), {228, 56, 35, 0}},
      {test::Named<QLineEdit>(Form, "EdNbrDelete"), {392, 16, 27, 0}},
      {test::Named<QComboBox>(Form, "ComboDeleteFrom"), {218, 56, 167, 0}},
      {test::Named<QLineEdit>(Form, "EdStartNumber"), {110, 4, 49, 0}},
      {test::Named<QComboBox>(Form, "ComboBaseFileName"), {296, 26, 137, 0}},
      {test::Named<QComboBox>(Form, "ComboNumberInsertTo"), {196, 56, 191, 0}},
      {test::Named<QComboBox>(Form, "ComboChangeCase"), {7, 16, 220, 0}},
      {test::Named<QLineEdit>(Form, "EdNbrTruncate"), {232, 16, 27, 0}},
      {test::Named<QPushButton>(Form, "BtLoadResult"), {188, 4, 127, 20}},
      {test::Named<QPushButton>(Form, "BtSaveAsResult"), {328, 4, 127, 20}},
      {test::Named<QPushButton>(Form, "BtClearResult"), {468, 4, 127, 20}},
  };
  for (const auto& place : places) {
    SCOPED_TRACE(place.Control->objectName().toStdString());
    const QRect actual = place.Control->geometry();
    EXPECT_EQ(actual.topLeft(), place.Geometry.topLeft());
    if (place.Geometry.width()) {
      EXPECT_EQ(actual.width(), place.Geometry.width());
    }
    if (place.Geometry.height()) {
      EXPECT_EQ(actual.height(), place.Geometry.height());
    }
  }
  EXPECT_EQ(test::Named<QCheckBox>(Form, "ChkBxIncSubDir")->pos(), QPoint(12, 18));
  EXPECT_EQ(test::Named<QCheckBox>(Form, "ChkBxAllRecord")->pos(), QPoint(18, 4));
  EXPECT_EQ(test::Named<QFrame>(Form, "Panel2")->height(), 25);
}

TEST_F(Form1Controls, BoldFieldsAndButtonImages) {
  EXPECT_TRUE(test::Named<QLineEdit>(Form, "EdSearch")->font().bold());
  EXPECT_TRUE(test::Named<QPushButton>(Form, "BtRename")->font().bold());
  EXPECT_FALSE(test::Named<QPushButton>(Form, "BtSimul")->font().bold());
  const struct {
    QAbstractButton* Button;
    int Size;
  } images[] = {{test::Named<QToolButton>(Form, "SpBtUndo"), 20},
                {test::Named<QPushButton>(Form, "BtCancel"), 16},
                {test::Named<QPushButton>(Form, "BtRename"), 20},
                {test::Named<QPushButton>(Form, "BtSimul"), 20},
                {test::Named<QPushButton>(Form, "BtQuit"), 16}};
  for (const auto& image : images) {
    SCOPED_TRACE(image.Button->objectName().toStdString());
    const QIcon icon = image.Button->icon();
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(image.Button->iconSize(), QSize(image.Size, image.Size));
    // A grey copy of its own for the disabled look.
    const QImage normal = icon.pixmap(image.Size, QIcon::Normal).toImage();
    const QImage disabled = icon.pixmap(image.Size, QIcon::Disabled).toImage();
    EXPECT_NE(normal, disabled);
    for (int y = 0; y < disabled.height(); ++y)
      for (int x = 0; x < disabled.width(); ++x) {
        const QRgb p = disabled.pixel(x, y);
        if (qAlpha(p) == 255) {
          ASSERT_TRUE(qRed(p) == qGreen(p) && qGreen(p) == qBlue(p));
        }
      }
  }
  EXPECT_EQ(test::Named<QToolButton>(Form, "SpBtUndo")->toolTip(), "Undo");
}

TEST_F(Form1Controls, BrowsingWidgetsAreLinked) {
  EXPECT_EQ(test::Named<TFilterDriveComboBox>(Form, "FilterDriveComboBox1")->DirList(),
            test::Named<TFilterDirectoryListBox>(Form, "FilterDirectoryListBox1"));
  EXPECT_EQ(test::Named<TFilterDriveComboBox>(Form, "FilterDriveComboBox1")->IncludeDriveType(),
            IncludeBit(TIncludeType::itFloppy) | IncludeBit(TIncludeType::itFixed) |
                IncludeBit(TIncludeType::itNetwork) | IncludeBit(TIncludeType::itRAM));
  EXPECT_EQ(test::Named<TFilterDriveComboBox>(Form, "FilterDriveComboBox1")->DriveTypeSelected(),
            TDriveType::dtUnknown);
}

TEST_F(Form1Controls, StatusBarHasTwoPanelsOf200) {
  for (int i = 0; i < 2; ++i) EXPECT_EQ(test::Named<QLabel>(Form, QString("StatusPanel%1").arg(i))->width(), 200);
  EXPECT_FALSE(test::Named<QStatusBar>(Form, "StatusBar")->isSizeGripEnabled());
  Form.SetPanelText(1, "Process stopped by user...");
  EXPECT_EQ(Form.PanelText(1), "Process stopped by user...");
  EXPECT_EQ(Form.PanelText(0), "");
}

TEST_F(Form1Controls, ResultFileDialogs) {
  Form.ResultTable().AppendRow("img.jpg", "Rome.jpg", "/srv/photos/", "Ok");
  test::Named<QAction>(Form, "SaveAsItem")->setEnabled(true);
  const struct {
    const char* Command;
    const char* Name;
    QFileDialog::AcceptMode Mode;
  } dialogs[] = {{"LoadResultItem", "OpenDialog1", QFileDialog::AcceptOpen},
                 {"SaveAsItem", "SaveDialog1", QFileDialog::AcceptSave},
                 {"LoadResultItem", "OpenDialog1", QFileDialog::AcceptOpen}};
  for (const auto& d : dialogs) {
    SCOPED_TRACE(d.Name);
    test::TModalScript script;
    script
        .Then([&](QWidget* modal) {
          auto* dialog = qobject_cast<QFileDialog*>(modal);
          ASSERT_NE(dialog, nullptr);
          EXPECT_EQ(dialog->acceptMode(), d.Mode);
          EXPECT_EQ(dialog->defaultSuffix(), "vtr");
          EXPECT_EQ(dialog->nameFilters(),
                    QStringList{d.Mode == QFileDialog::AcceptOpen ? "Veltrane File Result or Journal (*.vtr *.vtj)"
                                                                  : "Veltrane File Result (*.vtr)"});
          dialog->reject();
        })
        .Run([&] { test::Named<QAction>(Form, d.Command)->trigger(); });
    EXPECT_EQ(script.Seen(), QStringList{QString("dialog:") + d.Name});
    EXPECT_FALSE(test::Named<QFileDialog>(Form, d.Name)->isVisible());
    EXPECT_EQ(Form.findChildren<QFileDialog*>(d.Name).size(), 1);  // made once
  }
}

}  // namespace
}  // namespace vt
