#pragma once
// Real temporary folders and runs of the built program, for the command-line tests.
#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace vt::test {

class TTempFolder {
 public:
  TTempFolder();
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
TRun RunProgram(const std::vector<std::string>& args, const std::filesystem::path& cwd);

std::vector<std::string> Lines(const std::string& text);

}  // namespace vt::test
