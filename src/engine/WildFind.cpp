#include "engine/WildFind.h"

#include <algorithm>
#include <string>

#include "engine/Utf8.h"

namespace vt {
namespace {

inline bool IsWild(char c) { return c == '*' || c == '?'; }

// The working pattern: its first Literal bytes were taken from the subject and
// are plain text; wildcards are looked for only after them.
struct TWorkingPattern {
  std::string Text;
  std::size_t Literal = 0;

  std::size_t FirstWild(std::size_t from) const {
    for (std::size_t i = std::max(from, Literal); i < Text.size(); ++i) {
      if (IsWild(Text[i])) return i;
    }
    return NotFound;
  }
  std::size_t RunEnd(std::size_t from) const {
    std::size_t i = from;
    while (i < Text.size() && IsWild(Text[i])) ++i;
    return i;
  }
  // Literal piece starting at from: up to the next wildcard or the end.
  std::size_t PieceEnd(std::size_t from) const {
    const std::size_t w = FirstWild(from);
    return w == NotFound ? Text.size() : w;
  }
  // A run of both kinds means the same as "*": drop its "?" characters.
  bool DropQuestionMarksIfMixed(std::size_t begin, std::size_t end) {
    const auto first = Text.begin() + static_cast<std::ptrdiff_t>(begin);
    const auto last = Text.begin() + static_cast<std::ptrdiff_t>(end);
    if (std::find(first, last, '*') == last || std::find(first, last, '?') == last) return false;
    Text.erase(std::remove(first, last, '?'), last);
    return true;
  }
  // The pattern becomes resolved (literal) followed by what is left after rest.
  void Resolve(std::string_view resolved, std::size_t rest) {
    Text.replace(0, rest, resolved);
    Literal = resolved.size();
  }
};

struct TMatcher {
  std::string_view Subject;
  TCase Rule;

  TWildMatch Result(std::size_t begin, std::size_t end) const {
    return {static_cast<int>(CharCount(Subject.substr(0, begin))) + 1, begin, Subject.substr(begin, end - begin)};
  }
  std::size_t Find(std::string_view piece, std::size_t from = 0) const { return FindText(Subject, piece, from, Rule); }
};

enum class TStep { Continue, Done };

// Pattern begins with a wildcard run.
TStep LeadingStep(TWorkingPattern& p, const TMatcher& m, TWildMatch& out) {
  const std::size_t runEnd = p.RunEnd(0);
  if (p.DropQuestionMarksIfMixed(0, runEnd)) return TStep::Continue;
  const std::size_t q =
      static_cast<std::size_t>(std::count(p.Text.begin(), p.Text.begin() + static_cast<std::ptrdiff_t>(runEnd), '?'));
  if (runEnd == p.Text.size()) {
    if (q == 0 || q == CharCount(m.Subject)) out = m.Result(0, m.Subject.size());
    return TStep::Done;
  }
  const std::size_t pieceEnd = p.PieceEnd(runEnd);
  const std::string_view piece = std::string_view(p.Text).substr(runEnd, pieceEnd - runEnd);
  std::size_t f = m.Find(piece);
  if (f == NotFound) return TStep::Done;
  std::size_t begin = 0;
  if (q > 0) {
    std::size_t before = CharCount(m.Subject.substr(0, f));
    if (before < q) {
      // Too close to the start: the one place where a later occurrence is tried.
      f = m.Find(piece, f + piece.size());
      if (f == NotFound) return TStep::Done;
      before = CharCount(m.Subject.substr(0, f));
      if (before < q) return TStep::Done;
    }
    begin = AdvanceChars(m.Subject, 0, before - q);
  }
  const std::size_t end = f + piece.size();
  if (pieceEnd == p.Text.size()) {
    out = m.Result(begin, end);
    return TStep::Done;
  }
  p.Resolve(m.Subject.substr(begin, end - begin), pieceEnd);
  return TStep::Continue;
}

// First wildcard after the first character and before the last.
TStep MiddleStep(TWorkingPattern& p, const TMatcher& m, std::size_t wild, TWildMatch& out) {
  const std::string_view first = std::string_view(p.Text).substr(0, wild);
  const std::size_t f = m.Find(first);
  if (f == NotFound) return TStep::Done;
  const std::size_t runEnd = p.RunEnd(wild);
  if (p.DropQuestionMarksIfMixed(wild, runEnd)) return TStep::Continue;
  const std::size_t q = runEnd - wild;
  const bool stars = p.Text[wild] == '*';
  const std::size_t afterFirst = f + first.size();
  if (runEnd == p.Text.size()) {
    if (stars) {
      out = m.Result(f, m.Subject.size());
    } else {
      const std::size_t end = AdvanceChars(m.Subject, afterFirst, q);
      if (CharCount(m.Subject.substr(afterFirst, end - afterFirst)) == q) out = m.Result(f, end);
    }
    return TStep::Done;
  }
  const std::size_t pieceEnd = p.PieceEnd(runEnd);
  const std::string_view second = std::string_view(p.Text).substr(runEnd, pieceEnd - runEnd);
  const std::size_t g = m.Find(second, afterFirst);
  if (g == NotFound) return TStep::Done;
  if (!stars && CharCount(m.Subject.substr(afterFirst, g - afterFirst)) != q) return TStep::Done;
  const std::size_t end = g + second.size();
  if (pieceEnd == p.Text.size()) {
    out = m.Result(f, end);
    return TStep::Done;
  }
  p.Resolve(m.Subject.substr(f, end - f), pieceEnd);
  return TStep::Continue;
}

// The only wildcard is the last character.
void TrailingStep(const TWorkingPattern& p, const TMatcher& m, TWildMatch& out) {
  const std::string_view piece = std::string_view(p.Text).substr(0, p.Text.size() - 1);
  const std::size_t f = m.Find(piece);
  if (f == NotFound) return;
  const std::size_t after = f + piece.size();
  if (p.Text.back() == '*') {
    out = m.Result(f, m.Subject.size());
  } else if (after < m.Subject.size()) {
    out = m.Result(f, after + CharSize(m.Subject, after));
  }
}

}  // namespace

TWildMatch LiteralFind(std::string_view literal, std::string_view subject, TCase rule) {
  TWildMatch out;
  const TMatcher m{subject, rule};
  const std::size_t f = m.Find(literal);
  if (f != NotFound) out = m.Result(f, f + literal.size());
  return out;
}

TWildMatch WildFind(std::string_view pattern, std::string_view subject, TCase rule) {
  TWildMatch out;
  if (pattern.empty()) return out;
  if (!HasWildcard(pattern)) return LiteralFind(pattern, subject, rule);
  const TMatcher m{subject, rule};
  TWorkingPattern p{std::string(pattern), 0};
  // Every step either ends or makes the unresolved part of the pattern shorter.
  for (;;) {
    const std::size_t wild = p.FirstWild(0);
    if (wild == 0) {
      if (LeadingStep(p, m, out) == TStep::Done) return out;
    } else if (wild == NotFound) {
      const std::size_t f = m.Find(p.Text);
      if (f != NotFound) out = m.Result(f, f + p.Text.size());
      return out;
    } else if (wild == p.Text.size() - 1) {
      TrailingStep(p, m, out);
      return out;
    } else {
      if (MiddleStep(p, m, wild, out) == TStep::Done) return out;
    }
  }
}

}  // namespace vt
