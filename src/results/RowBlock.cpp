#include "results/RowBlock.h"

#include <cstring>
#include <limits>

#include "results/TextCut.h"
#include "results/ValueCode.h"
#include "results/ValueWriter.h"

namespace vt {
namespace {

std::uint64_t RowRecordSize(const TResultRow& row) {
  std::uint64_t size = kRowRecordMinSize - 1 + ShortStringSize(row.OldName);
  for (std::size_t column = 1; column <= row.SubCount(); ++column) size += ShortStringSize(row.Cell(column));
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
    // A missing cell is a view of nothing, whose data may be null.
    if (!cut.empty()) std::memcpy(Out_, cut.data(), cut.size());
    Out_ += cut.size();
  }

  void RowRecord(const TResultRow& row) {
    Int32(row.ImageNo());
    Int32(row.StateImageNo());
    Int32(row.OverlayNo());
    Int32(static_cast<std::int32_t>(row.SubCount()));
    Int32(row.UserWord());
    ShortString(row.OldName);
    for (std::size_t column = 1; column <= row.SubCount(); ++column) ShortString(row.Cell(column));
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

bool ReadRowRecord(TBlockCursor& cursor, TKeptCells& numbers, std::string& caption, std::vector<std::string>& subs) {
  std::int32_t subCount = 0;
  if (!cursor.Int32(numbers.ImageNo) || !cursor.Int32(numbers.StateImageNo) || !cursor.Int32(numbers.OverlayNo) ||
      !cursor.Int32(subCount) || !cursor.Int32(numbers.UserWord) || !cursor.ShortString(caption))
    return false;
  // Each sub-text takes at least its length byte.
  if (subCount < 0 || subCount > kMostSubItems || static_cast<std::size_t>(subCount) > cursor.Left()) return false;
  subs.resize(static_cast<std::size_t>(subCount));
  for (std::string& sub : subs)
    if (!cursor.ShortString(sub)) return false;
  return true;
}

}  // namespace

TResultRow TRowMaker::Make(const TKeptCells& numbers, std::string&& caption, std::vector<std::string>& subs) {
  TResultRow row;
  row.OldName = std::move(caption);
  if (!subs.empty()) row.NewName = std::move(subs[0]);
  if (subs.size() > 1) {
    if (!Folder_ || *Folder_ != subs[1]) Folder_ = std::make_shared<const std::string>(std::move(subs[1]));
    row.Folder = Folder_;
  }
  std::optional<TRenameStatus> status;
  if (subs.size() > 2) status = StatusOfText(subs[2]);
  const TKeptCells fresh;
  const bool plain = status && subs.size() == fresh.SubCount && numbers.ImageNo == fresh.ImageNo &&
                     numbers.StateImageNo == fresh.StateImageNo && numbers.OverlayNo == fresh.OverlayNo &&
                     numbers.UserWord == fresh.UserWord;
  if (status) row.Status = *status;
  if (plain) return row;
  auto kept = std::make_shared<TKeptCells>();
  kept->ImageNo = numbers.ImageNo;
  kept->StateImageNo = numbers.StateImageNo;
  kept->OverlayNo = numbers.OverlayNo;
  kept->UserWord = numbers.UserWord;
  kept->SubCount = subs.size();
  if (!status) kept->StatusText.emplace(subs.size() > 2 ? std::move(subs[2]) : std::string());
  for (std::size_t i = 3; i < subs.size(); ++i) kept->More.push_back(std::move(subs[i]));
  row.Kept = std::move(kept);
  return row;
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

std::optional<TRowBlockExtent> MeasureRowBlock(IRowSource& rows) {
  constexpr auto kMax = static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max());
  TRowBlockExtent extent{kRowBlockHeaderSize, 0};
  const bool read = rows.ForEach([&](const TResultRow& row) {
    extent.Size += RowRecordSize(row);
    ++extent.Count;
  });
  if (!read || extent.Size > kMax || extent.Count > kMax) return std::nullopt;
  return extent;
}

bool WriteRowBlock(IRowSource& rows, const TRowBlockExtent& extent, const std::function<void(std::string_view)>& out) {
  constexpr std::size_t kPiece = std::size_t{64} * 1024;
  std::string piece(kRowBlockHeaderSize, '\0');
  piece.reserve(kPiece);
  TBlockFiller header(piece.data());
  header.Int32(static_cast<std::int32_t>(extent.Size));
  header.Int32(static_cast<std::int32_t>(extent.Count));
  TRowBlockExtent written{kRowBlockHeaderSize, 0};
  const bool read = rows.ForEach([&](const TResultRow& row) {
    const std::uint64_t size = RowRecordSize(row);
    written.Size += size;
    // Rows beyond those measured would overrun the block: they are left out,
    // and the block is void all the same.
    if (++written.Count > extent.Count || written.Size > extent.Size) return;
    const std::size_t at = piece.size();
    piece.resize(at + static_cast<std::size_t>(size));
    TBlockFiller(piece.data() + at).RowRecord(row);
    if (piece.size() >= kPiece) {
      out(piece);
      piece.clear();
    }
  });
  if (!piece.empty()) out(piece);
  return read && written.Size == extent.Size && written.Count == extent.Count;
}

bool AppendRows(std::string_view body, TResultTable& table) {
  TBlockCursor cursor(body);
  std::int32_t rowCount = 0;
  if (!cursor.Int32(rowCount)) return false;
  if (rowCount < 0 || static_cast<std::size_t>(rowCount) > cursor.Left() / kRowRecordMinSize) return false;
  // Read whole, then handed to the table in one piece: a view showing it hears of
  // one append, not of one per row.
  std::vector<TResultRow> rows;
  rows.reserve(static_cast<std::size_t>(rowCount));
  TRowMaker maker;
  TKeptCells numbers;
  std::string caption;
  std::vector<std::string> subs;
  bool complete = true;
  for (std::int32_t i = 0; i < rowCount && complete; ++i) {
    complete = ReadRowRecord(cursor, numbers, caption, subs);
    if (complete) rows.push_back(maker.Make(numbers, std::move(caption), subs));
  }
  table.AppendRows(std::move(rows));
  return complete;
}

}  // namespace vt
