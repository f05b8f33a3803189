#include "engine/Number.h"

#include <charconv>

#include "engine/Placement.h"
#include "engine/Utf8.h"

namespace vt {

std::string NumberText(std::int32_t counter, int width, bool zeroPad) {
  char digits[16];
  const auto end = std::to_chars(digits, digits + sizeof digits, counter).ptr;
  std::string text(digits, end);
  if (zeroPad && static_cast<int>(text.size()) < width) {
    const std::size_t sign = counter < 0 ? 1u : 0u;
    text.insert(sign, static_cast<std::size_t>(width) - text.size(), '0');
  }
  return text;
}

bool IsOriginalName(const std::string& baseName) {
  constexpr std::string_view kOriginal = "ORIGINAL NAME";
  std::string_view base = baseName;
  while (!base.empty() && base.back() == ' ') base.remove_suffix(1);
  if (base.size() != kOriginal.size()) return false;
  for (std::size_t i = 0; i < base.size(); ++i) {
    if (AsciiUpper(base[i]) != kOriginal[i]) return false;
  }
  return true;
}

TStepResult NumberStep(const TNumberInfos& infos, std::int32_t& counter, std::string& name) {
  if (infos.UseBaseName && infos.BaseName.empty()) return TStepResult::NoParameters;
  std::string number = NumberText(counter, infos.Width, infos.ZeroPad);
  if (infos.UseBaseName) {
    if (!IsOriginalName(infos.BaseName)) name = infos.BaseName;
    PlaceText(number, name, infos.InsertTo, infos.Position);
  } else {
    name = std::move(number);
  }
  // Wraps like the 32-bit counter it is, never overflowing.
  const std::int64_t step = infos.CountBackwards ? -std::int64_t{infos.Increment} : infos.Increment;
  counter = static_cast<std::int32_t>(static_cast<std::uint32_t>(counter + step));
  return TStepResult::Proceed;
}

}  // namespace vt
