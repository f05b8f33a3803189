#include "cli/ResultSaveTarget.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "cli/ErrorWords.h"
#include "results/EmptyResultFile.h"
#include "results/ResultFile.h"

namespace vt {

namespace fs = std::filesystem;

TExpected<TSaveTarget, std::string> SettleSaveFile(const std::string& path) {
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  if (fs::exists(status)) {
    TResultTable scratch;
    if (!fs::is_regular_file(status) || !LoadResultFile(path, scratch))
      return Unexpected(path + " exists and is not a result file: it is not replaced");
    return TSaveTarget{path, false, false};
  }
  if (const TExpected<void> made = CreateEmptyResultFile(path); !made)
    return Unexpected("cannot create " + path + ": " + ErrorReason(made.Error()));
  return TSaveTarget{path, false, true};
}

TExpected<void, std::string> SaveRows(const TSaveTarget& target, const TResultTable& table) {
  if (table.RowCount() == 0) {
    RemoveIfCreated(target);
    return {};
  }
  const TResultFileStatus status = SaveResultFile(table, target.Path);
  if (status) return {};
  return Unexpected(ResultFileMessage(status.Error()));
}

void RemoveIfCreated(const TSaveTarget& target) {
  if (!target.Created) return;
  std::error_code ignored;
  fs::remove(target.Path, ignored);
}

}  // namespace vt
