#pragma once
// The kind of a result file's failure, nothing for success: a test compares it
// whatever came out.
#include <optional>

#include "results/ResultFile.h"

namespace vt::test {

inline std::optional<TResultFileError> FailureKind(const TResultFileStatus& status) {
  if (status) return std::nullopt;
  return status.Error().Kind;
}

}  // namespace vt::test
