#include "cli/RecoverCommand.h"

#include <algorithm>
#include <cerrno>
#include <optional>
#include <string>
#include <vector>

#include "cli/Complaint.h"
#include "cli/ErrorWords.h"
#include "cli/FolderRefusal.h"
#include "cli/HistoryCommand.h"
#include "cli/JournalRowOffset.h"
#include "cli/PassOutput.h"
#include "cli/PassRunner.h"
#include "cli/RecordKeeping.h"
#include "platform/SysErrorText.h"
#include "results/RecordToRecover.h"
#include "results/ResultFile.h"
#include "results/UndoFromFile.h"

namespace vt {

namespace {

// Rows a recover that reads its file row by row undoes in one pass.
constexpr std::size_t kRecoverBatchRows = 4096;

// What recover undoes: a result file, or the rows of a journal.
struct TRecoverSource {
  std::string File;
  bool IsJournal = false;
  TUndoList Rows;  // of a journal, or of a file read whole
};

// A journal's rows go straight into the list: neither the journal nor a table of its rows is held.
std::optional<TRecoverSource> JournalSource(const std::string& file, const TCliEnvironment& environment) {
  TExpected<TUndoList> rows = LoadJournalToUndo(file);
  if (!rows) {
    Complain(environment.Err, "Cannot open file " + TerminalText(file) + ".");
    return std::nullopt;
  }
  return TRecoverSource{file, true, std::move(rows).Value()};
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

// A file named on the command line; a journal's rows are settled from the disk.
std::optional<TRecoverSource> NamedSource(const std::string& file, const TCliEnvironment& environment) {
  if (FileIsJournal(file)) return JournalSource(file, environment);
  TRecoverSource source;
  source.File = file;
  return source;
}

// The newest record whose renames stand.
std::optional<TRecoverSource> LastSource(const TCliEnvironment& environment) {
  TRecordToRecover last = FindRecordToRecover(environment.GetEnv, TRecordWanted::Last, TJournalHeld::Streamed);
  switch (last.Miss) {
    case TRecordMiss::NoFolder:
      Complain(environment.Err, "no folder of kept passes: HOME is not set");
      return std::nullopt;
    case TRecordMiss::FolderRefused:
      Complain(environment.Err, FolderRefusalText(*last.Refused) + "; no record there is read");
      return std::nullopt;
    case TRecordMiss::NoRecord:
    case TRecordMiss::None: break;
  }
  for (const std::string& foreign : last.Foreign)
    Complain(environment.Err, "warning: passed over " + TerminalText(foreign) +
                                  ": it is a link or another user's file, never read as a record");
  for (const TPassedOver& over : last.PassedOver) SayPassedOver(environment, over);
  if (!last.Found()) {
    Complain(environment.Err, "no kept pass to undo in " + TerminalText(last.Folder));
    return std::nullopt;
  }
  std::string what = "undoing " + TerminalText(last.File);
  if (last.IsJournal) {
    what += " (a pass of " + UtcText(last.Journal.Header.StartedUtcNs) + " in " +
            TerminalText(last.Journal.Header.Folder) + ", " + std::to_string(last.Renamed) + " renamed" +
            (last.Journal.End ? "" : ", which did not end") + ")";
  }
  Complain(environment.Err, what);
  if (!last.IsJournal) return TRecoverSource{std::move(last.File), false, {}};
  // The rows as the choice settled them, read again a block at a time.
  TExpected<TUndoList> rows = last.Rows
                                  ? UndoRowsOf(*last.Rows)
                                  : TExpected<TUndoList>(Unexpected(TError{EINVAL, TErrorKind::NotJournal, last.File}));
  if (!rows) {
    Complain(environment.Err, "Cannot open file " + TerminalText(last.File) + ".");
    return std::nullopt;
  }
  return TRecoverSource{std::move(last.File), true, std::move(rows).Value()};
}

// Each batch is a recover of its own over the rows so far; the journal numbers the rows of them all.
TResultFileStatus RecoverInBatches(const std::string& file, TPassOutput& output, TPassRunner& runner,
                                   TPassJournalWriter& journal) {
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
  TResultFileStatus status = StreamResultFile(file, [&](const TResultRow& row) {
    batch.push_back(row);
    if (batch.size() >= kRecoverBatchRows) undoBatch();
    return true;
  });
  undoBatch();
  return status;
}

// The rows of a result file, read whole into the list.
TResultFileStatus ReadResultRows(const std::string& file, TUndoList& rows) {
  rows.Clear();
  return StreamResultFile(file, [&](const TResultRow& row) {
    rows.Add(TUndoList::TRow{row.Path(), row.NewName, row.OldName, row.KnownStatus(), TPathTexts::MayBeCut});
    return true;
  });
}

// A file that cannot be read renames nothing: it is read whole, or, where the
// rows are neither saved nor shown as a table, checked first and then undone a
// batch of rows at a time, so that memory does not grow with the file. Whether
// it is read whole comes back in whole.
TResultFileStatus LoadSource(TRecoverSource& source, bool& whole) {
  if (source.IsJournal) return {};
  if (whole) return ReadResultRows(source.File, source.Rows);
  TUndoChains chains;
  TResultFileStatus status = StreamResultFile(source.File, [&](const TResultRow& row) {
    chains.Add(row);
    return true;
  });
  // Rows that go back only after later ones are undone in one pass.
  if (status && chains.Found()) {
    whole = true;
    status = ReadResultRows(source.File, source.Rows);
  }
  return status;
}

// Nothing has been renamed yet: a file created for the rows goes again.
int RefuseRecover(const TCliEnvironment& environment, const std::string& message,
                  const std::optional<TSaveTarget>& record) {
  Complain(environment.Err, message);
  if (record) RemoveIfCreated(*record);
  return ExitStatus::Usage;
}

int RecoverFrom(std::optional<TRecoverSource> source, const TCliOptions& options, const TCliEnvironment& environment) {
  if (!source) return ExitStatus::Usage;
  const std::string file = source->File;
  const TRecord settled = SettleRecord(options, environment, true);
  if (!settled) return RefuseRecover(environment, settled.Error() + "; nothing was renamed", std::nullopt);
  const std::optional<TSaveTarget>& record = *settled;
  TPassOutput output(options, environment, record ? TRowKeeping::Keep : TRowKeeping::Drop, TRowOrigin::Recover);
  bool whole = source->IsJournal || record || output.Format == TOutputFormat::Table;
  // An older version's automatic record is undone with the journal beside it: the journal says so.
  const std::string undone = JournalOfRecord(file);
  TResultFileStatus status = LoadSource(*source, whole);
  if (!status) return RefuseRecover(environment, FileMessage(ResultFileMessage(status.Error())), record);
  TPassJournalWriter journal;
  if (const TExpected<void, std::string> started =
          StartJournal(options, environment, TJournalHeader{TJournalKind::Recover, 0, file, "recover"}, journal);
      !started)
    return RefuseRecover(environment, started.Error() + "; nothing was renamed", record);
  TPassRunner runner(output.Rows, RunnerEnvironment(environment, output.StopWhen(environment)));
  if (whole)
    runner.RunRecover(std::move(source->Rows), &journal);
  else
    status = RecoverInBatches(file, output, runner, journal);
  const bool ended =
      EndRecover(environment.Err, journal, file, undone, status ? TRecoverEnd::Completed : TRecoverEnd::SourceChanged);
  const int finished = output.Finish(environment, record, TPassEnd::Completed);
  if (!status) {
    Complain(environment.Err, FileMessage(ResultFileMessage(status.Error())) + " (it changed while it was undone)");
    return ExitStatus::Usage;
  }
  return !ended && finished == ExitStatus::Ok ? ExitStatus::Usage : finished;
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
    // A journal, or the result file of an orphan.
    const int status = RecoverFrom(NamedSource(pass.Journal, environment), options, environment);
    // An earlier pass is undone only once the later ones are: a recover that
    // could not run, or was stopped, ends the line.
    if (status != ExitStatus::Ok && status != ExitStatus::RowsFailed) return status;
    worst = std::max(worst, status);
  }
  return worst;
}

}  // namespace

int RunRecover(const TCliOptions& options, const TCliEnvironment& environment) {
  if (!options.Last && IsHistoryReference(options.ResultFile)) return RunHistoryRecover(options, environment);
  if (options.WithLater)
    return UsageError(environment.Err, "--with-later needs the ID of a kept pass (veltrane-cli history)");
  if (options.Last) return RecoverFrom(LastSource(environment), options, environment);
  return RecoverFrom(NamedSource(options.ResultFile, environment), options, environment);
}

}  // namespace vt
