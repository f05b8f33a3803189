#include "cli/CliApp.h"

#include <atomic>
#include <ctime>
#include <map>
#include <cerrno>
#include <cstring>
#include <optional>
#include <string>

#include "cli/AutomaticResultFiles.h"
#include "cli/CliWindow.h"
#include "cli/CommandLine.h"
#include "cli/FolderArgument.h"
#include "cli/OutputBuffer.h"
#include "cli/PassRunner.h"
#include "cli/ResultSaveTarget.h"
#include "cli/RowFormat.h"
#include "cli/SettingsPrompt.h"
#include "cli/RowTally.h"
#include "passes/SimulationClashes.h"
#include "cli/Usage.h"
#include "platform/FindData.h"
#include "platform/SysCalls.h"
#include "results/ResultFile.h"
#include "results/UndoFromFile.h"
#include "Version.h"

namespace vt {

namespace {

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
std::string FileMessage(const TResultFileStatus& status) {
  if (!status.Message.empty() && status.Message.back() == '.') return status.Message;
  return status.Message + ".";
}

TOutputFormat ChooseFormat(const TCliOptions& options, const TCliEnvironment& environment) {
  return options.Format.value_or(environment.OutIsTerminal ? TOutputFormat::Table : TOutputFormat::Tsv);
}

TOutputTarget OutTarget(const TCliEnvironment& environment) {
  return environment.OutIsTerminal ? TOutputTarget::Terminal : TOutputTarget::Pipe;
}

void WriteRows(TOutputBuffer& out, TOutputFormat format, TOutputTarget target,
               const TResultRows& rows) {
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

// Where the rows of a renaming pass go, settled before the first rename. No
// target: a simulation, or --no-save.
struct TRecord {
  std::optional<TSaveTarget> Target;
  std::string Error;
};

TRecord SettleRecord(const TCliOptions& options, const TCliEnvironment& environment, bool renames) {
  if (options.SaveFile) {
    TSettledSave settled = SettleSaveFile(*options.SaveFile);
    return {std::move(settled.Target), std::move(settled.Error)};
  }
  if (!renames || options.NoSave || options.Command == TCliCommand::Recover) return {};
  const std::optional<std::string> folder = AutomaticFolder(environment.GetEnv);
  if (!folder) return {std::nullopt, "no folder for the automatic result file: HOME is not set (or give --save FILE or --no-save)"};
  std::string error;
  const std::optional<std::string> path = ReserveAutomaticFile(*folder, std::time(nullptr), error);
  if (!path) return {std::nullopt, error + " (give --save FILE or --no-save)"};
  return {TSaveTarget{*path, true, true}, {}};
}

// Saves the rows where the record was settled and says what the user needs to
// know: where an automatic file went and how to undo, which rows the file cannot undo.
bool KeepRecord(const TSaveTarget& target, const TResultTable& table, std::FILE* err) {
  if (const std::string error = SaveRows(target, table); !error.empty()) {
    Complain(err, FileMessage(TResultFileStatus{TResultFileError::WriteError, error}));
    return false;
  }
  if (table.RowCount() == 0) {
    if (!target.Automatic) Complain(err, "no rows, so nothing was saved to " + TerminalText(target.Path));
    return true;
  }
  if (const std::size_t lost = CountRowsNotUndoableFromFile(table.Rows()); lost > 0)
    Complain(err, "warning: " + std::to_string(lost) + (lost == 1 ? " row" : " rows") +
                      " cannot be undone from " + TerminalText(target.Path) +
                      ": a result file cannot hold so long a folder");
  if (target.Automatic) {
    Complain(err, "rows saved to " + TerminalText(target.Path) + "; undo the pass with: veltrane-cli recover " +
                      TerminalText(target.Path));
    PruneAutomaticFiles(target.Path.substr(0, target.Path.rfind('/') + 1));
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

constexpr std::size_t kClashesShown = 10;
// Rows a recover that reads its file row by row undoes in one pass.
constexpr std::size_t kRecoverBatchRows = 4096;

// Rows stream out while the pass runs unless the table must be complete first.
struct TPassOutput {
  TPassOutput(const TCliOptions& options, const TCliEnvironment& environment, TRowKeeping keeping,
              TPassKind kind)
      : Format(ChooseFormat(options, environment)),
        Target(OutTarget(environment)),
        Kind(kind),
        Interrupted(environment.Interrupted),
        Out(environment.Out),
        Window(Format == TOutputFormat::Table ? TRowKeeping::Keep : keeping, Sink(), options.RecordAll) {}

  TCliWindow::RowSink Sink() {
    return [this](const TResultRow& row, TRenameStatus status, int systemError) {
      if (Kind == TPassKind::Simulate && status == TRenameStatus::rsCanBeRenamed)
        Clashes.Add(row.SubItem(1), row.Caption, row.SubItem(0));
      if (Format != TOutputFormat::Table) WriteRow(row, status, systemError);
      // At once, not at the next look of the main thread: a pass that waited for
      // its reader must not rename on once the reader is gone or a signal came.
      if (StopPass && (OutputClosed.load(std::memory_order_relaxed) || (Interrupted && Interrupted())))
        StopPass();
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
  int Finish(const TCliEnvironment& environment, const std::optional<TSaveTarget>& record, TPassEnd end) {
    const TResultTable& table = Window.ResultTable();
    const bool saved = !record || KeepRecord(*record, table, environment.Err);
    if (Format == TOutputFormat::Table) WriteRows(Out, Format, Target, table.Rows());
    const bool written = Out.Flush();
    if (!written) Complain(environment.Err, "cannot write the rows to standard output");
    std::size_t failing = 0;
    if (Kind == TPassKind::Simulate) failing = WarnOfClashes(environment.Err);
    if (environment.ErrIsTerminal) {
      std::string summary = Window.Tally().Summary(Kind);
      if (failing > 0) summary += "; " + std::to_string(failing) + " cannot succeed";
      Complain(environment.Err, summary);
    }
    if (end == TPassEnd::StoppedByUser) {
      const int signal = environment.InterruptSignal ? environment.InterruptSignal() : 0;
      if (signal > 0) return ExitStatus::SignalBase + signal;
      if (!OutputClosed.load(std::memory_order_relaxed)) return ExitStatus::Interrupted;
    }
    if (!saved || !written) return ExitStatus::Usage;
    return Window.FailedRows() > 0 ? ExitStatus::RowsFailed : ExitStatus::Ok;
  }

  std::size_t WarnOfClashes(std::FILE* err) {
    const std::vector<TClash> clashes = Clashes.Find();
    for (std::size_t i = 0; i < clashes.size() && i < kClashesShown; ++i) Complain(err, ClashWarning(clashes[i]));
    if (clashes.size() > kClashesShown)
      Complain(err, "warning: " + std::to_string(clashes.size() - kClashesShown) + " more new names clash");
    return FailingRows(clashes);
  }

  // A stop for Ctrl-C, SIGTERM and SIGHUP, and for an output no one reads any more.
  std::function<bool()> StopWhen(const TCliEnvironment& environment) {
    return [this, interrupted = environment.Interrupted] {
      return (interrupted && interrupted()) || OutputClosed.load(std::memory_order_relaxed);
    };
  }

  TOutputFormat Format;
  TOutputTarget Target;
  TPassKind Kind;
  std::function<bool()> Interrupted;
  std::function<void()> StopPass;  // set once the runner exists
  TOutputBuffer Out;
  TClashCheck Clashes;
  std::map<int, std::string> Reasons;
  std::atomic<bool> OutputClosed{false};
  TCliWindow Window;
};

TRunnerEnvironment RunnerEnvironment(const TCliEnvironment& environment, std::function<bool()> stopWhen) {
  TRunnerEnvironment runner;
  runner.Err = environment.Err;
  runner.ProgressOnErr = environment.ErrIsTerminal;
  runner.Interrupted = std::move(stopWhen);
  return runner;
}

int RunPass(const TCliOptions& options, const TCliEnvironment& environment) {
  const TFolderResult folder = ResolveFolder(options.Folder);
  if (!folder.Folder) {
    Complain(environment.Err, folder.Error);
    return ExitStatus::Usage;
  }
  // The window's checks, a simulation's too: what they refuse never starts.
  const TPromptEnvironment prompt{environment.In, environment.Err, environment.InIsTerminal,
                                  options.AssumeYes ? TAssumeYes::Yes : TAssumeYes::No};
  if (!SettingsAllowPass(options.Controls, prompt)) return ExitStatus::Usage;
  // The record is settled before the first rename: nothing is renamed without it.
  const TRecord record = SettleRecord(options, environment, options.Rename);
  if (!record.Error.empty()) {
    Complain(environment.Err, record.Error + "; nothing was renamed");
    return ExitStatus::Usage;
  }
  TPassOutput output(options, environment, record.Target ? TRowKeeping::Keep : TRowKeeping::Drop,
                     options.Rename ? TPassKind::Rename : TPassKind::Simulate);
  TPassRunner runner(output.Window, RunnerEnvironment(environment, output.StopWhen(environment)));
  output.StopPass = [&runner] { runner.RequestStop(); };
  TSearchPassOptions passOptions;
  passOptions.IncludeSubDirs = options.IncludeSubDirs;
  passOptions.Folder = *folder.Folder;
  passOptions.Masks = options.Masks;
  passOptions.Order = options.Order;
  // The record may lie in the folder renamed: the pass leaves it as it is.
  if (TEntryInfo saved; record.Target && LookAtPath(record.Target->Path.c_str(), saved) == 0)
    passOptions.Untouched.push_back(saved.id);
  // Counted on the worker, read once it has ended.
  std::size_t filesSelected = 0;
  passOptions.OnCollected = [&filesSelected](TSearchThread&, const TFindData& entry) {
    if ((entry.dwFileAttributes & FileAttr::Directory) == 0) ++filesSelected;
  };
  // A folder that cannot be read is no empty folder: said, and the exit status is 1.
  bool unreadable = false;
  output.Window.SetUnreadableSink([&](const std::string& path, int error) {
    // A link, a file or another folder under the name listed: the walk did not go in.
    if (error == ELOOP || error == ENOTDIR || error == ESTALE)
      Complain(environment.Err, "skipped " + TerminalText(path) + ": it changed while the folder was walked");
    else
      Complain(environment.Err, "cannot read " + TerminalText(path) + ": " + std::strerror(error));
    unreadable = true;
  });
  const TPassEnd end = runner.RunSearch(passOptions, CaptureSettings(options.Controls), !options.Rename);
  if (end == TPassEnd::Completed && filesSelected == 0 && !unreadable)
    Complain(environment.Err, "no file matched " + TerminalText(options.Masks) + " in " + TerminalText(*folder.Folder));
  const int status = output.Finish(environment, record.Target, end);
  return status == ExitStatus::Ok && unreadable ? ExitStatus::RowsFailed : status;
}

// The newest automatic result file that holds rows.
std::optional<std::string> LastAutomaticFile(const TCliEnvironment& environment, std::string& error) {
  const std::optional<std::string> folder = AutomaticFolder(environment.GetEnv);
  if (!folder) {
    error = "no folder of automatic result files: HOME is not set";
    return std::nullopt;
  }
  const std::vector<std::string> files = AutomaticFiles(*folder);
  for (auto it = files.rbegin(); it != files.rend(); ++it) {
    TResultTable table;
    if (LoadResultFile(*it, table).Ok() && table.RowCount() > 0) return *it;
  }
  error = "no automatic result file with rows in " + TerminalText(*folder);
  return std::nullopt;
}

int RunRecover(const TCliOptions& options, const TCliEnvironment& environment) {
  std::string file = options.ResultFile;
  if (options.Last) {
    std::string error;
    const std::optional<std::string> last = LastAutomaticFile(environment, error);
    if (!last) {
      Complain(environment.Err, error);
      return ExitStatus::Usage;
    }
    file = *last;
    Complain(environment.Err, "undoing " + TerminalText(file));
  }
  const TRecord record = SettleRecord(options, environment, true);
  if (!record.Error.empty()) {
    Complain(environment.Err, record.Error + "; nothing was renamed");
    return ExitStatus::Usage;
  }
  TPassOutput output(options, environment, record.Target ? TRowKeeping::Keep : TRowKeeping::Drop,
                     TPassKind::Recover);
  // A file that cannot be read renames nothing: it is read whole, or, where
  // the rows are neither saved nor shown as a table, checked first and then
  // undone a batch of rows at a time, so that memory does not grow with the file.
  const bool whole = record.Target || output.Format == TOutputFormat::Table;
  TResultTable scratch;
  TResultFileStatus status = whole ? LoadResultFile(file, output.Window.ResultTable())
                                   : StreamResultFile(file, scratch, [](const TResultRow&) { return true; });
  if (!status.Ok()) {
    Complain(environment.Err, FileMessage(status));
    if (record.Target) SaveRows(*record.Target, TResultTable());  // removes a file made for the rows
    return ExitStatus::Usage;
  }
  TPassRunner runner(output.Window, RunnerEnvironment(environment, output.StopWhen(environment)));
  if (whole) {
    runner.RunRecover();
    return output.Finish(environment, record.Target, TPassEnd::Completed);
  }
  std::vector<TResultRow> batch;
  const auto undoBatch = [&] {
    if (batch.empty()) return;
    output.Window.ResultTable().AppendRows(std::move(batch));
    batch.clear();
    runner.RunRecover();
  };
  status = StreamResultFile(file, scratch, [&](const TResultRow& row) {
    batch.push_back(row);
    if (batch.size() >= kRecoverBatchRows) undoBatch();
    return true;
  });
  undoBatch();
  const int finished = output.Finish(environment, record.Target, TPassEnd::Completed);
  if (status.Ok()) return finished;
  Complain(environment.Err, FileMessage(status) + " (it changed while it was undone)");
  return ExitStatus::Usage;
}

// Read twice, a row at a time, so that memory does not grow with the file:
// first to see that the whole file is sound (a broken file prints nothing) and
// to measure the table, then to print.
int RunShow(const TCliOptions& options, const TCliEnvironment& environment) {
  const TOutputFormat format = ChooseFormat(options, environment);
  const TOutputTarget target = OutTarget(environment);
  TResultTable table;
  TTableLayout layout;
  TResultFileStatus status = StreamResultFile(options.ResultFile, table, [&](const TResultRow& row) {
    if (format == TOutputFormat::Table) layout.Measure(row);
    return true;
  });
  TOutputBuffer out(environment.Out);
  if (status.Ok()) {
    if (format == TOutputFormat::Table) layout.AppendHeader(out.Text());
    status = StreamResultFile(options.ResultFile, table, [&](const TResultRow& row) {
      if (format == TOutputFormat::Table)
        layout.AppendRow(out.Text(), row);
      else if (format == TOutputFormat::Json)
        AppendJsonRow(out.Text(), row, {}, target);
      else
        AppendTsvRow(out.Text(), row, target);
      out.Written();
      return !out.Failed();
    });
  }
  if (!status.Ok()) {
    Complain(environment.Err, FileMessage(status));
    return ExitStatus::Usage;
  }
  if (out.Flush()) return ExitStatus::Ok;
  Complain(environment.Err, "cannot write the rows to standard output");
  return ExitStatus::Usage;
}

}  // namespace

int RunCli(const std::vector<std::string>& args, const TCliEnvironment& environment) {
  const TParseResult parsed = ParseCommandLine(args);
  if (!parsed.Options) return UsageError(environment.Err, parsed.Error);
  const TCliOptions& options = *parsed.Options;
  switch (options.Command) {
    case TCliCommand::Help:
      std::fwrite(UsageText().data(), 1, UsageText().size(), environment.Out);
      return std::fflush(environment.Out) == 0 ? ExitStatus::Ok : ExitStatus::Usage;
    case TCliCommand::Version:
      std::fprintf(environment.Out, "veltrane-cli %s\n", kVersion);
      return std::fflush(environment.Out) == 0 ? ExitStatus::Ok : ExitStatus::Usage;
    case TCliCommand::Show:
      return RunShow(options, environment);
    case TCliCommand::Recover:
      return RunRecover(options, environment);
    case TCliCommand::Pass:
      break;
  }
  return RunPass(options, environment);
}

}  // namespace vt
