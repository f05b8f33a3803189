#pragma once
// A real folder of its own for a test, removed with everything in it afterwards.
#include <filesystem>
#include <random>
#include <string>

namespace vt::test {

class TTempFolder {
 public:
  TTempFolder() {
    std::random_device random;
    for (;;) {
      Path_ = std::filesystem::temp_directory_path() /
              ("vt-results-" + std::to_string(random()) + std::to_string(random()));
      if (std::filesystem::create_directory(Path_)) break;
    }
  }
  ~TTempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(Path_, ignored);
  }
  TTempFolder(const TTempFolder&) = delete;
  TTempFolder& operator=(const TTempFolder&) = delete;

  std::string File(const std::string& name) const { return (Path_ / name).string(); }
  const std::filesystem::path& Path() const { return Path_; }

 private:
  std::filesystem::path Path_;
};

}  // namespace vt::test
