#include "browse/NameOrder.h"

#include <QCollator>
#include <QLocale>
#include <algorithm>
#include <numeric>

namespace vt {

namespace {

// One key per name, then one sort: far cheaper than collating inside every comparison.
template <class Key>
std::vector<int> OrderByKeys(const QStringList& names, const std::vector<Key>& keys) {
  std::vector<int> order(std::size_t(names.size()));
  std::iota(order.begin(), order.end(), 0);
  std::sort(order.begin(), order.end(), [&](int a, int b) {
    const int byKey = keys[std::size_t(a)].compare(keys[std::size_t(b)]);
    if (byKey != 0) return byKey < 0;
    const int exact = names[a].compare(names[b]);
    return exact != 0 ? exact < 0 : a < b;
  });
  return order;
}

}  // namespace

std::vector<int> OrderWithoutCase(const QStringList& names) {
  // The C locale has no collation of its own (and its collator keys would not fold case): folded code points.
  if (QLocale().language() == QLocale::C) {
    std::vector<QString> folded;
    folded.reserve(std::size_t(names.size()));
    for (const QString& name : names) folded.push_back(name.toCaseFolded());
    return OrderByKeys(names, folded);
  }
  QCollator collator;
  collator.setCaseSensitivity(Qt::CaseInsensitive);
  std::vector<QCollatorSortKey> keys;
  keys.reserve(std::size_t(names.size()));
  for (const QString& name : names) keys.push_back(collator.sortKey(name));
  return OrderByKeys(names, keys);
}

QString ToQString(const std::string& bytes) { return QString::fromLocal8Bit(bytes.data(), qsizetype(bytes.size())); }

std::string ToBytes(const QString& text) { return text.toLocal8Bit().toStdString(); }

}  // namespace vt
