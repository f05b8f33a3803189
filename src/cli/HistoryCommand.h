#pragma once
// `veltrane-cli history`: the kept passes, newest first, as a table, TSV or
// JSON lines; and the passes a history ID names, for show and recover.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "cli/CliApp.h"
#include "cli/CommandLine.h"
#include "engine/Expected.h"
#include "results/PassHistory.h"

namespace vt {

int RunHistory(const TCliOptions& options, const TCliEnvironment& environment);

// "can be undone", "undone", "partly undone", "unfinished", "running";
// "orphan, no journal" for a result file alone, "recover cut short" for a
// recover that never ended.
std::string_view HistoryStateWord(const THistoryEntry& entry);
// "2026-12-09 11:30:05 +0100": local, with its offset from UTC.
std::string LocalTimeText(std::uint64_t utcNs);
// The cells of an entry: id, started, folder, operation, ok, state.
std::vector<std::string> HistoryCells(const THistoryEntry& entry);
std::string HistoryJson(const THistoryEntry& entry, TOutputTarget target);

// An argument of show or recover that names no file and no folder above one:
// an ID of the history (or a journal's name there).
bool IsHistoryReference(const std::string& argument);

// The folder of records of the environment, or why it may not be read.
TExpected<std::string, std::string> HistoryFolder(const TCliEnvironment& environment);

// The journals `recover ID` undoes, newest first: the pass alone, or with
// --with-later every later pass that renamed some of its files again. When
// there are such passes and withLater is not set, the error says which and
// how to undo them together; nothing is undone then.
struct THistoryRecover {
  std::vector<THistoryEntry> Passes;  // newest first
};
TExpected<THistoryRecover, std::string> PickHistoryRecover(const std::string& folder, const std::string& reference,
                                                           bool withLater);
// The journal `show ID` prints, or why there is none.
TExpected<std::string, std::string> PickHistoryJournal(const std::string& folder, const std::string& reference);

}  // namespace vt
