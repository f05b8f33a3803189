// Feeds arbitrary bytes to the result-stream reader, from memory and from a file
// (the path through the file buffer). Besides not crashing: both paths must leave
// the same table and the same verdict, and a table read from any input must write
// a stream that reads back to the same table.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "../tests/support/TableWithLayout.h"
#include "passes/ResultTable.h"
#include "results/ResultFile.h"

namespace {

bool SameRows(const vt::test::TTableWithLayout& a, const vt::test::TTableWithLayout& b) {
  if (a.RowCount() != b.RowCount()) return false;
  for (std::size_t i = 0; i < a.RowCount(); ++i) {
    const vt::TResultRow& x = a.Row(i);
    const vt::TResultRow& y = b.Row(i);
    if (x.SubCount() != y.SubCount() || x.ImageNo() != y.ImageNo() || x.StateImageNo() != y.StateImageNo() ||
        x.OverlayNo() != y.OverlayNo() || x.UserWord() != y.UserWord() || x.KnownStatus() != y.KnownStatus())
      return false;
    for (std::size_t column = 0; column <= x.SubCount(); ++column)
      if (x.Cell(column) != y.Cell(column)) return false;
  }
  return true;
}

bool SameLayout(const vt::test::TTableWithLayout& a, const vt::test::TTableWithLayout& b) {
  return a.Font() == b.Font() && a.FontChanged() == b.FontChanged() && a.Left == b.Left && a.Top == b.Top &&
         a.Width == b.Width && a.Height == b.Height;
}

// Everything a read can change, exactly.
bool SameState(const vt::test::TTableWithLayout& a, const vt::test::TTableWithLayout& b) {
  if (!SameRows(a, b) || !SameLayout(a, b) || a.Columns().size() != b.Columns().size()) return false;
  for (std::size_t i = 0; i < a.Columns().size(); ++i)
    if (a.Columns()[i].Caption != b.Columns()[i].Caption || a.Columns()[i].Width != b.Columns()[i].Width) return false;
  return true;
}

// After a write and a read: an empty caption and a width of 50 are not written, so
// the reading table keeps its own.
bool SameAfterRoundTrip(const vt::test::TTableWithLayout& a, const vt::test::TTableWithLayout& b) {
  if (!SameRows(a, b) || !SameLayout(a, b) || a.Columns().size() != b.Columns().size()) return false;
  for (std::size_t i = 0; i < a.Columns().size(); ++i) {
    const vt::TResultColumn& x = a.Columns()[i];
    const vt::TResultColumn& y = b.Columns()[i];
    if ((!x.Caption.empty() && x.Caption != y.Caption) || (x.Width != 50 && x.Width != y.Width)) return false;
  }
  return true;
}

// One file in memory for the whole run, rewritten for each input.
const std::string& InputFile(std::string_view input) {
  static const int fd = ::memfd_create("fuzz-input.vtr", 0);
  static const std::string path = "/proc/self/fd/" + std::to_string(fd);
  if (fd < 0 || ::ftruncate(fd, 0) != 0) std::abort();
  std::size_t done = 0;
  while (done < input.size()) {
    const ssize_t n = ::pwrite(fd, input.data() + done, input.size() - done, static_cast<off_t>(done));
    if (n <= 0) std::abort();
    done += static_cast<std::size_t>(n);
  }
  return path;
}

vt::test::TTableWithLayout TableBefore() {
  vt::test::TTableWithLayout table;
  table.AppendRow("before", "", "", "Ok");
  return table;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  vt::test::TTableWithLayout table = TableBefore();
  const vt::TResultFileStatus status = vt::ReadResultStream(input, table, table);

  vt::test::TTableWithLayout fromFile = TableBefore();
  const vt::TResultFileStatus fileStatus = vt::LoadResultFile(InputFile(input), fromFile);
  if (fileStatus.HasValue() != status.HasValue()) std::abort();
  if (!status && fileStatus.Error().Kind != status.Error().Kind) std::abort();
  if (!SameState(table, fromFile)) std::abort();

  if (!status) {
    if (status.Error().Kind != vt::TResultFileError::NotAResultFile) std::abort();
    return 0;
  }
  // Texts may come back cut once; after that, writing and reading is a fixed point.
  vt::test::TTableWithLayout once;
  if (!vt::ReadResultStream(vt::WriteResultStream(table, table), once, once).HasValue()) std::abort();
  vt::test::TTableWithLayout twice;
  if (!vt::ReadResultStream(vt::WriteResultStream(once, once), twice, twice).HasValue()) std::abort();
  if (!SameAfterRoundTrip(once, twice)) std::abort();
  return 0;
}
