#include "engine/InputRules.h"

#include <limits>

namespace vt {
namespace {

bool IsDigit(char32_t c) { return c >= U'0' && c <= U'9'; }

std::string DecimalText(std::int64_t value) { return std::to_string(value); }

}  // namespace

bool IsFileNameChar(char32_t c) {
  switch (c) {
    case U'"':
    case U'/':
    case U':':
    case U'<':
    case U'>':
    case U'\\':
    case U'|': return false;
    default: return true;
  }
}

bool TextFieldAccepts(TTextField field, char32_t c) {
  if (field == TTextField::Regex) return true;
  if (!IsFileNameChar(c)) return false;
  switch (field) {
    case TTextField::Pattern: return true;
    case TTextField::InsertText: return c != U'*' && c != U'.' && c != U'?';
    case TTextField::DeleteText: return c != U'*' && c != U'.';
    case TTextField::Regex: return true;
  }
  return true;
}

std::string FilterText(TTextField field, std::string_view utf8) {
  // Every refused character is ASCII, and no byte of a longer UTF-8 sequence is.
  std::string kept;
  kept.reserve(utf8.size());
  for (const char byte : utf8) {
    const auto code = static_cast<unsigned char>(byte);
    if (code >= 0x80 || TextFieldAccepts(field, code)) kept += byte;
  }
  return kept;
}

bool InsideField(std::string_view before) {
  bool inside = false;
  for (std::size_t i = 0; i < before.size(); ++i) {
    const char c = before[i];
    if (c != '{' && c != '}') continue;
    // A doubled brace outside a field is a literal one.
    if (!inside && i + 1 < before.size() && before[i + 1] == c) {
      ++i;
      continue;
    }
    inside = c == '{';
  }
  return inside;
}

std::optional<std::int64_t> PlainDecimal(std::string_view text) {
  if (text.empty()) return std::nullopt;
  constexpr std::int64_t kLimit = std::numeric_limits<std::int64_t>::max() / 10 - 9;
  std::int64_t value = 0;
  for (const char c : text) {
    if (!IsDigit(static_cast<unsigned char>(c))) return std::nullopt;
    // Anything this long is above every field's maximum; keep it there.
    if (value < kLimit) value = value * 10 + (c - '0');
  }
  return value;
}

TNumberKey NumberKeyPress(std::string_view text, char32_t typed, int maximum) {
  if (!IsDigit(typed)) return TNumberKey::Drop;
  std::string candidate(text);
  candidate += static_cast<char>(typed);
  const std::optional<std::int64_t> value = PlainDecimal(candidate);
  if (!value) return TNumberKey::ConversionError;
  return *value > maximum ? TNumberKey::SetMaximum : TNumberKey::Insert;
}

std::optional<std::string> NumberTextAfterDelete(std::string_view text, int minimum) {
  if (!text.empty()) return std::nullopt;
  return DecimalText(minimum);
}

TNumberPaste NumberPaste(std::string_view before, std::string_view inserted, std::string_view after, int maximum) {
  std::string text(before);
  for (const char c : inserted)
    if (IsDigit(static_cast<unsigned char>(c))) text += c;
  text += after;
  if (text.empty()) return {TNumberKey::Insert, text};
  const std::optional<std::int64_t> value = PlainDecimal(text);
  if (!value) return {TNumberKey::ConversionError, {}};
  if (*value > maximum) return {TNumberKey::SetMaximum, DecimalText(maximum)};
  return {TNumberKey::Insert, text};
}

TExtensionChange ExtensionOnCharTyped(char32_t typed, bool treatExtension) {
  return typed == U'.' && !treatExtension ? TExtensionChange::Check : TExtensionChange::None;
}

TExtensionChange ExtensionOnKeyUp(std::string_view pattern, bool treatExtension) {
  return treatExtension && pattern.find('.') == std::string_view::npos ? TExtensionChange::Uncheck
                                                                       : TExtensionChange::None;
}

}  // namespace vt
