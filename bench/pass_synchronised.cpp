// The rename pass of the command line, with every row handed to a second thread
// the way the window takes it: through the pass's queue, unbounded, drained by
// the main thread. Rows go out as tab-separated lines.
//   bench_pass_synchronised FOLDER SEARCH REPLACE
#include <cstdio>
#include <string>

#include "cli/OutputBuffer.h"
#include "cli/PassRunner.h"
#include "cli/RowFormat.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s FOLDER SEARCH REPLACE\n", argv[0]);
    return 2;
  }
  vt::TOutputBuffer out(stdout);
  vt::TPassRowSink rows(
      vt::TRowKeeping::Drop,
      [&](const vt::TResultRow& row, vt::TRenameStatus, int) {
        vt::AppendTsvRow(out.Text(), row);
        out.Written();
      },
      false);
  vt::TControlValues controls;
  controls.LstBoxActions = vt::ControlIndex(vt::TOperation::SearchReplace);
  controls.EdSearchFor = argv[2];
  controls.EdReplaceWith = argv[3];
  vt::TSearchPassOptions options;
  options.Folder = argv[1];

  vt::TRunnerEnvironment environment;
  environment.RowsAhead = vt::TRowQueue::kUnbounded;
  vt::TPassRunner runner(rows, environment);
  runner.RunSearch(options, vt::CaptureSettings(controls), false);
  out.Flush();
  return rows.FailedRows() == 0 ? 0 : 1;
}
