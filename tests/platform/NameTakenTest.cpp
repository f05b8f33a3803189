#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "FsTempFolder.h"
#include "platform/FolderNames.h"
#include "platform/NameTaken.h"

namespace vt {
namespace {

using TAsk = std::function<bool(const std::string& folder, const std::string& oldName, const std::string& newName)>;

// Each way of asking: by joined paths, and relative to a folder kept open.
struct AskCase {
  const char* how;
  TAsk ask;
};

std::vector<AskCase> Asks(TNameTakenLook& look) {
  return {{"by path", NameTakenByAnother},
          {"in an open folder", [&look](const std::string& folder, const std::string& oldName,
                                        const std::string& newName) { return look.Taken(folder, oldName, newName); }}};
}

TEST(NameTaken, ByAnyOtherEntryButNotByTheFileItself) {
  test::TFsTempFolder dir;
  dir.Write("a");
  dir.Write("b");
  dir.MakeFolder("sub");
  dir.Write("sub/a");
  ASSERT_EQ(::symlink("nowhere", (dir / "dangling").c_str()), 0);
  ASSERT_EQ(::link((dir / "a").c_str(), (dir / "hard-a").c_str()), 0);
  const std::string top = dir.Path();
  const std::string sub = dir / "sub";  // without its slash
  const struct {
    std::string folder;
    const char* oldName;
    const char* newName;
    bool taken;
  } cases[] = {
      {top, "a", "c", false},
      {top, "a", "b", true},
      {top, "a", "sub", true},
      {top, "a", "dangling", true},  // a link that points nowhere still holds its name
      {top, "b", "b", false},
      {top, "a", "hard-a", true},  // a second link is a name that no-overwrite
                                   // renames refuse
      {top, "gone", "b", true},
      {sub, "x", "a", true},  // another folder: its own names
      {sub, "a", "b", false},
      {top, "x", "a", true},             // and back
      {top + "none/", "a", "b", false},  // a folder that is not there holds nothing
      {top, "a", "sub/a", true},
  };
  TNameTakenLook look;
  for (const AskCase& ask : Asks(look))
    for (const auto& c : cases)
      EXPECT_EQ(ask.ask(c.folder, c.oldName, c.newName), c.taken)
          << ask.how << ": " << c.folder << " " << c.oldName << " -> " << c.newName;
}

TEST(NameTaken, AFolderThatCanBeSearchedButNotReadIsAskedByPath) {
  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not hold for root";
  test::TFsTempFolder dir;
  dir.MakeFolder("locked");
  dir.Write("locked/a");
  dir.Write("locked/b");
  ASSERT_EQ(::chmod((dir / "locked").c_str(), 0300), 0);
  TNameTakenLook look;
  EXPECT_TRUE(look.Taken(dir / "locked/", "a", "b"));
  EXPECT_FALSE(look.Taken(dir / "locked/", "a", "c"));
  ASSERT_EQ(::chmod((dir / "locked").c_str(), 0700), 0);
}

// Only a volume known to tell names apart byte for byte lets a name missing from
// a reading of the folder count as free; any other is asked name by name.
TEST(NameTaken, NamesAreExactOnlyWhereTheVolumeIsKnownToTellThemApart) {
  const struct {
    const char* Folder;
    bool Exact;
  } cases[] = {{"/dev/shm/", true}, {"/proc/", false}, {"/sys/", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Folder);
    TFolderHandle folder;
    if (TFolderHandle::Open(c.Folder, folder) != 0) GTEST_SKIP() << "cannot open " << c.Folder;
    EXPECT_EQ(NamesExact(folder), c.Exact);
  }
}

std::uint64_t OneHashForAll(std::string_view) { return 7; }
bool AlwaysExact(const TFolderHandle&) { return true; }
bool NeverExact(const TFolderHandle&) { return false; }

TEST(FolderNames, ANameIsMissingOnlyWhenNoNameOfTheFolderHasItsHash) {
  test::TFsTempFolder dir;
  dir.Write("a");
  dir.Write("Name.TXT");
  dir.Write("\xff\xfe");  // not UTF-8
  dir.MakeFolder("sub");
  ASSERT_EQ(::symlink("nowhere", (dir / "dangling").c_str()), 0);
  // Enough long names for several blocks of the folder's reading.
  std::vector<std::string> many;
  for (int i = 0; i < 3000; ++i) many.push_back(std::string(60, 'x') + std::to_string(i));
  for (const std::string& name : many) dir.Write(name);
  TFolderHandle folder;
  ASSERT_EQ(TFolderHandle::Open(dir.Path(), folder), 0);
  TFolderNames names;
  TFolderNames colliding(OneHashForAll);
  EXPECT_TRUE(names.MayHold("c")) << "nothing read yet: anything may be there";
  ASSERT_EQ(names.Read(folder), 0);
  ASSERT_EQ(colliding.Read(folder), 0);
  EXPECT_EQ(names.Size(), many.size() + 7);  // with "." and ".."
  const struct {
    std::string name;
    bool held;
  } cases[] = {
      {"a", true},  {"sub", true},   {"dangling", true},   {"\xff\xfe", true},  {"Name.TXT", true}, {"name.txt", false},
      {"A", false}, {"\xff", false}, {many.front(), true}, {many.back(), true}, {"x3000", false},   {"", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(names.MayHold(c.name), c.held) << c.name;
    EXPECT_TRUE(colliding.MayHold(c.name)) << c.name;
  }
  const auto held =
      std::count_if(many.begin(), many.end(), [&names](const std::string& n) { return names.MayHold(n); });
  EXPECT_EQ(std::size_t(held), many.size());
  // A second reading replaces the first, and the handle's position does not matter.
  dir.Write("late");
  ASSERT_EQ(names.Read(folder), 0);
  EXPECT_TRUE(names.MayHold("late"));
  names.Clear();
  EXPECT_FALSE(names.IsRead());
  EXPECT_TRUE(names.MayHold("anything"));
  TFolderHandle closed;
  EXPECT_EQ(names.Read(closed), EBADF);
  EXPECT_FALSE(names.IsRead());
}

// Once a folder was asked about often enough to be read, a name missing from
// the reading is free without a look; any other is looked up. A name made after
// the reading shows which: only where names are exact and their hashes apart
// does the look miss it.
TEST(NameTaken, AFolderReadOnceAnswersForTheNamesItLacks) {
  const struct {
    const char* how;
    TNameLookWays ways;
    bool lateSeen;
  } ways[] = {
      {"exact", {AlwaysExact, HashOfName}, false},
      {"exact, every hash alike", {AlwaysExact, OneHashForAll}, true},
      {"folding case", {NeverExact, HashOfName}, true},
  };
  for (const auto& way : ways) {
    SCOPED_TRACE(way.how);
    test::TFsTempFolder dir;
    dir.Write("a");
    dir.Write("b");
    dir.MakeFolder("sub");
    dir.Write("sub/a");
    ASSERT_EQ(::link((dir / "a").c_str(), (dir / "hard-a").c_str()), 0);
    TNameTakenLook look(way.ways);
    for (std::uint32_t i = 0; i < TNameTakenLook::kLooksBeforeReading; ++i)
      ASSERT_FALSE(look.Taken(dir.Path(), "a", "free-" + std::to_string(i)));
    dir.Write("late");
    const struct {
      const char* oldName;
      const char* newName;
      bool taken;
    } cases[] =
        {
            {"a", "b", true},     {"a", "sub", true}, {"a", "hard-a", true}, {"b", "b", false},
            {"gone", "b", true},  {"a", "c", false},  {"a", "B", false},     {"a", "late", way.lateSeen},
            {"a", "sub/a", true},  // a path, not a name: only a look can tell
        };
    for (const auto& c : cases) EXPECT_EQ(look.Taken(dir.Path(), c.oldName, c.newName), c.taken) << c.newName;
    // Another folder's names are its own, and a folder entered again is looked at anew.
    test::TFsTempFolder other;
    other.Write("only-here");
    EXPECT_TRUE(look.Taken(other.Path(), "a", "only-here"));
    EXPECT_FALSE(look.Taken(other.Path(), "a", "b"));
    EXPECT_TRUE(look.Taken(dir.Path(), "a", "late"));
  }
}

}  // namespace
}  // namespace vt
