#pragma once
#include <cstdint>
#include <string>

namespace vt {

namespace TruncateKind {
inline constexpr std::uint8_t ShortName = 0;
inline constexpr std::uint8_t MaxChars = 1;
}  // namespace TruncateKind

// Keeps the first maxChars characters of the name part.
void TruncateName(int maxChars, std::string& name);

}  // namespace vt
