#include "cli/ResultSaveTarget.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "results/ResultFile.h"

namespace vt {

namespace fs = std::filesystem;

int CreateEmptyResultFile(const std::string& path) {
  // "x": fails when the name exists, whatever the entry is.
  std::FILE* file = std::fopen(path.c_str(), "wbx");
  if (!file) return errno;
  const std::string bytes = WriteResultStream(TResultTable());
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  const int error = written ? 0 : errno;
  if (std::fclose(file) != 0 || !written) {
    std::error_code ignored;
    fs::remove(path, ignored);
    return error != 0 ? error : EIO;
  }
  return 0;
}

TSettledSave SettleSaveFile(const std::string& path) {
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  if (fs::exists(status)) {
    TResultTable scratch;
    if (!fs::is_regular_file(status) || !LoadResultFile(path, scratch).Ok())
      return {std::nullopt, path + " exists and is not a result file: it is not replaced"};
    return {TSaveTarget{path, false, false}, {}};
  }
  if (const int failure = CreateEmptyResultFile(path))
    return {std::nullopt, "cannot create " + path + ": " + std::strerror(failure)};
  return {TSaveTarget{path, false, true}, {}};
}

std::string SaveRows(const TSaveTarget& target, const TResultTable& table) {
  if (table.RowCount() == 0) {
    if (target.Created) {
      std::error_code ignored;
      fs::remove(target.Path, ignored);
    }
    return {};
  }
  const TResultFileStatus status = SaveResultFile(table, target.Path);
  if (status.Ok()) return {};
  return status.Message;
}

}  // namespace vt
