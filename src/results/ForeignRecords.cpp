#include "results/ForeignRecords.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "results/AutomaticResultFiles.h"
#include "results/PassJournals.h"

namespace vt {

std::vector<std::string> ForeignRecords(const std::string& folder) {
  namespace fs = std::filesystem;
  std::vector<std::string> foreign;
  std::error_code code;
  for (fs::directory_iterator it(folder, code), end; !code && it != end; it.increment(code)) {
    const std::string name = it->path().filename().string();
    const bool journal =
        name.size() > kJournalExtension.size() &&
        name.compare(name.size() - kJournalExtension.size(), kJournalExtension.size(), kJournalExtension) == 0 &&
        IsAutomaticFileName(ResultPathFor(name));
    if ((journal || IsAutomaticFileName(name)) && !IsOwnRecord(folder, name)) foreign.push_back(folder + name);
  }
  std::sort(foreign.begin(), foreign.end());
  return foreign;
}

}  // namespace vt
