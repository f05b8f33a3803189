#include "engine/VolumeNames.h"

namespace vt {
namespace {

constexpr std::size_t kMostBytes = 255;
constexpr std::size_t kMostUtf16Units = 255;

// A character beyond U+FFFF (four bytes of UTF-8) takes two units; a byte that
// starts no character is counted as one, as the volume would have to map it.
std::size_t Utf16Units(std::string_view name) {
  std::size_t units = 0;
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte & 0xC0) == 0x80) continue;  // a continuation byte
    units += byte >= 0xF0 ? 2 : 1;
  }
  return units;
}

}  // namespace

TNameRefusal VolumeRefusal(std::string_view name, TNameRules rules) {
  if (rules == TNameRules::Linux) {
    if (name.find_first_of(std::string_view("/\0", 2)) != std::string_view::npos) return TNameRefusal::ReservedChar;
    return name.size() > kMostBytes ? TNameRefusal::TooLong : TNameRefusal::None;
  }
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte == 0 || std::string_view("/\"*:<>?\\|").find(c) != std::string_view::npos)
      return TNameRefusal::ReservedChar;
    if (byte < 0x20) return TNameRefusal::ControlChar;
  }
  if (!name.empty() && (name.back() == '.' || name.back() == ' ')) return TNameRefusal::TrailingDotOrSpace;
  return Utf16Units(name) > kMostUtf16Units || name.size() > kMostBytes ? TNameRefusal::TooLong : TNameRefusal::None;
}

}  // namespace vt
