#pragma once
// The whole command line: parse, run the pass or read the file, print the rows,
// save them when asked, and return the exit status.
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace vt {

namespace ExitStatus {
inline constexpr int Ok = 0;
inline constexpr int RowsFailed = 1;     // a row says "Error" or "File not found", or a folder was unreadable
inline constexpr int Usage = 2;          // also a result file that cannot be read or written
inline constexpr int Interrupted = 130;  // as a shell reports a command ended by Ctrl-C
// After SIGHUP or SIGTERM ended a pass: 128 plus the signal's number, as a shell says.
inline constexpr int SignalBase = 128;
}  // namespace ExitStatus

struct TCliEnvironment {
  std::FILE* Out = stdout;
  std::FILE* Err = stderr;
  bool OutIsTerminal = false;
  bool ErrIsTerminal = false;
  // Where the questions of the checks before a pass are answered.
  std::FILE* In = stdin;
  bool InIsTerminal = false;
  std::function<bool()> Interrupted;     // Ctrl-C, SIGTERM or SIGHUP, polled while a pass runs
  std::function<int()> InterruptSignal;  // the signal that interrupted, 0 for none or unknown
  // The environment variables, for the folder of automatic result files. Nothing
  // in the program sets them, so reading them is safe on any thread.
  std::function<const char*(const char*)> GetEnv = [](const char* name) {
    return std::getenv(name);  // NOLINT(concurrency-mt-unsafe)
  };
};

// args: the arguments after the program name.
int RunCli(const std::vector<std::string>& args, const TCliEnvironment& environment);

}  // namespace vt
