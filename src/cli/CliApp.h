#pragma once
// The whole command line: parse, run the pass or read the file, print the rows,
// save them when asked, and return the exit status.
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace vt {

namespace ExitStatus {
inline constexpr int Ok = 0;
inline constexpr int RowsFailed = 1;   // a row says "Error" or "File not found"
inline constexpr int Usage = 2;        // also a result file that cannot be read or written
inline constexpr int Interrupted = 130;  // as a shell reports a command ended by Ctrl-C
}  // namespace ExitStatus

struct TCliEnvironment {
  std::FILE* Out = stdout;
  std::FILE* Err = stderr;
  bool OutIsTerminal = false;
  bool ErrIsTerminal = false;
  std::function<bool()> Interrupted;  // Ctrl-C, polled while a pass runs
};

// args: the arguments after the program name.
int RunCli(const std::vector<std::string>& args, const TCliEnvironment& environment);

}  // namespace vt
