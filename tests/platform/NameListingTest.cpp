#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <map>

#include "VolumeTestSupport.h"
#include "platform/DirectoryListing.h"
#include "platform/FindData.h"
#include "platform/NameListing.h"

namespace vt {
namespace {

using test::TVolumeTempDir;

std::map<std::string, std::uint32_t> Quick(const std::string& pattern) {
  std::vector<TListedName> names;
  EXPECT_EQ(ListNames(pattern, names), 0);
  std::map<std::string, std::uint32_t> byName;
  for (const auto& entry : names) byName[entry.name] = entry.attributes;
  EXPECT_EQ(byName.size(), names.size()) << "a name listed twice";
  return byName;
}

std::map<std::string, std::uint32_t> Full(const std::string& pattern) {
  std::map<std::string, std::uint32_t> byName;
  TFindHandle find(pattern);
  TFindData entry;
  while (find.FindNext(entry)) byName[entry.cFileName] = entry.dwFileAttributes;
  return byName;
}

class NameListing : public ::testing::Test {
 protected:
  NameListing() {
    for (const char* name : {"a.txt", "B.TXT", "Long File Name.doc", ".hidden", "plain"}) dir_.MakeFile("f/" + std::string(name));
    dir_.MakeFile("f/locked.txt");
    std::filesystem::permissions(dir_ / "f/locked.txt", std::filesystem::perms::owner_read);
    dir_.MakeDir("f/sub.txt");
    dir_.MakeDir("f/.git");
    dir_.MakeLink("a.txt", "f/link.txt");
    ::mkfifo((dir_ / "f/pipe").c_str(), 0600);
    dir_.MakeFile("up.txt");
  }
  TVolumeTempDir dir_;
};

TEST_F(NameListing, SelectsWhatTheFullListingSelectsWithTheSameWordsButReadOnly) {
  for (const char* mask : {"*.*", "*.txt", "*.TXT", "?.txt", "plain", "*", "nothing*", ".*"}) {
    auto full = Full(dir_ / "f/" + mask);
    for (auto& [name, attributes] : full) attributes &= ~FileAttr::ReadOnly;
    EXPECT_EQ(Quick(dir_ / "f/" + mask), full) << mask;
  }
}

TEST_F(NameListing, AMaskWithAFolderPartListsThatFolder) {
  const auto names = Quick(dir_ / "f/../*.txt");
  ASSERT_EQ(names.size(), 1u);
  EXPECT_EQ(names.begin()->first, "up.txt");
}

TEST_F(NameListing, AnEmptyMaskGivesNothingAndAMissingFolderItsError) {
  EXPECT_TRUE(Quick(dir_ / "f/").empty());
  std::vector<TListedName> names;
  EXPECT_EQ(ListNames(dir_ / "missing/*.*", names), ENOENT);
  EXPECT_TRUE(names.empty());
}

}  // namespace
}  // namespace vt
