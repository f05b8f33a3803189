#include "ui/NamePreview.h"

#include <atomic>
#include <string_view>
#include <unordered_map>

#include "engine/RenameStatus.h"
#include "engine/RenameStep.h"
#include "passes/ChainPlan.h"
#include "passes/RowQueue.h"
#include "passes/SearchThread.h"
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
                                         const TNameTakenCheck& taken) {
  TSearchPassOptions options;
  options.Folder = job.Folder;
  options.Masks = job.Masks;
  options.Chains = job.Chains;
  options.OnCollected = [&stop](TSearchThread& pass, const TFindData&) {
    if (stop()) pass.RequestStop();
  };
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
  if (stop()) return std::nullopt;

  // Which row of the list each row of the pass is.
  const std::vector<std::string>& names = *job.Names;
  std::unordered_map<std::string_view, std::uint32_t> listRow;
  listRow.reserve(names.size());
  for (std::size_t row = 0; row < names.size(); ++row) listRow.emplace(names[row], std::uint32_t(row));
  std::vector<std::uint32_t> passRowOf(names.size(), kNoRow);
  std::vector<std::uint32_t> listRowOf(rows.size(), kNoRow);
  std::vector<std::uint32_t> renames;
  std::size_t bytes = 0;
  // A file of a ring has two rows: to its temporary name, then from it to its new name, which the list shows.
  std::unordered_map<std::string_view, std::uint32_t> ringRow;
  for (std::size_t row = 0; row < rows.size(); ++row) {
    const TPassRow& passRow = rows[row];
    if (passRow.Status == TRenameStatus::rsCanBeRenamed) renames.push_back(std::uint32_t(row));
    if (*passRow.Folder != job.Folder) continue;
    const bool fromRing = job.Chains && IsRingTempName(passRow.OldName);
    const auto found = fromRing ? ringRow.find(passRow.OldName) : listRow.find(passRow.OldName);
    if (found == (fromRing ? ringRow.end() : listRow.end())) continue;
    const std::uint32_t listed = found->second;
    listRowOf[row] = listed;
    if (job.Chains && IsRingTempName(passRow.NewName)) {
      ringRow.emplace(passRow.NewName, listed);
      continue;
    }
    passRowOf[listed] = std::uint32_t(row);
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
      taken, job.Chains ? TClashOrder::InOrder : TClashOrder::Grouped);
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
