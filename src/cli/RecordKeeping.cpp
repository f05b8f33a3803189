#include "cli/RecordKeeping.h"

#include "cli/Complaint.h"
#include "cli/ErrorWords.h"
#include "cli/FolderRefusal.h"
#include "cli/RowFormat.h"
#include "platform/SysErrorText.h"
#include "results/AutomaticResultFiles.h"
#include "results/UndoFromFile.h"

namespace vt {

namespace {

std::string JournalStartText(const TJournalStart& start) {
  switch (start.Failure) {
    case TJournalFailure::FolderNotMade: return "cannot create " + start.Folder + ": " + ErrorReason(start.Error);
    case TJournalFailure::FolderRefused: return FolderRefusalText(*start.Refused) + "; no journal is kept there";
    case TJournalFailure::JournalNotMade:
      return "cannot create the journal of the pass in " + start.Folder + ": " + ErrorReason(start.Error);
    case TJournalFailure::None: break;
  }
  return {};
}

// Which rows the saved file cannot undo.
void SayKept(std::FILE* err, const TSaveTarget& target, std::uint64_t lost) {
  if (lost > 0)
    Complain(err, "warning: " + std::to_string(lost) + (lost == 1 ? " row" : " rows") + " cannot be undone from " +
                      TerminalText(target.Path) + ": a result file cannot hold so long a folder");
}

// Where the journal kept as the pass's record is, and how to undo it.
void SayJournalKept(std::FILE* err, const std::string& journal) {
  Complain(err, "rows kept in " + TerminalText(journal) + "; undo the pass with: veltrane-cli recover " +
                    TerminalText(journal));
}

void SayWhereTheRowsAre(std::FILE* err, std::uint64_t renamed, const std::string& journal) {
  Complain(err, FilesWere(renamed) + " renamed; their rows are in " + TerminalText(journal) +
                    "; undo them with: veltrane-cli recover " + TerminalText(journal));
}

// The result file of a journal read back: false when it could not be saved.
bool SaySaved(std::FILE* err, const TSaveTarget& target, const TPassRecord& kept) {
  if (kept.Rows == 0) {
    if (!target.Automatic) Complain(err, "no rows, so nothing was saved to " + TerminalText(target.Path));
    return true;
  }
  if (!kept.Saved) {
    const TResultFileFailure& failure = kept.Saved.Error();
    Complain(err, FileMessage(ResultFileMessage(failure)) +
                      (failure.SystemError != 0 ? std::string(" (") + SystemMessage(failure.SystemError) + ")" : ""));
    return false;
  }
  SayKept(err, target, kept.NotUndoable);
  return true;
}

}  // namespace

TRetention RetentionOf(const TCliOptions& options, const TCliEnvironment& environment) {
  TRetention keep = ReadRetention(environment.GetEnv);
  if (options.KeepPasses) keep.Passes = *options.KeepPasses;
  if (options.KeepMegabytes) keep.Bytes = *options.KeepMegabytes * kMegabyte;
  return keep;
}

TRecord SettleRecord(const TCliOptions& options, const TCliEnvironment& environment, bool renames) {
  if (options.SaveFile) {
    TExpected<TSaveTarget, std::string> settled = SettleSaveFile(*options.SaveFile);
    if (!settled) return Unexpected(settled.Error());
    return std::optional<TSaveTarget>(std::move(settled).Value());
  }
  if (!renames || options.NoSave || options.Command == TCliCommand::Recover) return std::optional<TSaveTarget>();
  const std::optional<std::string> folder = AutomaticFolder(environment.GetEnv);
  if (!folder)
    return Unexpected("no folder for the journal of the pass: HOME is not set (or give --save FILE or --no-save)");
  if (const std::optional<TUntrustedFolder> refused = RefusedRecordsFolder(*folder))
    return Unexpected(FolderRefusalText(*refused) + "; no record is kept there (or give --no-save)");
  // The journal, named when it is made, is the record.
  return std::optional<TSaveTarget>(TSaveTarget{{}, true, false});
}

TExpected<void, std::string> StartJournal(const TCliOptions& options, const TCliEnvironment& environment,
                                          TJournalHeader header, TPassJournalWriter& writer) {
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
  const TDurability durability = options.Sync ? TDurability::Disk : TDurability::Kernel;
  const TJournalStart start = StartPassJournal(*folder, std::move(header), std::nullopt, durability, writer);
  if (start.Access == TFolderAccess::OpenToOthers)
    Complain(environment.Err, "warning: " + TerminalText(OpenFolderWarning(start.Folder)));
  if (!start.Created()) return Unexpected(JournalStartText(start));
  return {};
}

bool KeepTableRecord(const TSaveTarget& target, const TResultTable& table, std::FILE* err) {
  if (const TExpected<void, std::string> saved = SaveRows(target, table); !saved) {
    Complain(err, FileMessage(saved.Error()));
    return false;
  }
  if (table.RowCount() == 0) {
    if (!target.Automatic) Complain(err, "no rows, so nothing was saved to " + TerminalText(target.Path));
    return true;
  }
  SayKept(err, target, CountRowsNotUndoableFromFile(table.Rows()));
  return true;
}

bool FinishRenameJournal(std::FILE* err, const std::optional<TSaveTarget>& record, TPassStopped stopped,
                         TPassJournalWriter& journal, const TRetention& keep) {
  TRecordTarget target{TRecordPlace::None, {}, false, keep};
  if (record)
    target = {record->Automatic ? TRecordPlace::Automatic : TRecordPlace::Named, record->Path, record->Created, keep};
  const TPassRecord kept = FinishRenameRecord(journal, stopped, target);
  if (kept.JournalError)
    Complain(err, "cannot write the journal " + TerminalText(kept.Journal) + ": " + ErrorReason(*kept.JournalError) +
                      "; the pass stopped before its next rename");
  // --no-save: the journal went once the pass had ended as it should.
  if (!record) return !kept.JournalError;
  if (kept.ReadError) {
    Complain(err, "cannot read the journal " + TerminalText(kept.Journal) + " back: " + ErrorReason(*kept.ReadError));
    SayWhereTheRowsAre(err, kept.Renamed, kept.Journal);
    return false;
  }
  if (record->Automatic) {
    if (kept.Rows > 0 && !kept.JournalError) SayJournalKept(err, kept.Journal);
    // A pass without rows renamed nothing: it left no record at all.
    if (kept.JournalError && !kept.JournalRemoved) SayWhereTheRowsAre(err, kept.Renamed, kept.Journal);
    return !kept.JournalError;
  }
  const bool saved = SaySaved(err, *record, kept);
  // A pass without rows renamed nothing: it left no record at all.
  if ((!saved || kept.JournalError) && !kept.JournalRemoved) SayWhereTheRowsAre(err, kept.Renamed, kept.Journal);
  return saved && !kept.JournalError;
}

bool EndRecover(std::FILE* err, TPassJournalWriter& journal, const std::string& file, const std::string& undone,
                TRecoverEnd end) {
  const TPassRecord ended = EndRecoverJournal(journal, undone, end);
  if (ended.JournalError) {
    Complain(err, "cannot write the journal " + TerminalText(ended.Journal) + ": " + ErrorReason(*ended.JournalError) +
                      "; the recover stopped before its next rename");
    if (ended.JournalRemoved)
      Complain(err, "nothing was renamed back");
    else
      Complain(err, FilesWere(ended.Renamed) + " renamed back, their rows are in " + TerminalText(ended.Journal) +
                        "; once the cause is mended, recover " + TerminalText(file) + " again undoes the rest");
    return false;
  }
  // Undone, or as far as it could be: --last passes over it, and says what is left.
  if (ended.MarkError)
    Complain(err, "cannot mark " + TerminalText(ended.Undone) + " as undone: " + ErrorReason(*ended.MarkError) +
                      "; recover --last may take it again");
  return true;
}

}  // namespace vt
