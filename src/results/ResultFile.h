#pragma once
// Result files: the result table saved as a tagged property stream, and read back.
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/Expected.h"
#include "passes/ResultTable.h"
#include "platform/ReplacingFile.h"
#include "results/ResultLayout.h"
#include "results/ResultStreamReader.h"
#include "results/RowBlock.h"

namespace vt {

enum class TResultFileError {
  CannotOpen,      // the file could not be opened, or is too large to load whole
  CannotCreate,    // the file could not be created, or put in place
  WriteError,      // a write to it failed
  NotAResultFile,  // its bytes are no result file
};

// The front ends put it into words.
struct TResultFileFailure {
  TResultFileError Kind = TResultFileError::CannotOpen;
  std::string Path;             // the file; empty for bytes in memory
  int SystemError = 0;          // errno of a failed save, when the system gave one
  std::uint64_t LoadLimit = 0;  // CannotOpen: the most a table loads, when the file is larger
};

// Nothing, or why the file could not be read or written.
using TResultFileStatus = TExpected<void, TResultFileFailure>;

// Writes the table with its layout to path, replacing an existing file. The file
// appears under its name only once it is complete and on disk: a save that fails
// leaves the file that was there as it was. Never changes the table.
TResultFileStatus SaveResultFile(const TResultTable& table, const TResultLayout& layout, const std::string& path);
// The same through calls a test can make fail.
TResultFileStatus SaveResultFile(const TResultTable& table, const TResultLayout& layout, const std::string& path,
                                 IReplaceCalls& calls);
// With the layout of a table at start-up, as the command line saves.
TResultFileStatus SaveResultFile(const TResultTable& table, const std::string& path);
// The same for rows read from elsewhere. A record the program names itself
// refuses a link at its place; a path the user typed may follow one.
TResultFileStatus SaveResultRows(IRowSource& rows, const std::string& path,
                                 TLinkAtTarget links = TLinkAtTarget::Refuse);

// Empties the table's rows, then applies the file's records one by one, the
// layout's to layout; what was applied before a failure stays applied. A file
// that cannot be opened leaves both as they were.
TResultFileStatus LoadResultFile(const std::string& path, TResultTable& table, TResultLayout& layout);
// The rows alone, for a reader that shows no layout.
TResultFileStatus LoadResultFile(const std::string& path, TResultTable& table);

// Each row goes to sink as it is read and none is kept: for a reader that
// needs one row at a time (printing, undoing).
TResultFileStatus StreamResultFile(const std::string& path, const TRowSink& sink);

// The most a file loaded whole may hold: its rows take some two and a half
// times its size in memory.
inline constexpr std::uint64_t kWholeLoadLimitBytes = 256ull << 20;
// LoadResultFile for a file of at most kWholeLoadLimitBytes; a larger one is
// refused as CannotOpen, with a message that says why, and the table is left as
// it was.
TResultFileStatus LoadWholeResultFile(const std::string& path, TResultTable& table, TResultLayout& layout);

// The same on bytes in memory; without a layout, that of a table at start-up
// is written, and the one read is dropped.
std::string WriteResultStream(const TResultTable& table, const TResultLayout& layout);
std::string WriteResultStream(const TResultTable& table);
TResultFileStatus ReadResultStream(std::string_view bytes, TResultTable& table, TResultLayout& layout);
TResultFileStatus ReadResultStream(std::string_view bytes, TResultTable& table);

}  // namespace vt
