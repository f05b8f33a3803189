#pragma once
// A regular expression with its replacement, compiled once and applied to many
// names. Names are bytes: a plain ASCII pattern matches byte by byte, any other
// matches as UTF-8 and still finds its matches in names that are not valid UTF-8.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "engine/Expected.h"
#include "engine/TextSearch.h"

namespace vt {

// Why a pattern or a replacement does not compile.
struct TRegexError {
  enum class TPart : std::uint8_t { Pattern, Replacement };
  TPart Part = TPart::Pattern;
  std::size_t Offset = 0;  // in bytes, where the compiler stopped
  std::string Message;     // the regular-expression library's own
};

enum class TRegexOutcome : std::uint8_t {
  NoMatch,
  Replaced,
  TooCostly,  // the match or depth limit stopped the search
};

class TRegex {
 public:
  // The replacement takes $0 to $99, ${number}, ${name} and $$ for a dollar
  // sign; any other dollar sign stands for itself.
  static TExpected<TRegex, TRegexError> Compile(std::string_view pattern, std::string_view replacement, TCase rule);

  // A copy shares the compiled expression; each copy has its own match state,
  // so one copy serves one thread.
  TRegex(const TRegex& other);
  TRegex& operator=(const TRegex& other);
  TRegex(TRegex&&) noexcept;
  TRegex& operator=(TRegex&&) noexcept;
  ~TRegex();

  // The first or every match in text replaced; text stays as it was unless
  // the outcome is Replaced.
  TRegexOutcome Replace(std::string& text, TOccurrences occurrences) const;

 private:
  struct TCompiled;
  struct TMatchState;
  explicit TRegex(std::shared_ptr<const TCompiled> compiled);

  std::shared_ptr<const TCompiled> Compiled_;
  // Scratch of one match at a time: the library writes its offsets here.
  mutable std::unique_ptr<TMatchState> State_;
};

}  // namespace vt
