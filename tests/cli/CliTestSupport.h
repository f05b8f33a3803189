#pragma once
// Runs of the built program, for the command-line tests.
#include <filesystem>
#include <string>
#include <vector>

#include "support/TempFolder.h"

namespace vt::test {

// Memory-backed where the system has it: for folders of many files.
std::filesystem::path FastTempBase();

struct TRun {
  int Exit = -1;
  std::string Out;
  std::string Err;
};

// Runs veltrane-cli with args in a process of its own, standard input from
// /dev/null and the current folder cwd; the arguments are quoted for the shell.
// XDG_STATE_HOME is a folder of the test program's own (StateHome()), so that
// automatic result files never land in the user's; env sets more ("NAME=value").
// launcher, when given, is a shell command prefix that starts the program (for
// example one that runs it as another user).
TRun RunProgram(const std::vector<std::string>& args, const std::filesystem::path& cwd,
                const std::vector<std::string>& env = {}, const std::string& launcher = {});
// The XDG_STATE_HOME of the programs run, the same for a whole test program.
const std::filesystem::path& StateHome();

std::vector<std::string> Lines(const std::string& text);

// veltrane-cli running beside the test: its standard output is a pipe the test
// reads (or, with a terminal, the one side of a pseudo-terminal, standard error
// too); otherwise standard error goes to a file.
class TSpawned {
 public:
  // TerminalInOut: standard input is the terminal too, for answering questions.
  enum class Output { Pipe, Terminal, TerminalInOut };
  TSpawned(const std::vector<std::string>& args, const std::filesystem::path& cwd, Output output = Output::Pipe,
           const std::vector<std::string>& env = {});
  ~TSpawned();
  TSpawned(const TSpawned&) = delete;
  TSpawned& operator=(const TSpawned&) = delete;

  // Reads until a whole line has come; false at the end of the output.
  bool ReadLine(std::string& line);
  std::string ReadAll();
  void CloseOutput();  // the reader goes away
  // Types text on the terminal (TerminalInOut).
  void Write(const std::string& text) const;
  void Signal(int signo) const;
  // Waits for the end; the exit status, or 128 + the signal that ended it.
  int Wait();
  std::string Err() const;

 private:
  int Pid_ = -1;
  int Fd_ = -1;
  std::string Pending_;
  TTempFolder Capture_;
};

}  // namespace vt::test
