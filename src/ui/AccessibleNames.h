#pragma once
// Names a screen reader announces for the window's controls: a field's label
// text, a button's or check box's caption, else a short description.
#include <QString>

class QWidget;

namespace vt {

class TForm1;

// "&Search :" reads "Search".
QString SpokenText(QString caption);

// Gives every control of the window its accessible name and links labels to
// their fields.
void SetAccessibleNames(TForm1& form);

// A widget the user works with (buttons, fields, lists, pages), which needs a name.
bool IsControl(const QWidget& widget);

}  // namespace vt
