#include "engine/NameGrowth.h"

#include <algorithm>

#include "engine/Number.h"
#include "engine/SearchReplace.h"

namespace vt {
namespace {

// A number as text: a sign and ten digits, or the width it is padded to.
constexpr std::size_t kMostNumberBytes = 11;
// An 8.3 short name.
constexpr std::size_t kShortNameBytes = 12;

std::optional<std::size_t> ReplaceGrowth(const TReplaceInfos& infos, std::size_t oldBytes) {
  const TReplaceShape shape = ShapeOf(TReplaceInfos{infos.SearchFor, infos.ReplaceWith, false, false, false, false});
  if (infos.Regex || shape.WildReplacement || shape.DotInSearch) return std::nullopt;
  // Every match takes at least a byte for each character of the pattern but
  // "*"; case is folded in ASCII only, so a letter matches one byte.
  const auto stars = static_cast<std::size_t>(std::count(infos.SearchFor.begin(), infos.SearchFor.end(), '*'));
  const std::size_t least = infos.SearchFor.size() - stars;
  if (least == 0) return std::nullopt;
  const std::size_t replacement = infos.ReplaceWith.size();
  if (replacement <= least) return 0;
  // The name part and the extension each once, or every match found apart.
  const std::size_t matches = infos.Recursive ? oldBytes / least + 1 : 2;
  return (replacement - least) * matches;
}

std::optional<std::size_t> Growth(const TRenameSettings& settings, std::size_t oldBytes) {
  switch (settings.Operation) {
    case TOperation::SearchReplace: return ReplaceGrowth(settings.ReplaceInfos, oldBytes);
    case TOperation::Insert:
      if (settings.UseFields) return std::nullopt;
      return settings.InsertInfos.Text.size();
    case TOperation::Number: {
      const TNumberInfos& number = settings.NumberInfos;
      const bool base = number.UseBaseName && !IsOriginalName(number.BaseName);
      if (base && settings.UseFields) return std::nullopt;
      const std::size_t digits = std::max(kMostNumberBytes, static_cast<std::size_t>(std::max<int>(number.Width, 0)));
      return (base ? number.BaseName.size() : 0) + digits;
    }
    // Case changes in ASCII only; Remove takes away.
    case TOperation::Remove:
    case TOperation::ChangeCase: return 0;
    case TOperation::Truncate: return std::max(oldBytes, kShortNameBytes) - oldBytes;
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::size_t> MostNewNameBytes(const TRenameSettings& settings, std::size_t oldBytes) {
  const std::optional<std::size_t> growth = Growth(settings, oldBytes);
  if (!growth) return std::nullopt;
  return oldBytes + *growth;
}

}  // namespace vt
