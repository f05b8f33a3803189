#include "passes/SimulationClashes.h"

#include <algorithm>
#include <numeric>
#include <tuple>

#include "platform/NameTaken.h"

namespace vt {

TClashCheck::TClashCheck() : TClashCheck(NameTakenByAnother) {}
TClashCheck::TClashCheck(TNameTakenCheck taken) : Taken_(std::move(taken)) {}

void TClashCheck::Add(const std::string& folder, const std::string& oldName, const std::string& newName) {
  Renames_.push_back({folder, oldName, newName});
}

std::vector<std::vector<std::size_t>> TClashCheck::Groups() const {
  std::vector<std::size_t> order(Renames_.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  // Stable: rows of a group stay in the order they were added.
  std::stable_sort(order.begin(), order.end(), [this](std::size_t a, std::size_t b) {
    return std::tie(Renames_[a].Folder, Renames_[a].NewName) < std::tie(Renames_[b].Folder, Renames_[b].NewName);
  });
  std::vector<std::vector<std::size_t>> groups;
  for (std::size_t first = 0; first < order.size();) {
    const TRename& head = Renames_[order[first]];
    std::size_t end = first + 1;
    while (end < order.size() && Renames_[order[end]].Folder == head.Folder &&
           Renames_[order[end]].NewName == head.NewName)
      ++end;
    groups.emplace_back(order.begin() + std::ptrdiff_t(first), order.begin() + std::ptrdiff_t(end));
    first = end;
  }
  return groups;
}

std::vector<TClash> TClashCheck::Find() const {
  std::vector<TClash> clashes;
  for (const auto& group : Groups()) {
    const TRename& rename = Renames_[group.front()];
    TClash clash{rename.Folder, rename.NewName, group.size(), Taken_(rename.Folder, rename.OldName, rename.NewName)};
    if (clash.Failing() > 0) clashes.push_back(std::move(clash));
  }
  return clashes;
}

std::vector<TRowClash> TClashCheck::FindRows() const {
  std::vector<TRowClash> rows;
  for (const auto& group : Groups()) {
    const TRename& head = Renames_[group.front()];
    const bool exists = Taken_(head.Folder, head.OldName, head.NewName);
    if (group.size() < 2 && !exists) continue;
    for (const std::size_t row : group) {
      if (exists) {
        rows.push_back({row, true, 0});
      } else {
        rows.push_back({row, false, row == group.front() ? group[1] : group.front()});
      }
    }
  }
  std::sort(rows.begin(), rows.end(), [](const TRowClash& a, const TRowClash& b) { return a.Row < b.Row; });
  return rows;
}

std::size_t FailingRows(const std::vector<TClash>& clashes) {
  std::size_t rows = 0;
  for (const TClash& clash : clashes) rows += clash.Failing();
  return rows;
}

}  // namespace vt
