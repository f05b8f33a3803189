#include "results/UndoneMark.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <optional>
#include <system_error>

#include "passes/JournalFormat.h"
#include "platform/AppendFile.h"
#include "results/JournalBlocks.h"
#include "results/PassJournals.h"

namespace vt {
namespace {

// Enough for the header of any journal.
constexpr std::size_t kHeaderBytes = std::size_t{64} * 1024;
// More than the largest last block a pass state is read from (an end mark, an
// earlier version's recovered mark, an undone mark).
constexpr std::size_t kTailBytes = 64;

std::uint32_t GetUint32(std::string_view bytes) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) value |= std::uint32_t{static_cast<unsigned char>(bytes[i])} << (8 * i);
  return value;
}

std::optional<std::string_view> LastBlock(std::string_view tail) {
  const std::optional<TTailBlock> last = LastJournalBlock(tail);
  if (!last) return std::nullopt;
  return last->Payload;
}

std::optional<TPassState> StateOfLastBlock(std::string_view payload) {
  TJournalCursor cursor(payload.substr(1));
  switch (static_cast<TJournalBlock>(payload[0])) {
    case TJournalBlock::Undone: {
      TUndoneMark mark;
      if (!journal_blocks::ReadUndone(cursor, mark)) return std::nullopt;
      return mark.State == TUndoneState::Undone ? TPassState::Undone : TPassState::PartlyUndone;
    }
    case TJournalBlock::Recovered: return TPassState::Undone;
    case TJournalBlock::End: return TPassState::CanBeUndone;
    default: return std::nullopt;
  }
}

int ReadFileEnd(const std::string& path, std::size_t most, std::string& bytes) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) return errno != 0 ? errno : EIO;
  const std::streamoff size = in.tellg();
  const std::streamoff from = size > static_cast<std::streamoff>(most) ? size - static_cast<std::streamoff>(most) : 0;
  bytes.assign(static_cast<std::size_t>(size - from), '\0');
  in.seekg(from);
  if (!in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()))) return EIO;
  return 0;
}

}  // namespace

// A block is only taken whole, its length and checksum right: bytes that
// merely look like one pass once in four billion.
std::optional<TTailBlock> LastJournalBlock(std::string_view tail) {
  for (std::size_t length = 2; length + kJournalBlockHeader <= tail.size(); ++length) {
    const std::size_t start = tail.size() - length - kJournalBlockHeader;
    if (GetUint32(tail.substr(start)) != length) continue;
    const std::string_view payload = tail.substr(start + kJournalBlockHeader);
    if (Crc32(payload) == GetUint32(tail.substr(start + 4))) return TTailBlock{start, payload};
  }
  return std::nullopt;
}

TPassState StateOf(const TJournal& journal) {
  if (journal.Undone)
    return journal.Undone->State == TUndoneState::Undone ? TPassState::Undone : TPassState::PartlyUndone;
  if (journal.Recovered) return TPassState::Undone;
  return journal.End ? TPassState::CanBeUndone : TPassState::Unfinished;
}

TExpected<TPassState> ReadPassState(const std::string& path) {
  std::string start;
  if (const int error = ReadFileStart(path, kHeaderBytes, start)) return Unexpected(JournalReadError(error, path));
  std::size_t offset = kJournalSignature.size();
  TJournalHeader header;
  const std::optional<std::string_view> first = IsJournal(start) ? NextJournalBlock(start, offset) : std::nullopt;
  if (!first || static_cast<TJournalBlock>((*first)[0]) != TJournalBlock::Header ||
      !journal_blocks::ReadHeader(*first, header))
    return Unexpected(JournalReadError(EINVAL, path));
  std::string tail;
  if (const int error = ReadFileEnd(path, kTailBytes, tail)) return Unexpected(JournalReadError(error, path));
  // The header itself may be the last block: a pass that never got to its rows.
  const std::optional<std::string_view> last = LastBlock(tail);
  if (!last) return TPassState::Unfinished;
  return StateOfLastBlock(*last).value_or(TPassState::Unfinished);
}

std::vector<TJournalEntry> LeftRowsOf(const TJournal& journal) {
  std::vector<TJournalEntry> rows;
  TJournalCursor cursor(journal.LeftRows);
  std::uint64_t count = 0;
  if (!cursor.Number(count)) return rows;
  for (std::uint64_t i = 0; i < count; ++i) {
    TJournalEntry row;
    std::uint8_t status = 0;
    std::uint64_t error = 0;
    if (!cursor.Text(row.Folder) || !cursor.Text(row.OldName) || !journal_blocks::ReadStatus(cursor, status) ||
        status == kWithdrawnStatus || !cursor.Number(error))
      break;
    row.Status = static_cast<TRenameStatus>(status);
    row.Error = static_cast<int>(error);
    rows.push_back(row);
  }
  return rows;
}

std::string UndoneMark(std::uint64_t utcNs, std::uint64_t left, std::string_view leftRows) {
  std::string bytes;
  if (left > 0) {
    const std::size_t begun = BeginBlock(bytes, TJournalBlock::Left);
    AppendNumber(bytes, left);
    bytes.append(leftRows);
    EndBlock(bytes, begun);
  }
  const std::size_t begun = BeginBlock(bytes, TJournalBlock::Undone);
  AppendFixed64(bytes, utcNs);
  bytes.push_back(static_cast<char>(left == 0 ? TUndoneState::Undone : TUndoneState::PartlyUndone));
  AppendFixed64(bytes, left);
  EndBlock(bytes, begun);
  return bytes;
}

TExpected<void> MarkUndone(const std::string& path, std::uint64_t left, std::string_view leftRows) {
  if (IsWriterAlive(path)) return Unexpected(TError{EBUSY, TErrorKind::InUse, path});
  std::string bytes;
  if (const int error = ReadWholeFile(path, bytes)) return Unexpected(JournalReadError(error, path));
  if (!IsJournal(bytes)) return Unexpected(JournalReadError(EINVAL, path));
  // Only whole blocks are kept: whatever follows the last one is a write cut off.
  std::size_t offset = kJournalSignature.size();
  while (NextJournalBlock(bytes, offset)) {
  }
  return Checked(ReplaceFileTail(path, offset, UndoneMark(UtcNowNs(), left, leftRows)), TErrorKind::Write, path);
}

bool RemoveEmptyJournal(const std::string& path) {
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (error || IsWriterAlive(path)) return false;
  if (size > 0) {
    TExpected<TJournal> loaded = LoadJournal(path);
    if (!loaded || !loaded->Rows.empty() || loaded->Undone || loaded->Recovered) return false;
  }
  return std::filesystem::remove(path, error);
}

}  // namespace vt
