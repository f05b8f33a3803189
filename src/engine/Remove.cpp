#include "engine/Remove.h"

#include "engine/StringPrimitives.h"
#include "engine/WildFind.h"

namespace vt {
namespace {

TStepResult RemoveString(const TDeleteInfos& infos, std::string& name) {
  const TCase rule = CaseRule(infos.CaseSensitive);
  TWildMatch match = WildFind(infos.Text, name, rule);
  if (!match) return TStepResult::NoMatch;
  for (;;) {
    // An empty match would be found again for ever.
    if (match.Text.empty()) break;
    name.erase(match.Offset, match.Text.size());
    if (!infos.Recursive) break;
    match = WildFind(infos.Text, name, rule);
    if (!match) break;
  }
  return TStepResult::Proceed;
}

void RemoveCharacters(const TDeleteInfos& infos, std::string& name) {
  const int length = Length(name);
  const int n = infos.Count;
  const int p = infos.Position;
  switch (infos.From) {
    case TRemoveFrom::Beginning: Delete(name, 1, n); break;
    case TRemoveFrom::End:
      if (n <= length) Delete(name, length + 1 - n, n);
      break;
    case TRemoveFrom::OffsetFromBeginning: Delete(name, p, n); break;
    case TRemoveFrom::OffsetFromEnd: Delete(name, length + 2 - p - n, n); break;
    default: break;
  }
}

}  // namespace

TStepResult RemoveStep(const TDeleteInfos& infos, std::string& name) {
  if ((infos.Kind == TRemoveKind::String && infos.Text.empty()) ||
      (infos.Kind == TRemoveKind::Characters && infos.Count == 0)) {
    return TStepResult::NoParameters;
  }
  if (infos.Kind == TRemoveKind::String) {
    const TStepResult result = RemoveString(infos, name);
    if (result != TStepResult::Proceed) return result;
  } else if (infos.Kind == TRemoveKind::Characters) {
    RemoveCharacters(infos, name);
  }
  return name.empty() ? TStepResult::NoChange : TStepResult::Proceed;
}

}  // namespace vt
