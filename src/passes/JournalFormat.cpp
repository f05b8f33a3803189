#include "passes/JournalFormat.h"

#include <array>
#include <cstring>

namespace vt {
namespace {

// Eight tables: the checksum takes eight bytes a step (slicing-by-8), some
// five times the speed of a byte a step, and the same CRC-32 (IEEE) value.
using TCrcTables = std::array<std::array<std::uint32_t, 256>, 8>;

constexpr TCrcTables MakeCrcTables() {
  TCrcTables tables{};
  for (std::uint32_t i = 0; i < 256; ++i) {
    std::uint32_t crc = i;
    for (int bit = 0; bit < 8; ++bit) crc = (crc & 1U) != 0 ? (crc >> 1) ^ 0xEDB88320U : crc >> 1;
    tables[0][i] = crc;
  }
  for (std::size_t t = 1; t < tables.size(); ++t)
    for (std::size_t i = 0; i < 256; ++i) tables[t][i] = (tables[t - 1][i] >> 8) ^ tables[0][tables[t - 1][i] & 0xFFU];
  return tables;
}

constexpr TCrcTables kCrcTables = MakeCrcTables();

std::uint32_t Byte(const unsigned char* at, std::size_t i) { return at[i]; }

void PutUint32(char* out, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out[i] = static_cast<char>((value >> (8 * i)) & 0xFFU);
}

std::uint32_t GetUint32(std::string_view bytes) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) value |= std::uint32_t{static_cast<unsigned char>(bytes[i])} << (8 * i);
  return value;
}

}  // namespace

std::uint32_t Crc32(std::string_view bytes) {
  const auto* at = reinterpret_cast<const unsigned char*>(bytes.data());
  std::size_t left = bytes.size();
  std::uint32_t crc = 0xFFFFFFFFU;
  for (; left >= 8; left -= 8, at += 8) {
    const std::uint32_t low = crc ^ (Byte(at, 0) | Byte(at, 1) << 8 | Byte(at, 2) << 16 | Byte(at, 3) << 24);
    crc = kCrcTables[7][low & 0xFFU] ^ kCrcTables[6][(low >> 8) & 0xFFU] ^ kCrcTables[5][(low >> 16) & 0xFFU] ^
          kCrcTables[4][low >> 24] ^ kCrcTables[3][Byte(at, 4)] ^ kCrcTables[2][Byte(at, 5)] ^
          kCrcTables[1][Byte(at, 6)] ^ kCrcTables[0][Byte(at, 7)];
  }
  for (; left > 0; --left, ++at) crc = kCrcTables[0][(crc ^ *at) & 0xFFU] ^ (crc >> 8);
  return crc ^ 0xFFFFFFFFU;
}

void AppendNumber(std::string& out, std::uint64_t value) {
  while (value >= 0x80) {
    out.push_back(static_cast<char>((value & 0x7F) | 0x80));
    value >>= 7;
  }
  out.push_back(static_cast<char>(value));
}

void AppendFixed64(std::string& out, std::uint64_t value) {
  for (int i = 0; i < 8; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFFU));
}

void AppendText(std::string& out, std::string_view text) {
  AppendNumber(out, text.size());
  out.append(text);
}

TFieldWriter::TFieldWriter(std::string& out, std::size_t most) : Out_(out) {
  const std::size_t start = out.size();
  out.resize(start + most);
  At_ = out.data() + start;
}

TFieldWriter::~TFieldWriter() { Out_.resize(static_cast<std::size_t>(At_ - Out_.data())); }

void TFieldWriter::Bytes(std::string_view bytes) {
  if (bytes.empty()) return;
  std::memcpy(At_, bytes.data(), bytes.size());
  At_ += bytes.size();
}

std::size_t BeginBlock(std::string& out, TJournalBlock type) {
  const std::size_t begun = out.size();
  out.append(kJournalBlockHeader, '\0');
  out.push_back(static_cast<char>(type));
  return begun;
}

void EndBlock(std::string& out, std::size_t begun) {
  const std::string_view payload = std::string_view(out).substr(begun + kJournalBlockHeader);
  PutUint32(out.data() + begun, static_cast<std::uint32_t>(payload.size()));
  PutUint32(out.data() + begun + 4, Crc32(payload));
}

bool TJournalCursor::Number(std::uint64_t& value) {
  value = 0;
  for (int shift = 0; shift < 64; shift += 7) {
    if (Position_ >= Bytes_.size()) return false;
    const auto byte = static_cast<unsigned char>(Bytes_[Position_++]);
    value |= std::uint64_t{byte & 0x7FU} << shift;
    if ((byte & 0x80U) == 0) return true;
  }
  return false;
}

bool TJournalCursor::Byte(std::uint8_t& value) {
  if (Position_ >= Bytes_.size()) return false;
  value = static_cast<std::uint8_t>(Bytes_[Position_++]);
  return true;
}

bool TJournalCursor::Fixed64(std::uint64_t& value) {
  std::string_view bytes;
  if (!Bytes(8, bytes)) return false;
  value = 0;
  for (std::size_t i = 0; i < 8; ++i) value |= std::uint64_t{static_cast<unsigned char>(bytes[i])} << (8 * i);
  return true;
}

bool TJournalCursor::Text(std::string_view& text) {
  std::uint64_t length = 0;
  return Number(length) && length <= Bytes_.size() && Bytes(static_cast<std::size_t>(length), text);
}

bool TJournalCursor::Bytes(std::size_t count, std::string_view& bytes) {
  if (count > Bytes_.size() - Position_) return false;
  bytes = Bytes_.substr(Position_, count);
  Position_ += count;
  return true;
}

std::optional<std::string_view> NextJournalBlock(std::string_view bytes, std::size_t& offset) {
  if (offset > bytes.size() || bytes.size() - offset < kJournalBlockHeader) return std::nullopt;
  const std::uint32_t length = GetUint32(bytes.substr(offset));
  const std::uint32_t crc = GetUint32(bytes.substr(offset + 4));
  if (length == 0 || bytes.size() - offset - kJournalBlockHeader < length) return std::nullopt;
  const std::string_view payload = bytes.substr(offset + kJournalBlockHeader, length);
  if (Crc32(payload) != crc) return std::nullopt;
  offset += kJournalBlockHeader + length;
  return payload;
}

}  // namespace vt
