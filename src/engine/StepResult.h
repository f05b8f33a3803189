#pragma once
#include <cstdint>

namespace vt {

// How an operation leaves the per-file step: with a new name to join, or with
// the status the entry ends on.
enum class TStepResult : std::uint8_t { Proceed, NoParameters, NoMatch, NoChange };

}  // namespace vt
