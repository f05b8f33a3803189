// The per-file step on real files, as the pass drives it: entries from the
// platform's listing, renamed in the folder the listing looked in.
#include <gtest/gtest.h>

#include <cerrno>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "Simulate.h"
#include "engine/RenameStep.h"
#include "platform/DirectoryListing.h"
#include "support/ControlValues.h"
#include "support/TempFolder.h"

namespace vt {
namespace {

using Names = std::set<std::string>;
using test::CaseChange;
using test::InsertText;
using test::Numbers;
using test::RemoveText;
using test::SearchReplace;
using test::TruncateTo;

struct TListed {
  std::string Folder;
  std::vector<TFindData> Entries;
};

TListed List(const std::string& pattern) {
  TFindHandle handle(pattern);
  EXPECT_EQ(handle.Error(), 0) << pattern;
  TListed listed{handle.Folder(), {}};
  TFindData entry;
  while (handle.FindNext(entry)) listed.Entries.push_back(entry);
  return listed;
}

// Runs every listed entry through one step; returns status text per old name.
std::map<std::string, std::string> RunPass(const TControlValues& controls, TPassMode mode, const std::string& pattern) {
  TRenameStep step(CaptureSettings(controls), mode);
  const TListed listed = List(pattern);
  std::map<std::string, std::string> outcome;
  for (const TFindData& entry : listed.Entries) {
    const bool row = step.ProcessFile(listed.Folder, entry);
    outcome[entry.cFileName] =
        std::string(StatusText(step.Status())) + (step.NewName().empty() ? "" : " " + step.NewName());
    EXPECT_EQ(row, step.Status() != TRenameStatus::rsNoParameters);
  }
  return outcome;
}

struct DiskCase {
  const char* label;
  TControlValues controls;
  std::string oldName;
  std::string newName;
};

void PrintTo(const DiskCase& c, std::ostream* os) { *os << c.label; }

class ProcessFileOnDisk : public testing::TestWithParam<DiskCase> {};

TEST_P(ProcessFileOnDisk, SimulatesThenRenames) {
  const DiskCase& c = GetParam();
  test::TTempFolder dir;
  dir.WriteFile(c.oldName, "content of " + c.oldName);

  const auto simulated = RunPass(c.controls, TPassMode::Simulate, dir.Folder() + "*");
  EXPECT_EQ(simulated.at(c.oldName), "Can be renamed " + c.newName);
  EXPECT_EQ(dir.Names(), Names{c.oldName});  // a simulation touches nothing

  const auto renamed = RunPass(c.controls, TPassMode::Rename, dir.Folder() + "*");
  EXPECT_EQ(renamed.at(c.oldName), "Ok " + c.newName);
  EXPECT_EQ(dir.Names(), Names{c.newName});
  EXPECT_EQ(dir.ReadFile(c.newName), "content of " + c.oldName);
}

INSTANTIATE_TEST_SUITE_P(
    EachOperation, ProcessFileOnDisk,
    testing::Values(DiskCase{"SearchReplace", SearchReplace("photo", "picture"), "holiday photo.jpg",
                             "holiday picture.jpg"},
                    DiskCase{"SearchReplaceExtension", SearchReplace("*.txt", "*.doc"), "report.txt", "report.doc"},
                    DiskCase{"Insert", InsertText("_x"), "photo.jpg", "photo_x.jpg"},
                    DiskCase{"Remove", RemoveText("_*_"), "report_2020_final.doc", "reportfinal.doc"},
                    DiskCase{"Number", Numbers("007"), "a.jpg", "007.jpg"},
                    DiskCase{"ChangeCase", CaseChange(0), "my Holiday photo.JPG", "MY HOLIDAY PHOTO.JPG"},
                    DiskCase{"CaseOnly", CaseChange(1), "README", "readme"},
                    DiskCase{"TruncateToMax", TruncateTo(1, 5), "holiday photo.jpeg", "holid.jpeg"},
                    DiskCase{"TruncateToShortName", TruncateTo(0), "Long File Name.txt", "LONGFI~1.TXT"},
                    DiskCase{"Utf8", CaseChange(4), "\xC3\xA9t\xC3\xA9 photo.txt", "\xC3\xA9t\xC3\xA9 PhOtO.TxT"},
                    DiskCase{"InvalidBytes", RemoveText("?b"),
                             "a\xFF"
                             "bc.txt",
                             "ac.txt"},
                    DiskCase{"NameWithWildcards", SearchReplace("a*b", "x"), "a*b?.txt", "x?.txt"}),
    [](const testing::TestParamInfo<DiskCase>& param) { return std::string(param.param.label); });

TEST(ProcessFileOnDiskFrame, FoldersAndDotEntriesAreSkipped) {
  test::TTempFolder dir;
  dir.MakeFolder("photo album");
  dir.WriteFile("photo.jpg", "x");
  const auto outcome = RunPass(InsertText("_x"), TPassMode::Rename, dir.Folder() + "*");
  EXPECT_EQ(outcome.at("."), "No parameters");
  EXPECT_EQ(outcome.at(".."), "No parameters");
  EXPECT_EQ(outcome.at("photo album"), "No parameters");
  EXPECT_EQ(outcome.at("photo.jpg"), "Ok photo_x.jpg");
  EXPECT_EQ(dir.Names(), (Names{"photo album", "photo_x.jpg"}));
}

TEST(ProcessFileOnDiskFrame, NeverOverwrites) {
  test::TTempFolder dir;
  dir.WriteFile("a.txt", "first");
  dir.WriteFile("b.txt", "second");
  TRenameStep step(CaptureSettings(SearchReplace("a", "b")), TPassMode::Rename);
  const TListed listed = List(dir.Folder() + "a.txt");
  ASSERT_EQ(listed.Entries.size(), 1u);
  EXPECT_TRUE(step.ProcessFile(listed.Folder, listed.Entries[0]));
  EXPECT_EQ(step.Status(), TRenameStatus::rsError);
  EXPECT_EQ(step.NewName(), "b.txt");
  EXPECT_EQ(step.SystemError(), EEXIST);
  EXPECT_EQ(dir.ReadFile("a.txt"), "first");
  EXPECT_EQ(dir.ReadFile("b.txt"), "second");
  // A simulation only judges the name; the clash shows when it is run.
  TRenameStep simulated(CaptureSettings(SearchReplace("a", "b")), TPassMode::Simulate);
  EXPECT_TRUE(simulated.ProcessFile(listed.Folder, listed.Entries[0]));
  EXPECT_EQ(simulated.Status(), TRenameStatus::rsCanBeRenamed);
}

TEST(ProcessFileOnDiskFrame, UnusableNamesAreErrorsAndChangeNothing) {
  struct Case {
    TControlValues controls;
    std::string newName;
    int error;  // the reason: what every Linux volume refuses
  } const cases[] = {
      {SearchReplace("abc", ""), "", 0},
      {SearchReplace("abc", ".."), "..", 0},
      {SearchReplace("abc", "."), ".", 0},
      {SearchReplace("abc", "../abc"), "../abc", kVolumeRefusesChar},
      {InsertText("/sub"), "abc/sub", kVolumeRefusesChar},
      {SearchReplace("b", std::string("\0", 1)), std::string("a\0c", 3), kVolumeRefusesChar},
      {InsertText(std::string(253, 'x')), "abc" + std::string(253, 'x'), kVolumeRefusesLength},  // 256 bytes
  };
  for (const TPassMode mode : {TPassMode::Simulate, TPassMode::Rename}) {
    for (const auto& c : cases) {
      test::TTempFolder dir;
      dir.MakeFolder("sub");
      dir.WriteFile("abc", "kept");
      TRenameStep step(CaptureSettings(c.controls), mode);
      const TListed listed = List(dir.Folder() + "abc");
      ASSERT_EQ(listed.Entries.size(), 1u);
      EXPECT_TRUE(step.ProcessFile(listed.Folder, listed.Entries[0]));
      EXPECT_EQ(step.Status(), TRenameStatus::rsError) << c.newName;
      EXPECT_EQ(step.NewName(), c.newName);
      EXPECT_EQ(step.SystemError(), c.error) << c.newName;
      EXPECT_EQ(dir.Names(), (Names{"abc", "sub"}));
      EXPECT_EQ(dir.Names("sub"), Names{});
      EXPECT_EQ(dir.ReadFile("abc"), "kept");
    }
  }
}

// A name beginning with "." hides a file from a folder's usual listing: a file
// not hidden is never given one, in a simulation as in a pass, and its row says why.
TEST(ProcessFileOnDiskFrame, AFileIsNeverHidden) {
  struct Case {
    const char* What;
    std::string File;
    TControlValues Controls;
    std::string NewName;
    bool Refused;
  } const cases[] = {
      {"extension as the search text", "IMG_1.JPG", SearchReplace(".JPG", ".jpg"), ".jpg", true},
      {"a dot put in front", "abc", SearchReplace("abc", ".abc"), ".abc", true},
      {"a hidden file stays hidden", ".abc.txt", SearchReplace("abc", "def"), ".def.txt", false},
      {"a dot inside the name", "abc", SearchReplace("b", ".b"), "a.bc", false},
  };
  for (const TPassMode mode : {TPassMode::Simulate, TPassMode::Rename}) {
    for (const auto& c : cases) {
      SCOPED_TRACE(c.What);
      test::TTempFolder dir;
      dir.WriteFile(c.File, "kept");
      TRenameStep step(CaptureSettings(c.Controls), mode);
      const TListed listed = List(dir.Folder() + c.File);
      ASSERT_EQ(listed.Entries.size(), 1u);
      EXPECT_TRUE(step.ProcessFile(listed.Folder, listed.Entries[0]));
      EXPECT_EQ(step.NewName(), c.NewName);
      if (!c.Refused) {
        EXPECT_EQ(step.Status(), mode == TPassMode::Rename ? TRenameStatus::rsOk : TRenameStatus::rsCanBeRenamed);
        continue;
      }
      EXPECT_EQ(step.Status(), TRenameStatus::rsError);
      EXPECT_EQ(step.SystemError(), kHidingName);
      EXPECT_EQ(dir.Names(), Names{c.File});
      EXPECT_EQ(dir.ReadFile(c.File), "kept");
    }
  }
}

TEST(ProcessFileOnDiskFrame, ANameOfTheLongestLengthCanBeRenamed) {
  test::TTempFolder dir;
  dir.WriteFile("abc", "kept");
  const std::string longest = "abc" + std::string(252, 'x');
  for (const TPassMode mode : {TPassMode::Simulate, TPassMode::Rename}) {
    TRenameStep step(CaptureSettings(InsertText(std::string(252, 'x'))), mode);
    const TListed listed = List(dir.Folder() + "abc");
    ASSERT_EQ(listed.Entries.size(), 1u);
    step.ProcessFile(listed.Folder, listed.Entries[0]);
    EXPECT_EQ(step.Status(), mode == TPassMode::Simulate ? TRenameStatus::rsCanBeRenamed : TRenameStatus::rsOk);
  }
  EXPECT_EQ(dir.ReadFile(longest), "kept");
}

TEST(ProcessFileOnDiskFrame, ShortNameOfAnEightDotThreeNameIsNoChange) {
  test::TTempFolder dir;
  dir.WriteFile("PHOTO.JPG", "x");
  dir.WriteFile("holiday photo.jpeg", "y");
  const auto outcome = RunPass(TruncateTo(0), TPassMode::Rename, dir.Folder() + "*.*");
  EXPECT_EQ(outcome.at("PHOTO.JPG"), "No change");
  EXPECT_EQ(outcome.at("holiday photo.jpeg"), "Ok HOLIDA~1.JPE");
  EXPECT_EQ(dir.Names(), (Names{"HOLIDA~1.JPE", "PHOTO.JPG"}));
}

TEST(ProcessFileOnDiskFrame, RenamesInTheFolderTheListingLookedIn) {
  test::TTempFolder dir;
  dir.MakeFolder("sub");
  dir.WriteFile("a.txt", "top");
  dir.WriteFile("sub/a.txt", "inner");
  const auto outcome = RunPass(InsertText("-moved"), TPassMode::Rename, dir.Folder() + "sub/*.txt");
  EXPECT_EQ(outcome.at("a.txt"), "Ok a-moved.txt");
  EXPECT_EQ(dir.Names(), (Names{"a.txt", "sub"}));
  EXPECT_EQ(dir.Names("sub"), Names{"a-moved.txt"});
  EXPECT_EQ(dir.ReadFile("sub/a-moved.txt"), "inner");
  EXPECT_EQ(dir.ReadFile("a.txt"), "top");
}

TEST(ProcessFileOnDiskFrame, NumbersFilesAcrossFoldersAndKeepsTheCounter) {
  test::TTempFolder dir;
  dir.MakeFolder("sub");
  dir.WriteFile("a.jpg", "1");
  dir.WriteFile("sub/b.jpg", "2");
  dir.WriteFile("0.jpg", "3");
  TRenameStep step(CaptureSettings(Numbers("0")), TPassMode::Rename);
  std::vector<std::string> results;
  for (const std::string& pattern : {dir.Folder() + "0.jpg", dir.Folder() + "a.jpg", dir.Folder() + "sub/*.jpg"}) {
    const TListed listed = List(pattern);
    for (const TFindData& entry : listed.Entries) {
      step.ProcessFile(listed.Folder, entry);
      results.push_back(std::string(StatusText(step.Status())) + " " + step.NewName());
    }
  }
  EXPECT_EQ(results, (std::vector<std::string>{"No change ", "Ok 1.jpg", "Ok 2.jpg"}));
  EXPECT_EQ(step.Settings().Counter, 3);
  EXPECT_EQ(dir.Names(), (Names{"0.jpg", "1.jpg", "sub"}));
  EXPECT_EQ(dir.Names("sub"), Names{"2.jpg"});
}

TEST(ProcessFileOnDiskFrame, NoMatchAndNoChangeLeaveTheFile) {
  test::TTempFolder dir;
  dir.WriteFile("notes.txt", "n");
  dir.WriteFile("x.txt", "x");
  auto outcome = RunPass(SearchReplace("txt", "doc"), TPassMode::Rename, dir.Folder() + "*.txt");
  EXPECT_EQ(outcome.at("notes.txt"), "No Match");
  outcome = RunPass(RemoveText("x"), TPassMode::Rename, dir.Folder() + "*.txt");
  EXPECT_EQ(outcome.at("x.txt"), "No change");
  EXPECT_EQ(outcome.at("notes.txt"), "No Match");
  EXPECT_EQ(dir.Names(), (Names{"notes.txt", "x.txt"}));
}

TEST(ProcessFileOnDiskFrame, AFileThatHasGoneIsAnError) {
  test::TTempFolder dir;
  dir.WriteFile("gone.txt", "x");
  const TListed listed = List(dir.Folder() + "*.txt");
  ASSERT_EQ(listed.Entries.size(), 1u);
  std::filesystem::remove(dir.Folder() + "gone.txt");
  TRenameStep step(CaptureSettings(InsertText("_x")), TPassMode::Rename);
  EXPECT_TRUE(step.ProcessFile(listed.Folder, listed.Entries[0]));
  EXPECT_EQ(step.Status(), TRenameStatus::rsError);
  EXPECT_EQ(step.SystemError(), ENOENT);
  EXPECT_EQ(dir.Names(), Names{});
}

}  // namespace
}  // namespace vt
