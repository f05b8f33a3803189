#include "platform/NameHashSet.h"

namespace vt {

std::uint64_t TNameHashSet::Hash(std::string_view name) {
  std::uint64_t h = 14695981039346656037ull;  // FNV-1a, then splitmix64's finalizer
  for (const char c : name) h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
  h = (h ^ (h >> 30)) * 0xBF58476D1CE4E5B9ull;
  h = (h ^ (h >> 27)) * 0x94D049BB133111EBull;
  h ^= h >> 31;
  return h <= kErased ? h + 2 : h;
}

std::size_t TNameHashSet::Find(std::uint64_t hash) const {
  if (slots_.empty()) return 0;
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
    if (slots_[i] == hash) return i;
    if (slots_[i] == kFree) return slots_.size();
  }
}

void TNameHashSet::Rehash(std::size_t capacity) {
  std::vector<std::uint64_t> old(capacity, kFree);
  old.swap(slots_);
  live_ = erased_ = 0;
  for (const std::uint64_t hash : old) {
    if (hash <= kErased) continue;
    for (std::size_t i = hash & (capacity - 1);; i = (i + 1) & (capacity - 1)) {
      if (slots_[i] == kFree) {
        slots_[i] = hash;
        ++live_;
        break;
      }
    }
  }
}

void TNameHashSet::Insert(std::string_view name) {
  const std::uint64_t hash = Hash(name);
  if (Find(hash) < slots_.size()) return;
  if ((live_ + erased_ + 1) * 2 > slots_.size()) {
    std::size_t capacity = 16;
    while (capacity < (live_ + 1) * 4) capacity *= 2;
    Rehash(capacity);
  }
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
    if (slots_[i] <= kErased) {
      if (slots_[i] == kErased) --erased_;
      slots_[i] = hash;
      ++live_;
      return;
    }
  }
}

void TNameHashSet::Erase(std::string_view name) {
  const std::size_t at = Find(Hash(name));
  if (at >= slots_.size()) return;
  slots_[at] = kErased;
  --live_;
  ++erased_;
}

bool TNameHashSet::Contains(std::string_view name) const { return Find(Hash(name)) < slots_.size(); }

}  // namespace vt
