#include "passes/SimulationClashes.h"

#include <algorithm>
#include <numeric>
#include <tuple>

#include "platform/NameTaken.h"

namespace vt {

TClashFinder::TClashFinder(std::vector<std::uint32_t> rows, TRenameNamesOf namesOf, TNameTakenCheck taken)
    : Rows_(std::move(rows)),
      NamesOf_(std::move(namesOf)),
      Taken_(taken ? std::move(taken) : TNameTakenCheck(NameTakenByAnother)) {
  // By folder and new name; the row numbers keep each group in row order.
  std::sort(Rows_.begin(), Rows_.end(), [this](std::uint32_t a, std::uint32_t b) {
    const TRenameNames x = NamesOf_(a);
    const TRenameNames y = NamesOf_(b);
    return std::tie(x.Folder, x.NewName, a) < std::tie(y.Folder, y.NewName, b);
  });
}

void TClashFinder::ForEachGroup(
    const std::function<void(std::span<const std::uint32_t> group, bool taken)>& look) const {
  for (std::size_t first = 0; first < Rows_.size();) {
    const TRenameNames head = NamesOf_(Rows_[first]);
    std::size_t end = first + 1;
    for (; end < Rows_.size(); ++end) {
      const TRenameNames next = NamesOf_(Rows_[end]);
      if (next.Folder != head.Folder || next.NewName != head.NewName) break;
    }
    const bool taken = Taken_(std::string(head.Folder), std::string(head.OldName), std::string(head.NewName));
    look(std::span<const std::uint32_t>(Rows_).subspan(first, end - first), taken);
    first = end;
  }
}

std::vector<TClash> TClashFinder::Find() const {
  std::vector<TClash> clashes;
  ForEachGroup([&](std::span<const std::uint32_t> group, bool taken) {
    if (group.size() < 2 && !taken) return;
    const TRenameNames names = NamesOf_(group.front());
    clashes.push_back({std::string(names.Folder), std::string(names.NewName), group.size(), taken});
  });
  return clashes;
}

std::vector<TRowClash> TClashFinder::FindRows() const {
  std::vector<TRowClash> rows;
  ForEachGroup([&](std::span<const std::uint32_t> group, bool taken) {
    if (group.size() < 2 && !taken) return;
    for (const std::uint32_t row : group) {
      if (taken)
        rows.push_back({row, true, 0});
      else
        rows.push_back({row, false, row == group[0] ? group[1] : group[0]});
    }
  });
  std::sort(rows.begin(), rows.end(), [](const TRowClash& a, const TRowClash& b) { return a.Row < b.Row; });
  return rows;
}

TClashCheck::TClashCheck() : TClashCheck(NameTakenByAnother) {}
TClashCheck::TClashCheck(TNameTakenCheck taken) : Taken_(std::move(taken)) {}

void TClashCheck::Add(const std::string& folder, const std::string& oldName, const std::string& newName) {
  if (Folders_.empty() || Folders_.back() != folder) Folders_.push_back(folder);
  Renames_.push_back({std::uint32_t(Folders_.size() - 1), oldName, newName});
}

TClashFinder TClashCheck::Finder() const {
  std::vector<std::uint32_t> rows(Renames_.size());
  std::iota(rows.begin(), rows.end(), std::uint32_t{0});
  return TClashFinder(
      std::move(rows),
      [this](std::size_t row) {
        const TRename& rename = Renames_[row];
        return TRenameNames{Folders_[rename.Folder], rename.OldName, rename.NewName};
      },
      Taken_);
}

std::vector<TClash> TClashCheck::Find() const { return Finder().Find(); }
std::vector<TRowClash> TClashCheck::FindRows() const { return Finder().FindRows(); }

std::size_t FailingRows(const std::vector<TClash>& clashes) {
  std::size_t rows = 0;
  for (const TClash& clash : clashes) rows += clash.Failing();
  return rows;
}

}  // namespace vt
