#pragma once
// Temporary trees (the one temporary folder, paths as texts) and a mount table
// of the test's own for the volume tests.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/MountTable.h"
#include "platform/Volumes.h"
#include "support/TempFolder.h"

namespace vt::test {

class TVolumeTempDir {
 public:
  TVolumeTempDir() : Path_(Folder_.Path().string()) {}
  const std::string& Path() const { return Path_; }
  std::string operator/(const std::string& name) const { return Path_ + "/" + name; }

  std::string MakeDir(const std::string& name) const {
    std::filesystem::create_directories(*this / name);
    return *this / name;
  }
  std::string MakeFile(const std::string& name, const std::string& content = "") const {
    std::filesystem::create_directories(std::filesystem::path(*this / name).parent_path());
    std::ofstream(*this / name) << content;
    return *this / name;
  }
  void MakeLink(const std::string& target, const std::string& name) const {
    std::filesystem::create_directories(std::filesystem::path(*this / name).parent_path());
    std::filesystem::create_symlink(target, *this / name);
  }

 private:
  TTempFolder Folder_;  // support/TempFolder.h: made first, removed last
  std::string Path_;
};

// Sets a mount table and a device-file tree for the scope, then gives the system's back.
class TScopedMountTable {
 public:
  explicit TScopedMountTable(const std::string& mountInfo, const std::string& deviceRoot) {
    SetMountTableForTesting(mountInfo);
    SetDeviceFilesRootForTesting(deviceRoot);
  }
  ~TScopedMountTable() {
    SetMountTableForTesting(std::nullopt);
    SetDeviceFilesRootForTesting("");
  }
};

// Keeps the process's current folder across a test.
class TCurrentFolderGuard {
 public:
  TCurrentFolderGuard() : Saved_(std::filesystem::current_path()) {}
  ~TCurrentFolderGuard() {
    std::error_code ignored;
    std::filesystem::current_path(Saved_, ignored);
  }

 private:
  std::filesystem::path Saved_;
};

// One mountinfo line.
inline std::string MountLine(int id, const std::string& device, const std::string& mountPoint, const std::string& type,
                             const std::string& source) {
  return std::to_string(id) + " 1 " + device + " / " + mountPoint + " rw,relatime shared:1 - " + type + " " + source +
         " rw\n";
}

}  // namespace vt::test
