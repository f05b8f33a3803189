#include "cli/RowTally.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <utility>
#include <vector>

#include "engine/RenameStep.h"
#include "platform/SysErrorText.h"

namespace vt {

std::string FailureReason(int systemError, TRowOrigin origin) {
  switch (systemError) {
    case 0:
      return origin == TRowOrigin::Recover ? "the row names nothing a pass could have renamed"
                                           : "the new name is no valid file name";
    case kHidingName: return "the new name begins with \".\" and would hide the file";
    case EEXIST:
    case ENOTEMPTY: return "a file of that name exists";
    case EACCES:
    case EPERM: return "permission denied";
    case ENOENT: return "the file is gone";
    case EROFS: return "read-only file system";
    case ENAMETOOLONG: return "name too long";
    case EINVAL: return "invalid name";
    case EBUSY: return origin == TRowOrigin::Recover ? "file busy" : "file busy, or the pass's own result file";
    case ELOOP: return "the folder is not the one the pass saw";
    case EISDIR: return "not a plain file";
    case ESTALE: return "the file changed while it was renamed";
    case ENOSPC: return "no space left on the device";
    case kPatternTooCostly: return "the regular expression reached its match limit";
    case kVolumeRefusesChar: return "the volume refuses a character of the new name (\" * : < > ? \\ | /)";
    case kVolumeRefusesControl: return "the volume refuses a control character in the new name";
    case kVolumeRefusesEnd: return "the volume refuses a name that ends with a dot or a space";
    case kVolumeRefusesLength: return "the new name is longer than the volume allows (255)";
    case ENODATA: return "the file lacks a field the new name needs";
    default: {
      std::string text = SystemMessage(systemError);
      if (!text.empty()) text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
      return text;
    }
  }
}

void TRowTally::Add(TRenameStatus status, int systemError) {
  const auto index = static_cast<std::size_t>(status);
  if (index >= kStatuses) return;
  ++Counts_[index];
  ++Rows_;
  if (status == TRenameStatus::rsError) ++Errors_[systemError];
}

std::string TRowTally::Summary(TRowOrigin origin) const {
  static constexpr TRenameStatus kOrder[] = {TRenameStatus::rsOk,       TRenameStatus::rsCanBeRenamed,
                                             TRenameStatus::rsError,    TRenameStatus::rsFileNotFound,
                                             TRenameStatus::rsNoChange, TRenameStatus::rsNoMatch};
  std::string line = std::to_string(Rows_) + (Rows_ == 1 ? " row" : " rows");
  const char* separator = ": ";
  for (const TRenameStatus status : kOrder) {
    if (Count(status) == 0) continue;
    line += separator;
    line += std::to_string(Count(status)) + " " + std::string(StatusText(status));
    separator = ", ";
    if (status != TRenameStatus::rsError) continue;
    std::vector<std::pair<int, std::size_t>> errors(Errors_.begin(), Errors_.end());
    std::stable_sort(errors.begin(), errors.end(), [](const auto& a, const auto& b) { return a.second > b.second; });
    const char* inner = " (";
    for (const auto& [error, rows] : errors) {
      line += inner + std::to_string(rows) + " " + FailureReason(error, origin);
      inner = ", ";
    }
    line += ")";
  }
  return line;
}

}  // namespace vt
