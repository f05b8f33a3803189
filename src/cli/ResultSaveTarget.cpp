#include "cli/ResultSaveTarget.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "results/EmptyResultFile.h"
#include "results/ResultFile.h"

namespace vt {

namespace fs = std::filesystem;

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
