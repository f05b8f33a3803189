// Stress of "what moves is what was checked": COUNT files renamed by
// veltrane-cli -x, then renamed back by its recover, while another process
// keeps swapping files for folders and FIFOs (moving a file aside, putting a
// folder or a FIFO under its name for a moment, then the file back). Neither
// pass may rename a folder or a FIFO: afterwards no folder or FIFO may carry
// a name the pass gives. Prints, per pass, rows "Ok"/"Error", swaps made and
// folders or FIFOs renamed; exit status 1 when one was renamed.
//   bench_stress_swap VELTRANE_CLI FOLDER_PARENT [COUNT]
// Bounded: everything ends after 120 seconds at most.
#include <dirent.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace {

std::string Name(const char* prefix, long n) {
  char name[32];
  std::snprintf(name, sizeof name, "%s%05ld.dat", prefix, n);
  return name;
}

// The other process: swaps a batch of entries named prefix* for folders or
// FIFOs, holds them a moment, then puts the files back.
[[noreturn]] void Swapper(const std::string& folder, const char* prefix, long count, std::atomic<long>* swaps,
                          std::atomic<bool>* stop) {
  std::mt19937 random(static_cast<unsigned>(::getpid()));
  const int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  struct TSwap {
    std::string name;
    bool fifo;
  };
  std::vector<TSwap> held;
  while (!stop->load()) {
    held.clear();
    for (int i = 0; i < 64; ++i) {
      const std::string name = Name(prefix, static_cast<long>(random() % static_cast<unsigned long>(count)));
      if (::renameat2(dirFd, name.c_str(), dirFd, (".aside-" + name).c_str(), RENAME_NOREPLACE) != 0) continue;
      const bool fifo = random() % 2 == 0;
      if ((fifo ? ::mkfifoat(dirFd, name.c_str(), 0644) : ::mkdirat(dirFd, name.c_str(), 0755)) == 0)
        swaps->fetch_add(1);
      held.push_back({name, fifo});
    }
    ::usleep(200);
    for (const TSwap& swap : held) {
      // Whatever was renamed meanwhile is no longer ours to take away.
      ::unlinkat(dirFd, swap.name.c_str(), swap.fifo ? 0 : AT_REMOVEDIR);
      ::renameat2(dirFd, (".aside-" + swap.name).c_str(), dirFd, swap.name.c_str(), RENAME_NOREPLACE);
    }
  }
  ::close(dirFd);
  ::_exit(0);
}

struct TCounts {
  long ok = 0, errors = 0;
};

TCounts CountRows(const std::string& rows) {
  TCounts counts;
  std::FILE* in = std::fopen(rows.c_str(), "r");
  char line[4096];
  while (in && std::fgets(line, sizeof line, in)) {
    std::string text(line);
    if (text.ends_with("\tOk\n"))
      ++counts.ok;
    else if (text.ends_with("\tError\n"))
      ++counts.errors;
  }
  if (in) std::fclose(in);
  return counts;
}

// Folders and FIFOs under a name only the pass gives.
long NotFilesNamed(const std::string& folder, const char* prefix) {
  long found = 0;
  DIR* dir = ::opendir(folder.c_str());
  while (const dirent* entry = dir ? ::readdir(dir) : nullptr) {
    if (std::string(entry->d_name).rfind(prefix, 0) != 0) continue;
    struct stat st {};
    if (::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && !S_ISREG(st.st_mode)) ++found;
  }
  if (dir) ::closedir(dir);
  return found;
}

int Run(const std::string& cli, const std::vector<std::string>& args, const std::string& rows,
        const std::string& state) {
  const pid_t pass = ::fork();
  if (pass == 0) {
    const int out = ::open(rows.c_str(), O_CREAT | O_WRONLY | O_TRUNC | O_CLOEXEC, 0644);
    ::dup2(out, 1);
    ::setenv("XDG_STATE_HOME", state.c_str(), 1);
    std::vector<char*> argv{const_cast<char*>(cli.c_str())};
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    ::execv(cli.c_str(), argv.data());
    ::_exit(127);
  }
  int status = 0;
  ::waitpid(pass, &status, 0);
  return status;
}

// One pass under the swapper; the folders and FIFOs it left under the pass's names.
long Stressed(const std::string& cli, const std::string& folder, const char* from, const char* to, long count,
              const std::vector<std::string>& args, const std::string& state, const char* what) {
  auto* shared = static_cast<char*>(::mmap(nullptr, 4096, PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0));
  auto* swaps = new (shared) std::atomic<long>(0);
  auto* stop = new (shared + 64) std::atomic<bool>(false);
  const pid_t swapper = ::fork();
  if (swapper == 0) Swapper(folder, from, count, swaps, stop);
  while (swaps->load() < 50) ::usleep(200);
  const std::string rows = state + "/rows.tsv";
  Run(cli, args, rows, state);
  stop->store(true);
  ::waitpid(swapper, nullptr, 0);
  const TCounts counts = CountRows(rows);
  const long wrong = NotFilesNamed(folder, to);
  std::printf("%-8s %6ld Ok %6ld Error, %6ld swaps, folders/FIFOs renamed: %ld\n", what, counts.ok, counts.errors,
              swaps->load(), wrong);
  ::munmap(shared, 4096);
  return wrong;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s VELTRANE_CLI FOLDER_PARENT [COUNT]\n", argv[0]);
    return 2;
  }
  ::alarm(120);
  const std::string cli = argv[1];
  const long count = argc > 3 ? std::atol(argv[3]) : 5000;
  std::string folder = std::string(argv[2]) + "/vt-swap-XXXXXX";
  std::string state = std::filesystem::temp_directory_path().string() + "/vt-swap-state-XXXXXX";
  if (::mkdtemp(folder.data()) == nullptr || ::mkdtemp(state.data()) == nullptr) {
    std::perror("mkdtemp");
    return 2;
  }
  folder += "/";
  for (long n = 0; n < count; ++n) {
    const int fd = ::open((folder + Name("src_", n)).c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0644);
    if (fd >= 0) ::close(fd);
  }
  const std::string record = state + "/pass.vtr";
  long wrong =
      Stressed(cli, folder, "src_", "dst_", count,
               {"-x", "-f", "tsv", "--save", record, "-m", "src_*", folder, "replace", "src_", "dst_"}, state, "pass");
  wrong += Stressed(cli, folder, "dst_", "src_", count, {"-f", "tsv", "recover", record}, state, "recover");
  std::filesystem::remove_all(folder);
  std::filesystem::remove_all(state);
  return wrong == 0 ? 0 : 1;
}
