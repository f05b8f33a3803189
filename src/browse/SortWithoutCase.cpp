#include "browse/SortWithoutCase.h"

#include <QCollator>
#include <QLocale>
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <numeric>

#include "browse/NameBytes.h"

namespace vt {

namespace {

unsigned char Folded(unsigned char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; }

// A name's folded bytes, and its first eight as one number, so that most comparisons are one integer compare.
struct TFoldedKey {
  std::uint64_t head;
  std::uint32_t offset;
  std::uint32_t size;
  std::uint32_t index;
};

void Permute(std::vector<std::string>& names, const std::vector<TFoldedKey>& order) {
  std::vector<std::string> sorted;
  sorted.reserve(names.size());
  for (const TFoldedKey& key : order) sorted.push_back(std::move(names[key.index]));
  names = std::move(sorted);
}

void SortFolded(std::vector<std::string>& names) {
  std::string folded;
  std::vector<TFoldedKey> keys;
  keys.reserve(names.size());
  for (std::size_t i = 0; i < names.size(); ++i) {
    TFoldedKey key{0, std::uint32_t(folded.size()), std::uint32_t(names[i].size()), std::uint32_t(i)};
    for (std::size_t at = 0; at < names[i].size(); ++at) {
      const unsigned char c = Folded(static_cast<unsigned char>(names[i][at]));
      folded += char(c);
      if (at < 8) key.head |= std::uint64_t(c) << (56 - 8 * at);
    }
    keys.push_back(key);
  }
  const char* bytes = folded.data();
  std::sort(keys.begin(), keys.end(), [&](const TFoldedKey& a, const TFoldedKey& b) {
    if (a.head != b.head) return a.head < b.head;
    if (a.size > 8 && b.size > 8) {
      const std::uint32_t rest = std::min(a.size, b.size) - 8;
      if (const int byRest = std::memcmp(bytes + a.offset + 8, bytes + b.offset + 8, rest)) return byRest < 0;
    }
    if (a.size != b.size) return a.size < b.size;
    const int exact = names[a.index].compare(names[b.index]);
    return exact != 0 ? exact < 0 : a.index < b.index;
  });
  Permute(names, keys);
}

// One collation key per name, then one sort: far cheaper than collating inside every comparison.
void SortCollated(std::vector<std::string>& names) {
  QCollator collator;
  collator.setCaseSensitivity(Qt::CaseInsensitive);
  std::vector<QCollatorSortKey> keys;
  keys.reserve(names.size());
  for (const std::string& name : names) keys.push_back(collator.sortKey(NameText(name)));
  std::vector<std::size_t> order(names.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    const int byKey = keys[a].compare(keys[b]);
    return byKey != 0 ? byKey < 0 : names[a] < names[b];
  });
  std::vector<std::string> sorted;
  sorted.reserve(names.size());
  for (const std::size_t i : order) sorted.push_back(std::move(names[i]));
  names = std::move(sorted);
}

}  // namespace

void SortWithoutCase(std::vector<std::string>& names) {
  if (QLocale().language() == QLocale::C)
    SortFolded(names);
  else
    SortCollated(names);
}

}  // namespace vt
