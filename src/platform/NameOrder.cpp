#include "platform/NameOrder.h"

#include <algorithm>
#include <cstring>
#include <numeric>

namespace vt {
namespace {

unsigned char Fold(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte >= 'a' && byte <= 'z' ? static_cast<unsigned char>(byte - ('a' - 'A')) : byte;
}

int Sign(int value) { return (value > 0) - (value < 0); }

int CompareFolded(std::string_view a, std::string_view b) {
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i) {
    const unsigned char x = Fold(a[i]), y = Fold(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

int CompareByName(std::string_view a, std::string_view b) {
  if (const int folded = CompareFolded(a, b)) return folded;
  return Sign(a.compare(b));
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Digit runs by value (leading zeros aside), everything else as CompareFolded.
int CompareNatural(std::string_view a, std::string_view b) {
  std::size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    if (IsDigit(a[i]) && IsDigit(b[j])) {
      while (i < a.size() && a[i] == '0') ++i;
      while (j < b.size() && b[j] == '0') ++j;
      std::size_t endA = i, endB = j;
      while (endA < a.size() && IsDigit(a[endA])) ++endA;
      while (endB < b.size() && IsDigit(b[endB])) ++endB;
      if (endA - i != endB - j) return endA - i < endB - j ? -1 : 1;
      if (const int digits = a.substr(i, endA - i).compare(b.substr(j, endB - j))) return Sign(digits);
      i = endA;
      j = endB;
      continue;
    }
    const unsigned char x = Fold(a[i]), y = Fold(b[j]);
    if (x != y) return x < y ? -1 : 1;
    ++i;
    ++j;
  }
  if (i < a.size() || j < b.size()) return i < a.size() ? 1 : -1;
  return CompareByName(a, b);  // equal as numbers: "IMG_02" and "IMG_2" still need an order
}

// Eight folded bytes from pos on, the first the most significant; short names
// pad with 0, below every byte a name can hold.
std::uint64_t KeyAt(std::string_view name, std::size_t pos) {
  std::uint64_t key = 0;
  for (std::size_t k = 0; k < 8; ++k) key = (key << 8) | (pos + k < name.size() ? Fold(name[pos + k]) : 0u);
  return key;
}

struct TKeyed {
  std::uint64_t Key;
  std::uint32_t Position;
};

bool HasEnded(std::uint64_t key) {
  for (int k = 0; k < 8; ++k, key >>= 8)
    if ((key & 0xFF) == 0) return true;
  return false;
}

// Name order sorts by eight folded bytes at a time, so that nearly every
// comparison is one of integers: names sharing those bytes are sorted again by
// the next eight, and a range whose keys are all equal (the "IMG_" every name
// of a camera's folder starts with) needs no sort at all before that. Names
// whose keys are equal and end within them are equal but for case: their bytes
// decide.
void SortFrom(const std::vector<std::string_view>& names, TKeyed* first, TKeyed* last, std::size_t depth) {
  for (TKeyed* item = first; item != last; ++item) item->Key = KeyAt(names[item->Position], depth);
  const auto [low, high] =
      std::minmax_element(first, last, [](const TKeyed& x, const TKeyed& y) { return x.Key < y.Key; });
  if (low->Key != high->Key) std::sort(first, last, [](const TKeyed& x, const TKeyed& y) { return x.Key < y.Key; });
  for (TKeyed* run = first; run != last;) {
    TKeyed* runEnd = run + 1;
    while (runEnd != last && runEnd->Key == run->Key) ++runEnd;
    if (runEnd - run > 1) {
      if (HasEnded(run->Key))
        std::sort(run, runEnd, [&](const TKeyed& x, const TKeyed& y) { return names[x.Position] < names[y.Position]; });
      else
        SortFrom(names, run, runEnd, depth + 8);
    }
    run = runEnd;
  }
}

std::vector<std::uint32_t> SortByName(const std::vector<std::string_view>& names) {
  std::vector<TKeyed> keyed(names.size());
  for (std::size_t i = 0; i < names.size(); ++i) keyed[i].Position = static_cast<std::uint32_t>(i);
  if (!keyed.empty()) SortFrom(names, keyed.data(), keyed.data() + keyed.size(), 0);
  std::vector<std::uint32_t> positions(names.size());
  for (std::size_t i = 0; i < keyed.size(); ++i) positions[i] = keyed[i].Position;
  return positions;
}

}  // namespace

int CompareNames(std::string_view a, std::string_view b, NameOrder order) {
  switch (order) {
    case NameOrder::Name: return CompareByName(a, b);
    case NameOrder::Natural: return CompareNatural(a, b);
    case NameOrder::AsStored: return 0;
  }
  return 0;
}

std::vector<std::uint32_t> SortedPositions(const std::vector<std::string_view>& names, NameOrder order) {
  if (order == NameOrder::Name) return SortByName(names);
  std::vector<std::uint32_t> positions(names.size());
  std::iota(positions.begin(), positions.end(), 0u);
  if (order == NameOrder::Natural)
    std::stable_sort(positions.begin(), positions.end(),
                     [&](std::uint32_t x, std::uint32_t y) { return CompareNatural(names[x], names[y]) < 0; });
  return positions;
}

}  // namespace vt
