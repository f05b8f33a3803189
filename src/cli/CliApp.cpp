#include "cli/CliApp.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <system_error>

#include "Version.h"
#include "cli/CommandLine.h"
#include "cli/FolderArgument.h"
#include "cli/FolderRefusal.h"
#include "cli/HistoryCommand.h"
#include "cli/JournalRowOffset.h"
#include "cli/OutputBuffer.h"
#include "cli/PassRunner.h"
#include "cli/ResultSaveTarget.h"
#include "cli/RowFormat.h"
#include "cli/RowTally.h"
#include "cli/SettingsPrompt.h"
#include "cli/Usage.h"
#include "engine/Expected.h"
#include "passes/JournalWhat.h"
#include "passes/SimulationClashes.h"
#include "platform/AppendFile.h"
#include "platform/FindData.h"
#include "platform/SysCalls.h"
#include "platform/SysErrorText.h"
#include "results/AutomaticResultFiles.h"
#include "results/ForeignRecords.h"
#include "results/JournalReader.h"
#include "results/JournalRowStream.h"
#include "results/PassJournals.h"
#include "results/PassRecord.h"
#include "results/ResultFile.h"
#include "results/Retention.h"
#include "results/UndoFromFile.h"

namespace vt {

namespace {

void RemoveFile(const std::string& path) {
  std::error_code ignored;
  std::filesystem::remove(path, ignored);
}

// Names and arguments in a message may hold controls or direction marks: the
// message is shown escaped as the table shows names (escaped parts stay as they are).
void Complain(std::FILE* err, const std::string& message) {
  std::fprintf(err, "veltrane-cli: %s\n", TerminalText(message).c_str());
}

int UsageError(std::FILE* err, const std::string& message) {
  Complain(err, message);
  std::fputs("Try 'veltrane-cli --help' for more information.\n", err);
  return ExitStatus::Usage;
}

// 61187 is a sentence of its own; the other texts get the "." an error box adds.
std::string FileMessage(const std::string& message) {
  if (!message.empty() && message.back() == '.') return message;
  return message + ".";
}

TOutputFormat ChooseFormat(const TCliOptions& options, const TCliEnvironment& environment) {
  return options.Format.value_or(environment.OutIsTerminal ? TOutputFormat::Table : TOutputFormat::Tsv);
}

TOutputTarget OutTarget(const TCliEnvironment& environment) {
  return environment.OutIsTerminal ? TOutputTarget::Terminal : TOutputTarget::Pipe;
}

void WriteRows(TOutputBuffer& out, TOutputFormat format, TOutputTarget target, const TResultRows& rows) {
  if (format == TOutputFormat::Table) {  // the header alone says there were no rows
    out.Write(FormatTable(rows));
    return;
  }
  for (const TResultRow& row : rows) {
    if (format == TOutputFormat::Json)
      AppendJsonRow(out.Text(), row, {}, target);
    else
      AppendTsvRow(out.Text(), row, target);
    out.Written();
  }
}

// The configuration's limits, as the options change them.
TRetention RetentionOf(const TCliOptions& options, const TCliEnvironment& environment) {
  TRetention keep = ReadRetention(environment.GetEnv);
  if (options.KeepPasses) keep.Passes = *options.KeepPasses;
  if (options.KeepMegabytes) keep.Bytes = *options.KeepMegabytes * kMegabyte;
  return keep;
}

// Where the rows of a renaming pass go, settled before the first rename. No
// target: a simulation, or --no-save.
using TRecord = TExpected<std::optional<TSaveTarget>, std::string>;

TRecord SettleRecord(const TCliOptions& options, const TCliEnvironment& environment, bool renames) {
  if (options.SaveFile) {
    TExpected<TSaveTarget, std::string> settled = SettleSaveFile(*options.SaveFile);
    if (!settled) return Unexpected(settled.Error());
    return std::optional<TSaveTarget>(std::move(settled).Value());
  }
  if (!renames || options.NoSave || options.Command == TCliCommand::Recover) return std::optional<TSaveTarget>();
  const std::optional<std::string> folder = AutomaticFolder(environment.GetEnv);
  if (!folder)
    return Unexpected("no folder for the automatic result file: HOME is not set (or give --save FILE or --no-save)");
  if (const std::optional<TUntrustedFolder> refused = RefusedRecordsFolder(*folder))
    return Unexpected(FolderRefusalText(*refused) + "; no record is kept there (or give --no-save)");
  const TExpected<std::string, std::string> path = ReserveAutomaticFile(*folder, std::time(nullptr));
  if (!path) return Unexpected(path.Error() + " (give --save FILE or --no-save)");
  return std::optional<TSaveTarget>(TSaveTarget{*path, true, true});
}

// Saves the rows where the record was settled and says what the user needs to
// know: where an automatic file went and how to undo, which rows the file cannot undo.
bool KeepRecord(const TSaveTarget& target, const TResultTable& table, const TRetention& keep, std::FILE* err) {
  if (const TExpected<void, std::string> saved = SaveRows(target, table); !saved) {
    Complain(err, FileMessage(saved.Error()));
    return false;
  }
  if (table.RowCount() == 0) {
    if (!target.Automatic) Complain(err, "no rows, so nothing was saved to " + TerminalText(target.Path));
    return true;
  }
  if (const std::size_t lost = CountRowsNotUndoableFromFile(table.Rows()); lost > 0)
    Complain(err, "warning: " + std::to_string(lost) + (lost == 1 ? " row" : " rows") + " cannot be undone from " +
                      TerminalText(target.Path) + ": a result file cannot hold so long a folder");
  if (target.Automatic) {
    Complain(err, "rows saved to " + TerminalText(target.Path) + "; undo the pass with: veltrane-cli recover " +
                      TerminalText(target.Path));
    PruneRecords(target.Path.substr(0, target.Path.rfind('/') + 1), keep);
  }
  return true;
}

// Every real pass writes its journal ahead of its renames; it is made before
// the first rename, or nothing is renamed. Nothing, or why there is no journal.
TExpected<void, std::string> StartJournal(const TCliOptions& options, const TCliEnvironment& environment,
                                          TJournalHeader header, const std::optional<TSaveTarget>& record,
                                          TPassJournalWriter& writer) {
  const std::optional<std::string> folder = AutomaticFolder(environment.GetEnv);
  if (!folder) return Unexpected("no folder for the journal of the pass: HOME is not set");
  if (const std::optional<TUntrustedFolder> refused = RefusedRecordsFolder(*folder)) {
    // The user asked for no record: a rename pass then runs without a journal, and cannot be undone.
    if (options.NoSave && header.Kind == TJournalKind::Rename) {
      Complain(environment.Err, "warning: " + FolderRefusalText(*refused) +
                                    "; this pass keeps no journal (--no-save) and cannot be undone");
      return {};
    }
    return Unexpected(FolderRefusalText(*refused) + "; no journal is kept there" +
                      (header.Kind == TJournalKind::Rename ? " (or give --no-save)" : ""));
  }
  std::optional<std::string> named;
  if (record && record->Automatic) named = record->Path;
  const TDurability durability = options.Sync ? TDurability::Disk : TDurability::Kernel;
  const TJournalStart start = StartPassJournal(*folder, std::move(header), named, durability, writer);
  if (!start.Warning.empty()) Complain(environment.Err, "warning: " + TerminalText(start.Warning));
  if (start.Refused) return Unexpected(FolderRefusalText(*start.Refused) + "; no journal is kept there");
  return start.Created;
}

void SayWhereTheRowsAre(std::FILE* err, std::size_t renamed, const std::string& journal) {
  Complain(err, std::to_string(renamed) + (renamed == 1 ? " file was" : " files were") +
                    " renamed; their rows are in " + TerminalText(journal) + "; undo them with: veltrane-cli recover " +
                    TerminalText(journal));
}

// The same for rows read back from a journal; lost: the rows a file cannot undo.
bool KeepRecord(const TSaveTarget& target, TJournalRowStream& rows, std::size_t lost, const TRetention& keep,
                std::FILE* err) {
  if (rows.RowCount() == 0) {
    RemoveIfCreated(target);
    if (!target.Automatic) Complain(err, "no rows, so nothing was saved to " + TerminalText(target.Path));
    return true;
  }
  const TLinkAtTarget links = target.Automatic ? TLinkAtTarget::Refuse : TLinkAtTarget::Follow;
  if (const TResultFileStatus status = SaveResultRows(rows, target.Path, links); !status) {
    const TResultFileFailure& failure = status.Error();
    Complain(err, FileMessage(failure.Message) +
                      (failure.SystemError != 0 ? std::string(" (") + SystemMessage(failure.SystemError) + ")" : ""));
    return false;
  }
  if (lost > 0)
    Complain(err, "warning: " + std::to_string(lost) + (lost == 1 ? " row" : " rows") + " cannot be undone from " +
                      TerminalText(target.Path) + ": a result file cannot hold so long a folder");
  if (target.Automatic) {
    Complain(err, "rows saved to " + TerminalText(target.Path) + "; undo the pass with: veltrane-cli recover " +
                      TerminalText(target.Path));
    PruneRecords(target.Path.substr(0, target.Path.rfind('/') + 1), keep);
  }
  return true;
}

std::string ClashWarning(const TClash& clash) {
  const std::string where = "'" + TerminalText(clash.NewName) + "' in " + TerminalText(clash.Folder);
  if (clash.Exists)
    return "warning: " + where + " exists already" +
           (clash.Rows > 1 ? " and is the new name of " + std::to_string(clash.Rows) + " rows" : "");
  return "warning: " + where + " is the new name of " + std::to_string(clash.Rows) + " rows";
}

// "1 rename waits for another", "12 renames wait for each other".
std::string WaitingText(std::size_t renames) {
  return renames == 1 ? "1 rename waits for another" : std::to_string(renames) + " renames wait for each other";
}

constexpr std::size_t kClashesShown = 10;
// Rows a recover that reads its file row by row undoes in one pass.
constexpr std::size_t kRecoverBatchRows = 4096;

// Rows stream out while the pass runs unless the table must be complete first.
struct TPassOutput {
  TPassOutput(const TCliOptions& options, const TCliEnvironment& environment, TRowKeeping keeping, TRowOrigin kind)
      : Keep(RetentionOf(options, environment)),
        Format(ChooseFormat(options, environment)),
        Target(OutTarget(environment)),
        Kind(kind),
        Interrupted(environment.Interrupted),
        Out(environment.Out),
        Rows(Format == TOutputFormat::Table ? TRowKeeping::Keep : keeping, Sink(), options.RecordAll) {}

  TPassRowSink::RowSink Sink() {
    return [this](const TResultRow& row, TRenameStatus status, int systemError) {
      if (Kind == TRowOrigin::Simulate && status == TRenameStatus::rsCanBeRenamed)
        Clashes.Add(std::string(row.Path()), row.OldName, row.NewName);
      if (Format != TOutputFormat::Table) WriteRow(row, status, systemError);
      // At once, not at the next look of the main thread: a pass that waited for
      // its reader must not rename on once the reader is gone or a signal came.
      if (StopPass && (OutputClosed.load(std::memory_order_relaxed) || (Interrupted && Interrupted()))) StopPass();
    };
  }

  void WriteRow(const TResultRow& row, TRenameStatus status, int systemError) {
    if (Format == TOutputFormat::Json) {
      const bool failed = status == TRenameStatus::rsError;
      // A rename carried out although the volume reported an error keeps the error as a note.
      const bool noted = !failed && systemError != 0;
      AppendJsonRow(Out.Text(), row, failed || noted ? std::string_view(Reason(systemError)) : std::string_view(),
                    Target);
    } else {
      AppendTsvRow(Out.Text(), row, Target);
    }
    Out.Written();
    if (Out.Failed()) OutputClosed.store(true, std::memory_order_relaxed);
  }

  const std::string& Reason(int systemError) {
    auto [it, added] = Reasons.try_emplace(systemError);
    if (added) it->second = FailureReason(systemError, Kind);
    return it->second;
  }

  // After the pass: save, print what is left to print, tell what happened, and
  // judge the rows.
  int Finish(const TCliEnvironment& environment, const std::optional<TSaveTarget>& record, TPassEnd end,
             TPassJournalWriter* journal = nullptr) {
    bool saved = true;
    if (journal == nullptr) {
      saved = !record || KeepRecord(*record, Rows.ResultTable(), Keep, environment.Err);
    } else {
      saved = FinishJournal(environment, record, end, *journal);
    }
    if (Format == TOutputFormat::Table) WriteRows(Out, Format, Target, Rows.ResultTable().Rows());
    const bool written = Out.Flush();
    if (!written) Complain(environment.Err, "cannot write the rows to standard output");
    std::size_t failing = 0;
    if (Kind == TRowOrigin::Simulate) failing = WarnOfClashes(environment.Err);
    if (environment.ErrIsTerminal) {
      std::string summary = Rows.Tally().Summary(Kind);
      if (failing > 0) summary += "; " + std::to_string(failing) + " cannot succeed";
      Complain(environment.Err, summary);
    }
    if (end == TPassEnd::StoppedByUser) {
      const int signal = environment.InterruptSignal ? environment.InterruptSignal() : 0;
      if (signal > 0) return ExitStatus::SignalBase + signal;
      if (!OutputClosed.load(std::memory_order_relaxed)) return ExitStatus::Interrupted;
    }
    if (!saved || !written) return ExitStatus::Usage;
    return Rows.FailedRows() > 0 ? ExitStatus::RowsFailed : ExitStatus::Ok;
  }

  // The journal is closed, then becomes the record of the pass: the rows are
  // read back from it, so none is held in memory meanwhile.
  bool FinishJournal(const TCliEnvironment& environment, const std::optional<TSaveTarget>& record, TPassEnd end,
                     TPassJournalWriter& journal) {
    const int written = journal.Error();
    journal.Finish(JournalEndOf(end != TPassEnd::Completed, written));
    if (written != 0) {
      Complain(environment.Err, "cannot write the journal " + TerminalText(journal.Path()) + ": " +
                                    SystemMessage(written) + "; the pass stopped before its next rename");
      JournalFailed = true;
    }
    if (!record) {
      // --no-save: the journal goes once the pass has ended as it should.
      if (written == 0) RemoveFile(journal.Path());
      return written == 0;
    }
    // Read back a block at a time: memory stays flat however many rows the pass had.
    TJournalRowStream rows(journal.Path());
    std::size_t lost = 0;
    const TExpected<void, int> opened =
        rows.Open([&](const TResultRow& row) { lost += CannotUndoFromFile(row) ? 1U : 0U; });
    if (!opened) {
      Complain(environment.Err,
               "cannot read the journal " + TerminalText(journal.Path()) + " back: " + SystemMessage(opened.Error()));
      SayWhereTheRowsAre(environment.Err, journal.RenamedCount(), journal.Path());
      return false;
    }
    const std::uint64_t renamed = rows.RenamedCount();
    const bool kept = KeepRecord(*record, rows, lost, Keep, environment.Err);
    // A pass without rows renamed nothing: it leaves no record at all.
    if (rows.RowCount() == 0 && written == 0) RemoveFile(journal.Path());
    if (!kept || written != 0) SayWhereTheRowsAre(environment.Err, renamed, journal.Path());
    return kept && written == 0;
  }

  std::size_t WarnOfClashes(std::FILE* err) {
    const std::vector<TClash> clashes = Chains ? Clashes.FindInOrder() : Clashes.Find();
    for (std::size_t i = 0; i < clashes.size() && i < kClashesShown; ++i) Complain(err, ClashWarning(clashes[i]));
    if (clashes.size() > kClashesShown)
      Complain(err, "warning: " + std::to_string(clashes.size() - kClashesShown) + " more new names clash");
    if (const std::size_t waiting = Chains ? 0 : Clashes.WaitingRenames(); waiting > 0)
      Complain(err, "warning: " + WaitingText(waiting) + "; with --chains they make room for each other");
    return FailingRows(clashes);
  }

  // A stop for Ctrl-C, SIGTERM and SIGHUP, and for an output no one reads any more.
  std::function<bool()> StopWhen(const TCliEnvironment& environment) {
    return [this, interrupted = environment.Interrupted] {
      return (interrupted && interrupted()) || OutputClosed.load(std::memory_order_relaxed);
    };
  }

  TRetention Keep;  // the records kept after the pass
  TOutputFormat Format;
  TOutputTarget Target;
  TRowOrigin Kind;
  std::function<bool()> Interrupted;
  std::function<void()> StopPass;  // set once the runner exists
  TOutputBuffer Out;
  TClashCheck Clashes;
  bool Chains = false;  // the pass's renames make room for each other
  std::map<int, std::string> Reasons;
  std::atomic<bool> OutputClosed{false};
  bool JournalFailed = false;
  TPassRowSink Rows;
};

TRunnerEnvironment RunnerEnvironment(const TCliEnvironment& environment, std::function<bool()> stopWhen) {
  TRunnerEnvironment runner;
  runner.Err = environment.Err;
  runner.ProgressOnErr = environment.ErrIsTerminal;
  runner.Interrupted = std::move(stopWhen);
  return runner;
}

int RunPass(const TCliOptions& options, const TCliEnvironment& environment) {
  const TExpected<std::string, std::string> folder = ResolveFolder(options.Folder);
  if (!folder) {
    Complain(environment.Err, folder.Error());
    return ExitStatus::Usage;
  }
  // The window's checks, a simulation's too: what they refuse never starts.
  const TPromptEnvironment prompt{environment.In, environment.Err, environment.InIsTerminal,
                                  options.AssumeYes ? TAssumeYes::Yes : TAssumeYes::No};
  if (!SettingsAllowPass(options.Controls, prompt)) return ExitStatus::Usage;
  // The record is settled before the first rename: nothing is renamed without it.
  const TRecord settled = SettleRecord(options, environment, options.Rename);
  if (!settled) {
    Complain(environment.Err, settled.Error() + "; nothing was renamed");
    return ExitStatus::Usage;
  }
  const std::optional<TSaveTarget>& record = *settled;
  // The rows of a real pass are in its journal: the pass holds none of them.
  TPassJournalWriter journal;
  if (options.Rename) {
    const TExpected<void, std::string> started = StartJournal(
        options, environment,
        TJournalHeader{TJournalKind::Rename, 0, *folder, JournalWhat(CaptureSettings(options.Controls), options.Masks)},
        record, journal);
    if (!started) {
      Complain(environment.Err, started.Error() + "; nothing was renamed");
      if (record) RemoveIfCreated(*record);
      return ExitStatus::Usage;
    }
  }
  TPassOutput output(options, environment, record && !options.Rename ? TRowKeeping::Keep : TRowKeeping::Drop,
                     options.Rename ? TRowOrigin::Rename : TRowOrigin::Simulate);
  TPassRunner runner(output.Rows, RunnerEnvironment(environment, output.StopWhen(environment)));
  output.StopPass = [&runner] { runner.RequestStop(); };
  // Only --no-save over a folder of records another user could change leaves a real pass without one.
  const bool journaled = options.Rename && !journal.Path().empty();
  TSearchPassOptions passOptions;
  if (journaled) passOptions.Journal = &journal;
  passOptions.IncludeSubDirs = options.IncludeSubDirs;
  passOptions.Folder = *folder;
  passOptions.Masks = options.Masks;
  passOptions.Order = options.Order;
  passOptions.Direction = options.Direction;
  passOptions.RestartPerFolder = options.RestartPerFolder;
  passOptions.Chains = options.Chains;
  output.Chains = options.Chains;
  // The record may lie in the folder renamed: the pass leaves it as it is.
  if (TEntryInfo saved; record && LookAtPath(record->Path.c_str(), saved) == 0)
    passOptions.Untouched.push_back(saved.Id);
  if (TEntryInfo own; journaled && LookAtPath(journal.Path().c_str(), own) == 0)
    passOptions.Untouched.push_back(own.Id);
  // Counted on the worker, read once it has ended.
  std::size_t filesSelected = 0;
  passOptions.OnCollected = [&filesSelected](TSearchThread&, const TFindData& entry) {
    if ((entry.dwFileAttributes & FileAttr::Directory) == 0) ++filesSelected;
  };
  // A folder that cannot be read is no empty folder: said, and the exit status is 1.
  bool unreadable = false;
  runner.SetUnreadableSink([&](const std::string& path, int error) {
    // A link, a file or another folder under the name listed: the walk did not go in.
    if (error == ELOOP || error == ENOTDIR || error == ESTALE)
      Complain(environment.Err, "skipped " + TerminalText(path) + ": it changed while the folder was walked");
    else
      Complain(environment.Err, "cannot read " + TerminalText(path) + ": " + SystemMessage(error));
    unreadable = true;
  });
  const TPassEnd end = runner.RunSearch(passOptions, CaptureSettings(options.Controls), !options.Rename);
  if (end == TPassEnd::Completed && filesSelected == 0 && !unreadable)
    Complain(environment.Err, "no file matched " + TerminalText(options.Masks) + " in " + TerminalText(*folder));
  const int status = output.Finish(environment, record, end, journaled ? &journal : nullptr);
  return status == ExitStatus::Ok && unreadable ? ExitStatus::RowsFailed : status;
}

// What recover undoes: a result file, or the rows of a journal.
struct TRecoverSource {
  std::string File;
  bool IsJournal = false;
  TJournal Journal;
};

bool FileIsJournal(const std::string& path) {
  std::string start;
  return ReadFileStart(path, kJournalSignature.size(), start) == 0 && IsJournal(start);
}

// Why recover --last did not take a newer journal, and what is left of it.
void SayPassedOver(const TCliEnvironment& environment, const TPassedOver& over) {
  if (over.Kind == TJournalKind::Recover) {
    Complain(environment.Err, "passing over " + TerminalText(over.Journal) + ", a recover of " +
                                  UtcText(over.StartedUtcNs) + " that did not end; veltrane-cli recover " +
                                  TerminalText(over.Journal) + " renames again what it renamed back");
    return;
  }
  Complain(environment.Err, "passing over " + TerminalText(over.Journal) + " (a pass of " + UtcText(over.StartedUtcNs) +
                                "): undone at " + UtcText(over.UndoneUtcNs) + " but for " +
                                std::to_string(over.RowsLeft) + (over.RowsLeft == 1 ? " row:" : " rows:"));
  for (const TPassedOver::TRow& row : over.Left) {
    std::string why(StatusText(row.Status));
    if (row.Error != 0) why += " (" + SystemMessage(row.Error) + ")";
    Complain(environment.Err, "  " + TerminalText(row.Path) + ": " + why);
  }
  if (over.RowsLeft > over.Left.size())
    Complain(environment.Err, "  and " + std::to_string(over.RowsLeft - over.Left.size()) +
                                  " more; veltrane-cli show " + TerminalText(over.Journal) + " lists every row");
}

// The newest record whose renames stand, or a journal named on the command line.
std::optional<TRecoverSource> FindRecoverSource(const TCliOptions& options, const TCliEnvironment& environment) {
  TRecoverSource source;
  if (!options.Last) {
    source.File = options.ResultFile;
    source.IsJournal = FileIsJournal(source.File);
    if (source.IsJournal) {
      TExpected<TJournal, int> loaded = LoadJournal(source.File);
      if (!loaded) {
        Complain(environment.Err, "Cannot open file " + TerminalText(source.File) + ".");
        return std::nullopt;
      }
      source.Journal = std::move(loaded).Value();
      SettleFromDisk(source.Journal);
    }
    return source;
  }
  const std::optional<std::string> folder = AutomaticFolder(environment.GetEnv);
  if (!folder) {
    Complain(environment.Err, "no folder of automatic result files: HOME is not set");
    return std::nullopt;
  }
  if (const std::optional<TUntrustedFolder> refused = RefusedRecordsFolder(*folder)) {
    Complain(environment.Err, FolderRefusalText(*refused) + "; no record there is read");
    return std::nullopt;
  }
  for (const std::string& foreign : ForeignRecords(*folder))
    Complain(environment.Err, "warning: passed over " + TerminalText(foreign) +
                                  ": it is a link or another user's file, never read as a record");
  std::vector<TPassedOver> passedOver;
  const std::optional<TRecordFile> last = LastRecord(*folder, source.Journal, &passedOver);
  for (const TPassedOver& over : passedOver) SayPassedOver(environment, over);
  if (!last) {
    Complain(environment.Err, "no automatic result file with rows in " + TerminalText(*folder));
    return std::nullopt;
  }
  source.IsJournal = !last->Journal.empty();
  source.File = source.IsJournal ? last->Journal : last->Result;
  std::string what = "undoing " + TerminalText(source.File);
  if (source.IsJournal) {
    what += " (a pass of " + UtcText(source.Journal.Header.StartedUtcNs) + " in " +
            TerminalText(source.Journal.Header.Folder) + ", " + std::to_string(RenamedRows(source.Journal)) +
            " renamed" + (source.Journal.End ? "" : ", which did not end") + ")";
  }
  Complain(environment.Err, what);
  return source;
}

int RecoverFrom(std::optional<TRecoverSource> source, const TCliOptions& options, const TCliEnvironment& environment) {
  if (!source) return ExitStatus::Usage;
  const std::string& file = source->File;
  const TRecord settled = SettleRecord(options, environment, true);
  if (!settled) {
    Complain(environment.Err, settled.Error() + "; nothing was renamed");
    return ExitStatus::Usage;
  }
  const std::optional<TSaveTarget>& record = *settled;
  TPassOutput output(options, environment, record ? TRowKeeping::Keep : TRowKeeping::Drop, TRowOrigin::Recover);
  // A file that cannot be read renames nothing: it is read whole, or, where
  // the rows are neither saved nor shown as a table, checked first and then
  // undone a batch of rows at a time, so that memory does not grow with the file.
  bool whole = source->IsJournal || record || output.Format == TOutputFormat::Table;
  TResultFileStatus status;
  if (source->IsJournal) {
    JournalToTable(source->Journal, output.Rows.ResultTable());
    source->Journal = TJournal{};
  } else {
    TUndoChains chains;
    status =
        whole ? LoadResultFile(file, output.Rows.ResultTable()) : StreamResultFile(file, [&](const TResultRow& row) {
          chains.Add(row);
          return true;
        });
    // Rows that go back only after later ones are undone in one pass.
    if (status && !whole && chains.Found()) {
      whole = true;
      status = LoadResultFile(file, output.Rows.ResultTable());
    }
  }
  if (!status) {
    Complain(environment.Err, FileMessage(status.Error().Message));
    if (record) RemoveIfCreated(*record);
    return ExitStatus::Usage;
  }
  TPassJournalWriter journal;
  if (const TExpected<void, std::string> started = StartJournal(
          options, environment, TJournalHeader{TJournalKind::Recover, 0, file, "recover"}, std::nullopt, journal);
      !started) {
    Complain(environment.Err, started.Error() + "; nothing was renamed");
    if (record) RemoveIfCreated(*record);
    return ExitStatus::Usage;
  }
  TPassRunner runner(output.Rows, RunnerEnvironment(environment, output.StopWhen(environment)));
  if (whole) {
    runner.RunRecover(&journal);
  } else {
    // Each batch is a recover of its own over the rows so far; the journal numbers the rows of them all.
    TJournalRowOffset numbered(journal);
    std::vector<TResultRow> batch;
    const auto undoBatch = [&] {
      if (batch.empty() || journal.Error() != 0) return;
      const std::size_t count = batch.size();
      output.Rows.ResultTable().AppendRows(std::move(batch));
      batch.clear();
      runner.RunRecover(&numbered);
      numbered.Advance(count);
    };
    status = StreamResultFile(file, [&](const TResultRow& row) {
      batch.push_back(row);
      if (batch.size() >= kRecoverBatchRows) undoBatch();
      return true;
    });
    undoBatch();
  }
  const int written = journal.Error();
  journal.Finish(written == 0 ? TJournalEnd::Completed : TJournalEnd::Failed);
  if (written != 0) {
    Complain(environment.Err, "cannot write the journal " + TerminalText(journal.Path()) + ": " +
                                  SystemMessage(written) + "; the recover stopped before its next rename");
    const std::uint64_t back = journal.RenamedCount();
    if (RemoveEmptyJournal(journal.Path())) {
      Complain(environment.Err, "nothing was renamed back");
    } else {
      Complain(environment.Err, std::to_string(back) + (back == 1 ? " file was" : " files were") +
                                    " renamed back, their rows are in " + TerminalText(journal.Path()) +
                                    "; once the cause is mended, recover " + TerminalText(file) +
                                    " again undoes the rest");
    }
  } else if (status) {
    // Undone: the recover's own journal has done its work, and --last passes over the record.
    RemoveFile(journal.Path());
    // An automatic record made from a journal is undone with it: the journal says so.
    const std::string undone = source->IsJournal ? file : JournalPathFor(file);
    // Undone, or as far as it could be: --last passes over it, and says what is left.
    if (source->IsJournal || (file != undone && FileIsJournal(undone))) {
      if (const int error = MarkUndone(undone, journal.RefusedCount(), journal.LeftRows()))
        Complain(environment.Err, "cannot mark " + TerminalText(undone) + " as undone: " + SystemMessage(error) +
                                      "; recover --last may take it again");
    }
  }
  const int finished = output.Finish(environment, record, TPassEnd::Completed);
  if (!status) {
    Complain(environment.Err, FileMessage(status.Error().Message) + " (it changed while it was undone)");
    return ExitStatus::Usage;
  }
  return written != 0 && finished == ExitStatus::Ok ? ExitStatus::Usage : finished;
}

// A pass of the history, and with --with-later the later passes that renamed
// its files again, newest first: each a recover of its own, with its own
// journal, so that one cut off leaves the rest to recover --last.
int RunHistoryRecover(const TCliOptions& options, const TCliEnvironment& environment) {
  const TExpected<std::string, std::string> folder = HistoryFolder(environment);
  if (!folder) {
    Complain(environment.Err, folder.Error());
    return ExitStatus::Usage;
  }
  const TExpected<THistoryRecover, std::string> picked =
      PickHistoryRecover(*folder, options.ResultFile, options.WithLater);
  if (!picked) {
    Complain(environment.Err, picked.Error());
    return ExitStatus::Usage;
  }
  const std::vector<THistoryEntry>& passes = picked->Passes;
  if (passes.size() > 1 && options.SaveFile)
    return UsageError(environment.Err, "--save keeps the rows of one recover; --with-later undoes " +
                                           std::to_string(passes.size()) + " passes");
  int worst = ExitStatus::Ok;
  for (const THistoryEntry& pass : passes) {
    Complain(environment.Err, "undoing " + pass.Id + " (a pass of " + LocalTimeText(pass.StartedUtcNs) + " in " +
                                  TerminalText(pass.Folder) + ": " + TerminalText(pass.What) + ")");
    TRecoverSource source;
    source.File = pass.Journal;
    source.IsJournal = true;
    TExpected<TJournal, int> loaded = LoadJournal(pass.Journal);
    if (!loaded) {
      Complain(environment.Err, "Cannot open file " + TerminalText(pass.Journal) + ".");
      return ExitStatus::Usage;
    }
    source.Journal = std::move(loaded).Value();
    SettleFromDisk(source.Journal);
    const int status = RecoverFrom(std::move(source), options, environment);
    // An earlier pass is undone only once the later ones are: a recover that
    // could not run, or was stopped, ends the line.
    if (status != ExitStatus::Ok && status != ExitStatus::RowsFailed) return status;
    worst = std::max(worst, status);
  }
  return worst;
}

int RunRecover(const TCliOptions& options, const TCliEnvironment& environment) {
  if (!options.Last && IsHistoryReference(options.ResultFile)) return RunHistoryRecover(options, environment);
  if (options.WithLater)
    return UsageError(environment.Err, "--with-later needs the ID of a kept pass (veltrane-cli history)");
  return RecoverFrom(FindRecoverSource(options, environment), options, environment);
}

// Read twice, a row at a time, so that memory does not grow with the file:
// first to see that the whole file is sound (a broken file prints nothing) and
// to measure the table, then to print.
int RunShowFile(const TCliOptions& options, const TCliEnvironment& environment);

int RunShow(const TCliOptions& options, const TCliEnvironment& environment) {
  if (!IsHistoryReference(options.ResultFile)) return RunShowFile(options, environment);
  TExpected<std::string, std::string> journal = HistoryFolder(environment);
  if (journal) journal = PickHistoryJournal(*journal, options.ResultFile);
  if (!journal) {
    Complain(environment.Err, journal.Error());
    return ExitStatus::Usage;
  }
  TCliOptions file = options;
  file.ResultFile = *journal;
  return RunShowFile(file, environment);
}

int RunShowFile(const TCliOptions& options, const TCliEnvironment& environment) {
  const TOutputFormat format = ChooseFormat(options, environment);
  const TOutputTarget target = OutTarget(environment);
  TResultTable table;
  TTableLayout layout;
  TOutputBuffer out(environment.Out);
  const auto print = [&](const TResultRow& row) {
    if (format == TOutputFormat::Table)
      layout.AppendRow(out.Text(), row);
    else if (format == TOutputFormat::Json)
      AppendJsonRow(out.Text(), row, {}, target);
    else
      AppendTsvRow(out.Text(), row, target);
    out.Written();
    return !out.Failed();
  };
  TResultFileStatus status;
  if (FileIsJournal(options.ResultFile)) {
    // A journal is settled against the disk first, so it is read whole.
    if (TExpected<TJournal, int> loaded = LoadJournal(options.ResultFile)) {
      TJournal& journal = *loaded;
      SettleFromDisk(journal);
      JournalToTable(journal, table);
      if (format == TOutputFormat::Table) {
        for (const TResultRow& row : table.Rows()) layout.Measure(row);
        layout.AppendHeader(out.Text());
      }
      for (const TResultRow& row : table.Rows())
        if (!print(row)) break;
    } else {
      status = Unexpected(TResultFileFailure{TResultFileError::CannotOpen, "Cannot open file " + options.ResultFile});
    }
  } else {
    status = StreamResultFile(options.ResultFile, [&](const TResultRow& row) {
      if (format == TOutputFormat::Table) layout.Measure(row);
      return true;
    });
    if (status) {
      if (format == TOutputFormat::Table) layout.AppendHeader(out.Text());
      status = StreamResultFile(options.ResultFile, print);
    }
  }
  if (!status) {
    Complain(environment.Err, FileMessage(status.Error().Message));
    return ExitStatus::Usage;
  }
  if (out.Flush()) return ExitStatus::Ok;
  Complain(environment.Err, "cannot write the rows to standard output");
  return ExitStatus::Usage;
}

int PrintHelpTopic(const std::string& name, const TCliEnvironment& environment) {
  std::string text;
  if (name.empty()) {
    text = HelpTopicList();
  } else if (const THelpTopic* topic = FindHelpTopic(name)) {
    text = HelpTopicText(*topic);
  } else {
    std::string names;
    for (const THelpTopic& known : HelpTopics()) names += (names.empty() ? "" : ", ") + std::string(known.Name);
    return UsageError(environment.Err, "no help topic '" + name + "' (topics: " + names + ")");
  }
  std::fwrite(text.data(), 1, text.size(), environment.Out);
  return std::fflush(environment.Out) == 0 ? ExitStatus::Ok : ExitStatus::Usage;
}

}  // namespace

int RunCli(const std::vector<std::string>& args, const TCliEnvironment& environment) {
  const TParseResult parsed = ParseCommandLine(args);
  if (!parsed) return UsageError(environment.Err, parsed.Error());
  const TCliOptions& options = *parsed;
  switch (options.Command) {
    case TCliCommand::Help:
      std::fwrite(UsageText().data(), 1, UsageText().size(), environment.Out);
      return std::fflush(environment.Out) == 0 ? ExitStatus::Ok : ExitStatus::Usage;
    case TCliCommand::Topic: return PrintHelpTopic(options.HelpTopic, environment);
    case TCliCommand::Version:
      std::fprintf(environment.Out, "veltrane-cli %s\n", kVersion);
      return std::fflush(environment.Out) == 0 ? ExitStatus::Ok : ExitStatus::Usage;
    case TCliCommand::Show: return RunShow(options, environment);
    case TCliCommand::Recover: return RunRecover(options, environment);
    case TCliCommand::History: return RunHistory(options, environment);
    case TCliCommand::Pass: break;
  }
  return RunPass(options, environment);
}

}  // namespace vt
