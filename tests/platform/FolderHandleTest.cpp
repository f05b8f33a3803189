#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "FsTempFolder.h"
#include "platform/DirectoryListing.h"
#include "platform/EnterableFolders.h"
#include "platform/FolderHandle.h"
#include "platform/FolderRenamer.h"
#include "support/DeepTree.h"

namespace vt {
namespace {

using test::TFsTempFolder;

std::vector<std::string> Names(const std::vector<TSubFolder>& folders) {
  std::vector<std::string> names;
  for (const TSubFolder& folder : folders) names.push_back(folder.Name);
  return names;
}

class FolderHandleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(TFolderHandle::Open(dir.Path(), root), 0);
    dir.MakeFolder("outside");
    dir.Write("outside/victim.txt", "not yours");
  }
  const TSubFolder& Listed(const std::string& name) {
    listed.clear();
    EXPECT_EQ(ListEnterableFolders(root, NameOrder::Name, listed), 0);
    for (const TSubFolder& folder : listed)
      if (folder.Name == name) return folder;
    ADD_FAILURE() << name << " not listed";
    return listed.front();
  }

  TFsTempFolder dir;
  TFolderHandle root;
  std::vector<TSubFolder> listed;
};

TEST_F(FolderHandleTest, ListsRealFoldersInNameOrderWithoutDotsOrLinks) {
  for (const char* name : {"b", "A", "c.d", ".git", "a"}) dir.MakeFolder(name);
  dir.Write("file");
  ASSERT_EQ(::symlink((dir / "outside").c_str(), (dir / "link").c_str()), 0);
  std::vector<TSubFolder> folders;
  ASSERT_EQ(ListEnterableFolders(root, NameOrder::Name, folders), 0);
  EXPECT_EQ(Names(folders), (std::vector<std::string>{"A", "a", "b", "c.d", "outside"}));
}

TEST_F(FolderHandleTest, EntersOnlyTheFolderThatWasListed) {
  struct Case {
    const char* what;
    void (*change)(const TFsTempFolder&);
    int error;
  };
  const Case cases[] = {
      {"unchanged", [](const TFsTempFolder&) {}, 0},
      {"swapped for a link",
       [](const TFsTempFolder& d) {
         std::filesystem::rename(d / "sub", d / "sub.old");
         ASSERT_EQ(::symlink((d / "outside").c_str(), (d / "sub").c_str()), 0);
       },
       ELOOP},
      {"swapped for another folder",
       [](const TFsTempFolder& d) {
         std::filesystem::rename(d / "sub", d / "sub.old");
         std::filesystem::rename(d / "other", d / "sub");
       },
       ESTALE},
      {"gone", [](const TFsTempFolder& d) { std::filesystem::remove_all(d / "sub"); }, ENOENT},
      {"swapped for a file",
       [](const TFsTempFolder& d) {
         std::filesystem::remove_all(d / "sub");
         d.Write("sub");
       },
       ENOTDIR},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TFsTempFolder fresh;
    fresh.MakeFolder("sub");
    fresh.MakeFolder("other");
    fresh.MakeFolder("outside");
    TFolderHandle top;
    ASSERT_EQ(TFolderHandle::Open(fresh.Path(), top), 0);
    std::vector<TSubFolder> folders;
    ASSERT_EQ(ListEnterableFolders(top, NameOrder::Name, folders), 0);
    const TSubFolder sub = folders.at(2);
    ASSERT_EQ(sub.Name, "sub");
    c.change(fresh);
    TFolderHandle opened;
    const int error = top.OpenSub(sub.Name, sub.Id, opened);
    if (c.error == ELOOP) {
      EXPECT_TRUE(error == ELOOP || error == ENOTDIR) << error;  // the kernel may say either for a link
    } else {
      EXPECT_EQ(error, c.error);
    }
    EXPECT_EQ(opened.IsOpen(), c.error == 0);
    if (c.error != 0) {
      EXPECT_TRUE(IsFolderGone(error));
    } else {
      EXPECT_EQ(opened.Path(), fresh.Path() + "sub/");
    }
  }
}

// A pass lists a folder and renames its files through the folder's handle:
// moving a link into the folder's place in between changes nothing.
TEST_F(FolderHandleTest, RenamesGoToTheFolderListedEvenWhenItsPathNowLeadsElsewhere) {
  dir.MakeFolder("sub");
  dir.Write("sub/victim.txt", "mine");
  TFolderHandle sub;
  ASSERT_EQ(root.OpenSub("sub", Listed("sub").Id, sub), 0);
  auto shared = std::make_shared<const TFolderHandle>(std::move(sub));
  TFindHandle listing(shared, "*.txt");
  TFindData entry;
  ASSERT_TRUE(listing.FindNext(entry));
  std::filesystem::rename(dir / "sub", dir / "moved");
  ASSERT_EQ(::symlink((dir / "outside").c_str(), (dir / "sub").c_str()), 0);

  TFolderRenamer renamer;
  EXPECT_EQ(renamer.Rename(*listing.FolderHandle(), entry.cFileName, "renamed.txt"), 0);
  EXPECT_EQ(dir.Read("moved/renamed.txt"), "mine");
  EXPECT_EQ(dir.Read("outside/victim.txt"), "not yours");
  EXPECT_EQ(listing.Folder(), dir.Path() + "sub/");  // the text of the rows stays as listed
}

TEST_F(FolderHandleTest, AMasksFolderPartIsOpenedFromTheHandle) {
  dir.MakeFolder("sub");
  dir.Write("sub/inner.txt");
  auto shared = std::make_shared<const TFolderHandle>(std::move(root));
  TFindHandle listing(shared, "sub/*.txt");
  TFindData entry;
  ASSERT_TRUE(listing.FindNext(entry));
  EXPECT_EQ(entry.cFileName, "inner.txt");
  EXPECT_EQ(listing.Folder(), dir.Path() + "sub/");
  EXPECT_EQ(listing.FolderHandle()->Path(), dir.Path() + "sub/");

  TFindHandle missing(shared, "nowhere/*.txt");
  EXPECT_EQ(missing.Error(), ENOENT);
  EXPECT_EQ(missing.FolderHandle(), nullptr);
}

TEST_F(FolderHandleTest, TwoListingsOfOneHandleEachSeeEveryEntry) {
  dir.Write("a.txt");
  dir.Write("b.doc");
  auto shared = std::make_shared<const TFolderHandle>(std::move(root));
  for (int round = 0; round < 2; ++round) {
    TFindHandle listing(shared, "*.txt");
    TFindData entry;
    ASSERT_TRUE(listing.FindNext(entry)) << "round " << round;
    EXPECT_EQ(entry.cFileName, "a.txt");
  }
}

TEST_F(FolderHandleTest, ReachesDepthsNoPathCanName) {
  const std::string name(200, 'd');
  test::TDeepChain chain(dir.Path(), name, 30, "deep.txt", "bottom");  // over 6,000 bytes of path
  ASSERT_TRUE(chain.Made());
  ASSERT_GT(chain.DeepestPath().size(), static_cast<std::size_t>(PATH_MAX));
  TFolderHandle folder;
  ASSERT_EQ(TFolderHandle::Open(dir.Path(), folder), 0);
  for (int level = 0; level < 30; ++level) {
    std::vector<TSubFolder> subs;
    ASSERT_EQ(ListEnterableFolders(folder, NameOrder::Name, subs), 0);
    const auto it = std::find_if(subs.begin(), subs.end(), [&](const TSubFolder& s) { return s.Name == name; });
    ASSERT_NE(it, subs.end()) << "level " << level;
    TFolderHandle next;
    ASSERT_EQ(folder.OpenSub(it->Name, it->Id, next), 0) << "level " << level;
    folder = std::move(next);
  }
  EXPECT_EQ(folder.Path(), chain.DeepestPath());
  TFolderRenamer renamer;
  EXPECT_EQ(renamer.Rename(folder, "deep.txt", "renamed.txt"), 0);
  EXPECT_EQ(chain.DeepestContent("renamed.txt"), "bottom");
}

}  // namespace
}  // namespace vt
