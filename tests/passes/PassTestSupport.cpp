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

namespace {

const char* KindName(TPassKind kind) {
  switch (kind) {
    case TPassKind::Rename: return "Rename";
    case TPassKind::Simulate: return "Simulate";
    case TPassKind::Recover: return "Recover";
  }
  return "?";
}

}  // namespace

void TTestOwner::PassStarted(TPassKind kind) {
  Check();
  Events.push_back(std::string("Started(") + KindName(kind) + ")");
  States = PassStarts(States, kind);
}

void TTestOwner::PassRows(std::span<TPassRow> rows) {
  Check();
  Table.AppendRows(rows);
}

void TTestOwner::FolderUnreadable(const std::string& folder, int error) {
  Check();
  Unreadable.emplace_back(folder, error);
}

void TTestOwner::PassEnded(TPassKind kind, TPassStopped stopped) {
  Check();
  Events.push_back(std::string("Ended(") + KindName(kind) + (stopped == TPassStopped::Yes ? ", stopped)" : ")"));
  States = PassEnds(States, kind, Table.RowCount() > 0);
}

void RunSearch(TTestOwner& owner, const TSearchPassOptions& options, const TControlValues& controls) {
  if (owner.Simulate)
    owner.Control.Simulate(options, CaptureSettings(controls));
  else
    owner.Control.Rename(options, CaptureSettings(controls));
  owner.Control.WaitForPass();
  EXPECT_EQ(owner.CallsOffOwnerThread.load(), 0);
}

void RunUndo(TTestOwner& owner, IPassJournal* journal) {
  owner.Control.Recover(journal);
  owner.Control.WaitForPass();
  EXPECT_EQ(owner.CallsOffOwnerThread.load(), 0);
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

TSearchPassOptions JournaledPass(const std::string& folder, IPassJournal* journal) {
  TSearchPassOptions options;
  options.Folder = folder;
  options.Masks = "*.*";
  options.Journal = journal;
  return options;
}

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
