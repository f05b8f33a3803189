// The operation settings pages on their own: the page of each operation, the
// field a refused check points at, and the fields Tab reaches.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QSet>

#include "UiTestApp.h"
#include "ui/SettingsPages.h"

namespace vt {
namespace {

using test::WaitUntil;

TEST(SettingsPages, EachOperationHasItsPageAndNoOperationKeepsThePage) {
  TSettingsPages pages;
  const struct {
    int Operation;
    const char* Page;
  } cases[] = {{3, "TabSheetSetNumber"},    {0, "TabSheetSetSearch"},       {5, "TabSheetSetTruncate"},
               {-1, "TabSheetSetTruncate"}, {1, "TabSheetSetInsert"},       {6, "TabSheetSetInsert"},
               {2, "TabSheetSetDelete"},    {4, "TabSheetSetCaseSensitive"}};
  EXPECT_EQ(pages.currentWidget()->objectName(), "TabSheetSetSearch");
  for (const auto& c : cases) {
    pages.ShowOperationPage(c.Operation);
    EXPECT_EQ(pages.currentWidget()->objectName(), c.Page) << c.Operation;
  }
}

TEST(SettingsPages, ARefusedCheckFocusesItsField) {
  const struct {
    TCheckedField Field;
    int Operation;
    int RemoveKind;
    const char* Focus;
  } cases[] = {
      {TCheckedField::EdSearchFor, 0, 0, "EdSearchFor"}, {TCheckedField::EdReplaceWith, 0, 0, "EdReplaceWith"},
      {TCheckedField::EdInsert, 1, 0, "EdInsert"},       {TCheckedField::EdDelete, 2, 0, "EdDelete"},
      {TCheckedField::EdNbrDelete, 2, 1, "EdNbrDelete"},
  };
  for (const auto& c : cases) {
    TSettingsPages pages;
    pages.ShowOperationPage(c.Operation);
    test::Named<QComboBox>(pages, "ComboItemToDelete")->setCurrentIndex(c.RemoveKind);
    pages.show();
    pages.activateWindow();
    ASSERT_TRUE(WaitUntil([&] { return pages.isActiveWindow(); }));
    pages.setFocus();
    pages.FocusCheckedField(c.Field);
    EXPECT_TRUE(WaitUntil([&] { return test::NamedAncestor(QApplication::focusWidget()) == c.Focus; }))
        << c.Focus << ": focus on " << test::NamedAncestor(QApplication::focusWidget()).toStdString();
    // No field: the focus stays where it is.
    pages.FocusCheckedField(TCheckedField::None);
    EXPECT_EQ(test::NamedAncestor(QApplication::focusWidget()), c.Focus);
  }
}

TEST(SettingsPages, TabReachesEveryFieldOnce) {
  const TSettingsPages pages;
  const std::vector<QWidget*> order = pages.FocusOrder();
  QSet<QWidget*> listed;
  for (QWidget* field : order) {
    ASSERT_NE(field, nullptr);
    EXPECT_TRUE(pages.isAncestorOf(field)) << field->objectName().toStdString();
    EXPECT_FALSE(listed.contains(field)) << field->objectName().toStdString();
    listed.insert(field);
  }
  for (QWidget* control : pages.findChildren<QWidget*>()) {
    const bool named = !control->objectName().isEmpty() && !control->objectName().startsWith("qt_");
    if (named && (control->focusPolicy() & Qt::TabFocus)) {
      EXPECT_TRUE(listed.contains(control)) << control->objectName().toStdString();
    }
  }
}

}  // namespace
}  // namespace vt
