#pragma once
// The output of a pass on the command line: rows stream out while the pass
// runs unless the table must be complete first; at its end the record is kept,
// what is left printed, what happened told, and the rows judged.
#include <atomic>
#include <cstdio>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "cli/CliApp.h"
#include "cli/CommandLine.h"
#include "cli/OutputBuffer.h"
#include "cli/PassRowSink.h"
#include "cli/PassRunner.h"
#include "cli/ResultSaveTarget.h"
#include "cli/RowFormat.h"
#include "cli/RowTally.h"
#include "passes/PassJournalWriter.h"
#include "passes/SimulationClashes.h"
#include "results/Retention.h"

namespace vt {

TOutputFormat ChooseFormat(const TCliOptions& options, const TCliEnvironment& environment);
TOutputTarget OutTarget(const TCliEnvironment& environment);

TRunnerEnvironment RunnerEnvironment(const TCliEnvironment& environment, std::function<bool()> stopWhen);

struct TPassOutput {
  TPassOutput(const TCliOptions& options, const TCliEnvironment& environment, TRowKeeping keeping, TRowOrigin kind);

  TPassRowSink::RowSink Sink();
  void WriteRow(const TResultRow& row, TRenameStatus status, int systemError);
  const std::string& Reason(int systemError);

  // After the pass: save, print what is left to print, tell what happened, and
  // judge the rows.
  int Finish(const TCliEnvironment& environment, const std::optional<TSaveTarget>& record, TPassEnd end,
             TPassJournalWriter* journal = nullptr);

  std::size_t WarnOfClashes(std::FILE* err);

  // A stop for Ctrl-C, SIGTERM and SIGHUP, and for an output no one reads any more.
  std::function<bool()> StopWhen(const TCliEnvironment& environment);

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
  TPassRowSink Rows;

 private:
  // What Finish says and returns once the rows are out.
  int Judge(const TCliEnvironment& environment, TPassEnd end, bool saved, bool written);
};

}  // namespace vt
