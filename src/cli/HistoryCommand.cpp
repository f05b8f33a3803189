#include "cli/HistoryCommand.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "cli/ErrorWords.h"
#include "cli/FolderRefusal.h"
#include "cli/OutputBuffer.h"
#include "cli/RowFormat.h"
#include "platform/CalendarTime.h"
#include "results/AutomaticResultFiles.h"
#include "results/PassJournals.h"

namespace vt {
namespace {

constexpr std::array<std::string_view, 6> kCaptions{"ID", "Started", "Folder", "Operation", "Ok", "State"};
// Later passes named in a message; the rest are counted.
constexpr std::size_t kLaterNamed = 5;

std::string TimeText(std::uint64_t utcNs, const char* format) {
  const std::tm local = LocalTime(static_cast<std::time_t>(utcNs / 1000000000U));
  char text[64];
  const std::size_t length = std::strftime(text, sizeof text, format, &local);
  return std::string(text, length);
}

// "+0100" as JSON's dates write it, "+01:00".
std::string IsoTimeText(std::uint64_t utcNs) {
  std::string text = TimeText(utcNs, "%Y-%m-%dT%H:%M:%S%z");
  if (text.size() >= 5) text.insert(text.size() - 2, ":");
  return text;
}

std::string OkText(const THistoryEntry& entry) { return entry.Renamed ? std::to_string(*entry.Renamed) : "?"; }

std::string PassName(const THistoryEntry& entry) { return entry.Id + " (" + LocalTimeText(entry.StartedUtcNs) + ")"; }

std::string FilesText(std::uint64_t files) { return std::to_string(files) + (files == 1 ? " file" : " files"); }

}  // namespace

std::string_view HistoryStateWord(const THistoryEntry& entry) {
  if (entry.Kind == THistoryKind::Orphan) return "orphan, no journal";
  if (entry.Kind == THistoryKind::Recover) return "recover cut short";
  if (entry.Running) return "running";
  switch (entry.State) {
    case TPassState::CanBeUndone: return "can be undone";
    case TPassState::Undone: return "undone";
    case TPassState::PartlyUndone: return "partly undone";
    case TPassState::Unfinished: break;
  }
  return "unfinished";
}

std::string LocalTimeText(std::uint64_t utcNs) { return TimeText(utcNs, "%Y-%m-%d %H:%M:%S %z"); }

std::vector<std::string> HistoryCells(const THistoryEntry& entry) {
  return {entry.Id,      LocalTimeText(entry.StartedUtcNs),   entry.Folder, entry.What,
          OkText(entry), std::string(HistoryStateWord(entry))};
}

std::string HistoryJson(const THistoryEntry& entry, TOutputTarget target) {
  std::string out = "{\"id\":" + JsonString(entry.Id, target) +
                    ",\"started\":" + JsonString(IsoTimeText(entry.StartedUtcNs), target) +
                    ",\"folder\":" + JsonString(entry.Folder, target) +
                    ",\"operation\":" + JsonString(entry.What, target) +
                    ",\"ok\":" + (entry.Renamed ? std::to_string(*entry.Renamed) : "null") +
                    ",\"state\":" + JsonString(HistoryStateWord(entry), target) +
                    ",\"rows\":" + (entry.Rows ? std::to_string(*entry.Rows) : "null") +
                    ",\"journal\":" + JsonString(entry.Journal, target) + "}\n";
  return out;
}

bool IsHistoryReference(const std::string& argument) {
  // An ID, or a journal's name in the records' folder; anything else is a file.
  const bool id = argument.size() >= 4 && argument.size() <= 16 &&
                  std::all_of(argument.begin(), argument.end(),
                              [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
  std::string stem = argument;
  if (stem.ends_with(kJournalExtension)) stem.resize(stem.size() - kJournalExtension.size());
  if (!id && !IsAutomaticFileName(stem + ".vtr")) return false;
  std::error_code code;
  return !std::filesystem::exists(std::filesystem::symlink_status(argument, code));
}

TExpected<std::string, std::string> HistoryFolder(const TCliEnvironment& environment) {
  const std::optional<std::string> folder = AutomaticFolder(environment.GetEnv);
  if (!folder) return Unexpected(std::string("no folder of kept passes: HOME is not set"));
  if (const std::optional<TUntrustedFolder> refused = RefusedRecordsFolder(*folder))
    return Unexpected(FolderRefusalText(*refused) + "; no record there is read");
  return *folder;
}

namespace {

TExpected<std::size_t, std::string> Pick(const std::vector<THistoryEntry>& entries, const std::string& reference) {
  const THistoryMatch match = FindHistoryEntry(entries, reference);
  if (match.Index) return *match.Index;
  if (match.Candidates > 1)
    return Unexpected("'" + TerminalText(reference) + "' names " + std::to_string(match.Candidates) +
                      " passes; give more of its ID (veltrane-cli history)");
  return Unexpected("no file '" + TerminalText(reference) +
                    "', and no kept pass of that ID (veltrane-cli history lists them)");
}

}  // namespace

TExpected<THistoryRecover, std::string> PickHistoryRecover(const std::string& folder, const std::string& reference,
                                                           bool withLater) {
  std::vector<THistoryEntry> entries = ReadHistory(folder);
  const TExpected<std::size_t, std::string> picked = Pick(entries, reference);
  if (!picked) return Unexpected(picked.Error());
  const THistoryEntry& chosen = entries[*picked];
  if (chosen.Running) return Unexpected("pass " + chosen.Id + " is still running");
  if (chosen.Kind == THistoryKind::Recover)
    return Unexpected(chosen.Id + " is a recover that was cut short; recover the pass it was undoing again: " +
                      "veltrane-cli recover " + TerminalText(chosen.Folder));
  if (chosen.State == TPassState::Undone)
    return Unexpected("pass " + chosen.Id + " is undone already; veltrane-cli show " + chosen.Id + " lists its rows");
  const TExpected<TLaterPasses> later = FindLaterPasses(entries, *picked);
  if (!later) return Unexpected("cannot read the journals of the later passes: " + ErrorReason(later.Error()));
  THistoryRecover recover;
  if (!later->Later.empty() && !withLater) {
    std::string names;
    for (std::size_t i = 0; i < later->Later.size() && i < kLaterNamed; ++i)
      names +=
          (i == 0 ? "" : ", ") + PassName(entries[later->Later[i].Index]) + ": " + FilesText(later->Later[i].Files);
    if (later->Later.size() > kLaterNamed)
      names += ", and " + std::to_string(later->Later.size() - kLaterNamed) + " more";
    return Unexpected(
        FilesText(later->Files) + " of pass " + chosen.Id + " were renamed again by " +
        (later->Later.size() == 1 ? "a later pass" : std::to_string(later->Later.size()) + " later passes") + " (" +
        names + "); undone alone, they would be \"File not found\"; nothing was renamed. " +
        "Undo it with them, newest first: veltrane-cli recover " + chosen.Id +
        " --with-later; or it alone: veltrane-cli recover " + TerminalText(chosen.Journal));
  }
  for (const TLaterPass& pass : later->Later) recover.Passes.push_back(entries[pass.Index]);
  recover.Passes.push_back(chosen);
  return recover;
}

TExpected<std::string, std::string> PickHistoryJournal(const std::string& folder, const std::string& reference) {
  const std::vector<THistoryEntry> entries = ReadHistory(folder);
  const TExpected<std::size_t, std::string> picked = Pick(entries, reference);
  if (!picked) return Unexpected(picked.Error());
  return entries[*picked].Journal;
}

int RunHistory(const TCliOptions& options, const TCliEnvironment& environment) {
  const TExpected<std::string, std::string> folder = HistoryFolder(environment);
  if (!folder) {
    std::fprintf(environment.Err, "veltrane-cli: %s\n", TerminalText(folder.Error()).c_str());
    return ExitStatus::Usage;
  }
  const std::vector<THistoryEntry> entries = ReadHistory(*folder);
  const TOutputFormat format =
      options.Format.value_or(environment.OutIsTerminal ? TOutputFormat::Table : TOutputFormat::Tsv);
  const TOutputTarget target = environment.OutIsTerminal ? TOutputTarget::Terminal : TOutputTarget::Pipe;
  TOutputBuffer out(environment.Out);
  if (format == TOutputFormat::Table) {
    std::vector<std::vector<std::string>> lines;
    lines.emplace_back(kCaptions.begin(), kCaptions.end());
    for (const THistoryEntry& entry : entries) {
      std::vector<std::string> cells = HistoryCells(entry);
      for (std::string& cell : cells) cell = TerminalText(cell);
      lines.push_back(std::move(cells));
    }
    std::array<std::size_t, kCaptions.size()> widths{};
    for (const auto& line : lines)
      for (std::size_t i = 0; i < line.size(); ++i) widths[i] = std::max(widths[i], DisplayWidth(line[i]));
    for (const auto& line : lines) {
      for (std::size_t i = 0; i < line.size(); ++i) {
        out.Text() += line[i];
        if (i + 1 < line.size()) out.Text().append(widths[i] - DisplayWidth(line[i]) + 2, ' ');
      }
      out.Text() += '\n';
      out.Written();
    }
  } else {
    for (const THistoryEntry& entry : entries) {
      if (format == TOutputFormat::Json) {
        out.Text() += HistoryJson(entry, target);
      } else {
        const std::vector<std::string> cells = HistoryCells(entry);
        for (std::size_t i = 0; i < cells.size(); ++i) out.Text() += (i == 0 ? "" : "\t") + TsvCell(cells[i], target);
        out.Text() += '\n';
      }
      out.Written();
    }
  }
  if (out.Flush()) return ExitStatus::Ok;
  std::fputs("veltrane-cli: cannot write the history to standard output\n", environment.Err);
  return ExitStatus::Usage;
}

}  // namespace vt
