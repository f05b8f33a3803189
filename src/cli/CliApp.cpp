#include "cli/CliApp.h"

#include <optional>
#include <string>

#include "cli/CliWindow.h"
#include "cli/CommandLine.h"
#include "cli/FolderArgument.h"
#include "cli/OutputBuffer.h"
#include "cli/PassRunner.h"
#include "cli/RowFormat.h"
#include "cli/Usage.h"
#include "results/ResultFile.h"
#include "Version.h"

namespace vt {

namespace {

void Complain(std::FILE* err, const std::string& message) {
  std::fprintf(err, "veltrane-cli: %s\n", message.c_str());
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

void AppendRow(std::string& out, TOutputFormat format, const TResultRow& row) {
  if (format == TOutputFormat::Json)
    AppendJsonRow(out, row);
  else
    AppendTsvRow(out, row);
}

void WriteRows(TOutputBuffer& out, TOutputFormat format, const std::vector<TResultRow>& rows) {
  if (format == TOutputFormat::Table) {  // the header alone says there were no rows
    out.Write(FormatTable(rows));
    return;
  }
  for (const TResultRow& row : rows) {
    AppendRow(out.Text(), format, row);
    out.Written();
  }
}

// Like Save Result: a table without rows writes nothing.
bool SaveRows(const TResultTable& table, const std::string& file, std::FILE* err) {
  if (table.RowCount() == 0) {
    Complain(err, "no rows, so nothing was saved to " + file);
    return true;
  }
  const TResultFileStatus status = SaveResultFile(table, file);
  if (status.Ok()) return true;
  Complain(err, FileMessage(status));
  return false;
}

// Rows stream out while the pass runs unless the table must be complete first.
struct TPassOutput {
  TPassOutput(const TCliOptions& options, const TCliEnvironment& environment)
      : Format(ChooseFormat(options, environment)),
        Out(environment.Out),
        Window(Format == TOutputFormat::Table || options.SaveFile ? TRowKeeping::Keep : TRowKeeping::Drop,
               Sink(), options.RecordAll) {}

  TCliWindow::RowSink Sink() {
    if (Format == TOutputFormat::Table) return {};
    return [this](const TResultRow& row) {
      AppendRow(Out.Text(), Format, row);
      Out.Written();
    };
  }

  // After the pass: save, print what is left to print, and judge the rows.
  int Finish(const TCliOptions& options, const TCliEnvironment& environment, TPassEnd end) {
    const TResultTable& table = Window.ResultTable();
    const bool saved = !options.SaveFile || SaveRows(table, *options.SaveFile, environment.Err);
    if (Format == TOutputFormat::Table) WriteRows(Out, Format, table.Rows());
    const bool written = Out.Flush();
    if (!written) Complain(environment.Err, "cannot write the rows to standard output");
    if (end == TPassEnd::StoppedByUser) return ExitStatus::Interrupted;
    if (!saved || !written) return ExitStatus::Usage;
    return Window.FailedRows() > 0 ? ExitStatus::RowsFailed : ExitStatus::Ok;
  }

  TOutputFormat Format;
  TOutputBuffer Out;
  TCliWindow Window;
};

TRunnerEnvironment RunnerEnvironment(const TCliEnvironment& environment) {
  TRunnerEnvironment runner;
  runner.Err = environment.Err;
  runner.ProgressOnErr = environment.ErrIsTerminal;
  runner.Interrupted = environment.Interrupted;
  return runner;
}

int RunPass(const TCliOptions& options, const TCliEnvironment& environment) {
  const TFolderResult folder = ResolveFolder(options.Folder);
  if (!folder.Folder) {
    Complain(environment.Err, folder.Error);
    return ExitStatus::Usage;
  }
  TPassOutput output(options, environment);
  TPassRunner runner(output.Window, RunnerEnvironment(environment));
  TSearchPassOptions passOptions;
  passOptions.IncludeSubDirs = options.IncludeSubDirs;
  passOptions.Folder = *folder.Folder;
  passOptions.Masks = options.Masks;
  passOptions.Order = options.Order;
  const TPassEnd end = runner.RunSearch(passOptions, options.Controls, !options.Rename);
  return output.Finish(options, environment, end);
}

int RunRecover(const TCliOptions& options, const TCliEnvironment& environment) {
  TPassOutput output(options, environment);
  // A file that cannot be read renames nothing.
  const TResultFileStatus status = LoadResultFile(options.ResultFile, output.Window.ResultTable());
  if (!status.Ok()) {
    Complain(environment.Err, FileMessage(status));
    return ExitStatus::Usage;
  }
  TPassRunner runner(output.Window, RunnerEnvironment(environment));
  runner.RunRecover();
  return output.Finish(options, environment, TPassEnd::Completed);
}

int RunShow(const TCliOptions& options, const TCliEnvironment& environment) {
  TResultTable table;
  const TResultFileStatus status = LoadResultFile(options.ResultFile, table);
  if (!status.Ok()) {
    Complain(environment.Err, FileMessage(status));
    return ExitStatus::Usage;
  }
  TOutputBuffer out(environment.Out);
  WriteRows(out, ChooseFormat(options, environment), table.Rows());
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
