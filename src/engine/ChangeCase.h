#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/SettingsIndexes.h"

namespace vt {

// Only: the extension in the style, as if it were the name part, and the name part as it is.
enum class TWithExtension : std::uint8_t { No, Yes, Only };

void AsciiUpperInPlace(std::string& text);
void AsciiLowerInPlace(std::string& text);

// text lower-cased, then every ASCII letter at an odd character position upper-cased.
std::string WeirdCase(std::string_view text);

// Operation 4 on the name part and, when asked, on the extension; only ASCII
// letters change. An index outside the table changes nothing.
void ChangeCaseStep(TCaseKind caseKind, TWithExtension withExtension, std::string& name, std::string& ext);

}  // namespace vt
