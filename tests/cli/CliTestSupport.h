#pragma once
// Runs of the built program, for the command-line tests.
#include <filesystem>
#include <string>
#include <vector>

#include "support/TempFolder.h"

namespace vt::test {

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
