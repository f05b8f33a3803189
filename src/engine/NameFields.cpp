#include "engine/NameFields.h"

#include <array>
#include <charconv>
#include <utility>

#include "engine/InputRules.h"
#include "engine/Utf8.h"

namespace vt {
namespace {

struct TFieldName {
  std::string_view Name;
  TFieldKind Kind;
};

constexpr std::array kFieldNames{
    TFieldName{"taken", TFieldKind::Taken},   TFieldName{"modified", TFieldKind::Modified},
    TFieldName{"make", TFieldKind::Make},     TFieldName{"model", TFieldKind::Model},
    TFieldName{"width", TFieldKind::Width},   TFieldName{"height", TFieldKind::Height},
    TFieldName{"artist", TFieldKind::Artist}, TFieldName{"album", TFieldKind::Album},
    TFieldName{"title", TFieldKind::Title},   TFieldName{"year", TFieldKind::Year},
    TFieldName{"track", TFieldKind::Track},   TFieldName{"name", TFieldKind::Name},
};

constexpr std::string_view kDefaultDateFormat = "%Y-%m-%d";

std::optional<TFieldKind> KindOf(std::string_view name) {
  for (const TFieldName& known : kFieldNames)
    if (known.Name == name) return known.Kind;
  return std::nullopt;
}

// The conversions of strftime that depend on the date and time alone; E and O
// may modify those the C library lets them.
bool IsDateConversion(char c) {
  return std::string_view("aAbBcCdDeFgGhHIjmMnprRStTuUVwWxXyYzZ%").find(c) != std::string_view::npos;
}

// Byte offset of the first fault of a date format, or npos.
std::size_t DateFormatFault(std::string_view format) {
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') continue;
    std::size_t at = i + 1;
    if (at < format.size() && (format[at] == 'E' || format[at] == 'O')) ++at;
    if (at >= format.size() || !IsDateConversion(format[at])) return i;
    i = at;
  }
  return std::string_view::npos;
}

struct TParser {
  std::string_view Text;
  TFieldTemplate Out;
  TFieldPiece Piece;

  std::size_t CharPosition(std::size_t byte) const { return CharCount(Text.substr(0, byte)) + 1; }
  TUnexpected<TFieldError> Fault(TFieldFault fault, std::size_t byte) const {
    return Unexpected(TFieldError{fault, CharPosition(byte)});
  }

  // The field between the braces at open and close.
  TExpected<TFieldPiece, TFieldError> Field(std::size_t open, std::size_t close) {
    const std::string_view inside = Text.substr(open + 1, close - open - 1);
    const std::size_t colon = inside.find(':');
    const std::optional<TFieldKind> kind = KindOf(inside.substr(0, colon));
    if (!kind) return Fault(TFieldFault::UnknownField, open);
    TFieldPiece piece;
    piece.Field = kind;
    const bool formatted = colon != std::string_view::npos;
    const std::string_view format = formatted ? inside.substr(colon + 1) : std::string_view();
    const std::size_t formatAt = open + 1 + colon + 1;
    switch (*kind) {
      case TFieldKind::Taken:
      case TFieldKind::Modified:
        if (formatted && format.empty()) return Fault(TFieldFault::BadFormat, formatAt);
        if (const std::size_t fault = DateFormatFault(format); fault != std::string_view::npos)
          return Fault(TFieldFault::BadFormat, formatAt + fault);
        piece.Format = formatted ? std::string(format) : std::string(kDefaultDateFormat);
        break;
      case TFieldKind::Track:
        if (formatted && (format.empty() || format.find_first_not_of('0') != std::string_view::npos))
          return Fault(TFieldFault::BadFormat, formatAt + (format.empty() ? 0 : format.find_first_not_of('0')));
        piece.Width = static_cast<int>(format.size());
        break;
      default:
        if (formatted) return Fault(TFieldFault::BadFormat, formatAt - 1);
        break;
    }
    return piece;
  }

  TExpected<TFieldTemplate, TFieldError> Parse() {
    for (std::size_t i = 0; i < Text.size(); ++i) {
      const char c = Text[i];
      if ((c == '{' || c == '}') && i + 1 < Text.size() && Text[i + 1] == c) {
        Piece.Literal += c;
        ++i;
        continue;
      }
      if (c == '}') return Fault(TFieldFault::UnmatchedBrace, i);
      if (c != '{') {
        Piece.Literal += c;
        continue;
      }
      const std::size_t close = Text.find_first_of("{}", i + 1);
      if (close == std::string_view::npos || Text[close] == '{') return Fault(TFieldFault::UnmatchedBrace, i);
      TExpected<TFieldPiece, TFieldError> field = Field(i, close);
      if (!field) return Unexpected(field.Error());
      field->Literal = std::move(Piece.Literal);
      Out.Sources |= SourceOf(*field->Field);
      Out.Pieces.push_back(std::move(field).Value());
      Piece = TFieldPiece();
      i = close;
    }
    if (!Piece.Literal.empty()) Out.Pieces.push_back(std::move(Piece));
    return std::move(Out);
  }
};

// Appends value with every character a name may not get from a field replaced.
void AppendValue(std::string& out, std::string_view value) {
  for (const char byte : value) {
    const auto code = static_cast<unsigned char>(byte);
    const bool refused =
        code < 0x20 || code == 0x7F || (code < 0x80 && !TextFieldAccepts(TTextField::InsertText, code));
    out += refused ? kFieldStandIn : byte;
  }
}

bool AppendDate(std::string& out, const std::optional<std::tm>& date, const std::string& format) {
  if (!date) return false;
  std::array<char, 512> text{};
  const std::size_t written = std::strftime(text.data(), text.size(), format.c_str(), &*date);
  // Nothing written is either an empty result or one too long for any name.
  if (written == 0) return false;
  AppendValue(out, std::string_view(text.data(), written));
  return true;
}

bool AppendText(std::string& out, const std::string& value) {
  if (value.empty()) return false;
  AppendValue(out, value);
  return true;
}

bool AppendNumber(std::string& out, std::uint32_t value, int width) {
  if (value == 0) return false;
  std::array<char, 16> digits{};
  const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), value).ptr;
  const auto length = static_cast<int>(end - digits.data());
  if (width > length) out.append(static_cast<std::size_t>(width - length), '0');
  out.append(digits.data(), end);
  return true;
}

// Reads count digits at text[at]; nothing when they are not all digits.
std::optional<int> Digits(std::string_view text, std::size_t at, std::size_t count) {
  if (at + count > text.size()) return std::nullopt;
  int value = 0;
  for (std::size_t i = at; i < at + count; ++i) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

}  // namespace

std::uint8_t SourceOf(TFieldKind kind) {
  switch (kind) {
    case TFieldKind::Modified: return FieldSource::Stat;
    case TFieldKind::Taken:
    case TFieldKind::Make:
    case TFieldKind::Model:
    case TFieldKind::Width:
    case TFieldKind::Height: return FieldSource::Image;
    case TFieldKind::Artist:
    case TFieldKind::Album:
    case TFieldKind::Title:
    case TFieldKind::Year:
    case TFieldKind::Track: return FieldSource::Audio;
    case TFieldKind::Name: return FieldSource::None;
  }
  return FieldSource::None;
}

TExpected<TFieldTemplate, TFieldError> ParseFieldTemplate(std::string_view text) {
  TParser parser{text, {}, {}};
  return parser.Parse();
}

std::optional<std::string> FillFields(const TFieldTemplate& fields, const TFieldValues& values, std::string_view name) {
  std::string out;
  for (const TFieldPiece& piece : fields.Pieces) {
    out += piece.Literal;
    if (!piece.Field) continue;
    bool filled = false;
    switch (*piece.Field) {
      case TFieldKind::Taken: filled = AppendDate(out, values.Taken, piece.Format); break;
      case TFieldKind::Modified: filled = AppendDate(out, values.Modified, piece.Format); break;
      case TFieldKind::Make: filled = AppendText(out, values.Make); break;
      case TFieldKind::Model: filled = AppendText(out, values.Model); break;
      case TFieldKind::Width: filled = AppendNumber(out, values.Width, 0); break;
      case TFieldKind::Height: filled = AppendNumber(out, values.Height, 0); break;
      case TFieldKind::Artist: filled = AppendText(out, values.Artist); break;
      case TFieldKind::Album: filled = AppendText(out, values.Album); break;
      case TFieldKind::Title: filled = AppendText(out, values.Title); break;
      case TFieldKind::Year: filled = AppendNumber(out, values.Year, 0); break;
      case TFieldKind::Track: filled = AppendNumber(out, values.Track, piece.Width); break;
      case TFieldKind::Name:
        // The name is the file's own: it holds nothing a name cannot.
        out += name;
        filled = true;
        break;
    }
    if (!filled) return std::nullopt;
  }
  return out;
}

std::optional<std::tm> ParseTakenDate(std::string_view text) {
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  const auto year = Digits(text, 0, 4), month = Digits(text, 5, 2), day = Digits(text, 8, 2);
  if (!year || !month || !day || text.size() < 10 || (text[4] != ':' && text[4] != '-') || text[7] != text[4])
    return std::nullopt;
  if (*year == 0 || *month < 1 || *month > 12 || *day < 1 || *day > 31) return std::nullopt;  // "0000:00:00"
  std::tm date{};
  date.tm_year = *year - 1900;
  date.tm_mon = *month - 1;
  date.tm_mday = *day;
  if (text.size() > 10) {
    const auto hour = Digits(text, 11, 2), minute = Digits(text, 14, 2);
    if (!hour || !minute || (text[10] != ' ' && text[10] != 'T') || text[13] != ':' || *hour > 23 || *minute > 59)
      return std::nullopt;
    date.tm_hour = *hour;
    date.tm_min = *minute;
    if (text.size() > 16 && text[16] == ':') {
      const auto second = Digits(text, 17, 2);
      if (!second || *second > 60) return std::nullopt;
      date.tm_sec = *second;
    }
  }
  // The weekday and the day of the year, for the formats that show them.
  static constexpr std::array<int, 12> kDaysBefore{0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
  const int y = *year;
  const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
  date.tm_yday = kDaysBefore[static_cast<std::size_t>(*month - 1)] + *day - 1 + (leap && *month > 2 ? 1 : 0);
  // Sakamoto's rule for the weekday.
  static constexpr std::array<int, 12> kMonthOffset{0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  const int yy = *month < 3 ? y - 1 : y;
  date.tm_wday = (yy + yy / 4 - yy / 100 + yy / 400 + kMonthOffset[static_cast<std::size_t>(*month - 1)] + *day) % 7;
  return date;
}

}  // namespace vt
