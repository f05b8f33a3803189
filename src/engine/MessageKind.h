#pragma once
// The kinds of message the user is shown, and the answers a box can give.
#include <cstdint>

namespace vt {

// Error and information boxes have one OK button; a confirmation asks
// "&Yes", "&No" or "Cancel".
enum class TMessageKind : std::uint8_t { Error, Information, Confirmation };

// Closing a confirmation's box counts as Cancel.
enum class TAnswer : std::uint8_t { Yes, No, Cancel };

}  // namespace vt
