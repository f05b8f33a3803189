#pragma once
// Result files: the result table saved as a tagged property stream, and read back.
#include <cstdint>
#include <string>
#include <string_view>

#include "passes/ResultTable.h"
#include "platform/ReplacingFile.h"
#include "results/ResultStreamReader.h"
#include "results/RowBlock.h"

namespace vt {

enum class TResultFileError {
  None,
  CannotOpen,      // "Cannot open file %s"
  CannotCreate,    // "Cannot create file %s"
  WriteError,      // "Stream write error"
  NotAResultFile,  // message 61187
};

struct TResultFileStatus {
  TResultFileError Error = TResultFileError::None;
  std::string Message;  // the text to show, without a final "." added
  int SystemError = 0;  // errno of a failed save, when the system gave one
  bool Ok() const { return Error == TResultFileError::None; }
};

// Writes the table to path, replacing an existing file. The file appears under
// its name only once it is complete and on disk: a save that fails leaves the
// file that was there as it was. Never changes the table.
TResultFileStatus SaveResultFile(const TResultTable& table, const std::string& path);
// The same through calls a test can make fail.
TResultFileStatus SaveResultFile(const TResultTable& table, const std::string& path,
                                 IReplaceCalls& calls);
// The same for rows read from elsewhere, with the layout of a table at start-up.
TResultFileStatus SaveResultRows(IRowSource& rows, const std::string& path);

// Empties the table's rows, then applies the file's records one by one; what was
// applied before a failure stays applied. A file that cannot be opened leaves the
// table as it was.
TResultFileStatus LoadResultFile(const std::string& path, TResultTable& table);

// Like LoadResultFile, but each row goes to sink as it is read and none is kept
// in the table: for a reader that needs one row at a time (printing, undoing).
TResultFileStatus StreamResultFile(const std::string& path, TResultTable& table, const TRowSink& sink);

// The most a file loaded whole may hold: its rows take some two and a half
// times its size in memory.
inline constexpr std::uint64_t kWholeLoadLimitBytes = 256ull << 20;
// LoadResultFile for a file of at most kWholeLoadLimitBytes; a larger one is
// refused as CannotOpen, with a message that says why, and the table is left as
// it was.
TResultFileStatus LoadWholeResultFile(const std::string& path, TResultTable& table);

// The same on bytes in memory.
std::string WriteResultStream(const TResultTable& table);
TResultFileStatus ReadResultStream(std::string_view bytes, TResultTable& table);

}  // namespace vt
