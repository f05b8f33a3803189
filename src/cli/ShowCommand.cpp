#include "cli/ShowCommand.h"

#include <functional>
#include <string>

#include "cli/Complaint.h"
#include "cli/ErrorWords.h"
#include "cli/HistoryCommand.h"
#include "cli/OutputBuffer.h"
#include "cli/PassOutput.h"
#include "cli/RowFormat.h"
#include "passes/ResultTable.h"
#include "results/RecordToRecover.h"
#include "results/ResultFile.h"

namespace vt {

namespace {

using TPrintRow = std::function<bool(const TResultRow&)>;

// A journal is settled against the disk first, so it is read whole.
TResultFileStatus ShowJournal(const std::string& path, TOutputFormat format, TTableLayout& layout, TOutputBuffer& out,
                              const TPrintRow& print) {
  TExpected<TJournal> loaded = LoadSettledJournal(path);
  if (!loaded) return Unexpected(TResultFileFailure{TResultFileError::CannotOpen, path});
  TResultTable table;
  JournalToTable(*loaded, table);
  if (format == TOutputFormat::Table) {
    for (const TResultRow& row : table.Rows()) layout.Measure(row);
    layout.AppendHeader(out.Text());
  }
  for (const TResultRow& row : table.Rows())
    if (!print(row)) break;
  return {};
}

// Read twice, a row at a time, so that memory does not grow with the file:
// first to see that the whole file is sound (a broken file prints nothing) and
// to measure the table, then to print.
TResultFileStatus ShowResultFile(const std::string& path, TOutputFormat format, TTableLayout& layout,
                                 TOutputBuffer& out, const TPrintRow& print) {
  TResultFileStatus status = StreamResultFile(path, [&](const TResultRow& row) {
    if (format == TOutputFormat::Table) layout.Measure(row);
    return true;
  });
  if (!status) return status;
  if (format == TOutputFormat::Table) layout.AppendHeader(out.Text());
  return StreamResultFile(path, print);
}

int RunShowFile(const TCliOptions& options, const TCliEnvironment& environment) {
  const TOutputFormat format = ChooseFormat(options, environment);
  const TOutputTarget target = OutTarget(environment);
  TTableLayout layout;
  TOutputBuffer out(environment.Out);
  const TPrintRow print = [&](const TResultRow& row) {
    if (format == TOutputFormat::Table)
      layout.AppendRow(out.Text(), row);
    else if (format == TOutputFormat::Json)
      AppendJsonRow(out.Text(), row, {}, target);
    else
      AppendTsvRow(out.Text(), row, target);
    out.Written();
    return !out.Failed();
  };
  const TResultFileStatus status = FileIsJournal(options.ResultFile)
                                       ? ShowJournal(options.ResultFile, format, layout, out, print)
                                       : ShowResultFile(options.ResultFile, format, layout, out, print);
  if (!status) {
    Complain(environment.Err, FileMessage(ResultFileMessage(status.Error())));
    return ExitStatus::Usage;
  }
  if (out.Flush()) return ExitStatus::Ok;
  Complain(environment.Err, "cannot write the rows to standard output");
  return ExitStatus::Usage;
}

}  // namespace

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

}  // namespace vt
