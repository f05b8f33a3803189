// The walk through sub-folders, against the least a safe walker does: a bare
// handle-based walk (readdir, fstatat, renameat2(RENAME_NOREPLACE) for the
// files, openat(O_NOFOLLOW) for the folders) that renames the same files. The
// pass is veltrane-cli -x -r --no-save ... case lower, rows to /dev/null; each round
// the bare walk and the pass change the case of every name, one to upper, the
// other back to lower. Trees: 2,000 folders of 50 files, and chains of nested
// folders (5 files each) 500, 1,000 and 2,000 deep, to see the cost grow
// linearly with the depth. Both are started as programs (exec), so both pay
// for starting a process and loading their libraries. Medians of wall-clock and CPU time (user + system)
// of child processes; the CPU ratio carries much less of a busy machine's noise.
//   bench_fs_walk VELTRANE_CLI [ROUNDS] [PARENT]
#include <dirent.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

void Touch(int dirFd, const std::string& name) {
  ::close(::openat(dirFd, name.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644));
}

int MakeFolder(int dirFd, const std::string& name) {
  ::mkdirat(dirFd, name.c_str(), 0755);
  return ::openat(dirFd, name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

void MakeWide(const std::string& root, int folders, int files) {
  const int top = ::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  char name[64];
  for (int f = 0; f < folders; ++f) {
    std::snprintf(name, sizeof name, "folder_%04d", f);
    const int fd = MakeFolder(top, name);
    for (int i = 0; i < files; ++i) {
      std::snprintf(name, sizeof name, "file_%02d.txt", i);
      Touch(fd, name);
    }
    ::close(fd);
  }
  ::close(top);
}

void MakeChain(const std::string& root, int depth, int files) {
  int fd = ::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  char name[64];
  for (int level = 0; level < depth; ++level) {
    for (int i = 0; i < files; ++i) {
      std::snprintf(name, sizeof name, "file_%02d.txt", i);
      Touch(fd, name);
    }
    const int next = MakeFolder(fd, "d");
    ::close(fd);
    fd = next;
  }
  ::close(fd);
}

bool Recase(const char* name, bool upper, std::string& target) {
  target = name;
  for (char& c : target)
    c = static_cast<char>(upper ? std::toupper(static_cast<unsigned char>(c))
                                : std::tolower(static_cast<unsigned char>(c)));
  return target != name;
}

void BareWalk(int fd, bool upper, std::size_t& renamed) {
  DIR* dir = ::fdopendir(::fcntl(fd, F_DUPFD_CLOEXEC, 0));
  ::rewinddir(dir);
  std::vector<std::string> files, folders;
  while (const dirent* entry = ::readdir(dir)) {
    if (entry->d_name[0] == '.') continue;
    if (entry->d_type == DT_DIR)
      folders.emplace_back(entry->d_name);
    else
      files.emplace_back(entry->d_name);
  }
  ::closedir(dir);
  std::string target;
  for (const std::string& name : files) {
    struct stat st {};
    if (::fstatat(fd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode) &&
        Recase(name.c_str(), upper, target) && ::renameat2(fd, name.c_str(), fd, target.c_str(), RENAME_NOREPLACE) == 0)
      ++renamed;
  }
  for (const std::string& name : folders) {
    const int sub = ::openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (sub < 0) continue;
    BareWalk(sub, upper, renamed);
    ::close(sub);
  }
}

struct TTimes {
  double wall;
  double cpu;
};

// Runs work in a child process: wall-clock and the child's CPU time.
template <typename F>
TTimes InChild(F&& work) {
  const auto start = Clock::now();
  const pid_t pid = ::fork();
  if (pid == 0) ::_exit(work());
  int status = 0;
  rusage usage{};
  ::wait4(pid, &status, 0, &usage);
  const double wall = std::chrono::duration<double>(Clock::now() - start).count();
  const auto seconds = [](const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
  };
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) std::fprintf(stderr, "a round failed (status %d)\n", status);
  return {wall, seconds(usage.ru_utime) + seconds(usage.ru_stime)};
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

void Compare(const char* label, const std::string& cli, const std::string& root, int rounds) {
  std::vector<double> bareWall, bareCpu, passWall, passCpu;
  for (int round = 0; round < rounds; ++round) {
    // Started as a program of its own, as the pass is: both pay for starting.
    const TTimes bare = InChild([&] {
      ::execl("/proc/self/exe", "bench_fs_walk", "--bare", root.c_str(), static_cast<char*>(nullptr));
      return 127;
    });
    const TTimes pass = InChild([&] {
      const int null = ::open("/dev/null", O_WRONLY);
      ::dup2(null, 1);
      ::execl(cli.c_str(), cli.c_str(), "-x", "-r", "--no-save", "-f", "tsv", root.c_str(), "case", "lower",
              static_cast<char*>(nullptr));
      return 127;
    });
    bareWall.push_back(bare.wall);
    bareCpu.push_back(bare.cpu);
    passWall.push_back(pass.wall);
    passCpu.push_back(pass.cpu);
  }
  std::printf("%-22s bare %.3f s (cpu %.3f)  pass %.3f s (cpu %.3f)  ratio %.2f wall, %.2f cpu\n", label,
              Median(bareWall), Median(bareCpu), Median(passWall), Median(passCpu), Median(passWall) / Median(bareWall),
              Median(passCpu) / Median(bareCpu));
  std::fflush(stdout);
}

}  // namespace

// The bare walk of one round: to upper case.
int RunBare(const char* root) {
  const int fd = ::open(root, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  std::size_t renamed = 0;
  BareWalk(fd, true, renamed);
  return renamed > 0 ? 0 : 1;
}

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--bare") == 0) return RunBare(argv[2]);
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s VELTRANE_CLI [ROUNDS] [PARENT]\n", argv[0]);
    return 2;
  }
  const std::string cli = argv[1];
  const int rounds = argc > 2 ? std::atoi(argv[2]) : 5;
  const std::string parent = argc > 3 ? argv[3] : std::filesystem::temp_directory_path().string();
  std::string base = parent + "/vt-walk-XXXXXX";
  if (::mkdtemp(base.data()) == nullptr) {
    std::perror("mkdtemp");
    return 2;
  }
  std::printf("rounds %d in %s; target: the pass within 1.15 x the bare walk\n", rounds, parent.c_str());
  const std::string wide = base + "/wide";
  ::mkdir(wide.c_str(), 0755);
  MakeWide(wide, 2000, 50);
  Compare("2,000 folders x 50", cli, wide, rounds);
  std::filesystem::remove_all(wide);
  for (const int depth : {500, 1000, 2000}) {
    const std::string chain = base + "/chain" + std::to_string(depth);
    ::mkdir(chain.c_str(), 0755);
    MakeChain(chain, depth, 5);
    Compare(("chain of " + std::to_string(depth) + " x 5").c_str(), cli, chain, rounds);
    std::filesystem::remove_all(chain);
  }
  std::filesystem::remove_all(base);
  return 0;
}
