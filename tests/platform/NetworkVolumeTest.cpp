// Renames on volumes that lack the kernel's no-replace rename and number
// their files their own way (sshfs, other FUSE volumes), where each call asks
// a server.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <string>

#include "FakeVolume.h"
#include "FsTempFolder.h"
#include "platform/FolderRenamer.h"
#include "platform/MountTable.h"
#include "platform/Volumes.h"

namespace vt {
namespace {

using test::TFakeVolume;
using test::TFsTempFolder;
using test::TVolumeTraits;

// Calls that reach the server: all but the lease, which the client's kernel grants.
int ServerCalls(TFakeVolume& volume) {
  int count = 0;
  for (const auto& [kind, n] : volume.calls)
    if (kind != "lease" && kind != "open") count += n;
  return count;
}

std::string FileName(int i) { return "photo" + std::to_string(i) + ".jpg"; }

// The mount table holds the folder's device as a volume of this type.
class TMountedAs {
 public:
  TMountedAs(const TFsTempFolder& dir, const std::string& fsType) {
    struct stat st {};
    EXPECT_EQ(::stat(dir.Path().c_str(), &st), 0);
    SetMountTableForTesting("36 25 " + std::to_string(major(st.st_dev)) + ":" + std::to_string(minor(st.st_dev)) +
                            " / " + dir.Path() + " rw - " + fsType + " host:/share rw\n");
  }
  ~TMountedAs() { SetMountTableForTesting(std::nullopt); }
  TMountedAs(const TMountedAs&) = delete;
  TMountedAs& operator=(const TMountedAs&) = delete;
};

struct TRoundTripCase {
  TVolumeTraits traits;
  const char* fsType;  // as the mount table has the folder's volume
  bool noLeases;
  // Calls made once per mount: the refused no-replace rename, the refused
  // link, or the two looks that learn how links are numbered.
  int once;
  int leases;  // asked for, of kFiles renames
};

constexpr int kFiles = 30;

// At most four calls per file reach the server: the look, the reservation
// (a link or a placeholder), the move or the old name's removal, the look
// after it.
TEST(NetworkVolume, AtMostFourCallsPerFileReachTheServer) {
  const TRoundTripCase cases[] = {
      {test::kSshfs, "fuse.sshfs", false, 1 + 2, 0},
      {test::kSshfsNoLinks, "fuse.sshfs", false, 1 + 1, 0},
      {test::kNtfs3g, "fuseblk", false, 1 + 2, 0},
      // A local volume without links holds its placeholders under a lease.
      {test::kSshfsNoLinks, "fuseblk", false, 1 + 1, kFiles},
      {test::kSshfsNoLinks, "fuseblk", true, 1 + 1, 1},
  };
  for (const TRoundTripCase& c : cases) {
    SCOPED_TRACE(std::string(c.traits.name) + " as " + c.fsType + (c.noLeases ? ", no leases" : ""));
    TFsTempFolder dir;
    const TMountedAs mounted(dir, c.fsType);
    for (int i = 0; i < kFiles; ++i) dir.Write(FileName(i), std::to_string(i));
    TFakeVolume volume(c.traits);
    volume.noLeases = c.noLeases;
    TFolderRenamer renamer(volume);
    for (int i = 0; i < kFiles; ++i) ASSERT_EQ(renamer.Rename(dir.Path(), FileName(i), "Rome " + FileName(i)), 0) << i;
    EXPECT_EQ(dir.Read("Rome " + FileName(7)), "7");
    EXPECT_FALSE(dir.Exists(FileName(7)));
    EXPECT_LE(ServerCalls(volume), 4 * kFiles + c.once);
    EXPECT_EQ(volume.calls["renameat2"], 1);
    EXPECT_EQ(volume.calls["link"], c.traits.hardLinks ? kFiles : 1);
    EXPECT_EQ(volume.calls["lease"], c.leases);
  }
}

// A rename onto a placeholder that fails takes the placeholder away, and only that.
TEST(NetworkVolume, AFailedRenameOnTheServerLeavesNoPlaceholder) {
  for (const bool carriedOut : {false, true}) {
    SCOPED_TRACE(carriedOut ? "carried out despite the error" : "not carried out");
    TFsTempFolder dir;
    const TMountedAs mounted(dir, "fuse.sshfs");
    dir.Write("a");  // empty, as a placeholder is
    TFakeVolume volume(test::kSshfsNoLinks);
    volume.failMovesTo = "b";
    volume.failAfterMoving = carriedOut;
    TFolderRenamer renamer(volume);
    const int error = renamer.Rename(dir.Path(), "a", "b");
    EXPECT_EQ(error, carriedOut ? 0 : EIO);
    EXPECT_EQ(dir.Exists("a"), !carriedOut);
    EXPECT_EQ(dir.Exists("b"), carriedOut);
  }
}

// What is learnt of a mount holds for every folder on it.
TEST(NetworkVolume, RemembersPerMountAcrossFolders) {
  TFsTempFolder dir;
  for (const char* name : {"one/a", "two/a", "three/a"}) {
    dir.MakeFolder(std::string(name, std::string(name).find('/')));
    dir.Write(name, "a");
  }
  const TMountedAs mounted(dir, "fuseblk");
  TFakeVolume volume(test::kSshfsNoLinks);
  volume.noLeases = true;
  TFolderRenamer renamer(volume);
  for (const char* folder : {"one/", "two/", "three/"}) EXPECT_EQ(renamer.Rename(dir / folder, "a", "b"), 0);
  EXPECT_EQ(volume.calls["renameat2"], 1);
  EXPECT_EQ(volume.calls["link"], 1);
  EXPECT_EQ(volume.calls["lease"], 1);
  EXPECT_EQ(dir.Read("three/b"), "a");
}

// A link that fails for its file alone (too many links) says nothing of the volume.
TEST(NetworkVolume, TooManyLinksIsNotTakenForAVolumeWithout) {
  TFsTempFolder dir;
  dir.Write("a", "a");
  dir.Write("b", "b");
  TFakeVolume volume(test::kSshfsNoLinks);
  volume.linkError = EMLINK;
  TFolderRenamer renamer(volume);
  EXPECT_EQ(renamer.Rename(dir.Path(), "a", "a2"), 0);
  EXPECT_EQ(renamer.Rename(dir.Path(), "b", "b2"), 0);
  EXPECT_EQ(volume.calls["link"], 2);
}

// A file swapped in under the old name between the look and the link is put
// back, also where the inode number cannot tell: what differs is what the
// volume keeps.
TEST(NetworkVolume, AFileSwappedInIsToldByWhatTheVolumeKeeps) {
  struct Case {
    const char* what;
    const char* content;
    bool olderTime;
    bool moves;
  };
  const Case cases[] = {
      {"nothing swapped", nullptr, false, true},
      {"other size", "mine and more", false, false},
      {"same size, other time", "MINE", true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TFsTempFolder dir;
    dir.Write("file.txt", "mine");
    TFakeVolume volume(test::kSshfs);
    volume.beforeMove = [&](int dirFd, const char* from, const char*) {
      if (c.content == nullptr || std::string(from) != "file.txt") return;
      ASSERT_EQ(::renameat(dirFd, "file.txt", dirFd, "kept.txt"), 0);
      dir.Write("file.txt", c.content);
      if (c.olderTime) {
        const timespec times[2] = {{0, UTIME_OMIT}, {1000000000, 0}};
        ASSERT_EQ(::utimensat(dirFd, "file.txt", times, 0), 0);
      }
    };
    TFolderRenamer renamer(volume);
    const int error = renamer.Rename(dir.Path(), "file.txt", "new.txt");
    EXPECT_EQ(error == 0, c.moves) << error;
    EXPECT_EQ(dir.Exists("new.txt"), c.moves);
    EXPECT_EQ(dir.Exists("file.txt"), !c.moves);
    if (c.content != nullptr) {
      EXPECT_EQ(dir.Read("file.txt"), c.content);
    }
  }
}

// On a volume whose numbers follow the file a new number after the move is
// another file; on one whose client numbers its files anew it is not.
TEST(NetworkVolume, NumbersAnewAreTrustedOnlyWhereTheTypeSaysSo) {
  struct Case {
    const char* fsType;
    int answer;
  };
  for (const Case& c : {Case{"ext4", ESTALE}, Case{"fuse.sshfs", 0}, Case{"fuseblk", 0}, Case{"cifs", 0}}) {
    SCOPED_TRACE(c.fsType);
    TFsTempFolder dir;
    dir.Write("a.txt", "a");
    const TMountedAs mounted(dir, c.fsType);
    TFakeVolume volume(test::kSshfsNoLinks);
    volume.renumberOnMove = true;
    TFolderRenamer renamer(volume);
    EXPECT_EQ(renamer.Rename(dir.Path(), "a.txt", "b.txt"), c.answer);
    EXPECT_EQ(dir.Read(c.answer == 0 ? "b.txt" : "a.txt"), "a");
  }
}

// A target the server holds is kept, whichever way the name is reserved.
TEST(NetworkVolume, NeverReplacesATargetOnTheServer) {
  for (const TVolumeTraits& traits : {test::kSshfs, test::kSshfsNoLinks}) {
    SCOPED_TRACE(traits.name);
    TFsTempFolder dir;
    const TMountedAs mounted(dir, "fuse.sshfs");
    dir.Write("mine", "mine");
    dir.Write("theirs", "theirs");
    TFakeVolume volume(traits);
    TFolderRenamer renamer(volume);
    EXPECT_EQ(renamer.Rename(dir.Path(), "mine", "theirs"), EEXIST);
    EXPECT_EQ(dir.Read("theirs"), "theirs");
    EXPECT_EQ(dir.Read("mine"), "mine");
    EXPECT_EQ(volume.calls["rename"], 0);
  }
}

}  // namespace
}  // namespace vt
