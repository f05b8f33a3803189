#include "results/EmptyResultFile.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "results/ResultFile.h"

namespace vt {

int CreateEmptyResultFile(const std::string& path) {
  // "x": fails when the name exists, whatever the entry is.
  std::FILE* file = std::fopen(path.c_str(), "wbx");
  if (!file) return errno;
  const std::string bytes = WriteResultStream(TResultTable());
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  const int error = written ? 0 : errno;
  if (std::fclose(file) != 0 || !written) {
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
    return error != 0 ? error : EIO;
  }
  return 0;
}

}  // namespace vt
