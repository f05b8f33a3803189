#pragma once
// The wildcard matcher of Search/Replace and Remove: "*" any run, "?" one
// character. It resolves the pattern from left to right, always taking the
// first occurrence of each literal piece, and does not backtrack.
#include <cstddef>
#include <string_view>

#include "engine/TextSearch.h"

namespace vt {

struct TWildMatch {
  int Position = 0;        // 1-based character position; 0 for no match
  std::size_t Offset = 0;  // byte offset of the match in the subject
  std::string_view Text;   // the matched text, a view into the subject

  explicit operator bool() const { return Position != 0; }
};

// An empty pattern never matches. Text taken from the subject while the pattern
// is resolved stays literal, so subjects holding "*" or "?" match as plain text.
TWildMatch WildFind(std::string_view pattern, std::string_view subject, TCase rule);

// WildFind for a pattern known to hold neither "*" nor "?".
TWildMatch LiteralFind(std::string_view literal, std::string_view subject, TCase rule);

}  // namespace vt
