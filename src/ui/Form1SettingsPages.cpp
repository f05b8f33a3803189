#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QStackedWidget>
#include <algorithm>

#include "ui/ControlFactory.h"
#include "ui/Form1.h"
#include "ui/UpDown.h"

namespace vt {
namespace {

QWidget* AddPage(QStackedWidget* pages, const char* name) {
  auto* page = new QWidget;
  page->setObjectName(name);
  pages->addWidget(page);
  return page;
}

}  // namespace

// One page per item of LstBoxActions, in the same order.
void TForm1::BuildSettingsPages() {
  BuildSearchPage();
  BuildInsertPage();
  BuildDeletePage();
  BuildNumberPage();
  BuildCaseSensitivePage();
  BuildTruncatePage();
}

void TForm1::BuildSearchPage() {
  QWidget* page = TabSheetSetSearch = AddPage(PageCtrlSettings, "TabSheetSetSearch");
  Label3 = MakeLabel(page, "Label3", "Search for :", 7, 1);
  EdSearchFor = MakeEdit(page, "EdSearchFor", 7, 16, 195);
  Label2 = MakeLabel(page, "Label2", "Replace with :", 7, 42);
  EdReplaceWith = MakeEdit(page, "EdReplaceWith", 7, 56, 195);
  ChkBxSearchInExt = MakeCheckBox(page, "ChkBxSearchInExt", "Treat file extension", 240, 18);
  ChkBxSearchRecursive = MakeCheckBox(page, "ChkBxSearchRecursive", "Recursive", 240, 38);
  ChkBxCaseSensitive = MakeCheckBox(page, "ChkBxCaseSensitive", "Case sensitive", 240, 58);
}

void TForm1::BuildInsertPage() {
  QWidget* page = TabSheetSetInsert = AddPage(PageCtrlSettings, "TabSheetSetInsert");
  Label4 = MakeLabel(page, "Label4", "Insert :", 7, 1);
  EdInsert = MakeEdit(page, "EdInsert", 7, 16, 195);
  ComboInsertTo = MakeDropDown(
      page, "ComboInsertTo", {"To End", "At Beginning", "At Offset from Beginning ", "At Offset from End"}, 7, 56, 195);
  auto [edit, arrows] = MakeSpinField(page, "EdInsertPos", "UpDownInsertPos", 228, 56, 35, 1, 127, 1);
  EdInsertPos = edit;
  UpDownInsertPos = arrows;
  EdInsertPos->hide();
  UpDownInsertPos->hide();
}

void TForm1::BuildDeletePage() {
  // The string controls and the count controls share the right half; one group shows at a time.
  QWidget* page = TabSheetSetDelete = AddPage(PageCtrlSettings, "TabSheetSetDelete");
  Label5 = MakeLabel(page, "Label5", "Remove :", 7, 1);
  ComboItemToDelete = MakeDropDown(page, "ComboItemToDelete", {"String", "# of characters"}, 7, 16, 195);
  EdDelete = MakeEdit(page, "EdDelete", 7, 56, 195);
  ChkBxDelRecursive = MakeCheckBox(page, "ChkBxDelRecursive", "Recursive", 240, 38);
  ChkBxCaseSensDel = MakeCheckBox(page, "ChkBxCaseSensDel", "Case sensitive", 240, 58);
  LabelNnrDelete = MakeLabel(page, "LabelNnrDelete", "Characters to remove :", 218, 20);
  auto count = MakeSpinField(page, "EdNbrDelete", "UpDownNbrDelete", 392, 16, 27, 0, 127, 0);
  EdNbrDelete = count.Edit;
  UpDownNbrDelete = count.Arrows;
  ComboDeleteFrom =
      MakeDropDown(page, "ComboDeleteFrom",
                   {"From Beginning", "From End", "From Offset from Beginning ", "From Offset from End"}, 218, 56, 167);
  auto position = MakeSpinField(page, "EdDeletePos", "UpDownDeletePos", 392, 56, 27, 1, 127, 1);
  EdDeletePos = position.Edit;
  UpDownDeletePos = position.Arrows;
  for (QWidget* hidden : std::initializer_list<QWidget*>{LabelNnrDelete, EdNbrDelete, UpDownNbrDelete, ComboDeleteFrom,
                                                         EdDeletePos, UpDownDeletePos})
    hidden->hide();
}

void TForm1::BuildNumberPage() {
  QWidget* page = TabSheetSetNumber = AddPage(PageCtrlSettings, "TabSheetSetNumber");
  Label6 = MakeLabel(page, "Label6", "Starting Number :", 8, 8);
  auto start = MakeSpinField(page, "EdStartNumber", "UpDownStartNumber", 110, 4, 49, 0, 32767, 0);
  EdStartNumber = start.Edit;
  UpDownStartNumber = start.Arrows;
  Label7 = MakeLabel(page, "Label7", "Increment :", 8, 36);
  auto increment = MakeSpinField(page, "EdIncrement", "UpDownIncrement", 110, 32, 49, 1, 20, 1);
  EdIncrement = increment.Edit;
  UpDownIncrement = increment.Arrows;
  ChkBxUseBaseFilename = MakeCheckBox(page, "ChkBxUseBaseFilename", "Use Base Name", 192, 4);
  LblBaseFilename = MakeLabel(page, "LblBaseFilename", "Base Name :", 221, 28);
  ComboBaseFileName = MakeEditableDropDown(page, "ComboBaseFileName", {"Original Name "}, 296, 26, 137);
  ComboNumberInsertTo = MakeDropDown(
      page, "ComboNumberInsertTo",
      {"Append to End", "Insert at Beginning", "Insert at Offset from Beginning", "Insert at Offset from End"}, 196, 56,
      191);
  auto position = MakeSpinField(page, "EdNumberPos", "UpDownNumberPos", 392, 56, 27, 1, 127, 1);
  EdNumberPos = position.Edit;
  UpDownNumberPos = position.Arrows;
  // Never shown: its unchecked state is what a pass reads.
  ChkBxUseLeadingZero = MakeCheckBox(page, "ChkBxUseLeadingZero", "Use Leading Zero's", 8, 60);
  ChkBxDecrement = MakeCheckBox(page, "ChkBxDecrement", "Count Backwards", 91, 60);
  // Shares its row with the insert-to list once a base name is used.
  ChkBxDecrement->resize(std::min(ChkBxDecrement->width(), ComboNumberInsertTo->x() - ChkBxDecrement->x()),
                         ChkBxDecrement->height());
  for (QWidget* hidden : std::initializer_list<QWidget*>{LblBaseFilename, ComboBaseFileName, ComboNumberInsertTo,
                                                         EdNumberPos, UpDownNumberPos, ChkBxUseLeadingZero})
    hidden->hide();
}

void TForm1::BuildCaseSensitivePage() {
  QWidget* page = TabSheetSetCaseSensitive = AddPage(PageCtrlSettings, "TabSheetSetCaseSensitive");
  Label8 = MakeLabel(page, "Label8", "Convert :", 7, 1);
  ComboChangeCase = MakeDropDown(page, "ComboChangeCase",
                                 {"ALL UPPERCASE", "all lowercase", "FIRST UPPERCASE - Ignore Rest",
                                  "FIRST UPPERCASE - Rest lowercase", "wEiRd CaSe"},
                                 7, 16, 220);
  ChkBxChangecaseWithExt = MakeCheckBox(page, "ChkBxChangecaseWithExt", "Treat file extension", 244, 18);
  ChkBxChangecaseWithExt->setChecked(true);
}

void TForm1::BuildTruncatePage() {
  QWidget* page = TabSheetSetTruncate = AddPage(PageCtrlSettings, "TabSheetSetTruncate");
  Label9 = MakeLabel(page, "Label9", "Truncate :", 7, 1);
  ComboTruncateTo =
      MakeDropDown(page, "ComboTruncateTo", {"MS-DOS Short Name (8.3)", "Maximum # of characters of name"}, 7, 16, 195);
  auto count = MakeSpinField(page, "EdNbrTruncate", "UpDownNbrTruncate", 232, 16, 27, 1, 127, 1);
  EdNbrTruncate = count.Edit;
  UpDownNbrTruncate = count.Arrows;
  EdNbrTruncate->hide();
  UpDownNbrTruncate->hide();
}

}  // namespace vt
