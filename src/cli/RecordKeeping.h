#pragma once
// The record of a command line pass: where its rows go, settled before the
// first rename; its journal, made before it; and at its end the record kept,
// told in words. What is done to the files of records is the results layer's.
#include <cstdio>
#include <optional>
#include <string>

#include "cli/CliApp.h"
#include "cli/CommandLine.h"
#include "cli/ResultSaveTarget.h"
#include "engine/Expected.h"
#include "passes/PassEnd.h"
#include "passes/PassJournalWriter.h"
#include "passes/ResultTable.h"
#include "results/PassRecord.h"
#include "results/Retention.h"

namespace vt {

// The configuration's limits, as the options change them.
TRetention RetentionOf(const TCliOptions& options, const TCliEnvironment& environment);

// Where the rows of a renaming pass go, settled before the first rename. No
// target: a simulation, or --no-save.
using TRecord = TExpected<std::optional<TSaveTarget>, std::string>;
TRecord SettleRecord(const TCliOptions& options, const TCliEnvironment& environment, bool renames);

// Every real pass writes its journal ahead of its renames; it is made before
// the first rename, or nothing is renamed. Nothing, or why there is no journal.
TExpected<void, std::string> StartJournal(const TCliOptions& options, const TCliEnvironment& environment,
                                          TJournalHeader header, TPassJournalWriter& writer);

// Saves the rows of a pass without a journal to the file named for them, and
// says which rows the file cannot undo. False, said, when it cannot be written.
bool KeepTableRecord(const TSaveTarget& target, const TResultTable& table, std::FILE* err);

// The journal of a rename pass is closed. Without --save it is the record of
// the pass, kept as it is; with it the rows are read back from it into the
// file, so none is held in memory meanwhile. Says where the record is and how
// to undo, and where the rows are when the record falls short; false then.
bool FinishRenameJournal(std::FILE* err, const std::optional<TSaveTarget>& record, TPassStopped stopped,
                         TPassJournalWriter& journal, const TRetention& keep);

// The journal of a recover of file is closed; undone is the journal it marks
// once it has run to its end. Says what is left when the journal could not be
// written; false then.
bool EndRecover(std::FILE* err, TPassJournalWriter& journal, const std::string& file, const std::string& undone,
                TRecoverEnd end);

}  // namespace vt
