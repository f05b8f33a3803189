#pragma once
// The bytes of a pass journal. A journal is a signature, then blocks:
//   u32 payload length, u32 CRC-32 of the payload, payload (little-endian).
// A payload is a type byte and fields: unsigned numbers as LEB128, texts as a
// length and bytes. A block that is cut short or fails its checksum ends the
// journal: it is the torn tail of a write the process did not live to finish.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vt {

// Never the start of a result file, nor of a text file.
inline constexpr std::string_view kJournalSignature{"\x89VTJ\r\n\x1a\n", 8};
inline constexpr std::uint64_t kJournalVersion = 1;
inline constexpr std::size_t kJournalBlockHeader = 8;

enum class TJournalBlock : std::uint8_t {
  Header = 'H',     // version, kind, UTC start in ns (orders the records), start folder, what
  Intents = 'I',    // count; per row: index, folder (0: the previous one, else length + 1, bytes), old, new
  Outcomes = 'O',   // count; per row: index, status, errno, New Name (0: as intended, else length + 1, bytes)
  Rows = 'R',       // count; per row: index, folder (as above), old, new, status, errno (nothing renamed)
  End = 'E',        // rows in all, how the pass ended, rows renamed ("Ok"; missing in older journals)
  Recovered = 'X',  // UTC in ns of a recover pass that undid this one (written by earlier versions)
  Left = 'L',       // rows a recover left: count; per row: folder, name, status, errno; just before an Undone
  Undone = 'U',     // a recover ran to its end over this pass: fixed size, so it is found from the file's end
  // Earlier versions pass these over.
  Identities = 'D',  // right after its Intents, in the same write: count; per row: index, device, inode, size,
                     // mtime ns (zigzag), mode
  Temporary = 'T',   // written before a hidden temporary name is used: index, folder, name
};

// The payload of an Undone block: type, u64 UTC ns, u8 TUndoneState, u64 rows left (little-endian, fixed).
inline constexpr std::size_t kUndonePayload = 1 + 8 + 1 + 8;
enum class TUndoneState : std::uint8_t { Undone = 1, PartlyUndone = 2 };

struct TUndoneMark {
  TUndoneState State = TUndoneState::Undone;
  std::uint64_t UtcNs = 0;
  std::uint64_t RowsLeft = 0;
};

enum class TJournalKind : std::uint8_t { Rename = 1, Recover = 2 };
enum class TJournalEnd : std::uint8_t { Completed = 1, Stopped = 2, Failed = 3 };
// The status byte of an intended rename that was never attempted.
inline constexpr std::uint8_t kWithdrawnStatus = 0xFF;

std::uint32_t Crc32(std::string_view bytes);

void AppendNumber(std::string& out, std::uint64_t value);
// A signed number as an unsigned one that stays short near 0 either side.
inline std::uint64_t ZigZag(std::int64_t value) {
  return (static_cast<std::uint64_t>(value) << 1) ^ static_cast<std::uint64_t>(value >> 63);
}
inline std::int64_t UnZigZag(std::uint64_t value) {
  return static_cast<std::int64_t>(value >> 1) ^ -static_cast<std::int64_t>(value & 1);
}
void AppendFixed64(std::string& out, std::uint64_t value);
void AppendText(std::string& out, std::string_view text);

// The most bytes a number takes.
inline constexpr std::size_t kMaxNumberBytes = 10;

// Writes the fields of many rows into room grown once at the end of out (each
// push onto a string checks its room anew); out holds just what was written
// once the writer is gone. most: no fewer bytes than will be written.
class TFieldWriter {
 public:
  TFieldWriter(std::string& out, std::size_t most);
  ~TFieldWriter();
  TFieldWriter(const TFieldWriter&) = delete;
  TFieldWriter& operator=(const TFieldWriter&) = delete;

  void Number(std::uint64_t value) {
    while (value >= 0x80) {
      *At_++ = static_cast<char>((value & 0x7F) | 0x80);
      value >>= 7;
    }
    *At_++ = static_cast<char>(value);
  }
  void Byte(std::uint8_t value) { *At_++ = static_cast<char>(value); }
  void Bytes(std::string_view bytes);
  void Text(std::string_view text) {
    Number(text.size());
    Bytes(text);
  }

 private:
  std::string& Out_;
  char* At_;
};

// Builds one block in out: Begin, fields, End.
std::size_t BeginBlock(std::string& out, TJournalBlock type);
void EndBlock(std::string& out, std::size_t begun);

// Reads the fields of one payload; every read checks what is left.
class TJournalCursor {
 public:
  explicit TJournalCursor(std::string_view bytes) : Bytes_(bytes) {}
  bool Number(std::uint64_t& value);
  bool Byte(std::uint8_t& value);
  bool Fixed64(std::uint64_t& value);
  bool Text(std::string_view& text);
  // The next count bytes.
  bool Bytes(std::size_t count, std::string_view& bytes);
  bool AtEnd() const { return Position_ == Bytes_.size(); }

 private:
  std::string_view Bytes_;
  std::size_t Position_ = 0;
};

// The next whole, intact block of bytes at offset (moved past it); nothing at
// the end or at a torn or damaged block.
std::optional<std::string_view> NextJournalBlock(std::string_view bytes, std::size_t& offset);

}  // namespace vt
