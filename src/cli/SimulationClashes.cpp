#include "cli/SimulationClashes.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <tuple>

namespace vt {

namespace fs = std::filesystem;

namespace {

// Taken by an entry other than the file itself (a case-only rename on a volume
// that folds case finds the file under its new name).
bool TakenByAnother(const std::string& folder, const std::string& oldName, const std::string& newName) {
  std::error_code error;
  const fs::path target = fs::path(folder) / newName;
  if (!fs::exists(fs::symlink_status(target, error))) return false;
  return !fs::equivalent(target, fs::path(folder) / oldName, error);
}

}  // namespace

void TClashCheck::Add(const std::string& folder, const std::string& oldName, const std::string& newName) {
  Renames_.push_back({folder, oldName, newName});
}

std::vector<TClash> TClashCheck::Find() const {
  std::vector<const TRename*> order;
  order.reserve(Renames_.size());
  for (const TRename& rename : Renames_) order.push_back(&rename);
  std::sort(order.begin(), order.end(), [](const TRename* a, const TRename* b) {
    return std::tie(a->Folder, a->NewName) < std::tie(b->Folder, b->NewName);
  });
  std::vector<TClash> clashes;
  for (std::size_t first = 0; first < order.size();) {
    std::size_t end = first + 1;
    while (end < order.size() && order[end]->Folder == order[first]->Folder &&
           order[end]->NewName == order[first]->NewName)
      ++end;
    const TRename& rename = *order[first];
    TClash clash{rename.Folder, rename.NewName, end - first,
                 TakenByAnother(rename.Folder, rename.OldName, rename.NewName)};
    if (clash.Failing() > 0) clashes.push_back(std::move(clash));
    first = end;
  }
  return clashes;
}

std::size_t FailingRows(const std::vector<TClash>& clashes) {
  std::size_t rows = 0;
  for (const TClash& clash : clashes) rows += clash.Failing();
  return rows;
}

}  // namespace vt
