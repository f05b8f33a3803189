#include <dirent.h>
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "FsTempFolder.h"
#include "platform/DirectoryListing.h"
#include "platform/EnterableFolders.h"
#include "platform/FolderReading.h"

namespace vt {
namespace {

using test::TFsTempFolder;

std::multiset<std::string> NamesRead(const TFolderReading& reading) {
  std::multiset<std::string> names;
  for (std::uint32_t at = reading.First(); at != TFolderReading::kEnd;) {
    const TFolderEntry entry = reading.At(at);
    EXPECT_EQ(entry.Name.size(), std::char_traits<char>::length(entry.cName));
    names.emplace(entry.Name);
    at = reading.After(entry);
  }
  return names;
}

std::vector<std::string> Listed(TFindHandle listing) {
  std::vector<std::string> names;
  TFindData entry;
  while (listing.FindNext(entry)) names.push_back(entry.cFileName + "|" + entry.cAlternateFileName);
  return names;
}

class FolderReadingTest : public ::testing::Test {
 protected:
  void Open() {
    auto handle = std::make_shared<TFolderHandle>();
    ASSERT_EQ(TFolderHandle::Open(dir.Path(), *handle), 0);
    folder = std::move(handle);
  }
  TFsTempFolder dir;
  std::shared_ptr<const TFolderHandle> folder;
};

// Names of every length, enough of them to fill several blocks: each is read
// once, whole, with its type.
TEST_F(FolderReadingTest, ReadsEveryNameOnceAcrossBlocks) {
  std::multiset<std::string> written{".", ".."};
  for (int i = 0; i < 1500; ++i) {
    const std::string name = std::to_string(i) + std::string(static_cast<std::size_t>(i % 240), 'n');
    dir.Write(name);
    written.insert(name);
  }
  dir.MakeFolder("sub");
  written.insert("sub");
  Open();
  TFolderReading reading;
  ASSERT_EQ(reading.Read(*folder), 0);
  EXPECT_FALSE(reading.Stopped());
  EXPECT_EQ(reading.Count(), written.size());
  EXPECT_EQ(NamesRead(reading), written);
  for (std::uint32_t at = reading.First(); at != TFolderReading::kEnd;) {
    const TFolderEntry entry = reading.At(at);
    if (entry.Name == "sub") {
      EXPECT_TRUE(entry.Type == DT_DIR || entry.Type == DT_UNKNOWN);
    }
    at = reading.After(entry);
  }
}

// One handle is read again and again (each mask, each pass over the folder):
// every reading starts from the first entry and sees the folder as it is now.
TEST_F(FolderReadingTest, AReadingStartsFromTheTopAndReplacesTheLast) {
  for (const char* name : {"a", "b", "c"}) dir.Write(name);
  Open();
  TFolderReading reading;
  ASSERT_EQ(reading.Read(*folder), 0);
  dir.Write("d");
  ASSERT_EQ(reading.Read(*folder), 0);
  EXPECT_EQ(NamesRead(reading), (std::multiset<std::string>{".", "..", "a", "b", "c", "d"}));
  reading.Clear();
  EXPECT_EQ(reading.Count(), 0u);
  EXPECT_EQ(reading.First(), TFolderReading::kEnd);
  ASSERT_EQ(reading.Read(*folder), 0);
  EXPECT_EQ(reading.Count(), 6u);
}

TEST_F(FolderReadingTest, AStoppedReadingKeepsNothing) {
  for (int i = 0; i < 5000; ++i) dir.Write("f" + std::to_string(i));
  Open();
  TFolderReading reading;
  std::atomic<int> asked{0};
  EXPECT_EQ(reading.Read(*folder, [&] { return ++asked >= 1; }), 0);
  EXPECT_TRUE(reading.Stopped());
  EXPECT_EQ(reading.Count(), 0u);
  EXPECT_EQ(reading.First(), TFolderReading::kEnd);
  // and the next reading is whole again
  ASSERT_EQ(reading.Read(*folder), 0);
  EXPECT_FALSE(reading.Stopped());
  EXPECT_EQ(reading.Count(), 5002u);
}

TEST_F(FolderReadingTest, AClosedHandleCannotBeRead) {
  TFolderReading reading;
  EXPECT_EQ(reading.Read(TFolderHandle()), EBADF);
  EXPECT_EQ(reading.Count(), 0u);
}

// A walk lists its masks and its sub-folders from one reading of the folder:
// what it gets must be what a listing of its own would give.
TEST_F(FolderReadingTest, ListingsFromAReadingEqualListingsOfTheirOwn) {
  for (const char* name : {"IMG_0010.JPG", "img_0001.jpg", "Readme.txt", "notes.TXT", "a long name.txt", "x.tar.gz"})
    dir.Write(name);
  for (const char* name : {"Photos", "archive", ".hidden"}) dir.MakeFolder(name);
  dir.Write("Photos/inner.jpg");
  Open();
  TFolderReading reading;
  ASSERT_EQ(reading.Read(*folder), 0);
  const struct {
    const char* mask;
    ShortNames shortNames;
    NameOrder order;
  } cases[] = {
      {"*.*", ShortNames::Make, NameOrder::Name},          {"*.jpg", ShortNames::Skip, NameOrder::Name},
      {"*.txt", ShortNames::Make, NameOrder::AsStored},    {"IMG_*", ShortNames::Skip, NameOrder::Natural},
      {"Photos/*.jpg", ShortNames::Make, NameOrder::Name},  // a folder part reads its own folder
      {"none*", ShortNames::Skip, NameOrder::Name},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mask);
    const std::vector<std::string> own = Listed(TFindHandle(folder, c.mask, ListFilter::All, c.shortNames, c.order));
    const std::vector<std::string> shared =
        Listed(TFindHandle(folder, reading, c.mask, ListFilter::All, c.shortNames, c.order));
    EXPECT_EQ(shared, own);
  }
  std::vector<TSubFolder> fromReading, ofTheirOwn;
  ListEnterableFolders(*folder, reading, NameOrder::Name, fromReading);
  ASSERT_EQ(ListEnterableFolders(*folder, NameOrder::Name, ofTheirOwn), 0);
  ASSERT_EQ(fromReading.size(), 2u);
  ASSERT_EQ(ofTheirOwn.size(), 2u);
  for (std::size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(fromReading[i].Name, ofTheirOwn[i].Name);
    EXPECT_EQ(fromReading[i].Id, ofTheirOwn[i].Id);
  }
}

}  // namespace
}  // namespace vt
