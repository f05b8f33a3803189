#pragma once
// The row block of a result stream (the payload of "Items.Data"): BlockSize,
// RowCount, then one record per row with its five numbers and its texts.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "passes/ResultTable.h"

namespace vt {

inline constexpr std::size_t kRowBlockHeaderSize = 8;
// Five numbers and the caption's length byte.
inline constexpr std::size_t kRowRecordMinSize = 21;
// The most sub-texts a row record may claim: no table has more columns. A
// sub-text takes one byte of the file but some thirty of memory, so the bytes
// left alone would let a large file claim far more memory than it holds.
inline constexpr std::int32_t kMostSubItems = 64;

// The size of the block for these rows, texts cut as the writer cuts them.
std::uint64_t RowBlockSize(const TResultRows& rows);
// The block, allocated once at its size; nothing when it would not fit BlockSize.
std::optional<std::string> BuildRowBlock(const TResultRows& rows);

// Makes typed rows of row records read one after the other: rows of one folder
// share its text, and whatever a pass would not have made is kept as read. A
// record is its numbers (ImageNo, StateImageNo, OverlayNo, UserWord of
// numbers), its caption and its sub-texts, which the row takes.
class TRowMaker {
 public:
  TResultRow Make(const TKeptCells& numbers, std::string&& caption, std::vector<std::string>& subs);

 private:
  std::shared_ptr<const std::string> Folder_;
};

// Rows handed out one at a time, in order and the same each time they are asked
// for: rows read from elsewhere (a journal), never all in memory.
using TRowCallback = std::function<void(const TResultRow&)>;
class IRowSource {
 public:
  virtual ~IRowSource() = default;
  // False when the rows could not be read.
  virtual bool ForEach(const TRowCallback& row) = 0;
};

struct TRowBlockExtent {
  std::uint64_t Size = 0;
  std::uint64_t Count = 0;
};
// Their block's size and row count; nothing when they cannot be read or would
// not fit BlockSize.
std::optional<TRowBlockExtent> MeasureRowBlock(IRowSource& rows);
// Then the block handed out in pieces, so that it is never held whole. False
// when the rows are no longer those measured (what went out is then void).
bool WriteRowBlock(IRowSource& rows, const TRowBlockExtent& extent, const std::function<void(std::string_view)>& out);

// Appends the rows of a block to the table in one batch; body is the block after
// its BlockSize field. False when RowCount does not fit the block or a record
// runs past it; the rows read before that are appended all the same.
bool AppendRows(std::string_view body, TResultTable& table);

}  // namespace vt
