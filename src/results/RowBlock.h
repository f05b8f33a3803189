#pragma once
// The row block of a result stream (the payload of "Items.Data"): BlockSize,
// RowCount, then one record per row with its five numbers and its texts.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "passes/ResultTable.h"

namespace vt {

inline constexpr std::size_t kRowBlockHeaderSize = 8;
// Five numbers and the caption's length byte.
inline constexpr std::size_t kRowRecordMinSize = 21;

// The size of the block for these rows, texts cut as the writer cuts them.
std::uint64_t RowBlockSize(const TResultRows& rows);
// The block, allocated once at its size; nothing when it would not fit BlockSize.
std::optional<std::string> BuildRowBlock(const TResultRows& rows);

// A row a pass made, as texts held elsewhere (a journal read back).
struct TRowView {
  std::string_view File;
  std::string_view NewName;
  std::string_view Path;
  std::string_view Status;
};
// Rows made on demand, so that none is held beside what they view.
struct TRowViews {
  std::size_t Count = 0;
  std::function<TRowView(std::size_t)> At;
};

// Their block's size, nothing when it would not fit BlockSize; then the block
// handed out in pieces, so that it is never held whole.
std::optional<std::uint64_t> RowBlockSize(const TRowViews& rows);
void WriteRowBlock(const TRowViews& rows, std::uint64_t size, const std::function<void(std::string_view)>& out);

// Appends the rows of a block to the table in one batch; body is the block after
// its BlockSize field. False when RowCount does not fit the block or a record
// runs past it; the rows read before that are appended all the same.
bool AppendRows(std::string_view body, TResultTable& table);

}  // namespace vt
