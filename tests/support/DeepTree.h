#pragma once
// A chain of nested folders deeper than PATH_MAX, made, read and removed
// through folder handles, since no path can name its depths.
#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace vt::test {

class TDeepChain {
 public:
  // levels folders named `name` under root, with the file `file` (holding
  // `content`) in the deepest.
  TDeepChain(const std::string& root, const std::string& name, std::size_t levels, const std::string& file,
             const std::string& content)
      : root_(root), name_(name), levels_(levels) {
    int fd = ::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    for (std::size_t i = 0; i < levels && fd >= 0; ++i) {
      ::mkdirat(fd, name.c_str(), 0755);
      const int next = ::openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
      ::close(fd);
      fd = next;
    }
    if (fd < 0) return;
    const int out = ::openat(fd, file.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
    if (out >= 0) {
      made_ = ::write(out, content.data(), content.size()) == static_cast<ssize_t>(content.size());
      ::close(out);
    }
    ::close(fd);
  }
  ~TDeepChain() { Remove(); }
  TDeepChain(const TDeepChain&) = delete;
  TDeepChain& operator=(const TDeepChain&) = delete;

  bool Made() const { return made_; }
  // The path of the deepest folder as text, ending with "/".
  std::string DeepestPath() const {
    std::string path = root_;
    for (std::size_t i = 0; i < levels_; ++i) path += name_ + "/";
    return path;
  }
  // Names of the entries of the deepest folder, and the content of one of them.
  std::vector<std::string> DeepestNames() const {
    std::vector<std::string> names;
    const int fd = Deepest();
    if (fd < 0) return names;
    DIR* dir = ::fdopendir(fd);
    while (const dirent* entry = ::readdir(dir))
      if (entry->d_name[0] != '.') names.emplace_back(entry->d_name);
    ::closedir(dir);
    return names;
  }
  std::string DeepestContent(const std::string& file) const {
    std::string content;
    const int fd = Deepest();
    if (fd < 0) return content;
    const int in = ::openat(fd, file.c_str(), O_RDONLY | O_CLOEXEC);
    char buffer[256];
    for (ssize_t n; in >= 0 && (n = ::read(in, buffer, sizeof buffer)) > 0;)
      content.append(buffer, static_cast<std::size_t>(n));
    if (in >= 0) ::close(in);
    ::close(fd);
    return content;
  }

  // Deepest level first, so that no path ever grows long.
  void Remove() {
    for (std::size_t depth = levels_; depth > 0; --depth) {
      const int fd = Open(depth - 1);
      if (fd < 0) continue;
      const int inner = ::openat(fd, name_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
      if (inner >= 0) {
        DIR* dir = ::fdopendir(inner);
        while (const dirent* entry = ::readdir(dir))
          if (entry->d_name[0] != '.' || (entry->d_name[1] != '\0' && std::string(entry->d_name) != ".."))
            ::unlinkat(::dirfd(dir), entry->d_name, 0);
        ::closedir(dir);
      }
      ::unlinkat(fd, name_.c_str(), AT_REMOVEDIR);
      ::close(fd);
    }
    levels_ = 0;
  }

 private:
  int Deepest() const { return Open(levels_); }
  int Open(std::size_t depth) const {
    int fd = ::open(root_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    for (std::size_t i = 0; i < depth && fd >= 0; ++i) {
      const int next = ::openat(fd, name_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
      ::close(fd);
      fd = next;
    }
    return fd;
  }

  std::string root_;
  std::string name_;
  std::size_t levels_;
  bool made_ = false;
};

}  // namespace vt::test
