#include "results/EmptyResultFile.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "results/ResultFile.h"

namespace vt {

TExpected<void> CreateEmptyResultFile(const std::string& path) {
  // "x": fails when the name exists, whatever the entry is.
  std::FILE* file = std::fopen(path.c_str(), "wbx");
  if (!file) return Unexpected(TError{errno, TErrorKind::Create, path});
  const std::string bytes = WriteResultStream(TResultTable());
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  int error = written ? 0 : errno;
  // The close writes what the stream still holds: its failure is the file's too.
  if (std::fclose(file) != 0 && error == 0) error = errno;
  if (!written || error != 0) {
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
    return Unexpected(TError{error != 0 ? error : EIO, TErrorKind::Write, path});
  }
  return {};
}

}  // namespace vt
