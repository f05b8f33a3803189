#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <string>

#include "FsTempFolder.h"
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

}  // namespace
}  // namespace vt
