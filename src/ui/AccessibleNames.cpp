#include "ui/AccessibleNames.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QToolButton>

#include "ui/Form1.h"
#include "ui/UpDown.h"

namespace vt {

namespace {

struct TLabelled {
  const char* Field;
  const char* Label;  // a label of the window, or the spoken text itself
};

// Fields and the labels that stand above or beside them.
constexpr TLabelled kLabels[] = {
    {"EdSearch", "Label1"},        {"EdSearchFor", "Label3"},       {"EdReplaceWith", "Label2"},
    {"EdInsert", "Label4"},        {"ComboItemToDelete", "Label5"}, {"EdNbrDelete", "LabelNnrDelete"},
    {"EdStartNumber", "Label6"},   {"EdIncrement", "Label7"},       {"ComboBaseFileName", "LblBaseFilename"},
    {"ComboChangeCase", "Label8"}, {"ComboTruncateTo", "Label9"},   {"ComboOrder", "LblOrder"},
};

// Controls without a label of their own.
constexpr TLabelled kDescribed[] = {
    {"FilterDriveComboBox1", "Drive"}, {"FilterDirectoryListBox1", "Folders"},
    {"FileListBox1", "Files"},         {"LstBoxActions", "Functions"},
    {"PageControl1", "Pages"},         {"ListView", "Result"},
    {"ComboInsertTo", "Insert where"}, {"EdInsertPos", "Insert offset"},
    {"EdDelete", "Text to remove"},    {"ComboDeleteFrom", "Remove from"},
    {"EdDeletePos", "Remove offset"},  {"ComboNumberInsertTo", "Number where"},
    {"EdNumberPos", "Number offset"},  {"EdNbrTruncate", "Maximum # of characters"},
};

}  // namespace

QString SpokenText(QString caption) {
  caption.remove(QLatin1Char('&'));
  caption = caption.trimmed();
  if (caption.endsWith(QLatin1Char(':'))) caption.chop(1);
  return caption.trimmed();
}

bool IsControl(const QWidget& widget) {
  return qobject_cast<const QAbstractButton*>(&widget) || qobject_cast<const QLineEdit*>(&widget) ||
         qobject_cast<const QComboBox*>(&widget) || qobject_cast<const QAbstractItemView*>(&widget) ||
         qobject_cast<const QTabWidget*>(&widget) || qobject_cast<const TUpDown*>(&widget);
}

void SetAccessibleNames(TForm1& form) {
  for (const auto& [field, label] : kLabels) {
    auto* control = form.findChild<QWidget*>(field);
    auto* caption = form.findChild<QLabel*>(label);
    if (!control || !caption) continue;
    caption->setBuddy(control);
    control->setAccessibleName(SpokenText(caption->text()));
  }
  for (const auto& [field, text] : kDescribed)
    if (auto* control = form.findChild<QWidget*>(field)) control->setAccessibleName(text);
  for (auto* button : form.findChildren<QAbstractButton*>()) {
    if (!button->accessibleName().isEmpty() || qobject_cast<TUpDown*>(button->parentWidget())) continue;
    const QString caption = button->text().isEmpty() ? button->toolTip() : button->text();
    button->setAccessibleName(SpokenText(caption));
  }
  // Spin arrows are named after their field: "Increment up", "Increment down".
  for (auto* arrows : form.findChildren<TUpDown*>()) {
    const QString field = arrows->Associate() ? arrows->Associate()->accessibleName() : QString();
    arrows->setAccessibleName(field);
    for (auto* arrow : arrows->findChildren<QToolButton*>())
      arrow->setAccessibleName(field + (arrow->arrowType() == Qt::UpArrow ? " up" : " down"));
  }
}

}  // namespace vt
