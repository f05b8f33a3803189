#pragma once
// Controls placed at fixed positions, each named for the code that finds it.
#include <QStringList>
#include <utility>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace vt {

class TUpDown;

// Height of one-line edit boxes and drop-downs.
inline constexpr int kFieldHeight = 21;
// Width of the arrows of a spin field.
inline constexpr int kUpDownWidth = 15;

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& caption, int left, int top);
QLineEdit* MakeEdit(QWidget* parent, const char* name, int left, int top, int width);
QCheckBox* MakeCheckBox(QWidget* parent, const char* name, const QString& caption, int left, int top);
// A drop-down list (only its items can be chosen), first item selected.
QComboBox* MakeDropDown(QWidget* parent, const char* name, const QStringList& items, int left, int top, int width);
// A drop-down whose text can also be typed freely; the text starts empty.
QComboBox* MakeEditableDropDown(QWidget* parent, const char* name, const QStringList& items, int left, int top,
                                int width);
QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption, int left, int top, int width,
                        int height);

struct TSpinField {
  QLineEdit* Edit;
  TUpDown* Arrows;
};
// An edit box of editWidth with its arrows to its right, holding min..max, at position.
TSpinField MakeSpinField(QWidget* parent, const char* editName, const char* arrowsName, int left, int top,
                         int editWidth, int min, int max, int position);

}  // namespace vt
