#pragma once
// Whether the renames of a folder, handed out one after the other, can be done
// as they come although they may make room for each other: so long as no new
// name is the old name of an entry still to come, the order planned for them
// (passes/ChainPlan.h) is the order they come in, and the folder needs no
// planning. Names are compared ignoring ASCII case, as the plan compares them,
// by a hash: two names sharing one only make the watch give up sooner.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace vt {

class TChainWatch {
 public:
  // Forgets the last folder; room for names more is made at once.
  void Reset(std::size_t names);
  // Every name the folder's entries may have, before the first one is drawn.
  void AddName(std::string_view name);
  // The entry whose old name this is comes now. True when another name of the
  // folder folds alike: a rename that takes it may wait for either.
  bool Draw(std::string_view oldName);
  // True when a rename to newName may have to wait: a name of the folder that
  // folds alike has not come yet.
  bool MayWait(std::string_view newName) const;

 private:
  static std::uint64_t Key(std::string_view name);
  std::size_t Find(std::uint64_t key) const;
  // At most four fifths of the slots hold a name: probes stay within a cache
  // line or two, and the table, zeroed anew for each folder, stays small.
  bool Full() const { return (Used_ + 1) * 5 > Slots_.size() * 4; }
  void Grow();

  std::vector<std::uint64_t> Slots_;  // open addressing, a power of two
  std::size_t Used_ = 0;
};

}  // namespace vt
