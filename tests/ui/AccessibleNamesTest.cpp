// Every control of the window has a name a screen reader can announce.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

#include "UiTestApp.h"
#include "ui/AccessibleNames.h"
#include "ui/Form1.h"

namespace vt {
namespace {

TEST(AccessibleNames, SpokenTextDropsAccessKeysAndColons) {
  const struct {
    QString caption, spoken;
  } cases[] = {
      {"Search :", "Search"},
      {"&Find topics containing:", "Find topics containing"},
      {"Characters to remove :", "Characters to remove"},
      {"To Record all messages", "To Record all messages"},
      {"Rec&over", "Recover"},
      {"  ", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(SpokenText(c.caption), c.spoken) << c.caption.toStdString();
}

TEST(AccessibleNames, EveryControlHasOne) {
  TForm1 form;
  int controls = 0;
  for (const QWidget* widget : form.findChildren<QWidget*>()) {
    // Qt's own parts of a control (a combo box's list, a tab bar) are unnamed and speak for their control.
    if (!IsControl(*widget) || widget->objectName().isEmpty() || widget->objectName().startsWith("qt_")) continue;
    EXPECT_FALSE(widget->accessibleName().isEmpty()) << widget->objectName().toStdString();
    ++controls;
  }
  EXPECT_GT(controls, 45);
}

TEST(AccessibleNames, FieldsSpeakTheirLabelsButtonsTheirCaptions) {
  TForm1 form;
  const struct {
    const char* control;
    QString name;
  } cases[] = {
      {"EdSearch", "Search"},
      {"EdSearchFor", "Search for"},
      {"EdReplaceWith", "Replace with"},
      {"EdNbrDelete", "Characters to remove"},
      {"EdStartNumber", "Starting Number"},
      {"ComboBaseFileName", "Base Name"},
      {"ComboChangeCase", "Convert"},
      {"ChkBxIncSubDir", "Include sub-directories"},
      {"BtRename", "Rename"},
      {"SpBtUndo", "Undo"},
      {"FilterDriveComboBox1", "Drive"},
      {"UpDownIncrement", "Increment"},
  };
  for (const auto& c : cases) {
    const QWidget* widget = form.findChild<QWidget*>(c.control);
    ASSERT_NE(widget, nullptr) << c.control;
    EXPECT_EQ(widget->accessibleName(), c.name) << c.control;
  }
  // The label is the field's buddy: Qt tells screen readers it labels the field.
  EXPECT_EQ(form.findChild<QLabel*>("Label3")->buddy(), test::Named<QLineEdit>(form, "EdSearchFor"));
  // The arrows of a spin field say which field and which way.
  const QStringList arrows = [&] {
    QStringList names;
    for (const auto* arrow : form.findChild<QWidget*>("UpDownIncrement")->findChildren<QToolButton*>())
      names << arrow->accessibleName();
    names.sort();
    return names;
  }();
  EXPECT_EQ(arrows, (QStringList{"Increment down", "Increment up"}));
}

}  // namespace
}  // namespace vt
