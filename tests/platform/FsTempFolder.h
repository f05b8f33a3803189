#pragma once
// A real temporary folder, removed with everything in it at the end.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace vt::test {

class TFsTempFolder {
 public:
  explicit TFsTempFolder(const std::filesystem::path& base = std::filesystem::temp_directory_path()) {
    std::string pattern = (base / "vt-fs-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    path_ = pattern + "/";
  }
  ~TFsTempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TFsTempFolder(const TFsTempFolder&) = delete;
  TFsTempFolder& operator=(const TFsTempFolder&) = delete;

  // Ends with "/".
  const std::string& Path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + name; }

  void Write(const std::string& name, const std::string& content = "") const {
    std::ofstream(path_ + name, std::ios::binary) << content;
  }
  std::string Read(const std::string& name) const {
    std::ifstream in(path_ + name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
  bool Exists(const std::string& name) const {
    struct stat st {};
    return ::lstat((path_ + name).c_str(), &st) == 0;
  }
  void MakeFolder(const std::string& name) const { std::filesystem::create_directories(path_ + name); }

 private:
  std::string path_;
};

}  // namespace vt::test
