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

// Puts the name at order[k] at position k, in place: a folder of many names is
// not held twice while it is sorted. Each cycle of the order is walked once; a
// position walked points at itself.
void Permute(std::vector<std::string>& names, std::vector<std::uint32_t>& order) {
  for (std::size_t start = 0; start < order.size(); ++start) {
    if (order[start] == start) continue;
    std::string held = std::move(names[start]);
    std::size_t at = start;
    for (;;) {
      const std::size_t from = order[at];
      order[at] = std::uint32_t(at);
      if (from == start) {
        names[at] = std::move(held);
        break;
      }
      names[at] = std::move(names[from]);
      at = from;
    }
  }
}

// The sorted positions' indices into names.
std::vector<std::uint32_t> FoldedOrder(const std::vector<std::string>& names) {
  std::size_t bytes = 0;
  for (const std::string& name : names) bytes += name.size();
  std::string folded;
  folded.reserve(bytes);
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
  const char* foldedBytes = folded.data();
  std::sort(keys.begin(), keys.end(), [&](const TFoldedKey& a, const TFoldedKey& b) {
    if (a.head != b.head) return a.head < b.head;
    if (a.size > 8 && b.size > 8) {
      const std::uint32_t rest = std::min(a.size, b.size) - 8;
      if (const int byRest = std::memcmp(foldedBytes + a.offset + 8, foldedBytes + b.offset + 8, rest))
        return byRest < 0;
    }
    if (a.size != b.size) return a.size < b.size;
    const int exact = names[a.index].compare(names[b.index]);
    return exact != 0 ? exact < 0 : a.index < b.index;
  });
  std::vector<std::uint32_t> order;
  order.reserve(keys.size());
  for (const TFoldedKey& key : keys) order.push_back(key.index);
  return order;
}

void SortFolded(std::vector<std::string>& names) {
  // The keys are gone before the names move.
  std::vector<std::uint32_t> order = FoldedOrder(names);
  Permute(names, order);
}

// One collation key per name, then one sort: far cheaper than collating inside every comparison.
std::vector<std::uint32_t> CollatedOrder(const std::vector<std::string>& names) {
  QCollator collator;
  collator.setCaseSensitivity(Qt::CaseInsensitive);
  std::vector<QCollatorSortKey> keys;
  keys.reserve(names.size());
  for (const std::string& name : names) keys.push_back(collator.sortKey(NameText(name)));
  std::vector<std::uint32_t> order(names.size());
  std::iota(order.begin(), order.end(), std::uint32_t{0});
  // Ties by position keep the sort stable without a buffer of its own.
  std::sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
    const int byKey = keys[a].compare(keys[b]);
    if (byKey != 0) return byKey < 0;
    const int exact = names[a].compare(names[b]);
    return exact != 0 ? exact < 0 : a < b;
  });
  return order;
}

void SortCollated(std::vector<std::string>& names) {
  std::vector<std::uint32_t> order = CollatedOrder(names);
  Permute(names, order);
}

}  // namespace

void SortWithoutCase(std::vector<std::string>& names) {
  if (QLocale().language() == QLocale::C)
    SortFolded(names);
  else
    SortCollated(names);
}

}  // namespace vt
