// The "Control" page on its own: what its controls hold is what a pass and the
// checks before it read (the values, the settings, where the pass walks).
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QVariant>
#include <functional>
#include <sstream>

#include "UiTestApp.h"
#include "browse/FilterDirectoryListBox.h"
#include "support/TempFolder.h"
#include "ui/ControlPage.h"
#include "ui/InputFilters.h"

namespace vt {
namespace {

// Every field, so that a value read into the wrong field shows.
std::string Fields(const TControlValues& v) {
  std::ostringstream out;
  out << v.LstBoxActions << '|' << v.EdSearchFor << '|' << v.EdReplaceWith << '|' << v.ChkBxSearchRecursive
      << v.ChkBxCaseSensitive << v.ChkBxSearchInExt << v.ChkBxRegex << '|' << v.EdInsert << '|' << v.ComboInsertTo
      << '|' << v.UpDownInsertPos << '|' << v.EdDelete << '|' << v.ComboItemToDelete << '|' << v.UpDownDeletePos << '|'
      << v.UpDownNbrDelete << '|' << v.ChkBxDelRecursive << v.ChkBxCaseSensDel << '|' << v.ComboDeleteFrom << '|'
      << v.ComboBaseFileName << '|' << v.ChkBxUseBaseFilename << '|' << v.EdStartNumber << '|' << v.UpDownStartNumber
      << '|' << v.UpDownIncrement << '|' << v.ChkBxUseLeadingZero << v.ChkBxDecrement << '|' << v.ComboNumberInsertTo
      << '|' << v.UpDownNumberPos << '|' << v.ComboChangeCase << '|' << v.ChkBxChangecaseWithExt
      << v.ChkBxChangecaseExtOnly << '|' << v.ComboTruncateTo << '|' << v.UpDownNbrTruncate;
  return out.str();
}

// Sets a control as the user would leave it: text typed, box ticked, item chosen.
void Set(QWidget* control, const QVariant& value) {
  if (auto* edit = qobject_cast<QLineEdit*>(control)) {
    edit->setText(value.toString());
  } else if (auto* box = qobject_cast<QCheckBox*>(control)) {
    box->setChecked(value.toBool());
  } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
    if (combo->isEditable())
      combo->setEditText(value.toString());
    else
      combo->setCurrentIndex(value.toInt());
  } else if (auto* list = qobject_cast<QListWidget*>(control)) {
    list->setCurrentRow(value.toInt());
  } else {
    FAIL() << "no way to set " << control->objectName().toStdString();
  }
}

TEST(ControlPage, StartsAtTheDefaultValues) {
  const TControlPage page;
  EXPECT_EQ(Fields(page.Values()), Fields(TControlValues{}));
}

TEST(ControlPage, EachControlIsReadIntoItsOwnValue) {
  const struct {
    const char* Control;
    QVariant Value;
    std::function<void(TControlValues&)> Expected;
  } cases[] = {
      {"LstBoxActions", 4, [](TControlValues& v) { v.LstBoxActions = 4; }},
      {"LstBoxActions", -1, [](TControlValues& v) { v.LstBoxActions = -1; }},
      {"EdSearchFor", "IMG_*", [](TControlValues& v) { v.EdSearchFor = "IMG_*"; }},
      {"EdReplaceWith", "Rome ", [](TControlValues& v) { v.EdReplaceWith = "Rome "; }},
      {"ChkBxSearchRecursive", true, [](TControlValues& v) { v.ChkBxSearchRecursive = true; }},
      {"ChkBxCaseSensitive", true, [](TControlValues& v) { v.ChkBxCaseSensitive = true; }},
      {"ChkBxSearchInExt", true, [](TControlValues& v) { v.ChkBxSearchInExt = true; }},
      {"ChkBxRegex", true, [](TControlValues& v) { v.ChkBxRegex = true; }},
      {"EdInsert", "été ", [](TControlValues& v) { v.EdInsert = "\xC3\xA9t\xC3\xA9 "; }},
      {"ComboInsertTo", 3, [](TControlValues& v) { v.ComboInsertTo = 3; }},
      {"EdInsertPos", "12", [](TControlValues& v) { v.UpDownInsertPos = 12; }},
      {"EdDelete", "copy", [](TControlValues& v) { v.EdDelete = "copy"; }},
      {"ComboItemToDelete", 1, [](TControlValues& v) { v.ComboItemToDelete = 1; }},
      {"EdDeletePos", "7", [](TControlValues& v) { v.UpDownDeletePos = 7; }},
      {"EdNbrDelete", "3", [](TControlValues& v) { v.UpDownNbrDelete = 3; }},
      {"ChkBxDelRecursive", true, [](TControlValues& v) { v.ChkBxDelRecursive = true; }},
      {"ChkBxCaseSensDel", true, [](TControlValues& v) { v.ChkBxCaseSensDel = true; }},
      {"ComboDeleteFrom", 2, [](TControlValues& v) { v.ComboDeleteFrom = 2; }},
      {"ComboBaseFileName", "Holiday", [](TControlValues& v) { v.ComboBaseFileName = "Holiday"; }},
      {"ChkBxUseBaseFilename", true, [](TControlValues& v) { v.ChkBxUseBaseFilename = true; }},
      // The number's text as typed, leading zeros and all, and its value.
      {"EdStartNumber", "007",
       [](TControlValues& v) {
         v.EdStartNumber = "007";
         v.UpDownStartNumber = 7;
       }},
      {"EdIncrement", "5", [](TControlValues& v) { v.UpDownIncrement = 5; }},
      {"ChkBxUseLeadingZero", true, [](TControlValues& v) { v.ChkBxUseLeadingZero = true; }},
      {"ChkBxDecrement", true, [](TControlValues& v) { v.ChkBxDecrement = true; }},
      {"ComboNumberInsertTo", 1, [](TControlValues& v) { v.ComboNumberInsertTo = 1; }},
      {"EdNumberPos", "9", [](TControlValues& v) { v.UpDownNumberPos = 9; }},
      {"ComboChangeCase", 4, [](TControlValues& v) { v.ComboChangeCase = 4; }},
      {"ChkBxChangecaseWithExt", false, [](TControlValues& v) { v.ChkBxChangecaseWithExt = false; }},
      {"ChkBxChangecaseExtOnly", true, [](TControlValues& v) { v.ChkBxChangecaseExtOnly = true; }},
      {"ComboTruncateTo", 1, [](TControlValues& v) { v.ComboTruncateTo = 1; }},
      {"EdNbrTruncate", "20", [](TControlValues& v) { v.UpDownNbrTruncate = 20; }},
      // Beyond their arrows' limits, number fields give their limit.
      {"EdNbrTruncate", "500", [](TControlValues& v) { v.UpDownNbrTruncate = 127; }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Control);
    TControlPage page;
    Set(test::Named<QWidget>(page, c.Control), c.Value);
    TControlValues expected;
    c.Expected(expected);
    EXPECT_EQ(Fields(page.Values()), Fields(expected));
  }
}

TEST(ControlPage, TheSettingsAreThoseOfTheChosenOperation) {
  const struct {
    int Row;
    TOperation Operation;
  } cases[] = {{0, TOperation::SearchReplace}, {1, TOperation::Insert},     {2, TOperation::Remove},
               {3, TOperation::Number},        {4, TOperation::ChangeCase}, {5, TOperation::Truncate}};
  for (const auto& c : cases) {
    TControlPage page;
    test::Named<QLineEdit>(page, "EdSearchFor")->setText("a");
    test::Named<QLineEdit>(page, "EdInsert")->setText("b");
    test::Named<QLineEdit>(page, "EdDelete")->setText("c");
    test::Named<QLineEdit>(page, "EdStartNumber")->setText("4");
    test::Named<QComboBox>(page, "ComboChangeCase")->setCurrentIndex(1);
    test::Named<QLineEdit>(page, "EdNbrTruncate")->setText("8");
    test::Named<QListWidget>(page, "LstBoxActions")->setCurrentRow(c.Row);
    const TRenameSettings settings = page.Settings();
    EXPECT_EQ(settings.Operation, c.Operation) << c.Row;
    // Only the chosen operation's fields are taken.
    EXPECT_EQ(settings.ReplaceInfos.SearchFor, c.Row == 0 ? "a" : "") << c.Row;
    EXPECT_EQ(settings.InsertInfos.Text, c.Row == 1 ? "b" : "") << c.Row;
    EXPECT_EQ(settings.DeleteInfos.Text, c.Row == 2 ? "c" : "") << c.Row;
    EXPECT_EQ(settings.NumberInfos.Start, c.Row == 3 ? 4 : 0) << c.Row;
    EXPECT_EQ(settings.CaseKind, c.Row == 4 ? TCaseKind::Lower : TCaseKind::Upper) << c.Row;
    EXPECT_EQ(settings.MaxChars, c.Row == 5 ? 8 : 0) << c.Row;
  }
}

TEST(ControlPage, ThePassWalksTheFolderOfTheListWithTheMasksAndTheSubFolderChoice) {
  const test::TTempFolder folder;
  const struct {
    const char* Masks;
    bool SubDirs;
  } cases[] = {{"*.*", false}, {"*.jpg;*.png", true}, {"", false}, {"photo ?.jpeg", true}};
  for (const auto& c : cases) {
    TControlPage page;
    test::Named<TFilterDirectoryListBox>(page, "FilterDirectoryListBox1")->SetFolder(folder.Path().string());
    test::Named<QLineEdit>(page, "EdSearch")->setText(c.Masks);
    test::Named<QCheckBox>(page, "ChkBxIncSubDir")->setChecked(c.SubDirs);
    const TSearchPassOptions options = page.PassOptions();
    EXPECT_EQ(options.Folder, folder.Folder()) << c.Masks;
    EXPECT_EQ(options.Masks, c.Masks);
    EXPECT_EQ(options.IncludeSubDirs, c.SubDirs) << c.Masks;
  }
}

TEST(ControlPage, TheOrderTheCounterAndTheFieldsGoToThePass) {
  const struct {
    int Order;
    TFileOrder Expected;
    bool Restart;
    bool Fields;
    bool Reverse = false;
    bool Chains = false;
  } cases[] = {{0, TFileOrder::Name, false, false},
               {1, TFileOrder::Natural, true, false, false, true},
               {2, TFileOrder::Modified, false, true},
               {3, TFileOrder::Taken, true, true, false, true},
               {4, TFileOrder::Size, false, false},
               {0, TFileOrder::Name, false, false, true},
               {3, TFileOrder::Taken, false, true, true, true}};
  for (const auto& c : cases) {
    TControlPage page;
    auto* order = test::Named<QComboBox>(page, "ComboOrder");
    EXPECT_EQ(order->itemText(c.Order).toStdString(),
              (std::vector<std::string>{"Name", "Natural", "Date modified", "Date taken",
                                        "Size"}[static_cast<std::size_t>(c.Order)]));
    order->setCurrentIndex(c.Order);
    test::Named<QCheckBox>(page, "ChkBxRestartPerFolder")->setChecked(c.Restart);
    test::Named<QCheckBox>(page, "ChkBxUseFields")->setChecked(c.Fields);
    test::Named<QAction>(page, "ChainsItem")->setChecked(c.Chains);
    test::Named<QCheckBox>(page, "ChkBxReverse")->setChecked(c.Reverse);
    const TSearchPassOptions options = page.PassOptions();
    EXPECT_EQ(options.Chains, c.Chains) << c.Order;
    EXPECT_EQ(options.Order, c.Expected) << c.Order;
    EXPECT_EQ(options.Direction, c.Reverse ? TOrderDirection::Descending : TOrderDirection::Ascending) << c.Order;
    EXPECT_EQ(options.RestartPerFolder, c.Restart) << c.Order;
    EXPECT_EQ(page.Values().ChkBxUseFields, c.Fields) << c.Order;
  }
}

// The order and Reverse as the user last chose them, in a new window too; a
// program setting them is no choice of the user's.
TEST(ControlPage, TheOrderAndReverseAreRememberedWhenTheUserChooses) {
  {
    TControlPage page;
    auto* order = test::Named<QComboBox>(page, "ComboOrder");
    auto* reverse = test::Named<QCheckBox>(page, "ChkBxReverse");
    EXPECT_EQ(order->currentIndex(), 0);
    EXPECT_FALSE(reverse->isChecked());
    order->setCurrentIndex(4);
    reverse->setChecked(true);
  }
  {
    TControlPage page;
    EXPECT_EQ(page.PassOptions().Order, TFileOrder::Name);
    EXPECT_EQ(page.PassOptions().Direction, TOrderDirection::Ascending);
    auto* order = test::Named<QComboBox>(page, "ComboOrder");
    order->setCurrentIndex(3);
    emit order->activated(3);
    test::Named<QCheckBox>(page, "ChkBxReverse")->click();
  }
  {
    TControlPage page;
    EXPECT_EQ(page.PassOptions().Order, TFileOrder::Taken);
    EXPECT_EQ(page.PassOptions().Direction, TOrderDirection::Descending);
    // Back to the default, for the tests after this one.
    auto* order = test::Named<QComboBox>(page, "ComboOrder");
    order->setCurrentIndex(0);
    emit order->activated(0);
    test::Named<QCheckBox>(page, "ChkBxReverse")->click();
  }
  const TControlPage page;
  EXPECT_EQ(page.PassOptions().Order, TFileOrder::Name);
  EXPECT_EQ(page.PassOptions().Direction, TOrderDirection::Ascending);
}

// Use fields lets a field's characters into the text to insert, and only inside a field.
TEST(ControlPage, UseFieldsLetsTheCharactersOfAFieldThrough) {
  for (const bool fields : {false, true}) {
    TControlPage page;
    test::Named<QCheckBox>(page, "ChkBxUseFields")->setChecked(fields);
    auto* insert = test::Named<QLineEdit>(page, "EdInsert");
    insert->setText("{taken:%H:%M} a:b");  // as a paste
    insert->setCursorPosition(int(insert->text().size()));
    QApplication::sendPostedEvents();
    FilterPastedText(TTextField::InsertText, insert, fields ? TFieldChars::Fields : TFieldChars::Literal);
    EXPECT_EQ(insert->text().toStdString(), fields ? "{taken:%H:%M} ab" : "{taken%H%M} ab");
  }
}

}  // namespace
}  // namespace vt
