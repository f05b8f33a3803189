#include "ui/ControlFactory.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "ui/UpDown.h"

namespace vt {

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& caption, int left, int top) {
  auto* label = new QLabel(caption, parent);
  label->setObjectName(name);
  label->setTextFormat(Qt::PlainText);
  label->adjustSize();
  label->move(left, top);
  return label;
}

QLineEdit* MakeEdit(QWidget* parent, const char* name, int left, int top, int width) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  edit->setGeometry(left, top, width, kFieldHeight);
  return edit;
}

QCheckBox* MakeCheckBox(QWidget* parent, const char* name, const QString& caption, int left, int top) {
  auto* box = new QCheckBox(caption, parent);
  box->setObjectName(name);
  box->adjustSize();
  box->move(left, top);
  return box;
}

QComboBox* MakeDropDown(QWidget* parent, const char* name, const QStringList& items, int left, int top, int width) {
  auto* combo = new QComboBox(parent);
  combo->setObjectName(name);
  combo->addItems(items);
  combo->setGeometry(left, top, width, kFieldHeight);
  return combo;
}

QComboBox* MakeEditableDropDown(QWidget* parent, const char* name, const QStringList& items, int left, int top,
                                int width) {
  QComboBox* combo = MakeDropDown(parent, name, items, left, top, width);
  combo->setEditable(true);
  // Typed text is the value; it never becomes an item of its own.
  combo->setInsertPolicy(QComboBox::NoInsert);
  combo->setCurrentIndex(-1);
  combo->setEditText(QString());
  return combo;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption, int left, int top, int width,
                        int height) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  button->setAutoDefault(false);
  button->setGeometry(left, top, width, height);
  return button;
}

TSpinField MakeSpinField(QWidget* parent, const char* editName, const char* arrowsName, int left, int top,
                         int editWidth, int min, int max, int position) {
  QLineEdit* edit = MakeEdit(parent, editName, left, top, editWidth);
  auto* arrows = new TUpDown(parent);
  arrows->setObjectName(arrowsName);
  arrows->setGeometry(left + editWidth, top, kUpDownWidth, kFieldHeight);
  arrows->SetRange(min, max);
  arrows->SetAssociate(edit);
  arrows->SetPosition(position);
  return {edit, arrows};
}

}  // namespace vt
