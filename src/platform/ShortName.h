#pragma once
// 8.3 alternate names for the entries of one folder. Linux keeps none, so they
// are made the way a FAT or NTFS volume makes them when a long name is created,
// in the order the folder's entries are met.
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vt {

// True when the name is already an 8.3 name: a basis of 1 to 8 characters, at
// most one dot followed by 1 to 3 characters, only characters a short name may
// hold (letter case does not matter). Such a name needs no alternate name.
bool HasShortForm(std::string_view name);

// An alternate name: at most 8 + 1 + 3 characters, no allocation.
struct TShortName {
  char Text[12] = {};
  std::uint8_t Size = 0;
  std::string_view View() const { return {Text, Size}; }
};

// The short names taken in one folder; each is packed into 64 bits, so the
// table costs about 16 bytes per entry and nothing per lookup.
class TShortNameTable {
 public:
  // Sizes the table for this many names, so that it never grows.
  void Reserve(std::size_t names);
  // A long name of 8.3 form takes its own (upper-cased) name as short name.
  void Occupy(std::string_view name);
  // Makes the alternate name of a long name without 8.3 form: ~1 to ~4 on a
  // basis of six characters, then two characters, four hex digits of a hash of
  // the long name and ~1. Unique among every name taken so far. Empty only when
  // every candidate is taken (some 590,000 names sharing basis and extension).
  TShortName Assign(std::string_view longName);

 private:
  bool Take(std::uint64_t key);
  std::size_t Home(std::uint64_t key) const;
  std::uint64_t& FullBase(std::uint64_t baseKey);
  void Grow();

  // Per two leading characters and extension: the steps of hashed names whose
  // nine names are all taken, each linked to a later step that may be open.
  struct TFullSteps {
    std::unordered_map<std::uint16_t, std::uint16_t> Links;
    std::uint16_t FirstOpen(std::uint16_t step);
  };

  std::vector<std::uint64_t> Slots_;  // 0 = free
  std::unordered_map<std::uint64_t, TFullSteps> FullSteps_;
  std::size_t Used_ = 0;
  // Bases whose ~1 to ~4 are all taken (they stay taken), so that a folder of
  // names sharing one basis costs one probe per name, not five.
  std::uint64_t FullBases_[64] = {};
};

}  // namespace vt
