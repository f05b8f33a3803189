// What tells a recorded file from another under the same name: the inode where
// the volume keeps its numbers, else size, modification time and mode.
#include <gtest/gtest.h>

#include <vector>

#include "platform/FileIdentity.h"

namespace vt::test {
namespace {

TEST(FileIdentity, TheRuleOfTheVolumeDecides) {
  TEntryInfo recorded;
  recorded.Id = {10, 500};
  recorded.Size = 14;
  recorded.MtimeNs = 1'700'000'000'123'456'789;
  recorded.Mode = 0100644;
  recorded.Regular = true;
  const TFileIdentity file = IdentityOf(recorded);
  struct Case {
    const char* Label;
    void (*Change)(TEntryInfo& now);
    bool ByInode, ByAttributes;
  };
  const std::vector<Case> cases{
      {"unchanged", [](TEntryInfo&) {}, true, true},
      {"written to since: the inode stays", [](TEntryInfo& n) { n.Size = 20; }, true, false},
      {"touched since", [](TEntryInfo& n) { n.MtimeNs += 1; }, true, false},
      {"made read-only since", [](TEntryInfo& n) { n.Mode = 0100444; }, true, false},
      // Another file put under the name, alike in all a FUSE volume keeps.
      {"another inode, alike otherwise", [](TEntryInfo& n) { n.Id.Inode = 501; }, false, true},
      {"another inode and size",
       [](TEntryInfo& n) {
         n.Id = {10, 501}, n.Size = 0;
       },
       false, false},
      // A number means nothing on another device (the volume mounted again).
      {"another device, alike otherwise", [](TEntryInfo& n) { n.Id.Device = 11; }, true, true},
      {"another device and mtime", [](TEntryInfo& n) { n.Id.Device = 11, n.MtimeNs = 0; }, false, false},
      {"no regular file", [](TEntryInfo& n) { n.Regular = false; }, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Label);
    TEntryInfo now = recorded;
    c.Change(now);
    EXPECT_EQ(IsRecordedFile(now, file, TIdentityRule::ByInode), c.ByInode);
    EXPECT_EQ(IsRecordedFile(now, file, TIdentityRule::ByAttributes), c.ByAttributes);
  }
}

// A file recorded by its listed number alone is that number on its device,
// and nothing anywhere else: no attributes to go by, not even a file's whose
// attributes happen to be zero.
TEST(FileIdentity, AListedNumberTellsOnlyOnItsDevice) {
  const TFileIdentity listed = ListedIdentity({10, 500});
  TEntryInfo now;
  now.Id = {10, 500};
  now.Regular = true;
  EXPECT_TRUE(IsRecordedFile(now, listed, TIdentityRule::ByInode));
  EXPECT_FALSE(IsRecordedFile(now, listed, TIdentityRule::ByAttributes));
  now.Id = {11, 500};
  EXPECT_FALSE(IsRecordedFile(now, listed, TIdentityRule::ByInode));
  now.Id = {10, 501};
  EXPECT_FALSE(IsRecordedFile(now, listed, TIdentityRule::ByInode));
}

}  // namespace
}  // namespace vt::test
