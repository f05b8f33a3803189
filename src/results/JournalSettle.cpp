#include "results/JournalSettle.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/FolderRenamer.h"
#include "platform/SysCalls.h"

namespace vt {

namespace fs = std::filesystem;

namespace {

// A placeholder is made during the pass; a clock of two-second steps (FAT)
// may date it up to that much before the pass began.
constexpr std::uint64_t kPlaceholderSlackNs = 2'000'000'000;

bool Look(const std::string& path, TEntryInfo& info) { return LookAtEntry(path.c_str(), info) == 0; }

bool IsCaseOnly(std::string_view oldName, std::string_view newName) {
  return oldName != newName && SameFoldedName(oldName, newName);
}

std::uintmax_t SizeOf(const std::string& path) {
  std::error_code code;
  if (!fs::is_regular_file(fs::symlink_status(path, code))) return 0;
  const std::uintmax_t size = fs::file_size(path, code);
  return code ? 0 : size;
}

}  // namespace

// The names of a folder as it spells them, read once for all its rows: on a
// volume that ignores case both spellings of a name lead to the file, and
// only the listing tells which one it has.
const std::set<std::string>& TDiskSettler::Names(const std::string& folder) {
  auto [it, added] = Names_.try_emplace(folder);
  if (added) {
    std::error_code code;
    for (fs::directory_iterator entry(folder, code), end; !code && entry != end; entry.increment(code))
      it->second.insert(entry->path().filename().string());
  }
  return it->second;
}

void TDiskSettler::Remove(const std::string& folder, const std::string& name) {
  std::error_code ignored;
  fs::remove(folder + name, ignored);
  if (const auto it = Names_.find(folder); it != Names_.end()) it->second.erase(name);
}

// Empty, made since the pass began, and not the file: what a rename reserves
// its target with on a volume that cannot rename without replacing.
bool TDiskSettler::IsLeftPlaceholder(const std::string& path, const TFileIdentity& file, TIdentityRule rule) {
  TEntryInfo info;
  return Look(path, info) && info.Regular && info.Size == 0 && !IsRecordedFile(info, file, rule) &&
         info.MtimeNs >= static_cast<std::int64_t>(StartedUtcNs_ - std::min(StartedUtcNs_, kPlaceholderSlackNs));
}

std::optional<TRenameStatus> TDiskSettler::ByIdentity(std::string_view folderView, std::string_view oldView,
                                                      std::string_view newView, const TFileIdentity& file,
                                                      std::string_view temporaryView, std::string& strandedUnder) {
  const std::string folder(folderView), oldName(oldView), newName(newView), temporary(temporaryView);
  const TIdentityRule rule = Rules_.Of(file.Device);
  // Where a volume ignores case, a look at one spelling may be answered from
  // what the kernel keeps of another, which the file has left since (FUSE
  // keeps each spelling apart): there, and for a change of case anywhere, a
  // name is only taken where the listing holds it as spelt.
  const bool byListing = rule == TIdentityRule::ByAttributes || IsCaseOnly(oldName, newName);
  const auto there = [&](const std::string& name, TEntryInfo& info) {
    return (!byListing || Names(folder).contains(name)) && Look(folder + name, info);
  };
  TEntryInfo atNew, atOld;
  const bool newTaken = there(newName, atNew);
  const bool oldTaken = there(oldName, atOld);
  const bool underNew = newTaken && IsRecordedFile(atNew, file, rule);
  const bool underOld = oldTaken && IsRecordedFile(atOld, file, rule);
  // The temporary name, once the file is found elsewhere, is an empty placeholder at most.
  const auto tidyTemporary = [&] {
    if (!temporary.empty() && IsLeftPlaceholder(folder + temporary, file, rule)) Remove(folder, temporary);
  };
  const auto tidyNew = [&] {
    if (newTaken && !underNew && IsLeftPlaceholder(folder + newName, file, rule)) Remove(folder, newName);
  };
  if (underNew && underOld) {
    // Two spellings of one file on a volume that ignores case: the listing
    // tells which it has. Both listed and one inode: the link step of a rename
    // was cut before the old name went, and the new one is let go.
    tidyTemporary();
    const std::set<std::string>& listed = Names(folder);
    const bool listsNew = listed.contains(newName), listsOld = listed.contains(oldName);
    if (listsNew && !listsOld) return TRenameStatus::rsOk;
    if (listsOld && !listsNew) return std::nullopt;
    if (listsOld && rule == TIdentityRule::ByInode && atNew.Id == atOld.Id && atNew.Links >= 2) {
      Remove(folder, newName);
      return std::nullopt;
    }
    return TRenameStatus::rsError;
  }
  if (underNew) {
    tidyTemporary();
    return TRenameStatus::rsOk;
  }
  if (underOld) {
    tidyNew();
    tidyTemporary();
    return std::nullopt;
  }
  TEntryInfo atTemporary;
  if (!temporary.empty() && there(temporary, atTemporary) && IsRecordedFile(atTemporary, file, rule)) {
    tidyNew();
    strandedUnder = temporary;
    return TRenameStatus::rsError;  // stranded: Recover brings it back
  }
  tidyTemporary();
  tidyNew();
  // Neither name leads to the file: whatever holds them now is not this row's to undo.
  if (there(newName, atNew) || oldTaken) return TRenameStatus::rsError;
  return std::nullopt;
}

bool TDiskSettler::Recognises(std::string_view folder, const TFileIdentity& file) {
  if (HasAttributes(file)) return true;
  TEntryInfo info;
  return Look(std::string(folder), info) && info.Id.Device == file.Device;
}

std::optional<TRenameStatus> TDiskSettler::ByNames(std::string_view folderView, std::string_view oldView,
                                                   std::string_view newView, bool takenByLater,
                                                   std::string& strandedUnder) {
  const std::string folder(folderView), oldName(oldView), newName(newView);
  if (IsCaseOnly(oldName, newName)) return CaseOnlyByNames(folder, oldName, newName, strandedUnder);
  if (!FileExists(folder + newName)) return std::nullopt;
  return !FileExists(folder + oldName) || takenByLater ? TRenameStatus::rsOk : TRenameStatus::rsError;
}

// A case-only rename on a volume that ignores case goes through a temporary
// name, and on one without hard links each step through an empty placeholder:
// a kill may leave the file under the temporary name, and an empty
// placeholder beside it. The file is found again, the placeholder removed.
std::optional<TRenameStatus> TDiskSettler::CaseOnlyByNames(const std::string& folder, const std::string& oldName,
                                                           const std::string& newName, std::string& strandedUnder) {
  const std::set<std::string>& listed = Names(folder);
  std::vector<std::string> temps;
  for (const std::string& name : listed)
    if (IsStrandedName(name)) temps.push_back(name);
  const bool hasOld = listed.contains(oldName);
  bool hasNew = listed.contains(newName);
  const auto full =
      std::find_if(temps.begin(), temps.end(), [&](const std::string& t) { return SizeOf(folder + t) > 0; });
  // The new spelling empty beside a temporary name holding a file: the placeholder the file was to replace.
  if (hasNew && !hasOld && full != temps.end() && SizeOf(folder + newName) == 0) {
    Remove(folder, newName);
    hasNew = false;
  }
  if (!hasOld && !hasNew && !temps.empty()) {
    strandedUnder = full != temps.end() ? *full : temps.front();
    Names_[folder].erase(strandedUnder);
    return TRenameStatus::rsError;  // stranded: Recover brings it back
  }
  for (const std::string& temp : temps)
    if (SizeOf(folder + temp) == 0 && FileExists(folder + temp)) Remove(folder, temp);
  if (hasNew) return TRenameStatus::rsOk;
  return std::nullopt;  // not renamed, or gone
}

}  // namespace vt
