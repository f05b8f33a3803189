#include "engine/Regex.h"

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

namespace vt {
namespace {

// Enough for any pattern a person means on a name of 255 bytes; a pattern that
// backtracks without end stops here within milliseconds.
constexpr std::uint32_t kMatchLimit = 1'000'000;
constexpr std::uint32_t kDepthLimit = 10'000;
constexpr std::size_t kMaxGroup = 99;

std::string LibraryMessage(int code) {
  std::array<PCRE2_UCHAR, 256> buffer{};
  const int length = pcre2_get_error_message(code, buffer.data(), buffer.size());
  if (length < 0) return "error " + std::to_string(code);
  return {reinterpret_cast<const char*>(buffer.data()), static_cast<std::size_t>(length)};
}

bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool IsUtfError(int code) { return code >= PCRE2_ERROR_UTF8_ERR21 && code <= PCRE2_ERROR_UTF8_ERR1; }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A piece of the replacement: literal text, or the text of a group.
struct TPiece {
  std::string Literal;
  int Group = -1;
};

struct TCodeFree {
  void operator()(pcre2_code* code) const { pcre2_code_free(code); }
};
struct TContextFree {
  void operator()(pcre2_match_context* context) const { pcre2_match_context_free(context); }
};
struct TMatchDataFree {
  void operator()(pcre2_match_data* data) const { pcre2_match_data_free(data); }
};

using TCodePtr = std::unique_ptr<pcre2_code, TCodeFree>;

TExpected<TCodePtr, TRegexError> CompileCode(std::string_view pattern, std::uint32_t options) {
  int code = 0;
  PCRE2_SIZE offset = 0;
  TCodePtr compiled(
      pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(), options, &code, &offset, nullptr));
  if (!compiled) return Unexpected(TRegexError{TRegexError::TPart::Pattern, offset, LibraryMessage(code)});
  return compiled;
}

}  // namespace

struct TRegex::TCompiled {
  TCodePtr Code;
  std::unique_ptr<pcre2_match_context, TContextFree> Context;
  std::vector<TPiece> Replacement;
  bool Utf = false;
  bool Jit = false;
};

struct TRegex::TMatchState {
  explicit TMatchState(const pcre2_code* code) : Data(pcre2_match_data_create_from_pattern(code, nullptr)) {}
  std::unique_ptr<pcre2_match_data, TMatchDataFree> Data;
  std::string Out;
};

namespace {

TRegexError ReplacementError(std::size_t offset, int code) {
  return {TRegexError::TPart::Replacement, offset, LibraryMessage(code)};
}

// The replacement in pieces, each group reference checked against the pattern.
TExpected<std::vector<TPiece>, TRegexError> ParseReplacement(std::string_view text, const pcre2_code* code) {
  std::uint32_t groups = 0;
  pcre2_pattern_info(code, PCRE2_INFO_CAPTURECOUNT, &groups);
  std::vector<TPiece> pieces(1);
  const auto addGroup = [&pieces](int group) {
    pieces.push_back({{}, group});
    pieces.emplace_back();
  };
  for (std::size_t i = 0; i < text.size(); ++i) {
    const std::size_t at = i;
    if (text[i] != '$' || i + 1 == text.size()) {
      pieces.back().Literal += text[i];
      continue;
    }
    const char next = text[i + 1];
    if (next == '$') {
      pieces.back().Literal += '$';
      ++i;
    } else if (IsDigit(next)) {
      std::size_t group = static_cast<std::size_t>(next - '0');
      ++i;
      if (i + 1 < text.size() && IsDigit(text[i + 1]) && group != 0)
        group = group * 10 + static_cast<std::size_t>(text[++i] - '0');
      if (group > groups) return Unexpected(ReplacementError(at, PCRE2_ERROR_NOSUBSTRING));
      addGroup(static_cast<int>(group));
    } else if (next == '{') {
      const std::size_t close = text.find('}', i + 2);
      if (close == std::string_view::npos) return Unexpected(ReplacementError(at, PCRE2_ERROR_REPMISSINGBRACE));
      const std::string name(text.substr(i + 2, close - i - 2));
      int group = -1;
      if (!name.empty() && name.size() <= 2 && std::all_of(name.begin(), name.end(), IsDigit)) {
        group = std::stoi(name);
      } else if (!name.empty()) {
        group = pcre2_substring_number_from_name(code, reinterpret_cast<PCRE2_SPTR>(name.c_str()));
      }
      if (group < 0 || static_cast<std::uint32_t>(group) > groups || static_cast<std::size_t>(group) > kMaxGroup)
        return Unexpected(ReplacementError(at, PCRE2_ERROR_NOSUBSTRING));
      addGroup(group);
      i = close;
    } else {
      pieces.back().Literal += '$';
    }
  }
  return pieces;
}

}  // namespace

TExpected<TRegex, TRegexError> TRegex::Compile(std::string_view pattern, std::string_view replacement, TCase rule) {
  const std::uint32_t caseless = rule == TCase::Insensitive ? PCRE2_CASELESS : 0;
  auto compiled = std::make_shared<TCompiled>();
  // A pattern of other bytes than UTF-8 matches as bytes, as does a plain ASCII one.
  TExpected<TCodePtr, TRegexError> code = IsAscii(pattern)
                                              ? CompileCode(pattern, caseless)
                                              : CompileCode(pattern, caseless | PCRE2_UTF | PCRE2_MATCH_INVALID_UTF);
  compiled->Utf = !IsAscii(pattern);
  if (!code && compiled->Utf) {
    int check = 0;
    PCRE2_SIZE offset = 0;
    pcre2_code* probe = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(), PCRE2_UTF, &check,
                                      &offset, nullptr);
    pcre2_code_free(probe);
    if (IsUtfError(check)) {
      code = CompileCode(pattern, caseless);
      compiled->Utf = false;
    }
  }
  if (!code) return Unexpected(code.Error());
  compiled->Code = std::move(code).Value();
  compiled->Jit = pcre2_jit_compile(compiled->Code.get(), PCRE2_JIT_COMPLETE) == 0;
  compiled->Context.reset(pcre2_match_context_create(nullptr));
  pcre2_set_match_limit(compiled->Context.get(), kMatchLimit);
  pcre2_set_depth_limit(compiled->Context.get(), kDepthLimit);
  TExpected<std::vector<TPiece>, TRegexError> pieces = ParseReplacement(replacement, compiled->Code.get());
  if (!pieces) return Unexpected(pieces.Error());
  compiled->Replacement = std::move(pieces).Value();
  return TRegex(std::move(compiled));
}

TRegex::TRegex(std::shared_ptr<const TCompiled> compiled)
    : Compiled_(std::move(compiled)), State_(std::make_unique<TMatchState>(Compiled_->Code.get())) {}

TRegex::TRegex(const TRegex& other) : TRegex(other.Compiled_) {}

TRegex& TRegex::operator=(const TRegex& other) {
  if (this != &other) *this = TRegex(other);
  return *this;
}

TRegex::TRegex(TRegex&&) noexcept = default;
TRegex& TRegex::operator=(TRegex&&) noexcept = default;
TRegex::~TRegex() = default;

TRegexOutcome TRegex::Replace(std::string& text, TOccurrences occurrences) const {
  const TCompiled& c = *Compiled_;
  pcre2_match_data* data = State_->Data.get();
  std::string& out = State_->Out;
  out.clear();
  const auto subject = reinterpret_cast<PCRE2_SPTR>(text.data());
  std::size_t start = 0;
  std::size_t copied = 0;
  std::uint32_t options = 0;
  bool replaced = false;
  while (start <= text.size()) {
    int found = pcre2_match(c.Code.get(), subject, text.size(), start, options, data, c.Context.get());
    // The machine stack of the compiled matcher is small; the interpreter goes deeper.
    if (found == PCRE2_ERROR_JIT_STACKLIMIT)
      found = pcre2_match(c.Code.get(), subject, text.size(), start, options | PCRE2_NO_JIT, data, c.Context.get());
    if (found == PCRE2_ERROR_NOMATCH) {
      if (options == 0 || start >= text.size()) break;
      // No other match where an empty one was: go on one character later.
      options = 0;
      ++start;
      if (c.Utf)
        while (start < text.size() && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80) ++start;
      continue;
    }
    if (found < 0) return TRegexOutcome::TooCostly;
    const PCRE2_SIZE* offsets = pcre2_get_ovector_pointer(data);
    const std::uint32_t pairs = pcre2_get_ovector_count(data);
    out.append(text, copied, offsets[0] - copied);
    for (const TPiece& piece : c.Replacement) {
      if (piece.Group < 0) {
        out += piece.Literal;
        continue;
      }
      const auto group = static_cast<std::size_t>(piece.Group);
      // A group that took no part in the match gives nothing.
      if (group < pairs && group < static_cast<std::size_t>(found) && offsets[2 * group] != PCRE2_UNSET)
        out.append(text, offsets[2 * group], offsets[2 * group + 1] - offsets[2 * group]);
    }
    copied = offsets[1];
    replaced = true;
    if (occurrences == TOccurrences::First) break;
    // After an empty match, the next may not be empty at the same place.
    options = offsets[0] == offsets[1] ? PCRE2_NOTEMPTY_ATSTART | PCRE2_ANCHORED : 0;
    start = offsets[1];
  }
  if (!replaced) return TRegexOutcome::NoMatch;
  out.append(text, copied);
  text.swap(out);
  return TRegexOutcome::Replaced;
}

}  // namespace vt
