#pragma once
// The one temporary folder (support/TempFolder.h) as the platform tests spell
// paths: texts ending with "/".
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "support/TempFolder.h"

namespace vt::test {

class TFsTempFolder {
 public:
  explicit TFsTempFolder(const std::filesystem::path& base = std::filesystem::temp_directory_path())
      : Folder_(base), Path_(Folder_.Folder()) {}

  // Ends with "/".
  const std::string& Path() const { return Path_; }
  std::string operator/(const std::string& name) const { return Path_ + name; }

  void Write(const std::string& name, const std::string& content = "") const {
    std::ofstream(Path_ + name, std::ios::binary) << content;
  }
  std::string Read(const std::string& name) const {
    std::ifstream in(Path_ + name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
  bool Exists(const std::string& name) const {
    struct stat st {};
    return ::lstat((Path_ + name).c_str(), &st) == 0;
  }
  void MakeFolder(const std::string& name) const { std::filesystem::create_directories(Path_ + name); }

 private:
  TTempFolder Folder_;
  std::string Path_;
};

}  // namespace vt::test
