#pragma once
// A test seam of the window program, for bench/stress_window_kill.sh: with
// VELTRANE_TEST_DRIVE set, the program drives its own window as a user would,
// through the controls' objectNames, and says on standard error what it did.
//   rename:SEARCH:REPLACE  Search/Replace over the folder named on the command
//                          line, then Rename: "veltrane: rename started", then
//                          "veltrane: rows coming in" once the table has rows,
//                          and "veltrane: rename ended after N ms, M ms after its
//                          first rows" once the pass has ended and its record is
//                          kept; then the program ends.
//   recover                answers "&Yes" to the start-up question about an
//                          unfinished pass, runs Recover over the rows it loads,
//                          "veltrane: recover ended: N rows", and ends.
// Exit status 3 when the drive could not do its part (a check refused the pass,
// no question came). Unset, it costs one getenv at start-up.
namespace vt {

class TForm1;

// Queues the drive behind what start-up has queued; false when none is asked for.
bool StartTestDrive(TForm1& form);

}  // namespace vt
