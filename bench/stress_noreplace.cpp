// Stress of the no-replace rename: 10,000 files renamed by veltrane-cli -x
// while another process keeps creating the very names they are renamed to.
// Afterwards every file the two made must still be there, whole: checked by
// the hash of each content. Prints renames, collisions and files lost.
//   bench_stress_noreplace VELTRANE_CLI FOLDER_PARENT [COUNT]
// Bounded in time: the creator stops when the pass ends, and everything ends
// after 120 seconds at most.
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace {

std::uint64_t Fnv1a(const std::string& text) {
  std::uint64_t hash = 1469598103934665603ull;
  for (const char c : text) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
  return hash;
}

bool WriteFile(const std::string& path, const std::string& content) {
  const int fd = ::open(path.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  const bool ok = ::write(fd, content.data(), content.size()) == static_cast<ssize_t>(content.size());
  ::close(fd);
  return ok;
}

std::string ReadFile(const std::string& path) {
  std::string content;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  char buffer[256];
  for (ssize_t n; fd >= 0 && (n = ::read(fd, buffer, sizeof buffer)) > 0;)
    content.append(buffer, static_cast<std::size_t>(n));
  if (fd >= 0) ::close(fd);
  return content;
}

std::string Target(const std::string& folder, long n) {
  char name[32];
  std::snprintf(name, sizeof name, "dst_%05ld.dat", n);
  return folder + name;
}

// The other process: makes whole files appear under target names (written
// aside, then linked into place, so no half file is ever seen; created in
// place where the volume has no links), and counts each it placed in shared
// memory.
[[noreturn]] void Creator(const std::string& folder, long count, std::atomic<long>* created, std::atomic<bool>* stop) {
  std::mt19937 random(static_cast<unsigned>(::getpid()));
  const std::string scratch = folder + ".creator-scratch";
  for (long round = 0; !stop->load(); ++round) {
    const long n = static_cast<long>(random() % static_cast<unsigned long>(count));
    ::unlink(scratch.c_str());
    const std::string content = "theirs " + std::to_string(n) + " " + std::to_string(round);
    if (!WriteFile(scratch, content)) continue;
    if (::link(scratch.c_str(), Target(folder, n).c_str()) == 0) {
      created->fetch_add(1);
    } else if (errno == EPERM || errno == EOPNOTSUPP) {
      // A volume without hard links (exFAT): created in place, exclusively.
      if (WriteFile(Target(folder, n), content)) created->fetch_add(1);
    }
  }
  ::unlink(scratch.c_str());
  ::_exit(0);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s VELTRANE_CLI FOLDER_PARENT [COUNT]\n", argv[0]);
    return 2;
  }
  ::alarm(120);
  const std::string cli = argv[1];
  const long count = argc > 3 ? std::atol(argv[3]) : 10000;
  std::string folder = std::string(argv[2]) + "/vt-stress-XXXXXX";
  if (::mkdtemp(folder.data()) == nullptr) {
    std::perror("mkdtemp");
    return 2;
  }
  folder += "/";

  std::multiset<std::uint64_t> expected;
  for (long n = 0; n < count; ++n) {
    char name[32];
    std::snprintf(name, sizeof name, "src_%05ld.dat", n);
    const std::string content = "mine " + std::to_string(n);
    WriteFile(folder + name, content);
    expected.insert(Fnv1a(content));
  }

  auto* shared = static_cast<char*>(::mmap(nullptr, 4096, PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0));
  auto* created = new (shared) std::atomic<long>(0);
  auto* stop = new (shared + 64) std::atomic<bool>(false);
  const pid_t creator = ::fork();
  if (creator == 0) Creator(folder, count, created, stop);
  while (created->load() < count / 20) ::usleep(1000);  // some targets are taken before the pass starts

  const std::string rows = folder + ".rows";
  // Result files the program keeps of its own go to a folder of ours, not the user's.
  std::string state = std::filesystem::temp_directory_path().string() + "/vt-stress-state-XXXXXX";
  if (::mkdtemp(state.data()) == nullptr) {
    std::perror("mkdtemp");
    return 2;
  }
  const pid_t pass = ::fork();
  if (pass == 0) {
    const int out = ::open(rows.c_str(), O_CREAT | O_WRONLY | O_TRUNC | O_CLOEXEC, 0644);
    ::dup2(out, 1);
    ::setenv("XDG_STATE_HOME", state.c_str(), 1);
    ::execl(cli.c_str(), cli.c_str(), "-x", "-f", "tsv", "-m", "src_*", folder.c_str(), "replace", "src_", "dst_",
            static_cast<char*>(nullptr));
    ::_exit(127);
  }
  int status = 0;
  ::waitpid(pass, &status, 0);
  stop->store(true);
  ::waitpid(creator, nullptr, 0);

  long ok = 0, errors = 0;
  {
    const std::string text = ReadFile(rows);
    std::size_t start = 0;
    while (start < text.size()) {
      std::size_t end = text.find('\n', start);
      if (end == std::string::npos) end = text.size();
      const std::string line = text.substr(start, end - start);
      if (line.ends_with("\tOk"))
        ++ok;
      else if (line.ends_with("\tError"))
        ++errors;
      start = end + 1;
    }
  }
  ::unlink(rows.c_str());

  // Every file the creator placed is expected as well: count them on disk by
  // their content's prefix, since which rounds won is known only to it.
  std::multiset<std::uint64_t> found;
  long theirs = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    const std::string content = ReadFile(entry.path().string());
    if (content.starts_with("theirs ")) {
      ++theirs;
      continue;
    }
    found.insert(Fnv1a(content));
  }
  long lost = 0;
  for (const std::uint64_t hash : expected) {
    const auto it = found.find(hash);
    if (it == found.end())
      ++lost;
    else
      found.erase(it);
  }
  const long theirsLost = created->load() - theirs;
  std::printf(
      "%s: %ld files, pass exit %d: %ld renamed (Ok), %ld collisions (Error); the other process placed %ld "
      "files; files lost: %ld of ours, %ld of theirs\n",
      argv[2], count, WIFEXITED(status) ? WEXITSTATUS(status) : -1, ok, errors, created->load(), lost, theirsLost);
  std::filesystem::remove_all(folder);
  std::filesystem::remove_all(state);
  return lost == 0 && theirsLost == 0 && ok + errors == count ? 0 : 1;
}
