#include "platform/CurrentFolder.h"

#include <unistd.h>

#include <cerrno>
#include <map>

#include "platform/Volumes.h"

namespace vt {

namespace {

std::map<std::string, std::string>& LastFolders() {
  static std::map<std::string, std::string> folders;
  return folders;
}

bool IsUnder(const std::string& path, const std::string& root) {
  if (root == "/") return !path.empty() && path[0] == '/';
  return path == root ||
         (path.size() > root.size() && path.compare(0, root.size(), root) == 0 && path[root.size()] == '/');
}

std::string ParentOf(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == 0 || slash == std::string::npos ? std::string("/") : path.substr(0, slash);
}

int ChangeTo(const std::string& path) { return ::chdir(path.c_str()) == 0 ? 0 : errno; }

void Remember() {
  const std::string folder = GetCurrentFolder();
  if (!folder.empty()) LastFolders()[MountRootOf(folder)] = folder;
}

}  // namespace

std::string GetCurrentFolder() {
  std::string buffer(256, '\0');
  for (;;) {
    if (::getcwd(buffer.data(), buffer.size()) != nullptr) {
      buffer.resize(std::char_traits<char>::length(buffer.c_str()));
      return buffer;
    }
    if (errno != ERANGE) return {};
    buffer.resize(buffer.size() * 2);
  }
}

int SetCurrentFolder(const std::string& path) {
  if (path.empty()) return ENOENT;
  const int error = ChangeTo(path);
  if (error == 0) Remember();
  return error;
}

std::string LastFolderOnVolume(const std::string& root) {
  const auto& folders = LastFolders();
  const auto found = folders.find(root);
  // A mount may have come or gone since: only a folder still on this volume counts.
  if (found == folders.end() || !IsUnder(found->second, root) || MountRootOf(found->second) != root) return root;
  return found->second;
}

int SetCurrentVolume(const std::string& root) {
  for (std::string folder = LastFolderOnVolume(root); folder != root && IsUnder(folder, root);
       folder = ParentOf(folder))
    if (ChangeTo(folder) == 0) return Remember(), 0;
  return SetCurrentFolder(root);
}

}  // namespace vt
