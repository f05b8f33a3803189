#include "platform/AppendFile.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/PathSeparator.h"

namespace vt {

namespace {

// Test seam: VELTRANE_TEST_KILL_APPEND="N" ends the process with SIGKILL right
// after the Nth append of the process, "N:before" just before it, "N:torn" after
// half of its bytes. Read once; unset costs one branch per append.
struct TKillPoint {
  long Append = 0;
  enum { After, Before, Torn } When = After;
};

TKillPoint ReadKillPoint() {
  TKillPoint point;
  const char* value =
      std::getenv("VELTRANE_TEST_KILL_APPEND");  // NOLINT(concurrency-mt-unsafe): nothing sets the environment
  if (value == nullptr) return point;
  char* end = nullptr;
  point.Append = std::strtol(value, &end, 10);
  if (end != nullptr && std::strcmp(end, ":before") == 0) point.When = TKillPoint::Before;
  if (end != nullptr && std::strcmp(end, ":torn") == 0) point.When = TKillPoint::Torn;
  return point;
}

const TKillPoint& KillPoint() {
  static const TKillPoint point = ReadKillPoint();
  return point;
}

// Appends may come from a journal's own writing thread.
std::atomic<long> AppendsSoFar{0};

[[noreturn]] void KillNow() {
  kill(getpid(), SIGKILL);
  std::abort();
}

// at < 0: at the file's offset (which O_APPEND keeps at its end).
int WriteAll(int fd, const char* bytes, std::size_t count, off_t at = -1) {
  while (count > 0) {
    const ssize_t written = at < 0 ? write(fd, bytes, count) : pwrite(fd, bytes, count, at);
    if (written < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (written == 0) return EIO;
    bytes += written;
    count -= static_cast<std::size_t>(written);
    if (at >= 0) at += written;
  }
  return 0;
}

// The room grown ahead at a time: as much as was written so far, within these.
constexpr std::uint64_t kLeastGrowth = std::uint64_t{64} * 1024;
constexpr std::uint64_t kMostGrowth = std::uint64_t{8} * 1024 * 1024;
constexpr std::size_t kZeroChunk = std::size_t{64} * 1024;

int WriteZeros(int fd, std::uint64_t from, std::uint64_t to) {
  static const char zeros[kZeroChunk] = {};
  while (from < to) {
    const std::size_t count = static_cast<std::size_t>(std::min<std::uint64_t>(to - from, kZeroChunk));
    if (const int error = WriteAll(fd, zeros, count, static_cast<off_t>(from))) return error;
    from += count;
  }
  return 0;
}

}  // namespace

TAppendFile::~TAppendFile() { Close(); }

int TAppendFile::Create(const std::string& path, TDurability durability) {
  Close();
  // Written at End_ when it goes to the disk: the zeros ahead are overwritten.
  const int append = durability == TDurability::Disk ? 0 : O_APPEND;
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | append | O_CLOEXEC, 0600);
  if (fd < 0) return errno;
  // Held until the descriptor is closed, by this process or by its end.
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int error = errno;
    close(fd);
    unlink(path.c_str());
    return error;
  }
  Fd_ = fd;
  Durability_ = durability;
  Path_ = path;
  End_ = Room_ = 0;
  return 0;
}

int TAppendFile::Append(std::string_view bytes) {
  if (Fd_ < 0) return EBADF;
  const TKillPoint& point = KillPoint();
  const bool killHere = point.Append > 0 && ++AppendsSoFar == point.Append;
  if (killHere && point.When == TKillPoint::Before) KillNow();
  const bool disk = Durability_ == TDurability::Disk;
  const off_t at = disk ? static_cast<off_t>(End_) : -1;
  if (killHere && point.When == TKillPoint::Torn) {
    (void)WriteAll(Fd_, bytes.data(), bytes.size() / 2, at);
    KillNow();
  }
  if (const int error = WriteAll(Fd_, bytes.data(), bytes.size(), at)) return error;
  if (disk) {
    const std::uint64_t end = End_ + bytes.size();
    if (end > Room_) Grow(end);
    if (fdatasync(Fd_) != 0) return errno;
    End_ = end;
  }
  if (killHere) KillNow();
  return 0;
}

// Zeros after end, synced with the bytes before them. Where they cannot be
// written (a full disk) the file ends at end again, and the appends up to room
// grow it one by one, as without room: only slower.
void TAppendFile::Grow(std::uint64_t end) {
  Room_ = end + std::clamp(end, kLeastGrowth, kMostGrowth);
  if (WriteZeros(Fd_, end, Room_) != 0) (void)ftruncate(Fd_, static_cast<off_t>(end));
}

void TAppendFile::Close() {
  if (Fd_ < 0) return;
  // Zeros left behind would read as a torn tail, and what is appended later would follow them.
  if (Room_ > End_) (void)ftruncate(Fd_, static_cast<off_t>(End_));
  close(Fd_);
  Fd_ = -1;
  End_ = Room_ = 0;
}

bool IsWriterAlive(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool alive = flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
  close(fd);
  return alive;
}

int ReadWholeFile(const std::string& path, std::string& bytes) {
  return ReadFileStart(path, static_cast<std::size_t>(-1), bytes);
}

int ReadFileStart(const std::string& path, std::size_t maxBytes, std::string& bytes) {
  bytes.clear();
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno;
  const int error = ReadOpenFile(fd, maxBytes, bytes);
  close(fd);
  return error;
}

int ReadOpenFile(int fd, std::size_t maxBytes, std::string& bytes) {
  bytes.clear();
  struct stat info {};
  if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode))
    bytes.reserve(std::min(maxBytes, static_cast<std::size_t>(info.st_size)));
  char buffer[65536];
  while (bytes.size() < maxBytes) {
    const ssize_t got = read(fd, buffer, std::min(sizeof buffer, maxBytes - bytes.size()));
    if (got < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (got == 0) break;
    bytes.append(buffer, static_cast<std::size_t>(got));
  }
  return 0;
}

int AppendToFile(const std::string& path, std::string_view bytes) {
  const int fd = open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
  if (fd < 0) return errno;
  int error = WriteAll(fd, bytes.data(), bytes.size());
  if (close(fd) != 0 && error == 0) error = errno;
  return error;
}

int ReplaceFileTail(const std::string& path, std::uint64_t keep, std::string_view bytes) {
  const int fd = open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) return errno;
  int error = 0;
  const auto at = static_cast<off_t>(keep);
  if (ftruncate(fd, at) != 0 || lseek(fd, at, SEEK_SET) != at) error = errno;
  if (error == 0) error = WriteAll(fd, bytes.data(), bytes.size());
  if (error == 0 && fdatasync(fd) != 0) error = errno;
  if (close(fd) != 0 && error == 0) error = errno;
  return error;
}

int MakePrivateFolder(const std::string& folder, TFolderAccess& access) {
  access = TFolderAccess::Private;
  std::string path;
  std::size_t from = 0;
  while (from < folder.size()) {
    std::size_t slash = folder.find('/', from);
    if (slash == std::string::npos) slash = folder.size();
    path.assign(folder, 0, slash);
    from = slash + 1;
    if (path.empty()) continue;
    const bool last = from >= folder.size();
    // Parents get the usual mode; the folder of the records is the user's alone.
    if (mkdir(path.c_str(), last ? 0700 : 0755) != 0 && errno != EEXIST) return errno;
  }
  const std::string own = WithoutSlash(folder);
  struct stat info {};
  if (stat(own.c_str(), &info) != 0) return errno;
  if (!S_ISDIR(info.st_mode)) return ENOTDIR;
  if ((info.st_mode & (S_IRWXG | S_IRWXO)) != 0) access = TFolderAccess::OpenToOthers;
  return 0;
}

}  // namespace vt
