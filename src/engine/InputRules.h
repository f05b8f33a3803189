#pragma once
// What the settings' fields accept while the user edits them: characters of
// the text fields, digits of the number fields, and "Treat file extension"
// following the dot of the search pattern. Characters are Unicode code points.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vt {

// False for the seven characters no file name may hold: " / : < > \ |.
bool IsFileNameChar(char32_t c);

// The text fields that filter what they are given.
enum class TTextField : std::uint8_t {
  Pattern,     // search and replace patterns: wildcards and dots allowed
  InsertText,  // no wildcards, no dot
  DeleteText,  // no asterisk, no dot; the question mark is a wildcard here
  Regex,       // a regular expression: every character
};

bool TextFieldAccepts(TTextField field, char32_t c);
// utf8 without the characters the field refuses (for text that is pasted or dropped).
std::string FilterText(TTextField field, std::string_view utf8);

// With "Use fields" checked, what lies inside a field ("{taken:%H:%M}") is the
// field's own: a character there is let through whatever the field refuses.
// before: the text ahead of the character, as UTF-8.
bool InsideField(std::string_view before);

// A plain decimal number: digits only, no sign, no separators.
std::optional<std::int64_t> PlainDecimal(std::string_view text);

// What typing a character into a number field does.
enum class TNumberKey : std::uint8_t {
  Insert,           // the digit goes in at the caret
  Drop,             // not a digit: nothing happens
  SetMaximum,       // the text followed by the digit is above the maximum
  ConversionError,  // the text is no plain number (the arrows wrote a separator)
};
// The candidate is the text followed by the digit, wherever the caret is.
TNumberKey NumberKeyPress(std::string_view text, char32_t typed, int maximum);

// Releasing Delete in a number field that it left empty puts the minimum back.
std::optional<std::string> NumberTextAfterDelete(std::string_view text, int minimum);

// Text pasted or dropped into a number field between before and after: its
// non-digits are removed, and a result above the maximum becomes the maximum.
// As for a typed digit, a text that is no plain number (the arrows wrote a
// separator) gives ConversionError, and the field keeps its old text.
struct TNumberPaste {
  TNumberKey Outcome;  // never Drop
  std::string Text;    // the field's new text, unless ConversionError
};
TNumberPaste NumberPaste(std::string_view before, std::string_view inserted, std::string_view after, int maximum);

// "Treat file extension" and "Recursive" as the dot of the search pattern sets them.
enum class TExtensionChange : std::uint8_t {
  None,
  Check,    // check "Treat file extension", disable "Recursive"
  Uncheck,  // uncheck it, enable "Recursive" again
};
// A character typed into the search pattern.
TExtensionChange ExtensionOnCharTyped(char32_t typed, bool treatExtension);
// Any key released in the search pattern.
TExtensionChange ExtensionOnKeyUp(std::string_view pattern, bool treatExtension);

}  // namespace vt
