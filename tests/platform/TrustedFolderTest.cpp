// A folder of records is trusted only when no other user could change it or a
// folder above it up to the home; a record is read only when it is the user's
// own file and no link.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "FsTempFolder.h"
#include "platform/TrustedFolder.h"

namespace vt::test {
namespace {

constexpr std::uint32_t kOtherUid = 12345;

void Own(const std::string& path, std::uint32_t uid) { ASSERT_EQ(::lchown(path.c_str(), uid, uid), 0) << path; }
void Mode(const std::string& path, mode_t mode) { ASSERT_EQ(::chmod(path.c_str(), mode), 0) << path; }

struct TTrustCase {
  const char* Name;
  bool NeedsRoot;  // chown to another user
  // Changes the tree of dir: home/ (0700) holding .local/state/veltrane/ (0700).
  std::function<void(const TFsTempFolder& dir)> Arrange;
  const char* AtFault;  // the folder named, relative to dir; nullptr: trusted
  std::optional<TFolderFault> Fault;
  const char* Folder = "home/.local/state/veltrane/";
};

TEST(TrustedFolder, IsRefusedWhereverAnotherUserCouldChangeItUpToTheHome) {
  const TTrustCase cases[] = {
      {"the user's own folders", false, [](const TFsTempFolder&) {}, nullptr, std::nullopt},
      {"world-writable state folder", false,
       [](const TFsTempFolder& dir) { Mode(dir / "home/.local/state/veltrane", 0777); }, "home/.local/state/veltrane/",
       TFolderFault::OthersCanWrite},
      {"group-writable folder above it", false, [](const TFsTempFolder& dir) { Mode(dir / "home/.local", 0775); },
       "home/.local/", TFolderFault::OthersCanWrite},
      {"sticky folder of the user's above it", false,
       [](const TFsTempFolder& dir) { Mode(dir / "home/.local", 01777); }, nullptr, std::nullopt},
      {"world-writable home", false, [](const TFsTempFolder& dir) { Mode(dir / "home", 0777); }, "home/",
       TFolderFault::OthersCanWrite},
      {"above the home is not looked at", false, [](const TFsTempFolder& dir) { Mode(dir.Path(), 0777); }, nullptr,
       std::nullopt},
      {"state folder not made yet, under a world-writable one", false,
       [](const TFsTempFolder& dir) {
         std::filesystem::remove(dir / "home/.local/state/veltrane");
         Mode(dir / "home/.local/state", 0777);
       },
       "home/.local/state/", TFolderFault::OthersCanWrite},
      {"state folder owned by another user", true,
       [](const TFsTempFolder& dir) { Own(dir / "home/.local/state/veltrane", kOtherUid); },
       "home/.local/state/veltrane/", TFolderFault::OwnedByOther},
      {"a folder above it owned by another user", true,
       [](const TFsTempFolder& dir) { Own(dir / "home/.local/state", kOtherUid); }, "home/.local/state/",
       TFolderFault::OwnedByOther},
      {"state folder a link into another user's folder", true,
       [](const TFsTempFolder& dir) {
         dir.MakeFolder("other/records");
         Own(dir / "other", kOtherUid);
         Mode(dir / "other", 0755);
         std::filesystem::remove(dir / "home/.local/state/veltrane");
         std::filesystem::create_directory_symlink(dir / "other/records", dir / "home/.local/state/veltrane");
         Own(dir / "other/records", ::geteuid());
       },
       "other/", TFolderFault::OwnedByOther},
      {"a link to a folder of the user's elsewhere", false,
       [](const TFsTempFolder& dir) {
         dir.MakeFolder("mine/records");
         Mode(dir / "mine/records", 0700);
         std::filesystem::remove(dir / "home/.local/state/veltrane");
         std::filesystem::create_directory_symlink(dir / "mine/records", dir / "home/.local/state/veltrane");
       },
       nullptr, std::nullopt},
      {"a link whose target lies in a world-writable folder", false,
       [](const TFsTempFolder& dir) {
         dir.MakeFolder("open/records");
         Mode(dir / "open", 0777);
         std::filesystem::remove(dir / "home/.local/state/veltrane");
         std::filesystem::create_directory_symlink(dir / "open/records", dir / "home/.local/state/veltrane");
       },
       "open/", TFolderFault::OthersCanWrite},
  };
  for (const TTrustCase& c : cases) {
    SCOPED_TRACE(c.Name);
    if (c.NeedsRoot && ::geteuid() != 0) continue;
    TFsTempFolder dir;
    dir.MakeFolder("home/.local/state/veltrane");
    for (const char* folder : {"home", "home/.local", "home/.local/state", "home/.local/state/veltrane"})
      Mode(dir / folder, 0700);
    c.Arrange(dir);
    const TFolderUser user{::geteuid(), dir / "home"};
    const std::optional<TUntrustedFolder> refused = UntrustedFolder(dir / c.Folder, user);
    if (c.AtFault == nullptr) {
      EXPECT_FALSE(refused) << refused->Path;
      continue;
    }
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->Path, dir / c.AtFault);
    EXPECT_EQ(refused->Fault, *c.Fault);
    if (refused->Fault == TFolderFault::OwnedByOther) {
      EXPECT_EQ(refused->Owner, kOtherUid);
    }
  }
}

TEST(TrustedFolder, WithoutAHomeInsideItEveryFolderUpToTheRootIsJudged) {
  TFsTempFolder dir;
  dir.MakeFolder("open/records");
  Mode(dir / "open/records", 0700);
  Mode(dir / "open", 0777);
  EXPECT_FALSE(UntrustedFolder(dir / "open/records", TFolderUser{::geteuid(), dir / "open/records"}));
  const std::optional<TUntrustedFolder> refused = UntrustedFolder(dir / "open/records", TFolderUser{::geteuid(), {}});
  ASSERT_TRUE(refused);
  EXPECT_EQ(refused->Path, dir / "open/");
}

TEST(TrustedFolder, OnlyARegularFileOfTheUsersIsItsOwn) {
  TFsTempFolder dir;
  const std::uint32_t uid = ::geteuid();
  dir.Write("mine", "x");
  dir.MakeFolder("folder");
  std::filesystem::create_symlink(dir / "mine", dir / "link");
  EXPECT_TRUE(IsOwnFile(dir.Path(), "mine", uid));
  EXPECT_FALSE(IsOwnFile(dir.Path(), "mine", uid + 1));
  EXPECT_FALSE(IsOwnFile(dir.Path(), "link", uid));
  EXPECT_FALSE(IsOwnFile(dir.Path(), "folder", uid));
  EXPECT_FALSE(IsOwnFile(dir.Path(), "missing", uid));
  if (uid != 0) return;
  dir.Write("planted", "x");
  Own(dir / "planted", kOtherUid);
  EXPECT_FALSE(IsOwnFile(dir.Path(), "planted", uid));
}

// A record is read through the handle it was checked with: what is read is
// the user's own regular file, never what a link leads to.
TEST(OwnFile, ReadOnlyTheUsersOwnRegularFileThroughItsHandle) {
  TFsTempFolder dir;
  const std::string folder = dir.Path();
  { std::ofstream(folder + "own") << "journal"; }
  std::filesystem::create_symlink(folder + "own", folder + "link");
  std::filesystem::create_directory(folder + "sub");
  struct Case {
    const char* Name;
    std::uint32_t Uid;
    int Error;
    const char* Bytes;
  };
  const std::uint32_t uid = EffectiveUid();
  for (const Case& c : std::vector<Case>{{"own", uid, 0, "journal"},
                                         {"own", uid + 1, EPERM, ""},
                                         {"link", uid, ELOOP, ""},
                                         {"sub", uid, EPERM, ""},
                                         {"missing", uid, ENOENT, ""}}) {
    SCOPED_TRACE(c.Name);
    std::string bytes = "stale";
    EXPECT_EQ(ReadOwnFile(folder, c.Name, c.Uid, 4, bytes), c.Error);
    EXPECT_EQ(bytes, std::string(c.Bytes).substr(0, 4));
  }
}

}  // namespace
}  // namespace vt::test
