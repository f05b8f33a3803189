#include "platform/FileHead.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/ImmutableFlags.h"

namespace vt {
namespace {

TFileStat StatOf(const struct stat& st) {
  return TFileStat{st.st_mtim.tv_sec, static_cast<std::uint32_t>(st.st_mtim.tv_nsec),
                   static_cast<std::uint64_t>(st.st_size)};
}

// Closes the descriptor it was given when it goes.
class TOpenFile {
 public:
  explicit TOpenFile(int fd) : Fd_(fd) {}
  ~TOpenFile() {
    if (Fd_ >= 0) ::close(Fd_);
  }
  TOpenFile(const TOpenFile&) = delete;
  TOpenFile& operator=(const TOpenFile&) = delete;
  int Fd() const { return Fd_; }

 private:
  int Fd_;
};

}  // namespace

TFileStat FileStatOf(const TEntryInfo& info) {
  // Rounded down, so that a date before 1970 keeps its nanoseconds positive.
  constexpr std::int64_t kBillion = 1'000'000'000;
  std::int64_t seconds = info.MtimeNs / kBillion;
  std::int64_t nanoseconds = info.MtimeNs % kBillion;
  if (nanoseconds < 0) {
    seconds -= 1;
    nanoseconds += kBillion;
  }
  return TFileStat{static_cast<std::time_t>(seconds), static_cast<std::uint32_t>(nanoseconds), info.Size};
}

std::optional<TFileStat> StatEntry(const TFolderHandle& folder, const std::string& name) {
  struct stat st {};
  if (::fstatat(folder.Fd(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) return std::nullopt;
  return StatOf(st);
}

int ReadFileHead(const TFolderHandle& folder, const std::string& name, std::size_t max, std::string& head,
                 TEntryInfo& looked) {
  head.clear();
  // Non-blocking: a pipe put where the file was must not hold the pass.
  const TOpenFile file(::openat(folder.Fd(), name.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY));
  if (file.Fd() < 0) return errno;
  if (const int error = LookWithFlags(file.Fd(), looked)) return error;
  if (!looked.Regular) return EISDIR;
  const std::size_t wanted = std::min<std::size_t>(max, looked.Size);
  head.resize(wanted);
  std::size_t got = 0;
  while (got < wanted) {
    const ssize_t read = ::pread(file.Fd(), head.data() + got, wanted - got, static_cast<off_t>(got));
    if (read < 0 && errno == EINTR) continue;
    if (read < 0) return errno;
    if (read == 0) break;
    got += static_cast<std::size_t>(read);
  }
  head.resize(got);
  return 0;
}

}  // namespace vt
