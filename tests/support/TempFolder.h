#pragma once
// The tests' one temporary folder: a real folder of the test's own under the
// system's temporary folder, removed with everything in it afterwards. A folder
// that cannot be made fails the test with the system's error (the exception
// ends the test body, which then touches nothing).
#include <stdlib.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <system_error>

namespace vt::test {

class TTempFolder {
 public:
  explicit TTempFolder(const std::filesystem::path& base = std::filesystem::temp_directory_path()) {
    std::string pattern = (base / "vt-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
      throw std::system_error(errno, std::generic_category(), "cannot make a temporary folder in " + base.string());
    Path_ = std::filesystem::canonical(pattern);
  }
  ~TTempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(Path_, ignored);
  }
  TTempFolder(const TTempFolder&) = delete;
  TTempFolder& operator=(const TTempFolder&) = delete;

  const std::filesystem::path& Path() const { return Path_; }
  // The folder as a pass reports it, ending with "/".
  std::string Folder() const { return Path_.string() + "/"; }
  // The full path of name in the folder.
  std::string File(const std::string& name) const { return (Path_ / name).string(); }

  // Writes name, making the folders on its way.
  void WriteFile(const std::string& name, const std::string& content = "x") const {
    std::filesystem::create_directories((Path_ / name).parent_path());
    std::ofstream(Path_ / name, std::ios::binary) << content;
  }
  std::string ReadFile(const std::string& name) const {
    std::ifstream in(Path_ / name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  // True for any entry, a dangling link included.
  bool Exists(const std::string& name) const {
    std::error_code ignored;
    return std::filesystem::exists(std::filesystem::symlink_status(Path_ / name, ignored));
  }
  void MakeFolder(const std::string& name) const { std::filesystem::create_directories(Path_ / name); }

  // Names of the entries directly in the folder (or in its sub-folder sub).
  std::set<std::string> Names(const std::string& sub = {}) const {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(sub.empty() ? Path_ : Path_ / sub))
      names.insert(entry.path().filename().string());
    return names;
  }

 private:
  std::filesystem::path Path_;
};

}  // namespace vt::test
