#include "CliTestSupport.h"

#include <fcntl.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace vt::test {

namespace fs = std::filesystem;

fs::path FastTempBase() {
  std::error_code error;
  if (fs::is_directory("/dev/shm", error) && ::access("/dev/shm", W_OK) == 0) return "/dev/shm";
  return fs::temp_directory_path();
}

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

const fs::path& StateHome() {
  static const TTempFolder home;
  return home.Path();
}

TRun RunProgram(const std::vector<std::string>& args, const fs::path& cwd, const std::vector<std::string>& env,
                const std::string& launcher) {
  const TTempFolder capture;
  std::string command = "cd " + Quoted(cwd.string()) + " && XDG_STATE_HOME=" + Quoted(StateHome().string());
  for (const std::string& assignment : env) {
    const std::size_t equals = assignment.find('=');
    command += " " + assignment.substr(0, equals + 1) + Quoted(assignment.substr(equals + 1));
  }
  command += " " + launcher + Quoted(VELTRANE_CLI_PATH);
  for (const std::string& arg : args) command += " " + Quoted(arg);
  command +=
      " </dev/null >" + Quoted((capture.Path() / "out").string()) + " 2>" + Quoted((capture.Path() / "err").string());
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

TSpawned::TSpawned(const std::vector<std::string>& args, const fs::path& cwd, Output output,
                   const std::vector<std::string>& env) {
  // Everything is made before the fork: the child only calls what is safe there.
  std::vector<std::string> overrides{"XDG_STATE_HOME=" + StateHome().string()};
  overrides.insert(overrides.end(), env.begin(), env.end());
  std::vector<std::string> environment;
  for (char** variable = environ; *variable != nullptr; ++variable) {
    const std::string entry = *variable;
    const std::string name = entry.substr(0, entry.find('=') + 1);
    bool replaced = false;
    for (const std::string& o : overrides) replaced = replaced || o.rfind(name, 0) == 0;
    if (!replaced) environment.push_back(entry);
  }
  environment.insert(environment.end(), overrides.begin(), overrides.end());
  std::vector<char*> envp;
  for (std::string& entry : environment) envp.push_back(entry.data());
  envp.push_back(nullptr);
  std::vector<char*> argv{const_cast<char*>(VELTRANE_CLI_PATH)};
  std::vector<std::string> argStore(args);
  for (std::string& arg : argStore) argv.push_back(arg.data());
  argv.push_back(nullptr);
  const std::string errPath = (Capture_.Path() / "err").string();
  int slave = -1;
  int pipeFds[2] = {-1, -1};
  const bool terminal = output != Output::Pipe;
  if (terminal) {
    // A wide terminal that does not turn "\n" into "\r\n", so lines read as written.
    termios mode{};
    ::cfmakeraw(&mode);
    winsize size{};
    size.ws_col = 200;
    size.ws_row = 50;
    if (::openpty(&Fd_, &slave, nullptr, &mode, &size) != 0) throw std::runtime_error("openpty");
  } else {
    if (::pipe(pipeFds) != 0) throw std::runtime_error("pipe");
    Fd_ = pipeFds[0];
  }
  Pid_ = ::fork();
  if (Pid_ < 0) throw std::runtime_error("fork");
  if (Pid_ == 0) {
    const int in = output == Output::TerminalInOut ? slave : ::open("/dev/null", O_RDONLY);
    ::dup2(in, 0);
    if (terminal) {
      ::setsid();
      ::dup2(slave, 1);
      ::dup2(slave, 2);
    } else {
      ::dup2(pipeFds[1], 1);
      const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      ::dup2(err, 2);
    }
    ::closefrom(3);
    if (::chdir(cwd.c_str()) != 0) ::_exit(127);
    ::execve(VELTRANE_CLI_PATH, argv.data(), envp.data());
    ::_exit(127);
  }
  if (slave >= 0) ::close(slave);
  if (pipeFds[1] >= 0) ::close(pipeFds[1]);
}

void TSpawned::Write(const std::string& text) const {
  for (std::size_t done = 0; done < text.size();) {
    const ssize_t n = ::write(Fd_, text.data() + done, text.size() - done);
    if (n <= 0) return;
    done += static_cast<std::size_t>(n);
  }
}

TSpawned::~TSpawned() {
  CloseOutput();
  if (Pid_ > 0) {
    ::kill(Pid_, SIGKILL);
    Wait();
  }
}

bool TSpawned::ReadLine(std::string& line) {
  for (;;) {
    const std::size_t end = Pending_.find('\n');
    if (end != std::string::npos) {
      line = Pending_.substr(0, end);
      Pending_.erase(0, end + 1);
      return true;
    }
    char buffer[4096];
    const ssize_t n = Fd_ < 0 ? 0 : ::read(Fd_, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;  // a pseudo-terminal whose other side has gone says EIO
    Pending_.append(buffer, static_cast<std::size_t>(n));
  }
}

std::string TSpawned::ReadAll() {
  std::string all;
  std::string line;
  while (ReadLine(line)) all += line + "\n";
  all += Pending_;
  Pending_.clear();
  return all;
}

void TSpawned::CloseOutput() {
  if (Fd_ >= 0) ::close(Fd_);
  Fd_ = -1;
}

void TSpawned::Signal(int signo) const { ::kill(Pid_, signo); }

int TSpawned::Wait() {
  if (Pid_ <= 0) return -1;
  int status = 0;
  while (::waitpid(Pid_, &status, 0) < 0 && errno == EINTR) {
  }
  Pid_ = -1;
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string TSpawned::Err() const { return Slurp(Capture_.Path() / "err"); }

}  // namespace vt::test
