#pragma once
#include <cstdint>

namespace vt {

// How an operation leaves the per-file step: with a new name to join, or with
// the status the entry ends on. TooCostly: a regular expression gave up on the
// name at its match limit.
enum class TStepResult : std::uint8_t { Proceed, NoParameters, NoMatch, NoChange, TooCostly };

}  // namespace vt
