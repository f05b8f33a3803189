#pragma once
// A real folder under the system's temporary folder, removed with everything in it.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <stdexcept>
#include <string>

namespace vt::test {

class TTempFolder {
 public:
  TTempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vt-engine-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern + "/";
  }
  ~TTempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TTempFolder(const TTempFolder&) = delete;
  TTempFolder& operator=(const TTempFolder&) = delete;

  // Ends with "/".
  const std::string& Path() const { return path_; }

  void Write(const std::string& name, const std::string& content) const {
    std::ofstream(path_ + name, std::ios::binary) << content;
  }
  std::string Read(const std::string& name) const {
    std::ifstream in(path_ + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  void MakeFolder(const std::string& name) const { std::filesystem::create_directory(path_ + name); }

  // Names in the folder (or a sub-folder), sorted.
  std::set<std::string> Names(const std::string& sub = {}) const {
    std::set<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(path_ + sub)) {
      names.insert(e.path().filename().string());
    }
    return names;
  }

 private:
  std::string path_;
};

}  // namespace vt::test
