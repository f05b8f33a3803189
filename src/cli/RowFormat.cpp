#include "cli/RowFormat.h"

#include <algorithm>
#include <array>

#include "platform/Utf8Char.h"

namespace vt {

namespace {

constexpr char kHex[] = "0123456789abcdef";

void AppendHexByte(std::string& out, unsigned char byte) {
  out += kHex[byte >> 4];
  out += kHex[byte & 0x0F];
}

std::array<const std::string*, 4> Cells(const TResultRow& row) {
  return {&row.Caption, &row.SubItem(0), &row.SubItem(1), &row.SubItem(2)};
}

bool NeedsTsvEscape(char c) { return c == '\\' || c == '\t' || c == '\n' || c == '\r'; }

// Code points, which is how wide a cell of escaped text shows in most terminals.
std::size_t DisplayWidth(std::string_view text) {
  return static_cast<std::size_t>(std::count_if(
      text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

}  // namespace

std::size_t Utf8SequenceLength(std::string_view text, std::size_t at) {
  const std::size_t bytes = Utf8CharBytes(text, at);
  // A lone byte at or above 0x80 starts no valid sequence.
  return bytes == 1 && static_cast<unsigned char>(text[at]) >= 0x80 ? 0 : bytes;
}

std::string TsvCell(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\t': out += "\\t"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      default: out += c;
    }
  }
  return out;
}

void AppendTsvRow(std::string& out, const TResultRow& row) {
  const auto cells = Cells(row);
  for (std::size_t i = 0; i < cells.size(); ++i) {
    if (i > 0) out += '\t';
    const std::string& cell = *cells[i];
    // Most names need no escape: one pass over the bytes, then a plain append.
    if (std::none_of(cell.begin(), cell.end(), NeedsTsvEscape))
      out += cell;
    else
      out += TsvCell(cell);
  }
  out += '\n';
}

std::string JsonString(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 2);
  out += '"';
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c >= 0x80) {
      const std::size_t length = Utf8SequenceLength(text, i);
      if (length == 0) {
        out += "\\udc";
        AppendHexByte(out, c);
        ++i;
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
        if (c < 0x20) {
          out += "\\u00";
          AppendHexByte(out, c);
        } else {
          out += static_cast<char>(c);
        }
    }
    ++i;
  }
  out += '"';
  return out;
}

void AppendJsonRow(std::string& out, const TResultRow& row) {
  static constexpr std::array<std::string_view, 4> kKeys{"\"File\":", "\"New Name\":",
                                                         "\"Path\":", "\"Status\":"};
  const auto cells = Cells(row);
  out += '{';
  for (std::size_t i = 0; i < cells.size(); ++i) {
    if (i > 0) out += ',';
    out += kKeys[i];
    out += JsonString(*cells[i]);
  }
  out += "}\n";
}

std::string TerminalText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    const std::size_t length = Utf8SequenceLength(text, i);
    // C1 controls (U+0080 to U+009F) can drive a terminal as well as C0 ones.
    const bool c1 = length == 2 && c == 0xC2 && static_cast<unsigned char>(text[i + 1]) < 0xA0;
    if (length == 0 || c < 0x20 || c == 0x7F || c1) {
      for (std::size_t k = 0; k < (length == 0 ? 1 : length); ++k) {
        out += "\\x";
        AppendHexByte(out, static_cast<unsigned char>(text[i + k]));
      }
      i += length == 0 ? 1 : length;
    } else {
      out.append(text.substr(i, length));
      i += length;
    }
  }
  return out;
}

std::string FormatTable(const std::vector<TResultRow>& rows) {
  static constexpr std::array<std::string_view, 4> kCaptions{"File", "New Name", "Path", "Status"};
  std::vector<std::array<std::string, 4>> lines;
  lines.reserve(rows.size() + 1);
  lines.push_back({std::string(kCaptions[0]), std::string(kCaptions[1]), std::string(kCaptions[2]),
                   std::string(kCaptions[3])});
  for (const TResultRow& row : rows) {
    const auto cells = Cells(row);
    lines.push_back({TerminalText(*cells[0]), TerminalText(*cells[1]), TerminalText(*cells[2]),
                     TerminalText(*cells[3])});
  }
  std::array<std::size_t, 4> widths{};
  for (const auto& line : lines)
    for (std::size_t i = 0; i < widths.size(); ++i)
      widths[i] = std::max(widths[i], DisplayWidth(line[i]));
  std::string out;
  for (const auto& line : lines) {
    for (std::size_t i = 0; i < line.size(); ++i) {
      out += line[i];
      if (i + 1 < line.size()) out.append(widths[i] - DisplayWidth(line[i]) + 2, ' ');
    }
    out += '\n';
  }
  return out;
}

}  // namespace vt
