#include "passes/JournalWhat.h"

namespace vt {
namespace {

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

std::string Placement(TPlacement placement, int position) {
  switch (placement) {
    case TPlacement::ToEnd: return "at the end";
    case TPlacement::AtBeginning: return "at the start";
    case TPlacement::FromBeginning: return "at position " + std::to_string(position);
    case TPlacement::FromEnd: return "at position " + std::to_string(position) + " from the end";
  }
  return {};
}

std::string Flags(std::initializer_list<std::pair<bool, std::string_view>> flags) {
  std::string text;
  for (const auto& [set, word] : flags)
    if (set) text += (text.empty() ? " (" : ", ") + std::string(word);
  return text.empty() ? text : text + ")";
}

std::string Operation(const TRenameSettings& s) {
  switch (s.Operation) {
    case TOperation::SearchReplace: {
      const TReplaceInfos& r = s.ReplaceInfos;
      return "replace " + Quoted(r.SearchFor) + " with " + Quoted(r.ReplaceWith) +
             Flags({{r.Regex, "regex"},
                    {r.Recursive, "every one"},
                    {r.CaseSensitive, "matching case"},
                    {r.TreatExtension, "extension too"}});
    }
    case TOperation::Insert:
      return "insert " + Quoted(s.InsertInfos.Text) + " " + Placement(s.InsertInfos.InsertTo, s.InsertInfos.Position) +
             Flags({{s.UseFields, "fields"}});
    case TOperation::Remove: {
      const TDeleteInfos& d = s.DeleteInfos;
      if (d.Kind == TRemoveKind::String)
        return "remove " + Quoted(d.Text) + Flags({{d.Recursive, "every one"}, {d.CaseSensitive, "matching case"}});
      std::string from;
      switch (d.From) {
        case TRemoveFrom::Beginning: from = "at the start"; break;
        case TRemoveFrom::End: from = "at the end"; break;
        case TRemoveFrom::OffsetFromBeginning: from = "at position " + std::to_string(d.Position); break;
        case TRemoveFrom::OffsetFromEnd: from = "at position " + std::to_string(d.Position) + " from the end"; break;
      }
      return "remove " + std::to_string(d.Count) + (d.Count == 1 ? " character " : " characters ") + from;
    }
    case TOperation::Number: {
      const TNumberInfos& n = s.NumberInfos;
      std::string text = "number from " + (n.StartText.empty() ? std::to_string(n.Start) : n.StartText);
      if (n.Increment != 1) text += " by " + std::to_string(n.Increment);
      if (n.UseBaseName) text += " with " + Quoted(n.BaseName) + " " + Placement(n.InsertTo, n.Position);
      return text + Flags({{n.CountBackwards, "backwards"}, {s.UseFields, "fields"}});
    }
    case TOperation::ChangeCase: {
      static constexpr std::string_view kKinds[] = {"upper", "lower", "first", "first-lower", "weird"};
      const auto kind = static_cast<std::size_t>(s.CaseKind);
      return "case " + std::string(kind < std::size(kKinds) ? kKinds[kind] : "?") +
             Flags({{s.CaseExtensionOnly, "extension only"},
                    {!s.CaseWithExtension && !s.CaseExtensionOnly, "not the extension"}});
    }
    case TOperation::Truncate:
      if (s.TruncateKind == TTruncateKind::ShortName) return "truncate to short names";
      return "truncate to " + std::to_string(s.MaxChars) + " characters";
  }
  return {};
}

}  // namespace

std::string JournalWhat(const TRenameSettings& settings, std::string_view masks) {
  return Operation(settings) + "; " + std::string(masks);
}

}  // namespace vt
