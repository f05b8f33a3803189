#include "ui/NamePreview.h"

#include <algorithm>
#include <atomic>
#include <functional>
#include <string_view>
#include <unordered_map>

#include "engine/RenameStatus.h"
#include "engine/RenameStep.h"
#include "passes/ChainPlan.h"
#include "passes/RowQueue.h"
#include "passes/SearchThread.h"
#include "platform/NameTaken.h"
#include "ui/ClashMarksLook.h"
#include "ui/NameBytes.h"

namespace vt {
namespace {

TPreviewMark MarkOf(TRenameStatus status) {
  switch (status) {
    case TRenameStatus::rsCanBeRenamed: return TPreviewMark::Renamed;
    case TRenameStatus::rsError: return TPreviewMark::Refused;
    default: return TPreviewMark::Same;
  }
}

QString RefusalTip(std::string_view newName) {
  return QStringLiteral("\u201C%1\u201D cannot be a file name in this folder").arg(NameText(std::string(newName)));
}

constexpr std::uint32_t kNoRow = ~std::uint32_t{0};
constexpr std::size_t kStepsBetweenStops = 4096;

bool ShortNamesNeeded(const TRenameSettings& settings) {
  return settings.Operation == TOperation::Truncate && settings.TruncateKind == TTruncateKind::ShortName;
}

bool Fits(const TPreviewListing& listing, const TPreviewJob& job, std::uint8_t sources) {
  return listing.Listed && listing.Names.lock() == job.Names && listing.Folder == job.Folder &&
         listing.Masks == job.Masks && listing.Order == job.Order && listing.Direction == job.Direction &&
         listing.Sources == sources && listing.ShortNames == ShortNamesNeeded(job.Settings);
}

// What the listing's rows, the list and the folder have in common, made once
// per listing: the list's row of each entry, and the folder's names.
void Connect(TPreviewListing& listing, const std::vector<std::string>& names) {
  const TListedFolder& listed = *listing.Listed;
  std::unordered_map<std::string_view, std::uint32_t> listRow;
  listRow.reserve(names.size());
  for (std::size_t row = 0; row < names.size(); ++row) listRow.emplace(names[row], std::uint32_t(row));
  listing.ListRows.assign(listed.Size(), kNoRow);
  for (std::size_t at = 0; at < listed.Size(); ++at) {
    if (listed.Folder(at).Path() != listing.Folder) continue;
    if (const auto found = listRow.find(listed.Name(at)); found != listRow.end()) listing.ListRows[at] = found->second;
  }
  TFolderHandle handle;
  if (TFolderHandle::Open(listing.Folder, handle) == 0 && NamesExact(handle)) listing.FolderNames.Read(handle);
}

// Whether a new name is taken: a name of the list's folder not among its names
// is free; a name found there, and any other folder's, is asked of the file
// system as a Simulate asks. A look per new name costs more than all the rest.
TNameTakenCheck TakenIn(const TPreviewListing& listing) {
  return [&listing, look = std::make_shared<TNameTakenLook>()](std::string_view folder, std::string_view oldName,
                                                               std::string_view newName) {
    if (folder == listing.Folder && !listing.FolderNames.MayHold(newName)) return false;
    return look->Taken(folder, oldName, newName);
  };
}

}  // namespace

TFilePreview PreviewInView(const std::vector<std::string>& names, int first, int last,
                           const TRenameSettings& settings) {
  TFilePreview preview;
  if (first < 0 || last < first || std::size_t(first) >= names.size()) return preview;
  TRenameSettings shifted = settings;
  const std::int64_t step = settings.NumberInfos.CountBackwards ? -std::int64_t{settings.NumberInfos.Increment}
                                                                : settings.NumberInfos.Increment;
  // Wraps as the pass's 32-bit counter does.
  shifted.Counter = std::int32_t(std::uint32_t(std::int64_t{settings.Counter} + step * first));
  TRenameStep judge(std::move(shifted), TPassMode::Simulate);
  TFindData entry;
  entry.dwFileAttributes = FileAttr::Archive;
  const std::size_t end = std::min(names.size(), std::size_t(last) + 1);
  for (std::size_t row = std::size_t(first); row < end; ++row) {
    entry.cFileName = names[row];
    const TPreviewMark mark = judge.Judge(entry) ? MarkOf(judge.Status()) : TPreviewMark::Same;
    if (mark == TPreviewMark::Refused) preview.Tips.insert(int(row) - first, RefusalTip(judge.NewName()));
    preview.Add(judge.NewName(), mark);
  }
  return preview;
}

std::optional<TFilePreview> PreviewWhole(const TPreviewJob& job, const std::function<bool()>& stop,
                                         TPreviewListing& listing, const TNameTakenCheck& taken) {
  TSearchPassOptions options;
  options.Folder = job.Folder;
  options.Masks = job.Masks;
  options.Order = job.Order;
  options.Direction = job.Direction;
  options.Chains = job.Chains;
  options.OnCollected = [&stop](TSearchThread& pass, const TFindData&) {
    if (stop()) pass.RequestStop();
  };
  const std::uint8_t sources = TRenameStep(job.Settings, TPassMode::Simulate).FieldSources();
  if (Fits(listing, job, sources)) {
    options.Listed = listing.Listed;
  } else {
    listing = TPreviewListing();
    listing.Names = job.Names;
    listing.Folder = job.Folder;
    listing.Masks = job.Masks;
    listing.Order = job.Order;
    listing.Direction = job.Direction;
    listing.Sources = sources;
    listing.ShortNames = ShortNamesNeeded(job.Settings);
    options.OnListed = [&listing](std::shared_ptr<const TListedFolder> listed) { listing.Listed = std::move(listed); };
  }
  TRowQueue queue;
  const std::atomic<bool> recordAll{false};
  std::vector<TPassRow> rows;
  {
    TSearchThread pass(queue, options, job.Settings, TPassMode::Simulate, recordAll);
    pass.Execute();
  }
  queue.End();
  std::vector<TUnreadableFolder> unreadable;
  while (!queue.Take(rows, unreadable)) {
  }
  if (stop() || !listing.Listed) return std::nullopt;
  const std::vector<std::string>& names = *job.Names;
  if (listing.ListRows.empty() && listing.Listed->Size() > 0) Connect(listing, names);

  // Which row of the list each row of the pass is: the rows come in the
  // listing's order, each from one of its entries.
  const TListedFolder& listed = *listing.Listed;
  std::vector<std::uint32_t> passRowOf(names.size(), kNoRow);
  std::vector<std::uint32_t> listRowOf(rows.size(), kNoRow);
  std::vector<std::uint32_t> renames;
  std::size_t bytes = 0;
  if (job.Chains) {
    // The rows come in the order the renames are done, and a file of a ring
    // has two: to its temporary name, then from it to the new name the list shows.
    std::unordered_map<std::string_view, std::uint32_t> listRow;
    listRow.reserve(names.size());
    for (std::size_t row = 0; row < names.size(); ++row) listRow.emplace(names[row], std::uint32_t(row));
    std::unordered_map<std::string_view, std::uint32_t> ringRow;
    for (std::size_t row = 0; row < rows.size(); ++row) {
      const TPassRow& passRow = rows[row];
      if (passRow.Status == TRenameStatus::rsCanBeRenamed) renames.push_back(std::uint32_t(row));
      if (*passRow.Folder != job.Folder) continue;
      const bool fromRing = IsRingTempName(passRow.OldName);
      const auto found = fromRing ? ringRow.find(passRow.OldName) : listRow.find(passRow.OldName);
      if (found == (fromRing ? ringRow.end() : listRow.end())) continue;
      const std::uint32_t inList = found->second;
      listRowOf[row] = inList;
      if (IsRingTempName(passRow.NewName)) {
        ringRow.emplace(passRow.NewName, inList);
        continue;
      }
      passRowOf[inList] = std::uint32_t(row);
      bytes += passRow.NewName.size();
    }
  }
  std::size_t at = 0;
  for (std::size_t row = 0; row < rows.size() && !job.Chains; ++row) {
    const TPassRow& passRow = rows[row];
    if (passRow.Status == TRenameStatus::rsCanBeRenamed) renames.push_back(std::uint32_t(row));
    while (at < listed.Size() && (listed.Name(at) != passRow.OldName || listed.Folder(at).Path() != *passRow.Folder))
      ++at;
    if (at == listed.Size()) break;
    const std::uint32_t listRow = listing.ListRows[at++];
    if (listRow == kNoRow) continue;
    passRowOf[listRow] = std::uint32_t(row);
    listRowOf[row] = listRow;
    bytes += passRow.NewName.size();
  }
  if (stop()) return std::nullopt;

  TFilePreview preview;
  preview.Reserve(names.size(), bytes);
  for (std::size_t row = 0; row < names.size(); ++row) {
    if (passRowOf[row] == kNoRow) {
      preview.Add({}, TPreviewMark::Same);
      continue;
    }
    const TPassRow& passRow = rows[passRowOf[row]];
    const TPreviewMark mark = MarkOf(passRow.Status);
    if (mark == TPreviewMark::Refused) preview.Tips.insert(int(row), RefusalTip(passRow.NewName));
    preview.Add(passRow.NewName, mark);
  }

  TClashFinder finder(
      std::move(renames),
      [&rows](std::size_t row) {
        const TPassRow& passRow = rows[row];
        return TRenameNames{*passRow.Folder, passRow.OldName, passRow.NewName};
      },
      taken ? taken : TakenIn(listing), job.Chains ? TClashOrder::InOrder : TClashOrder::Grouped);
  while (!finder.Step(kStepsBetweenStops))
    if (stop()) return std::nullopt;
  for (const TRowClash& clash : finder.RowClashes()) {
    ++preview.Clashes;
    const std::uint32_t row = listRowOf[clash.Row];
    if (row == kNoRow) continue;
    preview.SetMark(row, TPreviewMark::Clash);
    preview.Tips.insert(int(row), ClashTipText(rows[clash.Row].NewName, clash.WithExisting,
                                               clash.WithExisting ? std::string_view() : rows[clash.OtherRow].OldName));
  }
  return preview;
}

}  // namespace vt
