#include "cli/RowFormat.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#include "engine/RenameStatus.h"
#include "platform/Utf8Char.h"

namespace vt {

namespace {

constexpr char kHex[] = "0123456789abcdef";

void AppendHexByte(std::string& out, unsigned char byte) {
  out += kHex[byte >> 4];
  out += kHex[byte & 0x0F];
}

void AppendByteEscape(std::string& out, unsigned char byte) {
  out += "\\x";
  AppendHexByte(out, byte);
}

constexpr std::size_t kStatuses = static_cast<std::size_t>(TRenameStatus::rsCanBeRenamed) + 1;

std::array<std::string_view, 4> Cells(const TResultRow& row) {
  // The words of the statuses a pass gives, looked up once: a pass of many rows
  // words the same few again and again.
  static const std::array<std::string_view, kStatuses> kWords = [] {
    std::array<std::string_view, kStatuses> words{};
    for (std::size_t code = 0; code < kStatuses; ++code) words[code] = StatusText(static_cast<TRenameStatus>(code));
    return words;
  }();
  const auto code = static_cast<std::size_t>(row.Status);
  if (row.Kept || code >= kStatuses) return {row.Cell(0), row.Cell(1), row.Cell(2), row.Cell(3)};
  return {row.OldName, row.NewName, row.Path(), kWords[code]};
}

// Bytes a writer can copy as they are, one table per kind of output: most names
// are plain, and sixteen bytes at a time find that out. A word that may hold
// something else (any byte below 0x20, one of the two special bytes, and where
// the output is ASCII only, any byte from 0x7F) is looked at byte by byte.
struct TPlainBytes {
  std::array<bool, 256> Plain{};
  bool AsciiOnly = false;
  unsigned char Special[2] = {0, 0};  // 0: none (it is below 0x20 anyway)
};

constexpr TPlainBytes PlainBytes(bool (*plain)(unsigned char), bool asciiOnly, unsigned char special1,
                                 unsigned char special2) {
  TPlainBytes table{};
  for (unsigned i = 0; i < 256; ++i) table.Plain[i] = plain(static_cast<unsigned char>(i));
  table.AsciiOnly = asciiOnly;
  table.Special[0] = special1;
  table.Special[1] = special2;
  return table;
}

constexpr bool IsTsvSpecial(unsigned char c) { return c == '\\' || c == '\t' || c == '\n' || c == '\r'; }
// Printable ASCII: no control, and nothing beyond ASCII that might be one.
constexpr bool IsPrintableAscii(unsigned char c) { return c >= 0x20 && c < 0x7F; }

constexpr TPlainBytes kTsvPlain = PlainBytes([](unsigned char c) { return !IsTsvSpecial(c); }, false, '\\', 0);
constexpr TPlainBytes kTsvTerminalPlain =
    PlainBytes([](unsigned char c) { return IsPrintableAscii(c) && c != '\\'; }, true, '\\', 0);
constexpr TPlainBytes kJsonPlain =
    PlainBytes([](unsigned char c) { return IsPrintableAscii(c) && c != '"' && c != '\\'; }, true, '"', '\\');
constexpr TPlainBytes kTablePlain = PlainBytes(IsPrintableAscii, true, 0, 0);

// Sixteen bytes compared at once; the compiler turns this into vector instructions.
using TBytes16 = unsigned char __attribute__((vector_size(16)));

// Whether some byte of the sixteen may not be plain; never false when one is not.
bool MayHoldSpecial(const TBytes16 bytes, const TPlainBytes& plain) {
  TBytes16 suspect = (bytes < 0x20) | (bytes == plain.Special[0]) | (bytes == plain.Special[1]);
  if (plain.AsciiOnly) suspect |= bytes >= 0x7F;
  std::uint64_t halves[2];
  std::memcpy(halves, &suspect, sizeof halves);
  return (halves[0] | halves[1]) != 0;
}

std::size_t PlainPrefix(std::string_view text, const TPlainBytes& plain) {
  std::size_t i = 0;
  for (; i + 16 <= text.size(); i += 16) {
    TBytes16 bytes;
    std::memcpy(&bytes, text.data() + i, 16);
    if (!MayHoldSpecial(bytes, plain)) continue;
    for (std::size_t k = i; k < i + 16; ++k)
      if (!plain.Plain[static_cast<unsigned char>(text[k])]) return k;
  }
  // The rest in one look too, from words that overlap where it is short (most
  // names are shorter than sixteen bytes): the last sixteen bytes, or the
  // first and the last eight; every byte of the rest is in them.
  const std::size_t size = text.size();
  if (size >= 16 && i < size) {
    TBytes16 bytes;
    std::memcpy(&bytes, text.data() + size - 16, 16);
    if (!MayHoldSpecial(bytes, plain)) return size;
  } else if (size >= 8 && i < size) {
    char words[16];
    std::memcpy(words, text.data(), 8);
    std::memcpy(words + 8, text.data() + size - 8, 8);
    TBytes16 bytes;
    std::memcpy(&bytes, words, sizeof bytes);
    if (!MayHoldSpecial(bytes, plain)) return size;
  }
  while (i < size && plain.Plain[static_cast<unsigned char>(text[i])]) ++i;
  return i;
}

// A C1 control (U+0080 to U+009F) written as UTF-8: a terminal may act on it as
// on a C0 one.
bool IsC1(std::string_view text, std::size_t at, std::size_t length) {
  return length == 2 && static_cast<unsigned char>(text[at]) == 0xC2 && static_cast<unsigned char>(text[at + 1]) < 0xA0;
}

// The marks and embeddings of bidirectional text (U+061C, U+200E, U+200F,
// U+202A to U+202E, U+2066 to U+2069) reorder what follows them on the line, so
// a name could show as another; the line and paragraph separators (U+2028,
// U+2029) break it where a terminal follows them.
bool IsDirectionControl(std::string_view text, std::size_t at, std::size_t length) {
  const auto first = static_cast<unsigned char>(text[at]);
  const auto second = length > 1 ? static_cast<unsigned char>(text[at + 1]) : 0;
  if (length == 2) return first == 0xD8 && second == 0x9C;
  if (length != 3 || first != 0xE2) return false;
  const auto third = static_cast<unsigned char>(text[at + 2]);
  if (second == 0x80) return third == 0x8E || third == 0x8F || (third >= 0xA8 && third <= 0xAE);
  return second == 0x81 && third >= 0xA6 && third <= 0xA9;
}

enum class TDirectionControls { Keep, Escape };

// Everything from `at` on, escaped for a terminal: controls, bytes that are not
// UTF-8 and, when asked, direction controls become \xNN per byte.
void AppendTerminalText(std::string& out, std::string_view text, std::size_t at, TDirectionControls direction,
                        bool tsv) {
  while (at < text.size()) {
    const auto c = static_cast<unsigned char>(text[at]);
    if (tsv && IsTsvSpecial(c)) {
      out += '\\';
      out += c == '\\' ? '\\' : c == '\t' ? 't' : c == '\n' ? 'n' : 'r';
      ++at;
      continue;
    }
    const std::size_t length = Utf8SequenceLength(text, at);
    const bool escape = length == 0 || c < 0x20 || c == 0x7F || IsC1(text, at, length) ||
                        (direction == TDirectionControls::Escape && IsDirectionControl(text, at, length));
    const std::size_t bytes = length == 0 ? 1 : length;
    if (escape) {
      for (std::size_t k = 0; k < bytes; ++k) AppendByteEscape(out, static_cast<unsigned char>(text[at + k]));
    } else {
      out.append(text.substr(at, bytes));
    }
    at += bytes;
  }
}

void AppendTsvCell(std::string& out, std::string_view cell, TOutputTarget target) {
  const bool terminal = target == TOutputTarget::Terminal;
  const std::size_t plain = PlainPrefix(cell, terminal ? kTsvTerminalPlain : kTsvPlain);
  out.append(cell.substr(0, plain));
  if (plain == cell.size()) return;
  if (terminal) {
    AppendTerminalText(out, cell, plain, TDirectionControls::Escape, true);
    return;
  }
  for (std::size_t i = plain; i < cell.size(); ++i) {
    const char c = cell[i];
    if (!IsTsvSpecial(static_cast<unsigned char>(c))) {
      out += c;
      continue;
    }
    out += '\\';
    out += c == '\\' ? '\\' : c == '\t' ? 't' : c == '\n' ? 'n' : 'r';
  }
}

// A code point of two or three UTF-8 bytes as \uNNNN.
void AppendCodePointEscape(std::string& out, std::string_view text, std::size_t at, std::size_t length) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned>(static_cast<unsigned char>(text[at + k])); };
  const unsigned code = length == 2 ? ((byte(0) & 0x1Fu) << 6) | (byte(1) & 0x3Fu)
                                    : ((byte(0) & 0x0Fu) << 12) | ((byte(1) & 0x3Fu) << 6) | (byte(2) & 0x3Fu);
  out += "\\u";
  AppendHexByte(out, static_cast<unsigned char>(code >> 8));
  AppendHexByte(out, static_cast<unsigned char>(code & 0xFFu));
}

void AppendJsonString(std::string& out, std::string_view text, TOutputTarget target) {
  out += '"';
  const std::size_t plain = PlainPrefix(text, kJsonPlain);
  out.append(text.substr(0, plain));
  for (std::size_t i = plain; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c >= 0x80) {
      const std::size_t length = Utf8SequenceLength(text, i);
      if (length == 0) {
        out += "\\udc";
        AppendHexByte(out, c);
        ++i;
      } else if (IsC1(text, i, length)) {
        out += "\\u00";
        AppendHexByte(out, static_cast<unsigned char>(text[i + 1]));
        i += length;
      } else if (target == TOutputTarget::Terminal && IsDirectionControl(text, i, length)) {
        AppendCodePointEscape(out, text, i, length);  // the same text to a reader, no reordering on the screen
        i += length;
      } else {
        out.append(text.substr(i, length));
        i += length;
      }
      continue;
    }
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\b': out += "\\b"; break;
      case '\f': out += "\\f"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20 || c == 0x7F) {
          out += "\\u00";
          AppendHexByte(out, c);
        } else {
          out += static_cast<char>(c);
        }
    }
    ++i;
  }
  out += '"';
}

}  // namespace

std::size_t DisplayWidth(std::string_view text) {
  return static_cast<std::size_t>(
      std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

std::size_t Utf8SequenceLength(std::string_view text, std::size_t at) {
  const std::size_t bytes = Utf8CharBytes(text, at);
  // A lone byte at or above 0x80 starts no valid sequence.
  return bytes == 1 && static_cast<unsigned char>(text[at]) >= 0x80 ? 0 : bytes;
}

std::string TsvCell(std::string_view text, TOutputTarget target) {
  std::string out;
  out.reserve(text.size());
  AppendTsvCell(out, text, target);
  return out;
}

void AppendTsvRow(std::string& out, const TResultRow& row, TOutputTarget target) {
  const auto cells = Cells(row);
  // Most rows have nothing to escape: they go out in one piece.
  const TPlainBytes& plain = target == TOutputTarget::Terminal ? kTsvTerminalPlain : kTsvPlain;
  std::size_t size = cells.size();  // the tabs and the newline
  bool escapes = false;
  for (const std::string_view cell : cells) {
    size += cell.size();
    escapes = escapes || PlainPrefix(cell, plain) != cell.size();
  }
  if (!escapes) {
    const std::size_t start = out.size();
    out.resize(start + size);
    char* at = out.data() + start;
    for (std::size_t i = 0; i < cells.size(); ++i) {
      if (!cells[i].empty()) std::memcpy(at, cells[i].data(), cells[i].size());
      at += cells[i].size();
      *at++ = i + 1 < cells.size() ? '\t' : '\n';
    }
    return;
  }
  AppendTsvCell(out, cells[0], target);
  for (std::size_t i = 1; i < cells.size(); ++i) {
    out += '\t';
    AppendTsvCell(out, cells[i], target);
  }
  out += '\n';
}

std::string JsonString(std::string_view text, TOutputTarget target) {
  std::string out;
  out.reserve(text.size() + 2);
  AppendJsonString(out, text, target);
  return out;
}

void AppendJsonRow(std::string& out, const TResultRow& row, std::string_view reason, TOutputTarget target) {
  static constexpr std::array<std::string_view, 4> kKeys{"{\"File\":", ",\"New Name\":", ",\"Path\":", ",\"Status\":"};
  const auto cells = Cells(row);
  for (std::size_t i = 0; i < cells.size(); ++i) {
    out += kKeys[i];
    AppendJsonString(out, cells[i], target);
  }
  if (!reason.empty()) {
    out += ",\"reason\":";
    AppendJsonString(out, reason, target);
  }
  out += "}\n";
}

std::string TerminalText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  const std::size_t plain = PlainPrefix(text, kTablePlain);
  out.append(text.substr(0, plain));
  AppendTerminalText(out, text, plain, TDirectionControls::Escape, false);
  return out;
}

TTableLayout::TTableLayout() {
  for (std::size_t i = 0; i < kTableCaptions.size(); ++i) Widths_[i] = kTableCaptions[i].size();
}

void TTableLayout::Measure(const TResultRow& row) {
  const auto cells = Cells(row);
  for (std::size_t i = 0; i < Widths_.size(); ++i)
    Widths_[i] = std::max(Widths_[i], DisplayWidth(TerminalText(cells[i])));
}

void TTableLayout::AppendLine(std::string& out, const std::array<std::string, 4>& line) const {
  for (std::size_t i = 0; i < line.size(); ++i) {
    out += line[i];
    if (i + 1 < line.size()) out.append(Widths_[i] - std::min(Widths_[i], DisplayWidth(line[i])) + 2, ' ');
  }
  out += '\n';
}

void TTableLayout::AppendHeader(std::string& out) const {
  AppendLine(out, {std::string(kTableCaptions[0]), std::string(kTableCaptions[1]), std::string(kTableCaptions[2]),
                   std::string(kTableCaptions[3])});
}

void TTableLayout::AppendRow(std::string& out, const TResultRow& row) const {
  const auto cells = Cells(row);
  AppendLine(out, {TerminalText(cells[0]), TerminalText(cells[1]), TerminalText(cells[2]), TerminalText(cells[3])});
}

std::string FormatTable(const TResultRows& rows) {
  TTableLayout layout;
  for (const TResultRow& row : rows) layout.Measure(row);
  std::string out;
  layout.AppendHeader(out);
  for (const TResultRow& row : rows) layout.AppendRow(out, row);
  return out;
}

}  // namespace vt
