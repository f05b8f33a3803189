#pragma once
// SIGTERM and SIGHUP to the window program: the handler only writes the
// signal's number into a pipe, which the window's event loop watches, so the
// window ends its pass and keeps its record as a Quit would.
namespace vt {

// Installs the handlers (once per process) and returns the pipe's read end,
// non-blocking; -1 when it cannot be made.
int WatchStopSignals();

// Empties the pipe: the last signal noted, 0 when none.
int TakeStopSignal(int fd);

}  // namespace vt
