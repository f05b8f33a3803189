#include "engine/OperationTable.h"
#include "engine/RenameSettings.h"

namespace vt {

// Each setting of the selected operation from its control; the others keep
// their zero values.
TRenameSettings CaptureSettings(const TControlValues& c) {
  TRenameSettings s;
  if (c.LstBoxActions < 0) return s;
  s.Operation = FromControlIndex<TOperation>(c.LstBoxActions);
  for (const TSettingRow& row : SettingRows())
    if (row.Operation == s.Operation) row.Set(s, row.Read(c));
  return s;
}

}  // namespace vt
