#pragma once
// Settles from the disk the rows of a journal whose outcome never reached it
// (the pass was killed between its intents and their outcomes), for both
// readers of a journal: the one that holds it whole and the one that streams
// it. A row whose intent recorded its file is settled by that file: renamed
// when the new name leads to it, not renamed when the old name does, and
// brought back from a hidden temporary name the journal has on record. Empty
// placeholders a kill left behind are removed. A row of an earlier version,
// recorded without its file, is settled by the names the folder holds.
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "engine/RenameStatus.h"
#include "passes/UndoRowChecks.h"
#include "platform/FileIdentity.h"

namespace vt {

class TDiskSettler {
 public:
  // startedUtcNs: when the pass began; a placeholder is never older.
  explicit TDiskSettler(std::uint64_t startedUtcNs) : StartedUtcNs_(startedUtcNs) {}

  // rsOk (renamed), rsError (stranded under a temporary name, which is then
  // in strandedUnder; or neither name leads to the file while one is taken),
  // or none: not renamed, or the file and both names are gone.
  std::optional<TRenameStatus> ByIdentity(std::string_view folder, std::string_view oldName, std::string_view newName,
                                          const TFileIdentity& file, std::string_view temporary,
                                          std::string& strandedUnder);
  // The same by names alone: renamed when the file is under its new name and
  // not under its old one, or the old one was taken by a later row of the pass
  // (takenByLater); a change of case by the spelling the folder lists, and a
  // file found under a temporary name of the pass is stranded.
  std::optional<TRenameStatus> ByNames(std::string_view folder, std::string_view oldName, std::string_view newName,
                                       bool takenByLater, std::string& strandedUnder);
  // Whether the recorded file can be told from others in the folder now: a
  // file known by its listed number alone can only on the device it was
  // listed on (a disk's device number may change with a reboot).
  bool Recognises(std::string_view folder, const TFileIdentity& file);

 private:
  const std::set<std::string>& Names(const std::string& folder);
  void Remove(const std::string& folder, const std::string& name);
  bool IsLeftPlaceholder(const std::string& path, const TFileIdentity& file, TIdentityRule rule);
  std::optional<TRenameStatus> CaseOnlyByNames(const std::string& folder, const std::string& oldName,
                                               const std::string& newName, std::string& strandedUnder);

  std::uint64_t StartedUtcNs_;
  TIdentityRules Rules_;
  std::map<std::string, std::set<std::string>> Names_;  // of each folder, read once
};

// Settles, last first, the rows (in pass order) whose outcome is missing: a
// later row that took a row's old name (a renumbering) shows, for a row without
// its file on record, that it was renamed. dropped[k] is set for a rename that
// never happened; keepName(row, name) gives a row the temporary name its file
// was found under. A row type has Folder, OldName, NewName, Status, Settled,
// Identity and Temporary.
template <typename TRow, typename TKeepName>
void SettleRowsFromDisk(const std::vector<TRow*>& rows, TDiskSettler& disk, std::vector<bool>& dropped,
                        const TKeepName& keepName) {
  std::unordered_multimap<std::uint64_t, const TRow*> renamedTo;
  const auto takenByLater = [&](const TRow& row) {
    const auto [first, last] = renamedTo.equal_range(FoldedNameKey(row.Folder, row.OldName));
    for (auto it = first; it != last; ++it)
      if (it->second->Folder == row.Folder && SameFoldedName(it->second->NewName, row.OldName)) return true;
    return false;
  };
  dropped.assign(rows.size(), false);
  for (std::size_t k = rows.size(); k-- > 0;) {
    TRow& row = *rows[k];
    if (!row.Settled) {
      std::string stranded;
      const std::optional<TRenameStatus> status =
          row.Identity && disk.Recognises(row.Folder, *row.Identity)
              ? disk.ByIdentity(row.Folder, row.OldName, row.NewName, *row.Identity, row.Temporary, stranded)
              : disk.ByNames(row.Folder, row.OldName, row.NewName, takenByLater(row), stranded);
      if (!stranded.empty()) keepName(row, stranded);
      if (!status) {
        dropped[k] = true;
        continue;
      }
      row.Status = *status;
      row.Settled = true;
    }
    if (row.Status == TRenameStatus::rsOk) renamedTo.emplace(FoldedNameKey(row.Folder, row.NewName), &row);
  }
}

}  // namespace vt
