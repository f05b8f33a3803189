#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace vt {

namespace CaseKind {
inline constexpr std::uint8_t Upper = 0;
inline constexpr std::uint8_t Lower = 1;
inline constexpr std::uint8_t FirstUpperIgnoreRest = 2;
inline constexpr std::uint8_t FirstUpperRestLower = 3;
inline constexpr std::uint8_t Weird = 4;
}  // namespace CaseKind

enum class TWithExtension : std::uint8_t { No, Yes };

void AsciiUpperInPlace(std::string& text);
void AsciiLowerInPlace(std::string& text);

// text lower-cased, then every ASCII letter at an odd character position upper-cased.
std::string WeirdCase(std::string_view text);

// Operation 4 on the name part and, when asked, on the extension; only ASCII
// letters change. An index outside the table changes nothing.
void ChangeCaseStep(std::uint8_t caseKind, TWithExtension withExtension, std::string& name,
                    std::string& ext);

}  // namespace vt
