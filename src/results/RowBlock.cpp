#include "results/RowBlock.h"

#include <cstring>
#include <limits>

#include "results/TextCut.h"
#include "results/ValueCode.h"
#include "results/ValueWriter.h"

namespace vt {
namespace {

std::uint64_t RowRecordSize(const TResultRow& row) {
  std::uint64_t size = kRowRecordMinSize - 1 + ShortStringSize(row.Caption);
  for (const std::string& sub : row.SubItems) size += ShortStringSize(sub);
  return size;
}

// Fills a buffer already sized for everything it receives.
class TBlockFiller {
 public:
  explicit TBlockFiller(char* out) : Out_(out) {}

  void Int32(std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8) *Out_++ = static_cast<char>((bits >> shift) & 0xFF);
  }

  void ShortString(std::string_view text) {
    const std::string_view cut = CutText(text, kShortStringMax);
    *Out_++ = static_cast<char>(cut.size());
    std::memcpy(Out_, cut.data(), cut.size());
    Out_ += cut.size();
  }

  void RowRecord(const TRowView& row) {
    const TResultRow fresh;
    Int32(fresh.ImageNo);
    Int32(fresh.StateImageNo);
    Int32(fresh.OverlayNo);
    Int32(3);
    Int32(fresh.UserWord);
    ShortString(row.File);
    ShortString(row.NewName);
    ShortString(row.Path);
    ShortString(row.Status);
  }

  void RowRecord(const TResultRow& row) {
    Int32(row.ImageNo);
    Int32(row.StateImageNo);
    Int32(row.OverlayNo);
    Int32(static_cast<std::int32_t>(row.SubItems.size()));
    Int32(row.UserWord);
    ShortString(row.Caption);
    for (const std::string& sub : row.SubItems) ShortString(sub);
  }

 private:
  char* Out_;
};

// Reads a block front to back; every read checks what is left.
class TBlockCursor {
 public:
  explicit TBlockCursor(std::string_view bytes) : Bytes_(bytes) {}

  std::size_t Left() const { return Bytes_.size() - Position_; }

  bool Int32(std::int32_t& value) {
    if (Left() < 4) return false;
    std::uint32_t bits = 0;
    for (std::size_t i = 0; i < 4; ++i)
      bits |= std::uint32_t{static_cast<unsigned char>(Bytes_[Position_ + i])} << (8 * i);
    value = static_cast<std::int32_t>(bits);
    Position_ += 4;
    return true;
  }

  bool ShortString(std::string& text) {
    if (Left() < 1) return false;
    const std::size_t length = static_cast<unsigned char>(Bytes_[Position_]);
    if (Left() - 1 < length) return false;
    text.assign(Bytes_.substr(Position_ + 1, length));
    Position_ += 1 + length;
    return true;
  }

 private:
  std::string_view Bytes_;
  std::size_t Position_ = 0;
};

bool ReadRowRecord(TBlockCursor& cursor, TResultRow& row) {
  std::int32_t subCount = 0;
  if (!cursor.Int32(row.ImageNo) || !cursor.Int32(row.StateImageNo) ||
      !cursor.Int32(row.OverlayNo) || !cursor.Int32(subCount) || !cursor.Int32(row.UserWord) ||
      !cursor.ShortString(row.Caption))
    return false;
  // Each sub-text takes at least its length byte.
  if (subCount < 0 || static_cast<std::size_t>(subCount) > cursor.Left()) return false;
  row.SubItems.resize(static_cast<std::size_t>(subCount));
  for (std::string& sub : row.SubItems)
    if (!cursor.ShortString(sub)) return false;
  return true;
}

}  // namespace

std::uint64_t RowRecordSize(const TRowView& row) {
  return kRowRecordMinSize - 1 + ShortStringSize(row.File) + ShortStringSize(row.NewName) +
         ShortStringSize(row.Path) + ShortStringSize(row.Status);
}

std::uint64_t RowBlockSize(const TResultRows& rows) {
  std::uint64_t size = kRowBlockHeaderSize;
  for (const TResultRow& row : rows) size += RowRecordSize(row);
  return size;
}

std::optional<std::string> BuildRowBlock(const TResultRows& rows) {
  constexpr auto kMax = static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max());
  const std::uint64_t size = RowBlockSize(rows);
  if (size > kMax || rows.size() > kMax) return std::nullopt;
  std::string block(static_cast<std::size_t>(size), '\0');
  TBlockFiller filler(block.data());
  filler.Int32(static_cast<std::int32_t>(size));
  filler.Int32(static_cast<std::int32_t>(rows.size()));
  for (const TResultRow& row : rows) filler.RowRecord(row);
  return block;
}

std::optional<std::uint64_t> RowBlockSize(const TRowViews& rows) {
  constexpr auto kMax = static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max());
  std::uint64_t size = kRowBlockHeaderSize;
  for (std::size_t i = 0; i < rows.Count; ++i) size += RowRecordSize(rows.At(i));
  if (size > kMax || rows.Count > kMax) return std::nullopt;
  return size;
}

void WriteRowBlock(const TRowViews& rows, std::uint64_t size, const std::function<void(std::string_view)>& out) {
  constexpr std::size_t kPiece = 64 * 1024;
  std::string piece(kRowBlockHeaderSize, '\0');
  piece.reserve(kPiece + 4 * (kShortStringMax + 1) + kRowRecordMinSize);
  TBlockFiller header(piece.data());
  header.Int32(static_cast<std::int32_t>(size));
  header.Int32(static_cast<std::int32_t>(rows.Count));
  for (std::size_t i = 0; i < rows.Count; ++i) {
    const TRowView row = rows.At(i);
    const std::size_t at = piece.size();
    piece.resize(at + static_cast<std::size_t>(RowRecordSize(row)));
    TBlockFiller(piece.data() + at).RowRecord(row);
    if (piece.size() >= kPiece) {
      out(piece);
      piece.clear();
    }
  }
  if (!piece.empty()) out(piece);
}

bool AppendRows(std::string_view body, TResultTable& table) {
  TBlockCursor cursor(body);
  std::int32_t rowCount = 0;
  if (!cursor.Int32(rowCount)) return false;
  if (rowCount < 0 || static_cast<std::size_t>(rowCount) > cursor.Left() / kRowRecordMinSize)
    return false;
  // Read whole, then handed to the table in one piece: a view showing it hears of
  // one append, not of one per row.
  std::vector<TResultRow> rows;
  rows.reserve(static_cast<std::size_t>(rowCount));
  bool complete = true;
  for (std::int32_t i = 0; i < rowCount && complete; ++i) {
    TResultRow row;
    complete = ReadRowRecord(cursor, row);
    if (complete) rows.push_back(std::move(row));
  }
  table.AppendRows(std::move(rows));
  return complete;
}

}  // namespace vt
