// The rename pass of the command line, with every row handed to a second thread
// the way the window takes it: through the pass's queue, unbounded, drained by
// the main thread. Rows go out as tab-separated lines.
//   bench_pass_synchronised FOLDER SEARCH REPLACE
#include <cstdio>
#include <string>

#include "cli/CliWindow.h"
#include "cli/OutputBuffer.h"
#include "cli/RowFormat.h"
#include "passes/RunControl.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s FOLDER SEARCH REPLACE\n", argv[0]);
    return 2;
  }
  vt::TOutputBuffer out(stdout);
  vt::TCliWindow window(
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

  vt::TRunControl control(window);
  control.Rename(options, vt::CaptureSettings(controls));
  control.WaitForPass();
  out.Flush();
  return window.FailedRows() == 0 ? 0 : 1;
}
