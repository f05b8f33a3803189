#pragma once
// How long a new name can get, from the settings alone: a pass whose names
// cannot outgrow what a volume holds needs no look at them before it starts.
#include <cstddef>
#include <optional>

#include "engine/RenameSettings.h"

namespace vt {

// The most bytes a name of oldBytes bytes can have after the operation; none
// when the settings set no bound (a regular expression, fields, a replacement
// that copies what it matched).
std::optional<std::size_t> MostNewNameBytes(const TRenameSettings& settings, std::size_t oldBytes);

}  // namespace vt
