#include "engine/SettingsChecks.h"

#include <optional>
#include <utility>

#include "engine/Messages.h"
#include "engine/NameFields.h"
#include "engine/Number.h"
#include "engine/TextSearch.h"
#include "engine/Utf8.h"

namespace vt {
namespace {

constexpr std::size_t kExtensionChars = 3;

bool Contains(std::string_view text, char c) { return text.find(c) != std::string_view::npos; }

// One check's message: an error or information refuses, a confirmation refuses
// unless answered Yes. none lets the next check run.
class TChecker {
 public:
  explicit TChecker(const TShowMessage& show) : Show_(show) {}

  std::optional<TCheckOutcome> Refuse(int id, TMessageKind kind, TCheckedField focus, std::size_t position = 0,
                                      std::optional<TRegexError> regex = std::nullopt) const {
    const TAnswer answer = Show_ ? Show_(TCheckMessage{id, kind, focus, std::move(regex), position}) : TAnswer::Cancel;
    if (kind == TMessageKind::Confirmation && answer == TAnswer::Yes) return std::nullopt;
    return TCheckOutcome{false, id, focus};
  }

 private:
  const TShowMessage& Show_;
};

// The wildcard checks do not apply: a dot is any character here.
std::optional<TCheckOutcome> CheckRegex(const TReplaceInfos& r, const TChecker& checker) {
  if (r.SearchFor.empty())
    return checker.Refuse(Msg::SpecifySearchText, TMessageKind::Error, TCheckedField::EdSearchFor);
  TExpected<TRegex, TRegexError> compiled = TRegex::Compile(r.SearchFor, r.ReplaceWith, CaseRule(r.CaseSensitive));
  if (compiled) return std::nullopt;
  const TCheckedField field =
      compiled.Error().Part == TRegexError::TPart::Pattern ? TCheckedField::EdSearchFor : TCheckedField::EdReplaceWith;
  return checker.Refuse(Msg::RegexDoesNotCompile, TMessageKind::Error, field, 0, compiled.Error());
}

std::optional<TCheckOutcome> CheckSearchReplace(const TReplaceInfos& infos, const TChecker& checker) {
  if (infos.Regex) return CheckRegex(infos, checker);
  const std::string& s = infos.SearchFor;
  const std::string& r = infos.ReplaceWith;
  const auto [sn, se] = SplitPattern(s);
  const auto [rn, re] = SplitPattern(r);
  const bool sDot = Contains(s, '.');
  const bool rDot = Contains(r, '.');
  constexpr auto kError = TMessageKind::Error;
  constexpr auto kConfirm = TMessageKind::Confirmation;
  constexpr auto kSearch = TCheckedField::EdSearchFor;
  constexpr auto kReplace = TCheckedField::EdReplaceWith;

  if (s.empty() || s == "*") return checker.Refuse(Msg::SpecifySearchText, kError, kSearch);
  if (s == r) return checker.Refuse(Msg::NothingToReplace, kError, kSearch);
  if ((sDot && r.empty()) || r == "*") return checker.Refuse(Msg::SpecifyReplaceText, kError, kReplace);
  const bool snStar = Contains(sn, '*');
  const bool rnStar = Contains(rn, '*');
  if (snStar && !se.empty() && !rnStar && re.empty()) return checker.Refuse(Msg::ReplaceNotCoherent, kError, kReplace);
  if (snStar && !se.empty() && rnStar && rDot && re.empty())
    if (auto refused = checker.Refuse(Msg::RemoveSeveralExtensions, kConfirm, kReplace)) return refused;
  if (!snStar && se == "*" && !rnStar && re != "*")
    return checker.Refuse(Msg::SameNameInfo, TMessageKind::Information, kReplace);
  const bool sameName =
      (sn == "*" && se == "*" && rn == "*" && re != "*") || (sn == "*" && se.empty() && rn != "*" && re.empty()) ||
      (HasWildcard(sn) && HasWildcard(se) && !rn.empty() && !rnStar && !Contains(re, '*') && !re.empty());
  if (sameName)
    if (auto refused = checker.Refuse(Msg::SameName, kConfirm, kReplace)) return refused;
  if (!sDot && rDot) return checker.Refuse(Msg::IncorrectExtension, kError, kReplace);
  const bool dropsExtension =
      (!snStar && !se.empty() && se != "*") || (sn == "*" && se == "*" && !rn.empty() && rDot && re.empty());
  if (dropsExtension) return checker.Refuse(Msg::RemoveExtension, kConfirm, kReplace);
  return std::nullopt;
}

std::optional<TCheckOutcome> CheckRemove(const TDeleteInfos& d, const TChecker& checker) {
  if (d.Kind == TRemoveKind::String && d.Text.empty())
    return checker.Refuse(Msg::SpecifyDeleteText, TMessageKind::Error, TCheckedField::EdDelete);
  if (d.Kind == TRemoveKind::Characters && d.Count == 0)
    return checker.Refuse(Msg::SpecifyDeleteCount, TMessageKind::Error, TCheckedField::EdNbrDelete);
  return std::nullopt;
}

// A text with fields that cannot be filled in is refused where it goes wrong.
std::optional<TCheckOutcome> CheckFields(std::string_view text, TCheckedField focus, const TChecker& checker) {
  const TExpected<TFieldTemplate, TFieldError> fields = ParseFieldTemplate(text);
  if (fields) return std::nullopt;
  int id = Msg::UnknownField;
  switch (fields.Error().Fault) {
    case TFieldFault::UnknownField: id = Msg::UnknownField; break;
    case TFieldFault::BadFormat: id = Msg::BadFieldFormat; break;
    case TFieldFault::UnmatchedBrace: id = Msg::UnmatchedBrace; break;
  }
  return checker.Refuse(id, TMessageKind::Error, focus, fields.Error().Position);
}

std::optional<TCheckOutcome> CheckNumber(const TRenameSettings& s, const TChecker& checker) {
  const TNumberInfos& n = s.NumberInfos;
  if (!s.UseFields || !n.UseBaseName || IsOriginalName(n.BaseName)) return std::nullopt;
  return CheckFields(n.BaseName, TCheckedField::ComboBaseFileName, checker);
}

std::optional<TCheckOutcome> CheckInsert(const TRenameSettings& s, const TChecker& checker) {
  if (s.InsertInfos.Text.empty())
    return checker.Refuse(Msg::SpecifyInsertText, TMessageKind::Error, TCheckedField::EdInsert);
  if (s.UseFields) return CheckFields(s.InsertInfos.Text, TCheckedField::EdInsert, checker);
  return std::nullopt;
}

}  // namespace

std::string CheckMessageText(const TCheckMessage& message) {
  std::string text(Message(message.Id));
  const std::size_t mark = text.find("%1");
  if (mark != std::string::npos) text.replace(mark, 2, std::to_string(message.Position));
  return text;
}

TPatternParts SplitPattern(std::string_view pattern) {
  const std::size_t dot = pattern.find('.');
  if (dot == std::string_view::npos) return {std::string(pattern), {}};
  const std::size_t extEnd = AdvanceChars(pattern, dot + 1, kExtensionChars);
  return {std::string(pattern.substr(0, dot)), std::string(pattern.substr(dot + 1, extEnd - dot - 1))};
}

TCheckOutcome CheckSettings(const TRenameSettings& settings, const TShowMessage& show) {
  const TChecker checker(show);
  std::optional<TCheckOutcome> refused;
  switch (settings.Operation) {
    case TOperation::SearchReplace: refused = CheckSearchReplace(settings.ReplaceInfos, checker); break;
    case TOperation::Insert: refused = CheckInsert(settings, checker); break;
    case TOperation::Remove: refused = CheckRemove(settings.DeleteInfos, checker); break;
    case TOperation::Number: refused = CheckNumber(settings, checker); break;
    case TOperation::ChangeCase:
    case TOperation::Truncate: break;
  }
  return refused.value_or(TCheckOutcome{});
}

TCheckOutcome CheckSettings(const TControlValues& controls, const TShowMessage& show) {
  if (controls.LstBoxActions < 0) return {};
  return CheckSettings(CaptureSettings(controls), show);
}

}  // namespace vt
