#include "cli/PassCommand.h"

#include <cerrno>
#include <optional>
#include <string>

#include "cli/Complaint.h"
#include "cli/FolderArgument.h"
#include "cli/PassOutput.h"
#include "cli/PassRunner.h"
#include "cli/RecordKeeping.h"
#include "cli/RefusalWarning.h"
#include "cli/SettingsPrompt.h"
#include "passes/JournalWhat.h"
#include "platform/FindData.h"
#include "platform/SysCalls.h"
#include "platform/SysErrorText.h"

namespace vt {

namespace {

// The rows of a real pass are in its journal: the pass holds none of them. The
// journal is made before the first rename, or nothing is renamed.
bool StartRenameJournal(const TCliOptions& options, const TCliEnvironment& environment, const std::string& folder,
                        const std::optional<TSaveTarget>& record, TPassJournalWriter& journal) {
  if (!options.Rename) return true;
  const TExpected<void, std::string> started = StartJournal(
      options, environment,
      TJournalHeader{TJournalKind::Rename, 0, folder, JournalWhat(options.Settings, options.Masks)}, journal);
  if (started) return true;
  Complain(environment.Err, started.Error() + "; nothing was renamed");
  if (record) RemoveIfCreated(*record);
  return false;
}

TSearchPassOptions SearchOptions(const TCliOptions& options, const std::string& folder,
                                 const std::optional<TSaveTarget>& record, TPassJournalWriter* journal) {
  TSearchPassOptions passOptions;
  passOptions.Journal = journal;
  passOptions.IncludeSubDirs = options.IncludeSubDirs;
  passOptions.Folder = folder;
  passOptions.Masks = options.Masks;
  passOptions.Order = options.Order;
  passOptions.Direction = options.Direction;
  passOptions.RestartPerFolder = options.RestartPerFolder;
  passOptions.Chains = options.Chains;
  // The record may lie in the folder renamed: the pass leaves it as it is.
  if (TEntryInfo saved; record && LookAtPath(record->Path.c_str(), saved) == 0)
    passOptions.Untouched.push_back(saved.Id);
  if (TEntryInfo own; journal != nullptr && LookAtPath(journal->Path().c_str(), own) == 0)
    passOptions.Untouched.push_back(own.Id);
  return passOptions;
}

// A folder that cannot be read is no empty folder: said, and the exit status is 1.
void SayUnreadable(const TCliEnvironment& environment, const std::string& path, int error) {
  // A link, a file or another folder under the name listed: the walk did not go in.
  if (error == ELOOP || error == ENOTDIR || error == ESTALE)
    Complain(environment.Err, "skipped " + TerminalText(path) + ": it changed while the folder was walked");
  else
    Complain(environment.Err, "cannot read " + TerminalText(path) + ": " + SystemMessage(error));
}

int RunSettledPass(const TCliOptions& options, const TCliEnvironment& environment, const std::string& folder,
                   const std::optional<TSaveTarget>& record, TPassJournalWriter& journal) {
  TPassOutput output(options, environment, record && !options.Rename ? TRowKeeping::Keep : TRowKeeping::Drop,
                     options.Rename ? TRowOrigin::Rename : TRowOrigin::Simulate);
  TPassRunner runner(output.Rows, RunnerEnvironment(environment, output.StopWhen(environment)));
  output.StopPass = [&runner] { runner.RequestStop(); };
  // Only --no-save over a folder of records another user could change leaves a real pass without one.
  const bool journaled = options.Rename && !journal.Path().empty();
  TSearchPassOptions passOptions = SearchOptions(options, folder, record, journaled ? &journal : nullptr);
  output.Chains = options.Chains;
  // Counted on the worker, read once it has ended.
  std::size_t filesSelected = 0;
  passOptions.OnCollected = [&filesSelected](TSearchThread&, const TFindData& entry) {
    if ((entry.dwFileAttributes & FileAttr::Directory) == 0) ++filesSelected;
  };
  bool unreadable = false;
  runner.SetUnreadableSink([&](const std::string& path, int error) {
    SayUnreadable(environment, path, error);
    unreadable = true;
  });
  const TPassEnd end = runner.RunSearch(passOptions, options.Settings, !options.Rename);
  if (end == TPassEnd::Completed && filesSelected == 0 && !unreadable)
    Complain(environment.Err, "no file matched " + TerminalText(options.Masks) + " in " + TerminalText(folder));
  const int status = output.Finish(environment, record, end, journaled ? &journal : nullptr);
  return status == ExitStatus::Ok && unreadable ? ExitStatus::RowsFailed : status;
}

}  // namespace

int RunPass(const TCliOptions& options, const TCliEnvironment& environment) {
  const TExpected<std::string, std::string> folder = ResolveFolder(options.Folder);
  if (!folder) {
    Complain(environment.Err, folder.Error());
    return ExitStatus::Usage;
  }
  // The window's checks, a simulation's too: what they refuse never starts.
  const TPromptEnvironment prompt{environment.In, environment.Err, environment.InIsTerminal,
                                  options.AssumeYes ? TAssumeYes::Yes : TAssumeYes::No};
  if (!SettingsAllowPass(options.Settings, prompt)) return ExitStatus::Usage;
  // So are the new names the volume would refuse, before anything is recorded.
  if (options.Rename && !RefusalsAllowPass(SearchOptions(options, *folder, std::nullopt, nullptr), options.Settings,
                                           prompt, environment.Interrupted))
    return ExitStatus::Usage;
  // The record is settled before the first rename: nothing is renamed without it.
  const TRecord settled = SettleRecord(options, environment, options.Rename);
  if (!settled) {
    Complain(environment.Err, settled.Error() + "; nothing was renamed");
    return ExitStatus::Usage;
  }
  const std::optional<TSaveTarget>& record = *settled;
  TPassJournalWriter journal;
  if (!StartRenameJournal(options, environment, *folder, record, journal)) return ExitStatus::Usage;
  return RunSettledPass(options, environment, *folder, record, journal);
}

}  // namespace vt
