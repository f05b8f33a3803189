#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <string>
#include <vector>

#include "platform/AppendFile.h"
#include "platform/FsTempFolder.h"

namespace vt::test {
namespace {

mode_t ModeOf(const std::string& path) {
  struct stat info {};
  EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
  return info.st_mode & 07777;
}

TEST(AppendFile, IsTheUsersAloneNeverReplacedAndKeepsEveryAppend) {
  TFsTempFolder dir;
  const std::string path = dir / "j";
  {
    TAppendFile file;
    ASSERT_EQ(file.Create(path, TDurability::Kernel), 0);
    EXPECT_EQ(ModeOf(path), 0600u);
    EXPECT_EQ(file.Append("one "), 0);
    EXPECT_EQ(file.Append("two"), 0);
    TAppendFile second;
    EXPECT_EQ(second.Create(path, TDurability::Kernel), EEXIST);
  }
  std::string bytes;
  ASSERT_EQ(ReadWholeFile(path, bytes), 0);
  EXPECT_EQ(bytes, "one two");
  ASSERT_EQ(ReadFileStart(path, 3, bytes), 0);
  EXPECT_EQ(bytes, "one");
  ASSERT_EQ(AppendToFile(path, "!"), 0);
  ASSERT_EQ(ReadWholeFile(path, bytes), 0);
  EXPECT_EQ(bytes, "one two!");
  EXPECT_EQ(AppendToFile(dir / "missing", "x"), ENOENT);
}

// Appends through to the disk go into zeros grown ahead of them; a reader
// meanwhile finds the bytes then zeros, and once closed the bytes alone, with
// what is appended later right after them. Sizes cross the growth's steps.
TEST(AppendFile, KeepsEveryAppendAndNoZerosOnceClosed) {
  struct TCase {
    TDurability Durability;
    std::vector<std::size_t> Sizes;
  };
  const TCase cases[] = {{TDurability::Kernel, {3, 70000}},
                         {TDurability::Disk, {1}},
                         {TDurability::Disk, {100, 65436, 1, 200000}},
                         {TDurability::Disk, {300000, 5, 700000}}};
  for (const TCase& test : cases) {
    TFsTempFolder dir;
    const std::string path = dir / "j";
    std::string written;
    {
      TAppendFile file;
      ASSERT_EQ(file.Create(path, test.Durability), 0);
      for (const std::size_t size : test.Sizes) {
        const std::string bytes(size, static_cast<char>('a' + written.size() % 23));
        ASSERT_EQ(file.Append(bytes), 0);
        written += bytes;
        std::string open;
        ASSERT_EQ(ReadWholeFile(path, open), 0);
        ASSERT_GE(open.size(), written.size());
        EXPECT_EQ(open.substr(0, written.size()), written) << size;
        EXPECT_EQ(open.find_first_not_of('\0', written.size()), std::string::npos) << size;
      }
    }
    std::string closed;
    ASSERT_EQ(ReadWholeFile(path, closed), 0);
    EXPECT_EQ(closed, written);
    ASSERT_EQ(AppendToFile(path, "!"), 0);
    ASSERT_EQ(ReadWholeFile(path, closed), 0);
    EXPECT_EQ(closed, written + "!");
  }
}

TEST(AppendFile, TheLockTellsWhetherTheWriterLives) {
  TFsTempFolder dir;
  const std::string path = dir / "j";
  TAppendFile file;
  ASSERT_EQ(file.Create(path, TDurability::Disk), 0);
  EXPECT_EQ(file.Append("x"), 0);
  EXPECT_TRUE(IsWriterAlive(path));
  file.Close();
  EXPECT_FALSE(IsWriterAlive(path));
  EXPECT_FALSE(IsWriterAlive(dir / "missing"));
  EXPECT_EQ(file.Append("y"), EBADF);
}

TEST(AppendFile, PrivateFolderIsMadeForTheUserAndAnOpenOneIsTold) {
  TFsTempFolder dir;
  TFolderAccess access = TFolderAccess::OpenToOthers;
  const std::string made = dir / "a/b/records/";
  ASSERT_EQ(MakePrivateFolder(made, access), 0);
  EXPECT_EQ(ModeOf(made), 0700u);
  EXPECT_EQ(access, TFolderAccess::Private);
  // Any bit for the group or the others opens it, reading or only entering.
  const struct {
    ::mode_t Mode;
    TFolderAccess Access;
  } cases[] = {
      {0700, TFolderAccess::Private},      {0750, TFolderAccess::OpenToOthers}, {0701, TFolderAccess::OpenToOthers},
      {0710, TFolderAccess::OpenToOthers}, {0755, TFolderAccess::OpenToOthers},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Mode);
    ASSERT_EQ(::chmod(made.c_str(), c.Mode), 0);
    ASSERT_EQ(MakePrivateFolder(made, access), 0);
    EXPECT_EQ(access, c.Access);
    EXPECT_EQ(ModeOf(made), c.Mode);  // told, never changed
  }
  dir.Write("file");
  EXPECT_EQ(MakePrivateFolder(dir / "file/", access), ENOTDIR);
}

}  // namespace
}  // namespace vt::test
