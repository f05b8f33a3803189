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
  for (const auto& entry : names) byName[entry.Name] = entry.Attributes;
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
    for (const char* name : {"a.txt", "B.TXT", "Long File Name.doc", ".hidden", "plain"})
      Dir_.MakeFile("f/" + std::string(name));
    Dir_.MakeFile("f/locked.txt");
    std::filesystem::permissions(Dir_ / "f/locked.txt", std::filesystem::perms::owner_read);
    Dir_.MakeDir("f/sub.txt");
    Dir_.MakeDir("f/.git");
    Dir_.MakeLink("a.txt", "f/link.txt");
    ::mkfifo((Dir_ / "f/pipe").c_str(), 0600);
    Dir_.MakeFile("up.txt");
  }
  TVolumeTempDir Dir_;
};

TEST_F(NameListing, SelectsWhatTheFullListingSelectsWithTheSameWordsButReadOnly) {
  for (const char* mask : {"*.*", "*.txt", "*.TXT", "?.txt", "plain", "*", "nothing*", ".*"}) {
    auto full = Full(Dir_ / "f/" + mask);
    for (auto& [name, attributes] : full) attributes &= ~FileAttr::ReadOnly;
    EXPECT_EQ(Quick(Dir_ / "f/" + mask), full) << mask;
  }
}

TEST_F(NameListing, AMaskWithAFolderPartListsThatFolder) {
  const auto names = Quick(Dir_ / "f/../*.txt");
  ASSERT_EQ(names.size(), 1u);
  EXPECT_EQ(names.begin()->first, "up.txt");
}

TEST_F(NameListing, AnEmptyMaskGivesNothingAndAMissingFolderItsError) {
  EXPECT_TRUE(Quick(Dir_ / "f/").empty());
  std::vector<TListedName> names;
  EXPECT_EQ(ListNames(Dir_ / "missing/*.*", names), ENOENT);
  EXPECT_TRUE(names.empty());
}

}  // namespace
}  // namespace vt
