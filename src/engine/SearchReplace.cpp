#include "engine/SearchReplace.h"

#include "engine/TextSearch.h"
#include "engine/Utf8.h"
#include "engine/WildFind.h"
#include "engine/WildReplace.h"

namespace vt {
namespace {

// The replacement with its wildcards filled from the matched text; storage holds
// it when it had to be built.
std::string_view Resolve(std::string_view replacement, std::string_view matched, std::string& storage) {
  if (!HasWildcard(replacement)) return replacement;
  storage = WildReplace(replacement, matched);
  return storage;
}

// The same for the settings' own replacement, whose wildcards are known.
std::string_view ResolveOwn(const TReplaceInfos& infos, const TReplaceShape& shape, std::string_view matched,
                            std::string& storage) {
  return shape.WildReplacement ? Resolve(infos.ReplaceWith, matched, storage) : std::string_view(infos.ReplaceWith);
}

TOccurrences Occurrences(bool recursive) { return recursive ? TOccurrences::Every : TOccurrences::First; }

// Goes on after the first replacement, replacing every later match in what
// follows it by the same resolved replacement.
void ReplaceRest(const TReplaceInfos& infos, std::string_view replacement, TCase rule, std::string& name) {
  std::string head;
  std::string tail;
  const std::size_t at = FindText(name, replacement, 0, TCase::Sensitive);
  const std::size_t split = at == NotFound ? 0 : at + replacement.size();
  head.assign(name, 0, split);
  tail.assign(name, split);
  while (!tail.empty()) {
    const TWildMatch match = WildFind(infos.SearchFor, tail, rule);
    if (!match) break;
    // The replacement lands where the match was: everything up to its end is done.
    std::size_t done = match.Offset + replacement.size();
    ReplaceTextInPlace(tail, match.Text, replacement, TOccurrences::First, rule);
    if (done > tail.size()) done = tail.size();
    while (!IsCharBoundary(tail, done)) ++done;
    head.append(tail, 0, done);
    tail.erase(0, done);
  }
  name.assign(head).append(tail);
}

// The first match in the name. Without wildcards it is where the search text
// first occurs, and its replacement goes there without a second search.
void ReplaceFirst(const TReplaceShape& shape, std::string& name, const TWildMatch& match, std::string_view replacement,
                  TCase rule) {
  if (shape.WildSearch) {
    ReplaceTextInPlace(name, match.Text, replacement, TOccurrences::First, rule);
  } else if (replacement.size() == match.Text.size()) {
    // The replacement never views into name: it can be written over the match.
    replacement.copy(name.data() + match.Offset, replacement.size());
  } else {
    name.replace(match.Offset, match.Text.size(), replacement);
  }
}

TWildMatch FindFirst(const TReplaceInfos& infos, const TReplaceShape& shape, std::string_view subject, TCase rule) {
  return shape.WildSearch ? WildFind(infos.SearchFor, subject, rule) : LiteralFind(infos.SearchFor, subject, rule);
}

TStepResult SearchWithoutDot(const TReplaceInfos& infos, const TReplaceShape& shape, std::string& name,
                             std::string& ext) {
  const TCase rule = CaseRule(infos.CaseSensitive);
  const TOccurrences inExt = Occurrences(infos.Recursive);
  std::string storage;
  const TWildMatch match = FindFirst(infos, shape, name, rule);
  if (!match) {
    const TWildMatch extMatch = infos.TreatExtension ? FindFirst(infos, shape, ext, rule) : TWildMatch{};
    if (!extMatch) return TStepResult::NoMatch;
    const std::string_view replacement = ResolveOwn(infos, shape, extMatch.Text, storage);
    ReplaceTextInPlace(ext, extMatch.Text, replacement, inExt, rule);
    return TStepResult::Proceed;
  }
  const std::string_view replacement = ResolveOwn(infos, shape, match.Text, storage);
  ReplaceFirst(shape, name, match, replacement, rule);
  if (infos.Recursive) ReplaceRest(infos, replacement, rule, name);
  if (infos.TreatExtension) {
    const TWildMatch extMatch = FindFirst(infos, shape, ext, rule);
    if (extMatch) {
      std::string again;
      ReplaceTextInPlace(ext, extMatch.Text, Resolve(replacement, extMatch.Text, again), inExt, rule);
    }
  }
  return TStepResult::Proceed;
}

struct TSplitPattern {
  std::string_view Name;
  std::string_view Ext;
};

TSplitPattern SplitAtLastDot(std::string_view text, std::string_view extWithoutDot) {
  const std::size_t dot = text.rfind('.');
  if (dot == std::string_view::npos) return {text, extWithoutDot};
  return {text.substr(0, dot), text.substr(dot + 1)};
}

TStepResult SearchWithDot(const TReplaceInfos& infos, std::string& name, std::string& ext) {
  const TCase rule = CaseRule(infos.CaseSensitive);
  const TSplitPattern search = SplitAtLastDot(infos.SearchFor, {});
  const TSplitPattern replace = SplitAtLastDot(infos.ReplaceWith, "*");
  // An empty name pattern stands for the whole name part, taken as it is.
  const TWildMatch nameMatch =
      search.Name.empty() ? (name.empty() ? TWildMatch{} : TWildMatch{1, 0, name}) : WildFind(search.Name, name, rule);
  std::string nameStorage;
  std::string extStorage;
  if (nameMatch && ext.empty() && search.Ext.empty()) {
    const std::string_view nameReplacement = Resolve(replace.Name, nameMatch.Text, nameStorage);
    ext = Resolve(replace.Ext, {}, extStorage);
    ReplaceTextInPlace(name, nameMatch.Text, nameReplacement, TOccurrences::First, rule);
    return TStepResult::Proceed;
  }
  const TWildMatch extMatch = WildFind(search.Ext, ext, rule);
  if (!nameMatch || !extMatch) return TStepResult::NoMatch;
  const std::string_view nameReplacement = Resolve(replace.Name, nameMatch.Text, nameStorage);
  const std::string_view extReplacement = Resolve(replace.Ext, extMatch.Text, extStorage);
  ReplaceTextInPlace(name, nameMatch.Text, nameReplacement, TOccurrences::First, rule);
  ReplaceTextInPlace(ext, extMatch.Text, extReplacement, Occurrences(infos.Recursive), rule);
  return TStepResult::Proceed;
}

TStepResult RegexStep(const TReplaceInfos& infos, const TRegex& regex, std::string& name, std::string& ext) {
  const TOccurrences occurrences = Occurrences(infos.Recursive);
  if (!infos.TreatExtension || ext.empty()) {
    switch (regex.Replace(name, occurrences)) {
      case TRegexOutcome::Replaced: return TStepResult::Proceed;
      case TRegexOutcome::NoMatch: return TStepResult::NoMatch;
      case TRegexOutcome::TooCostly: return TStepResult::TooCostly;
    }
  }
  // The whole name: the new one is joined again as a name part alone.
  std::string whole;
  whole.reserve(name.size() + 1 + ext.size());
  whole.append(name).append(1, '.').append(ext);
  switch (regex.Replace(whole, occurrences)) {
    case TRegexOutcome::Replaced: break;
    case TRegexOutcome::NoMatch: return TStepResult::NoMatch;
    case TRegexOutcome::TooCostly: return TStepResult::TooCostly;
  }
  name.swap(whole);
  ext.clear();
  return TStepResult::Proceed;
}

}  // namespace

TReplaceShape ShapeOf(const TReplaceInfos& infos) {
  TReplaceShape shape{HasWildcard(infos.SearchFor), HasWildcard(infos.ReplaceWith),
                      infos.SearchFor.find('.') != std::string::npos, std::nullopt};
  if (infos.Regex) {
    TExpected<TRegex, TRegexError> compiled =
        TRegex::Compile(infos.SearchFor, infos.ReplaceWith, CaseRule(infos.CaseSensitive));
    if (compiled) shape.Regex = std::move(compiled).Value();
  }
  return shape;
}

TStepResult SearchReplaceStep(const TReplaceInfos& infos, std::string& name, std::string& ext) {
  return SearchReplaceStep(infos, ShapeOf(infos), name, ext);
}

TStepResult SearchReplaceStep(const TReplaceInfos& infos, const TReplaceShape& shape, std::string& name,
                              std::string& ext) {
  if (infos.SearchFor.empty() && infos.ReplaceWith.empty()) return TStepResult::NoParameters;
  // A pattern that does not compile was refused before the pass.
  if (infos.Regex) return shape.Regex ? RegexStep(infos, *shape.Regex, name, ext) : TStepResult::NoParameters;
  if (!shape.DotInSearch) return SearchWithoutDot(infos, shape, name, ext);
  return SearchWithDot(infos, name, ext);
}

}  // namespace vt
