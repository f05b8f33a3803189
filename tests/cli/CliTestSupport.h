#pragma once
// Real temporary folders and runs of the built program, for the command-line tests.
#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace vt::test {

// Memory-backed where the system has it: for folders of many files.
std::filesystem::path FastTempBase();

class TTempFolder {
 public:
  explicit TTempFolder(const std::filesystem::path& base = std::filesystem::temp_directory_path());
  ~TTempFolder();
  TTempFolder(const TTempFolder&) = delete;
  TTempFolder& operator=(const TTempFolder&) = delete;

  const std::filesystem::path& Path() const { return Path_; }
  // The folder as a pass reports it, ending with "/".
  std::string Folder() const { return Path_.string() + "/"; }
  void WriteFile(const std::string& name, const std::string& content = "x") const;
  std::string ReadFile(const std::string& name) const;
  // Names of the entries directly in the folder (or in the sub-folder sub).
  std::set<std::string> Names(const std::string& sub = {}) const;

 private:
  std::filesystem::path Path_;
};

struct TRun {
  int Exit = -1;
  std::string Out;
  std::string Err;
};

// Runs veltrane-cli with args in a process of its own, standard input from
// /dev/null and the current folder cwd; the arguments are quoted for the shell.
// XDG_STATE_HOME is a folder of the test program's own (StateHome()), so that
// automatic result files never land in the user's; env sets more ("NAME=value").
TRun RunProgram(const std::vector<std::string>& args, const std::filesystem::path& cwd,
                const std::vector<std::string>& env = {});
// The XDG_STATE_HOME of the programs run, the same for a whole test program.
const std::filesystem::path& StateHome();

std::vector<std::string> Lines(const std::string& text);

// veltrane-cli running beside the test: its standard output is a pipe the test
// reads (or, with a terminal, the one side of a pseudo-terminal, standard error
// too); otherwise standard error goes to a file.
class TSpawned {
 public:
  enum class Output { Pipe, Terminal };
  TSpawned(const std::vector<std::string>& args, const std::filesystem::path& cwd, Output output = Output::Pipe,
           const std::vector<std::string>& env = {});
  ~TSpawned();
  TSpawned(const TSpawned&) = delete;
  TSpawned& operator=(const TSpawned&) = delete;

  // Reads until a whole line has come; false at the end of the output.
  bool ReadLine(std::string& line);
  std::string ReadAll();
  void CloseOutput();  // the reader goes away
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
