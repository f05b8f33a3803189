// Feeds arbitrary bytes to the result-stream reader. Besides not crashing, a
// table read from any input must write a stream that reads back to the same table.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "passes/ResultTable.h"
#include "results/ResultFile.h"

namespace {

bool SameTable(const vt::TResultTable& a, const vt::TResultTable& b) {
  if (a.RowCount() != b.RowCount() || a.Columns().size() != b.Columns().size()) return false;
  for (std::size_t i = 0; i < a.RowCount(); ++i) {
    const vt::TResultRow& x = a.Row(i);
    const vt::TResultRow& y = b.Row(i);
    if (x.Caption != y.Caption || x.SubItems != y.SubItems || x.ImageNo != y.ImageNo ||
        x.StateImageNo != y.StateImageNo || x.OverlayNo != y.OverlayNo || x.UserWord != y.UserWord)
      return false;
  }
  // An empty caption and a width of 50 are not written, so the reading table keeps its own.
  for (std::size_t i = 0; i < a.Columns().size(); ++i) {
    const vt::TResultColumn& x = a.Columns()[i];
    const vt::TResultColumn& y = b.Columns()[i];
    if ((!x.Caption.empty() && x.Caption != y.Caption) || (x.Width != 50 && x.Width != y.Width))
      return false;
  }
  return a.Font() == b.Font() && a.Left == b.Left && a.Top == b.Top && a.Width == b.Width &&
         a.Height == b.Height;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  vt::TResultTable table;
  table.AppendRow("before", "", "", "Ok");
  const vt::TResultFileStatus status = vt::ReadResultStream(input, table);
  if (!status.Ok()) {
    if (status.Error != vt::TResultFileError::NotAResultFile || status.Message.empty()) std::abort();
    return 0;
  }
  // Texts may come back cut once; after that, writing and reading is a fixed point.
  vt::TResultTable once;
  if (!vt::ReadResultStream(vt::WriteResultStream(table), once).Ok()) std::abort();
  vt::TResultTable twice;
  if (!vt::ReadResultStream(vt::WriteResultStream(once), twice).Ok()) std::abort();
  if (!SameTable(once, twice)) std::abort();
  return 0;
}
