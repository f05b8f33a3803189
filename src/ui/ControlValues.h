#pragma once
// The values of the operation settings controls, as a pass and its checks read
// them when it starts. The operation is the operation list's, left as it is.
#include "engine/RenameSettings.h"

class QWidget;

namespace vt {

// Each control of the settings table found among the children of pages, by
// its objectName; a control not found keeps its default.
TControlValues ReadControlValues(const QWidget& pages);

}  // namespace vt
