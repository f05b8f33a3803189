#pragma once
// What a terminal front end needs of the system: whether a standard stream is a
// terminal, Ctrl-C as a request to poll, and writes to a closed pipe as errors.
namespace vt {

enum class TStandardStream { Input, Output, Error };

bool IsTerminal(TStandardStream stream);

// The first Ctrl-C, SIGTERM or SIGHUP is only noted, for the program to poll; a
// second one ends the program the usual way, so that a stuck run can still be left.
void InstallInterruptHandler();
bool InterruptRequested();
// The signal that made the first request (SIGINT, SIGTERM or SIGHUP), 0 before.
int InterruptSignal();

// A reader that goes away (a pipe into head) makes writes fail instead of ending
// the program in the middle of a pass.
void IgnoreBrokenPipe();

// A write past the file-size limit (ulimit -f) fails with EFBIG and is told as
// a write failure, as on a full disk, instead of ending the program without a word.
void IgnoreFileSizeSignal();

}  // namespace vt
