#include "passes/PassTestSupport.h"

#include <algorithm>
#include <ostream>
#include <set>

#include "platform/DirectoryListing.h"

namespace vt::test {

std::vector<std::string> TTempTree::Names(const std::string& relative) const {
  const std::set<std::string> names = Folder_.Names(relative);
  return {names.begin(), names.end()};
}

void RunSearch(TTestWindow& window, const TSearchPassOptions& options, const TControlValues& controls) {
  TRunControl control(window);
  if (window.Simulation)
    control.Simulate(options, CaptureSettings(controls));
  else
    control.Rename(options, CaptureSettings(controls));
  window.EndCalls.clear();
  control.WaitForPass();
  EXPECT_EQ(window.CallsOffWindowThread.load(), 0);
}

void RunUndo(TTestWindow& window, IPassJournal* journal) {
  TRunControl control(window);
  control.Recover(journal);
  window.EndCalls.clear();
  control.WaitForPass();
  EXPECT_EQ(window.CallsOffWindowThread.load(), 0);
}

std::vector<TRowTexts> RowTexts(const TResultTable& table) {
  std::vector<TRowTexts> rows;
  for (const TResultRow& row : table.Rows())
    rows.push_back({row.OldName, row.NewName, std::string(row.Path()), std::string(row.StatusWord())});
  return rows;
}

void PrintTo(const TRowTexts& row, std::ostream* out) {
  *out << "(" << row.File << ", " << row.NewName << ", " << row.Path << ", " << row.Status << ")";
}

TControlValues InsertAtBeginning(const std::string& text) { return InsertText(text, TPlacement::AtBeginning); }

TControlValues NumberDefaults() { return Numbers(); }

std::filesystem::path FastTempBase() {
  std::error_code error;
  if (std::filesystem::is_directory("/dev/shm", error) && ::access("/dev/shm", W_OK) == 0) return "/dev/shm";
  return std::filesystem::temp_directory_path();
}

std::vector<std::string> ListedFiles(const std::string& folder, const std::string& mask) {
  std::vector<std::string> names;
  TFindHandle listing(folder + mask);
  TFindData entry;
  while (listing.FindNext(entry))
    if (entry.dwFileAttributes == FileAttr::Archive) names.push_back(entry.cFileName);
  return names;
}

}  // namespace vt::test
