#include "cli/PassOutput.h"

#include "cli/Complaint.h"
#include "cli/RecordKeeping.h"

namespace vt {

namespace {

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

}  // namespace

TOutputFormat ChooseFormat(const TCliOptions& options, const TCliEnvironment& environment) {
  return options.Format.value_or(environment.OutIsTerminal ? TOutputFormat::Table : TOutputFormat::Tsv);
}

TOutputTarget OutTarget(const TCliEnvironment& environment) {
  return environment.OutIsTerminal ? TOutputTarget::Terminal : TOutputTarget::Pipe;
}

TRunnerEnvironment RunnerEnvironment(const TCliEnvironment& environment, std::function<bool()> stopWhen) {
  TRunnerEnvironment runner;
  runner.Err = environment.Err;
  runner.ProgressOnErr = environment.ErrIsTerminal;
  runner.Interrupted = std::move(stopWhen);
  return runner;
}

TPassOutput::TPassOutput(const TCliOptions& options, const TCliEnvironment& environment, TRowKeeping keeping,
                         TRowOrigin kind)
    : Keep(RetentionOf(options, environment)),
      Format(ChooseFormat(options, environment)),
      Target(OutTarget(environment)),
      Kind(kind),
      Interrupted(environment.Interrupted),
      Out(environment.Out),
      Rows(Format == TOutputFormat::Table ? TRowKeeping::Keep : keeping, Sink(), options.RecordAll) {}

TPassRowSink::RowSink TPassOutput::Sink() {
  return [this](const TResultRow& row, TRenameStatus status, int systemError) {
    if (Kind == TRowOrigin::Simulate && status == TRenameStatus::rsCanBeRenamed)
      Clashes.Add(row.Path(), row.OldName, row.NewName);
    if (Format != TOutputFormat::Table) WriteRow(row, status, systemError);
    // At once, not at the next look of the main thread: a pass that waited for
    // its reader must not rename on once the reader is gone or a signal came.
    if (StopPass && (OutputClosed.load(std::memory_order_relaxed) || (Interrupted && Interrupted()))) StopPass();
  };
}

void TPassOutput::WriteRow(const TResultRow& row, TRenameStatus status, int systemError) {
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

const std::string& TPassOutput::Reason(int systemError) {
  auto [it, added] = Reasons.try_emplace(systemError);
  if (added) it->second = FailureReason(systemError, Kind);
  return it->second;
}

int TPassOutput::Finish(const TCliEnvironment& environment, const std::optional<TSaveTarget>& record, TPassEnd end,
                        TPassJournalWriter* journal) {
  bool saved = true;
  if (journal == nullptr) {
    saved = !record || KeepTableRecord(*record, Rows.ResultTable(), environment.Err);
  } else {
    const TPassStopped stopped = end != TPassEnd::Completed ? TPassStopped::Yes : TPassStopped::No;
    saved = FinishRenameJournal(environment.Err, record, stopped, *journal, Keep);
  }
  if (Format == TOutputFormat::Table) WriteRows(Out, Format, Target, Rows.ResultTable().Rows());
  const bool written = Out.Flush();
  if (!written) Complain(environment.Err, "cannot write the rows to standard output");
  return Judge(environment, end, saved, written);
}

int TPassOutput::Judge(const TCliEnvironment& environment, TPassEnd end, bool saved, bool written) {
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

std::size_t TPassOutput::WarnOfClashes(std::FILE* err) {
  const std::vector<TClash> clashes = Chains ? Clashes.FindInOrder() : Clashes.Find();
  for (std::size_t i = 0; i < clashes.size() && i < kClashesShown; ++i) Complain(err, ClashWarning(clashes[i]));
  if (clashes.size() > kClashesShown)
    Complain(err, "warning: " + std::to_string(clashes.size() - kClashesShown) + " more new names clash");
  if (const std::size_t waiting = Chains ? 0 : Clashes.WaitingRenames(); waiting > 0)
    Complain(err, "warning: " + WaitingText(waiting) + "; with --chains they make room for each other");
  return FailingRows(clashes);
}

std::function<bool()> TPassOutput::StopWhen(const TCliEnvironment& environment) {
  return [this, interrupted = environment.Interrupted] {
    return (interrupted && interrupted()) || OutputClosed.load(std::memory_order_relaxed);
  };
}

}  // namespace vt
