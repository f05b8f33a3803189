#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <list>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <vector>

#include "FsTempFolder.h"
#include "HashedShortName.h"
#include "platform/DirectoryListing.h"
#include "platform/FileHead.h"
#include "platform/FindData.h"
#include "platform/FolderRenamer.h"
#include "platform/NameOrder.h"
#include "platform/ShortName.h"
#include "support/InodeFlags.h"

namespace vt {
namespace {

using test::TFsTempFolder;

std::vector<TFindData> List(const std::string& pattern, ListFilter filter = ListFilter::All) {
  TFindHandle handle(pattern, filter);
  std::vector<TFindData> entries;
  TFindData entry;
  while (handle.FindNext(entry)) entries.push_back(entry);
  return entries;
}

std::vector<std::string> Names(const std::vector<TFindData>& entries) {
  std::vector<std::string> names;
  for (const TFindData& e : entries) names.push_back(e.cFileName);
  return names;
}

std::vector<std::string> Sorted(std::vector<std::string> names) {
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<std::string> ReaddirOrder(const std::string& folder) {
  std::vector<std::string> names;
  DIR* dir = ::opendir(folder.c_str());
  while (const dirent* e = ::readdir(dir)) names.push_back(e->d_name);
  ::closedir(dir);
  return names;
}

class DirectoryListing : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"a.txt", "b.TXT", "readme", "notes.", ".profile", "x.tar.gz", "ab", "\xc3\xa9.txt",
                             "\xe6\x97\xa5\xe6\x9c\xac.txt", "\xff.txt"})
      dir.Write(name, name);
    dir.MakeFolder("sub");
    dir.Write("sub/inner.txt");
    dir.Write("sub/inner.doc");
  }
  TFsTempFolder dir;
};

struct TListCase {
  const char* mask;
  std::vector<std::string> names;
};

TEST_F(DirectoryListing, MasksSelectAsTheListingShould) {
  const std::vector<std::string> all = {".",
                                        "..",
                                        "a.txt",
                                        "b.TXT",
                                        "readme",
                                        "notes.",
                                        ".profile",
                                        "x.tar.gz",
                                        "ab",
                                        "\xc3\xa9.txt",
                                        "\xe6\x97\xa5\xe6\x9c\xac.txt",
                                        "\xff.txt",
                                        "sub"};
  const TListCase cases[] = {
      {"*", all},
      {"*.*", all},
      {"*.txt", {"a.txt", "b.TXT", "\xc3\xa9.txt", "\xe6\x97\xa5\xe6\x9c\xac.txt", "\xff.txt"}},
      {"*.TXT", {"a.txt", "b.TXT", "\xc3\xa9.txt", "\xe6\x97\xa5\xe6\x9c\xac.txt", "\xff.txt"}},
      {"?.txt", {"a.txt", "b.TXT", "\xc3\xa9.txt", "\xff.txt"}},
      {"??.txt", {"\xe6\x97\xa5\xe6\x9c\xac.txt"}},
      {".*", {".", "..", ".profile"}},
      {"readme.*", {"readme"}},
      {"A*", {"a.txt", "ab"}},
      {"*.gz", {"x.tar.gz"}},
      {"*.", {".", "..", "notes."}},
      {"..", {".."}},
      {"zzz*", {}},
      {"", {}},
  };
  for (const TListCase& c : cases)
    EXPECT_EQ(Sorted(Names(List(dir.Path() + c.mask))), Sorted(c.names)) << "mask \"" << c.mask << "\"";
}

TEST_F(DirectoryListing, HandsOutEntriesInNameOrder) {
  const std::vector<std::string> expected = {".",       "..",       ".profile",     "a.txt",
                                             "ab",      "b.TXT",    "notes.",       "readme",
                                             "sub",     "x.tar.gz", "\xc3\xa9.txt", "\xe6\x97\xa5\xe6\x9c\xac.txt",
                                             "\xff.txt"};
  EXPECT_EQ(Names(List(dir.Path() + "*")), expected);
}

TEST_F(DirectoryListing, MixedCaseAndDigitsInNameOrderOrNaturalOrder) {
  TFsTempFolder photos;
  for (const char* name : {"IMG_10.JPG", "img_2.jpg", "IMG_0001.JPG", "IMG_2.JPG", "IMG_0010.JPG", "a.txt", "A.TXT"})
    photos.Write(name);
  const auto listed = [&](NameOrder order) {
    TFindHandle handle(photos.Path() + "*.*", ListFilter::All, ShortNames::Skip, order);
    std::vector<std::string> names;
    for (TFindData entry; handle.FindNext(entry);)
      if (entry.cFileName[0] != '.') names.push_back(entry.cFileName);
    return names;
  };
  EXPECT_EQ(listed(NameOrder::Name), (std::vector<std::string>{"A.TXT", "a.txt", "IMG_0001.JPG", "IMG_0010.JPG",
                                                               "IMG_10.JPG", "IMG_2.JPG", "img_2.jpg"}));
  EXPECT_EQ(listed(NameOrder::Natural), (std::vector<std::string>{"A.TXT", "a.txt", "IMG_0001.JPG", "IMG_2.JPG",
                                                                  "img_2.jpg", "IMG_0010.JPG", "IMG_10.JPG"}));
  std::vector<std::string> stored = ReaddirOrder(photos.Path());
  stored.erase(std::remove_if(stored.begin(), stored.end(), [](const std::string& n) { return n[0] == '.'; }),
               stored.end());
  EXPECT_EQ(listed(NameOrder::AsStored), stored);
}

TEST_F(DirectoryListing, ListsTheFolderThatTheMaskNames) {
  TFindHandle sub(dir.Path() + "sub/*.txt");
  EXPECT_EQ(sub.Folder(), dir.Path() + "sub/");
  TFindData entry;
  ASSERT_TRUE(sub.FindNext(entry));
  EXPECT_EQ(entry.cFileName, "inner.txt");
  EXPECT_FALSE(sub.FindNext(entry));

  TFindHandle parent(dir.Path() + "sub/../*.gz");
  EXPECT_EQ(parent.Folder(), dir.Path() + "sub/../");
  ASSERT_TRUE(parent.FindNext(entry));
  EXPECT_EQ(entry.cFileName, "x.tar.gz");
}

TEST_F(DirectoryListing, APatternWithoutFolderListsTheCurrentFolder) {
  char previous[4096];
  ASSERT_NE(::getcwd(previous, sizeof previous), nullptr);
  ASSERT_EQ(::chdir((dir.Path() + "sub").c_str()), 0);
  const std::vector<TFindData> entries = List("*.doc");
  TFindHandle handle("*.doc");
  const std::string folder = handle.Folder();
  ASSERT_EQ(::chdir(previous), 0);
  EXPECT_EQ(Names(entries), std::vector<std::string>{"inner.doc"});
  EXPECT_EQ(folder, "./");
}

TEST_F(DirectoryListing, ReportsWhyAFolderCouldNotBeListed) {
  TFindHandle missing(dir.Path() + "nowhere/*.*");
  TFindData entry;
  EXPECT_EQ(missing.Error(), ENOENT);
  EXPECT_FALSE(missing.FindNext(entry));

  TFindHandle file(dir.Path() + "a.txt/*");
  EXPECT_EQ(file.Error(), ENOTDIR);

  TFindHandle nothingSelected(dir.Path() + "zzz*");
  EXPECT_EQ(nothingSelected.Error(), 0);
  EXPECT_FALSE(nothingSelected.FindNext(entry));
}

TEST_F(DirectoryListing, AHandleEndsAndStaysEnded) {
  TFindHandle handle(dir.Path() + "a.*");
  TFindData entry;
  EXPECT_TRUE(handle.FindNext(entry));
  EXPECT_FALSE(handle.FindNext(entry));
  EXPECT_FALSE(handle.FindNext(entry));
  TFindHandle moved(std::move(handle));
  EXPECT_FALSE(moved.FindNext(entry));
}

class ListingAttributes : public ::testing::Test {
 protected:
  void SetUp() override {
    dir.Write("plain");
    dir.Write("locked");
    ::chmod((dir / "locked").c_str(), 0444);
    dir.Write("owner-only");
    ::chmod((dir / "owner-only").c_str(), 0200);
    dir.Write(".hidden");
    dir.Write(".hidden-locked");
    ::chmod((dir / ".hidden-locked").c_str(), 0400);
    dir.MakeFolder("folder");
    ::chmod((dir / "folder").c_str(), 0555);
    dir.MakeFolder(".cache");
    ::symlink("plain", (dir / "link").c_str());
    ::symlink("folder", (dir / "link-to-folder").c_str());
    ::symlink("nowhere", (dir / "dangling").c_str());
    ::mkfifo((dir / "fifo").c_str(), 0644);
    MakeSocket(dir / "socket");
  }
  void TearDown() override { ::chmod((dir / "folder").c_str(), 0755); }

  static void MakeSocket(const std::string& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(path.size(), sizeof address.sun_path);
    std::strcpy(address.sun_path, path.c_str());
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
  }

  std::map<std::string, std::uint32_t> Words(ListFilter filter = ListFilter::All) {
    std::map<std::string, std::uint32_t> words;
    for (const TFindData& e : List(dir.Path() + "*", filter)) words[e.cFileName] = e.dwFileAttributes;
    return words;
  }

  TFsTempFolder dir;
};

TEST_F(ListingAttributes, EachKindOfEntryGetsItsWord) {
  const std::map<std::string, std::uint32_t> expected = {
      {".", 0x12},          {"..", 0x12},      {"plain", 0x20},           {"locked", 0x20},
      {"owner-only", 0x20}, {".hidden", 0x22}, {".hidden-locked", 0x22},  {"folder", 0x10},
      {".cache", 0x12},     {"link", 0x420},   {"link-to-folder", 0x420}, {"dangling", 0x420},
      {"fifo", 0x24},       {"socket", 0x24},
  };
  EXPECT_EQ(Words(), expected);
}

TEST_F(ListingAttributes, TheFolderListingLeavesOutHiddenAndSystemEntries) {
  std::set<std::string> names;
  for (const auto& [name, word] : Words(ListFilter::NoHiddenOrSystem)) names.insert(name);
  const std::set<std::string> expected = {"plain", "locked",         "owner-only", "folder",
                                          "link",  "link-to-folder", "dangling"};
  EXPECT_EQ(names, expected);
}

// Read-only as Linux has it: only the immutable and append-only flags stop a
// rename, never the permission bits. The listing, the look a caller makes in
// its place (for a file's flags alone, for its order, or through the file opened
// for its header) and a rename left to that look agree on every file.
TEST(ListingFlags, OnlyImmutableOrAppendOnlyFilesAreReadOnly) {
  struct Case {
    const char* Name;
    mode_t Mode;
    int Flag;
    std::uint32_t Word;
  };
  const std::vector<Case> cases = {
      {"plain", 0644, 0, 0x20},
      {"mode-0444", 0444, 0, 0x20},
      {"mode-0000", 0000, 0, 0x20},
      {"immutable", 0644, FS_IMMUTABLE_FL, 0x21},
      {"append-only", 0644, FS_APPEND_FL, 0x21},
      {"immutable-0444", 0444, FS_IMMUTABLE_FL, 0x21},
      {".hidden-immutable", 0644, FS_IMMUTABLE_FL, 0x23},
  };
  TFsTempFolder dir;
  std::list<test::TInodeFlag> flags;
  for (const Case& c : cases) {
    dir.Write(c.Name);
    ASSERT_EQ(::chmod((dir / c.Name).c_str(), c.Mode), 0);
    if (c.Flag == 0) continue;
    const std::string why = flags.emplace_back().Set(dir / c.Name, c.Flag);
    if (!why.empty()) GTEST_SKIP() << why;
  }
  auto folder = std::make_shared<TFolderHandle>();
  ASSERT_EQ(TFolderHandle::Open(dir.Path(), *folder), 0);
  TFindHandle handle(folder, "*", ListFilter::All, ShortNames::Skip);
  std::map<std::string, std::uint32_t> words;
  TFindData entry;
  while (handle.FindNext(entry)) words[entry.cFileName] = entry.dwFileAttributes;
  TFolderRenamer renamer;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(words[c.Name], c.Word);
    EXPECT_EQ(LookedAttributes(*folder, c.Name), std::optional<std::uint32_t>(c.Word));
    const bool readOnly = (c.Word & FileAttr::ReadOnly) != 0;
    // The look an order makes, and the one through a file opened for its header.
    EXPECT_EQ(LookAtEntry(*folder, c.Name, FlagSource::OpenWhereNeeded).Attributes,
              std::optional<std::uint32_t>(c.Word));
    std::string head;
    TEntryInfo looked;
    ASSERT_EQ(ReadFileHead(*folder, c.Name, 16, head, looked), 0);
    EXPECT_EQ(looked.Immutable, readOnly);
    EXPECT_EQ(renamer.Rename(*folder, c.Name, std::string(c.Name) + ".new", Unwritable::Leave),
              readOnly ? kLeftUnwritable : 0);
  }
}

// Left to the caller, a regular file's word lacks only the read-only flag, and
// the look the caller makes gives back the word the listing would have given.
TEST_F(ListingAttributes, LeftToTheCallerOnlyRegularFilesGoUnlooked) {
  const std::map<std::string, std::uint32_t> looked = Words();
  auto folder = std::make_shared<TFolderHandle>();
  ASSERT_EQ(TFolderHandle::Open(dir.Path(), *folder), 0);
  TFolderReading reading;
  ASSERT_EQ(reading.Read(*folder, TListingStop()), 0);
  TFindHandle handle(folder, reading, "*", ListFilter::All, ShortNames::Skip, NameOrder::Name, TListingStop(),
                     ReadOnlyFlags::LeaveToCaller);
  const std::set<std::string> regular = {"plain", "locked", "owner-only", ".hidden", ".hidden-locked"};
  std::set<std::string> seen;
  TFindData entry;
  while (handle.FindNext(entry)) {
    SCOPED_TRACE(entry.cFileName);
    seen.insert(entry.cFileName);
    const std::uint32_t word = looked.at(entry.cFileName);
    const bool isRegular = regular.count(entry.cFileName) != 0;
    EXPECT_EQ(entry.FlagsUnread, isRegular);
    EXPECT_EQ(entry.dwFileAttributes, isRegular ? word & ~FileAttr::ReadOnly : word);
    if (isRegular) {
      EXPECT_EQ(LookedAttributes(*folder, entry.cFileName), std::optional<std::uint32_t>(word));
    }
  }
  std::set<std::string> all;
  for (const auto& [name, word] : looked) all.insert(name);
  EXPECT_EQ(seen, all);
  EXPECT_EQ(LookedAttributes(*folder, "gone"), std::nullopt);
}

class ListingShortNames : public ::testing::Test {
 protected:
  std::map<std::string, std::string> ShortNames(const std::string& mask) {
    std::map<std::string, std::string> names;
    for (const TFindData& e : List(dir.Path() + mask)) names[e.cFileName] = e.cAlternateFileName;
    return names;
  }
  TFsTempFolder dir;
};

TEST_F(ListingShortNames, LongNamesGetOneAndShortNamesNone) {
  for (const char* name : {"Long File Name.txt", "file.tar.gz", "readme.txt", "README", "\xc3\xa9t\xc3\xa9.txt"})
    dir.Write(name);
  const std::map<std::string, std::string> expected = {
      {".", ""},          {"..", ""},     {"Long File Name.txt", "LONGFI~1.TXT"}, {"file.tar.gz", "FILETA~1.GZ"},
      {"readme.txt", ""}, {"README", ""}, {"\xc3\xa9t\xc3\xa9.txt", "_T_~1.TXT"},
  };
  EXPECT_EQ(ShortNames("*"), expected);
}

TEST_F(ListingShortNames, NumbersInTheOrderTheSystemGivesAndStayUnique) {
  for (int i = 1; i <= 7; ++i) dir.Write("Long File Name " + std::to_string(i) + ".txt");
  dir.Write("longfi~2.txt");  // an 8.3 name keeps its own name from the generated ones
  const std::map<std::string, std::string> names = ShortNames("*.txt");
  std::vector<std::string> generated;
  for (const std::string& name : ReaddirOrder(dir.Path()))
    if (name.starts_with("Long")) generated.push_back(names.at(name));
  ASSERT_EQ(generated.size(), 7u);
  EXPECT_EQ(generated[0], "LONGFI~1.TXT");
  EXPECT_EQ(generated[1], "LONGFI~3.TXT");
  EXPECT_EQ(generated[2], "LONGFI~4.TXT");
  for (std::size_t i = 3; i < generated.size(); ++i)
    EXPECT_TRUE(test::IsHashedShortName(generated[i], "LO", "TXT")) << generated[i];
  EXPECT_EQ(std::set<std::string>(generated.begin(), generated.end()).size(), generated.size());
  EXPECT_EQ(names.at("longfi~2.txt"), "");
}

// Sorting moves every entry's fields along with its name, however the
// folder happened to store the names.
TEST_F(ListingShortNames, TravelWithTheirNamesThroughTheSort) {
  for (int i = 0; i < 1500; ++i) dir.Write("Long Name " + std::to_string((i * 7919) % 1500) + ".txt");
  const auto listed = [&](NameOrder order) {
    TFindHandle handle(dir.Path() + "*.txt", ListFilter::All, ShortNames::Make, order);
    std::vector<std::pair<std::string, std::string>> entries;
    for (TFindData entry; handle.FindNext(entry);) entries.emplace_back(entry.cFileName, entry.cAlternateFileName);
    return entries;
  };
  using TNames = std::map<std::string, std::string>;
  const std::vector<std::pair<std::string, std::string>> stored = listed(NameOrder::AsStored);
  for (const NameOrder order : {NameOrder::Name, NameOrder::Natural}) {
    const std::vector<std::pair<std::string, std::string>> sorted = listed(order);
    ASSERT_EQ(sorted.size(), 1500u);
    EXPECT_EQ(TNames(sorted.begin(), sorted.end()), TNames(stored.begin(), stored.end()));
    EXPECT_TRUE(std::is_sorted(sorted.begin(), sorted.end(), [&](const auto& a, const auto& b) {
      return CompareNames(a.first, b.first, order) < 0;
    }));
  }
}

TEST_F(ListingShortNames, CanBeLeftOut) {
  dir.Write("Long File Name.txt");
  dir.Write(".hidden file");
  TFindHandle handle(dir.Path() + "*.*", ListFilter::NoHiddenOrSystem, ShortNames::Skip);
  TFindData entry;
  ASSERT_TRUE(handle.FindNext(entry));
  EXPECT_EQ(entry.cFileName, "Long File Name.txt");
  EXPECT_EQ(entry.dwFileAttributes, 0x20u);
  EXPECT_EQ(entry.cAlternateFileName, "");
  EXPECT_FALSE(handle.FindNext(entry));
}

TEST_F(ListingShortNames, DoNotDependOnTheMask) {
  for (int i = 1; i <= 6; ++i) dir.Write("Holiday Photo " + std::to_string(i) + (i % 2 ? ".jpeg" : ".jpegx"));
  const std::map<std::string, std::string> all = ShortNames("*");
  for (const auto& [name, shortName] : ShortNames("*.jpeg")) EXPECT_EQ(shortName, all.at(name)) << name;
  for (const auto& [name, shortName] : ShortNames("*6*")) EXPECT_EQ(shortName, all.at(name)) << name;
}

}  // namespace
}  // namespace vt
