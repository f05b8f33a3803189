#include <gtest/gtest.h>
#include <unistd.h>

#include "FsTempFolder.h"
#include "platform/NameTaken.h"

namespace vt {
namespace {

TEST(NameTaken, ByAnyOtherEntryButNotByTheFileItself) {
  test::TFsTempFolder dir;
  dir.Write("a");
  dir.Write("b");
  dir.MakeFolder("sub");
  ASSERT_EQ(::symlink("nowhere", (dir / "dangling").c_str()), 0);
  ASSERT_EQ(::link((dir / "a").c_str(), (dir / "hard-a").c_str()), 0);
  const struct {
    const char* oldName;
    const char* newName;
    bool taken;
  } cases[] = {
      {"a", "c", false},   {"a", "b", true},
      {"a", "sub", true},  {"a", "dangling", true},  // a link that points nowhere still holds its name
      {"b", "b", false},   {"a", "hard-a", true},    // a second link is a name that no-overwrite renames refuse
      {"gone", "b", true},
  };
  for (const auto& c : cases)
    EXPECT_EQ(NameTakenByAnother(dir.Path(), c.oldName, c.newName), c.taken) << c.oldName << " -> " << c.newName;
}

}  // namespace
}  // namespace vt
