#include "engine/ChangeCase.h"

#include "engine/Utf8.h"

namespace vt {

void AsciiUpperInPlace(std::string& text) {
  for (char& c : text) c = AsciiUpper(c);
}

void AsciiLowerInPlace(std::string& text) {
  for (char& c : text) c = AsciiLower(c);
}

std::string WeirdCase(std::string_view text) {
  std::string result(text);
  bool odd = true;  // character positions 1, 3, 5, ...
  for (std::size_t i = 0; i < result.size(); odd = !odd) {
    const std::size_t n = CharSize(result, i);
    result[i] = odd ? AsciiUpper(result[i]) : AsciiLower(result[i]);
    i += n;
  }
  return result;
}

void ChangeCaseStep(TCaseKind caseKind, TWithExtension withExtension, std::string& name, std::string& ext) {
  if (withExtension == TWithExtension::Only) {
    std::string unchanged;
    ChangeCaseStep(caseKind, TWithExtension::No, ext, unchanged);
    return;
  }
  const bool withExt = withExtension == TWithExtension::Yes;
  switch (caseKind) {
    case TCaseKind::Upper:
      AsciiUpperInPlace(name);
      if (withExt) AsciiUpperInPlace(ext);
      break;
    case TCaseKind::Lower:
      AsciiLowerInPlace(name);
      if (withExt) AsciiLowerInPlace(ext);
      break;
    case TCaseKind::FirstUpperIgnoreRest:
    case TCaseKind::FirstUpperRestLower:
      if (caseKind == TCaseKind::FirstUpperRestLower) AsciiLowerInPlace(name);
      if (!name.empty()) name[0] = AsciiUpper(name[0]);
      if (withExt) AsciiLowerInPlace(ext);
      break;
    case TCaseKind::Weird:
      name = WeirdCase(name);
      if (withExt) ext = WeirdCase(ext);
      break;
    default: break;
  }
}

}  // namespace vt
