#include "CliTestSupport.h"

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace vt::test {

namespace fs = std::filesystem;

namespace {

std::string Quoted(const std::string& text) {
  std::string quoted = "'";
  for (const char c : text) {
    if (c == '\'')
      quoted += "'\\''";
    else
      quoted += c;
  }
  return quoted + "'";
}

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

TRun RunProgram(const std::vector<std::string>& args, const fs::path& cwd) {
  const TTempFolder capture;
  std::string command = "cd " + Quoted(cwd.string()) + " && " + Quoted(VELTRANE_CLI_PATH);
  for (const std::string& arg : args) command += " " + Quoted(arg);
  command += " </dev/null >" + Quoted((capture.Path() / "out").string()) + " 2>" +
             Quoted((capture.Path() / "err").string());
  const int status = std::system(command.c_str());
  TRun run;
  run.Exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.Out = Slurp(capture.Path() / "out");
  run.Err = Slurp(capture.Path() / "err");
  return run;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

}  // namespace vt::test
