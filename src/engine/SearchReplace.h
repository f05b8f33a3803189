#pragma once
#include <optional>
#include <string>

#include "engine/Regex.h"
#include "engine/RenameSettings.h"
#include "engine/StepResult.h"

namespace vt {

// Operation 0: finds SearchFor (a wildcard pattern; a "." splits it into a name
// and an extension pattern) and replaces it by ReplaceWith, whose wildcards are
// filled from the matched text. With Regex, SearchFor is a regular expression
// over the name part, or over the whole name with TreatExtension.
TStepResult SearchReplaceStep(const TReplaceInfos& infos, std::string& name, std::string& ext);

// What the step needs to know about the settings themselves, worked out once
// per pass rather than once per file.
struct TReplaceShape {
  bool WildSearch = true;       // SearchFor holds "*" or "?"
  bool WildReplacement = true;  // ReplaceWith holds "*" or "?"
  bool DotInSearch = false;     // SearchFor holds "."
  // The compiled expression with Regex; none when it does not compile.
  std::optional<TRegex> Regex;
};
TReplaceShape ShapeOf(const TReplaceInfos& infos);

// The same step with the shape given. A shape that claims wildcards where
// there are none takes the general way and gives the same result.
TStepResult SearchReplaceStep(const TReplaceInfos& infos, const TReplaceShape& shape, std::string& name,
                              std::string& ext);

}  // namespace vt
