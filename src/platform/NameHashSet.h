#pragma once
// The exact names of one folder as 64-bit hashes: about 16 bytes per name. A
// hash collision can only make a name look present, never absent.
#include <cstdint>
#include <string_view>
#include <vector>

namespace vt {

class TNameHashSet {
 public:
  void Insert(std::string_view name);
  void Erase(std::string_view name);
  bool Contains(std::string_view name) const;

 private:
  static constexpr std::uint64_t kFree = 0, kErased = 1;
  static std::uint64_t Hash(std::string_view name);
  std::size_t Find(std::uint64_t hash) const;  // its slot, or the end
  void Rehash(std::size_t capacity);

  std::vector<std::uint64_t> slots_;
  std::size_t live_ = 0;
  std::size_t erased_ = 0;
};

}  // namespace vt
