// The renames a volume would refuse, found before a real pass: on a volume
// with the names rules of another system, and only there.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <atomic>
#include <string>
#include <vector>

#include "engine/RenameSettings.h"
#include "engine/RenameStep.h"
#include "passes/PassTestSupport.h"
#include "passes/VolumeRefusals.h"
#include "platform/MountTable.h"
#include "support/ControlValues.h"

namespace vt::test {
namespace {

// A mount table of the test's own for the scope; the system's comes back at the end.
class TMountTableScope {
 public:
  explicit TMountTableScope(const std::string& mountInfo) { SetMountTableForTesting(mountInfo); }
  ~TMountTableScope() { SetMountTableForTesting(std::nullopt); }
  TMountTableScope(const TMountTableScope&) = delete;
  TMountTableScope& operator=(const TMountTableScope&) = delete;
};

// The root's line, and one that gives the volume of folder the type.
std::string VolumeOf(const std::string& folder, const std::string& type) {
  struct stat info {};
  EXPECT_EQ(::stat(folder.c_str(), &info), 0);
  const std::string device = std::to_string(major(info.st_dev)) + ":" + std::to_string(minor(info.st_dev));
  return "1 0 0:1 / / rw - ext4 /dev/root rw\n21 1 " + device + " / " + folder + " rw - " + type + " /dev/sdz1 rw\n";
}

TSearchPassOptions Over(const TTempTree& tree, bool subFolders = false) {
  TSearchPassOptions options;
  options.Folder = tree.Root();
  options.IncludeSubDirs = subFolders;
  return options;
}

TEST(VolumeRefusals, FoundOnlyWhereTheVolumeRefusesThemAndCountedBeyondTheFirst) {
  struct Case {
    const char* Volume;
    const char* Insert;
    std::size_t Count;
    std::vector<std::string> First;  // new names, in the pass's order
    int Error;
  };
  const std::vector<Case> cases{
      {"exfat", "x", 3, {"xa:1.txt", "xb?2.txt"}, kVolumeRefusesChar},
      {"exfat", "", 0, {}, 0},
      {"vfat", "x", 3, {"xa:1.txt", "xb?2.txt"}, kVolumeRefusesChar},
      {"ext4", "x", 0, {}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.Volume) + ", insert '" + c.Insert + "'");
    TTempTree tree;
    for (const char* name : {"a:1.txt", "b?2.txt", "c|3.txt", "d.txt", "e.txt", "f.txt"}) tree.File(name);
    const TMountTableScope volume(VolumeOf(tree.Root(), c.Volume));
    const TSearchPassOptions options = Over(tree);
    EXPECT_EQ(MayMeetNameRefusals(options), std::string(c.Volume) != "ext4");
    const TVolumeRefusals found = FindVolumeRefusals(options, CaptureSettings(InsertAtBeginning(c.Insert)), 2);
    EXPECT_EQ(found.Count, c.Count);
    std::vector<std::string> first;
    for (const TRefusedRename& rename : found.First) {
      first.push_back(rename.NewName);
      EXPECT_EQ(rename.Folder, tree.Root());
      EXPECT_EQ(rename.Error, c.Error);
    }
    EXPECT_EQ(first, c.First);
    // Nothing was renamed.
    EXPECT_EQ(tree.Names(), (std::vector<std::string>{"a:1.txt", "b?2.txt", "c|3.txt", "d.txt", "e.txt", "f.txt"}));
  }
}

TEST(VolumeRefusals, AVolumeMountedBelowCountsOnlyWhenSubFoldersArePassedThrough) {
  TTempTree tree;
  tree.Folder("card");
  // A device of no file of the tree: only where it is mounted matters.
  const TMountTableScope volume("1 0 0:1 / / rw - ext4 /dev/root rw\n21 1 250:250 / " + tree.Path("card") +
                                " rw - exfat /dev/sdz1 rw\n");
  EXPECT_FALSE(MayMeetNameRefusals(Over(tree, false)));
  EXPECT_TRUE(MayMeetNameRefusals(Over(tree, true)));
}

TEST(VolumeRefusals, UnderLinuxRulesFilesAreJudgedOnlyWhenANameCanPassTheLimit) {
  struct Case {
    const char* What;
    TControlValues Controls;
    std::size_t LongBytes;  // of the two long names, "aaa….txt" in sub/ and "bbb….txt" at the top
    bool SubFolders;
    TRefusalLook Look;
    bool Judged;
    std::size_t Count;
  };
  TControlValues regex = SearchReplace("(b+)", "$1$1");
  regex.ChkBxRegex = true;
  const std::vector<Case> cases{
      {"an insert short names take", InsertText("xxxxxxxxxx"), 40, true, TRefusalLook::LongNames, false, 0},
      {"an insert that ends at the limit", InsertText("xxxxx"), 250, true, TRefusalLook::LongNames, false, 0},
      {"an insert past the limit", InsertText("xxxxxx"), 250, true, TRefusalLook::LongNames, true, 2},
      {"past the limit only below, not walked", InsertText("xxxxxx"), 250, false, TRefusalLook::LongNames, true, 1},
      {"a removal", RemoveText("a"), 255, true, TRefusalLook::None, false, 0},
      {"a regular expression, no bound", regex, 40, true, TRefusalLook::LongNames, true, 0},
      {"a regular expression past the limit", regex, 200, true, TRefusalLook::LongNames, true, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    TTempTree tree;
    tree.Folder("sub");
    tree.File("sub/" + std::string(c.LongBytes - 4, 'a') + ".txt");
    tree.File(std::string(c.LongBytes - 4, 'b') + ".txt");
    tree.File("c.txt");
    const TMountTableScope volume(VolumeOf(tree.Root(), "ext4"));
    const TSearchPassOptions options = Over(tree, c.SubFolders);
    const TRenameSettings settings = CaptureSettings(c.Controls);
    const TRefusalLook look = RefusalLookFor(options, settings);
    EXPECT_EQ(look, c.Look);
    std::atomic<std::uint64_t> judged{0};
    const TVolumeRefusals found = LookForRefusals(look, options, settings, 5, {}, &judged);
    EXPECT_EQ(judged.load() > 0, c.Judged) << judged.load();
    EXPECT_EQ(found.Count, c.Count);
    for (const TRefusedRename& rename : found.First) EXPECT_EQ(rename.Error, kVolumeRefusesLength);
  }
}

TEST(VolumeRefusals, AVolumeWithOtherRulesIsAlwaysJudgedWhole) {
  TTempTree tree;
  tree.File("a.txt");
  const TMountTableScope volume(VolumeOf(tree.Root(), "vfat"));
  // Even settings that only shorten names can end in a dot.
  EXPECT_EQ(RefusalLookFor(Over(tree), CaptureSettings(RemoveText("a"))), TRefusalLook::Full);
}

}  // namespace
}  // namespace vt::test
