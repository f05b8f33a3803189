#pragma once
// What a pass did, counted as its rows come: rows by status, and the reasons of
// the rows that say "Error", for the one line a terminal gets after the pass.
#include <array>
#include <cstddef>
#include <map>
#include <string>

#include "engine/RenameStatus.h"

namespace vt {

// The command whose pass gave the rows.
enum class TRowOrigin { Rename, Simulate, Recover };

// Why a row says "Error", from the errno of the refused rename; 0 when the
// system refused nothing and the pass itself did.
std::string FailureReason(int systemError, TRowOrigin origin);

class TRowTally {
 public:
  void Add(TRenameStatus status, int systemError);
  std::size_t Rows() const { return Rows_; }
  std::size_t Count(TRenameStatus status) const { return Counts_[static_cast<std::size_t>(status)]; }
  // "5 rows: 3 Ok, 2 Error (1 a file of that name exists, 1 permission denied)"
  std::string Summary(TRowOrigin origin) const;

 private:
  static constexpr std::size_t kStatuses = 7;
  std::array<std::size_t, kStatuses> Counts_{};
  std::map<int, std::size_t> Errors_;  // errno -> rows
  std::size_t Rows_ = 0;
};

}  // namespace vt
