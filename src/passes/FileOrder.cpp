#include "passes/FileOrder.h"

#include <algorithm>
#include <numeric>
#include <string_view>
#include <utility>

#include "passes/HeaderReads.h"

namespace vt {

NameOrder ListingOrder(TFileOrder order) { return order == TFileOrder::Natural ? NameOrder::Natural : NameOrder::Name; }

std::uint8_t OrderSources(TFileOrder order) {
  switch (order) {
    case TFileOrder::Modified:
    case TFileOrder::Size: return FieldSource::Stat;
    case TFileOrder::Taken: return FieldSource::Image;
    case TFileOrder::Name:
    case TFileOrder::Natural: return FieldSource::None;
  }
  return FieldSource::None;
}

std::optional<std::int64_t> OrderKey(TFileOrder order, const TFileFacts& facts) {
  switch (order) {
    case TFileOrder::Modified:
      if (!facts.Stat) return std::nullopt;
      return static_cast<std::int64_t>(facts.Stat->Modified) * 1'000'000'000 + facts.Stat->ModifiedNanoseconds;
    case TFileOrder::Size:
      if (!facts.Stat) return std::nullopt;
      return static_cast<std::int64_t>(facts.Stat->Size);
    case TFileOrder::Taken: {
      if (!facts.Values.Taken) return std::nullopt;
      const std::tm& t = *facts.Values.Taken;
      // As the digits of YYYYMMDDhhmmss: a camera's date has no time zone to convert.
      std::int64_t key = t.tm_year + 1900;
      for (const int part : {t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec}) key = key * 100 + part;
      return key;
    }
    case TFileOrder::Name:
    case TFileOrder::Natural: return std::nullopt;
  }
  return std::nullopt;
}

std::vector<std::uint32_t> ArrangeByKeys(const std::vector<std::optional<std::int64_t>>& keys,
                                         TOrderDirection direction) {
  std::vector<std::uint32_t> positions(keys.size());
  std::iota(positions.begin(), positions.end(), 0u);
  const auto keyed =
      std::stable_partition(positions.begin(), positions.end(), [&](std::uint32_t at) { return keys[at].has_value(); });
  const bool descending = direction == TOrderDirection::Descending;
  std::stable_sort(positions.begin(), keyed, [&](std::uint32_t x, std::uint32_t y) {
    return descending ? *keys[y] < *keys[x] : *keys[x] < *keys[y];
  });
  return positions;
}

void ArrangeNames(const std::string& folder, TFileOrder order, TOrderDirection direction,
                  std::vector<std::string>& names, const TListingStop& stop) {
  std::vector<std::string_view> views(names.begin(), names.end());
  std::vector<std::uint32_t> positions = SortedPositions(views, ListingOrder(order));
  std::vector<std::uint32_t> arranged;
  if (const std::uint8_t sources = OrderSources(order); sources != FieldSource::None) {
    TFolderHandle handle;
    if (TFolderHandle::Open(folder, handle) != 0) return;
    TFieldReader callerReader;
    std::vector<std::optional<std::int64_t>> keys(positions.size());
    const auto read = [&](TFieldReader& reader, std::size_t i) {
      TFileFacts facts;
      reader.Read(handle, names[positions[i]], sources, facts);
      keys[i] = OrderKey(order, facts);
    };
    ReadHeaders(positions.size(), HeaderThreads(positions.size()), callerReader, read, stop);
    if (stop && stop()) return;
    for (const std::uint32_t at : ArrangeByKeys(keys, direction)) arranged.push_back(positions[at]);
  } else {
    arranged = std::move(positions);
    if (direction == TOrderDirection::Descending) std::reverse(arranged.begin(), arranged.end());
  }
  std::vector<std::string> ordered;
  ordered.reserve(names.size());
  for (const std::uint32_t at : arranged) ordered.push_back(std::move(names[at]));
  names = std::move(ordered);
}

}  // namespace vt
