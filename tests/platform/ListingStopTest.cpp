// Listings of a large folder told to stop while they read it: each time the
// listing asks, a yes ends it with nothing handed out.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "FsTempFolder.h"
#include "platform/DirectoryListing.h"
#include "platform/EnterableFolders.h"
#include "platform/FolderHandle.h"
#include "platform/ListingStop.h"
#include "platform/NameListing.h"

namespace vt {
namespace {

using test::TFsTempFolder;

// Large enough that a listing asks several times before it is through.
constexpr int kFiles = 20000;
const std::vector<std::string> kSubFolders = {"a", "b", "c"};

std::filesystem::path MemoryBacked() {
  std::error_code error;
  if (std::filesystem::is_directory("/dev/shm", error) && ::access("/dev/shm", W_OK) == 0) return "/dev/shm";
  return std::filesystem::temp_directory_path();
}

// Says yes on the call numbered yesAt (from 1), and from then on; never for 0.
struct TStopAt {
  int yesAt = 0;
  int asked = 0;
  TListingStop Stop() {
    return [this] { return ++asked >= yesAt && yesAt > 0; };
  }
};

class ListingStopTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    Folder = new TFsTempFolder(MemoryBacked());
    for (int i = 0; i < kFiles; ++i) {
      const std::string path = *Folder / ("file" + std::to_string(i) + ".txt");
      const int fd = ::open(path.c_str(), O_CREAT | O_WRONLY | O_EXCL, 0644);
      ASSERT_GE(fd, 0) << path;
      ::close(fd);
    }
    for (const std::string& sub : kSubFolders) Folder->MakeFolder(sub);
  }
  static void TearDownTestSuite() {
    delete Folder;
    Folder = nullptr;
  }
  void SetUp() override {
    auto handle = std::make_shared<TFolderHandle>();
    ASSERT_EQ(TFolderHandle::Open(Folder->Path(), *handle), 0);
    Handle = std::move(handle);
  }

  // The entries handed out, and how often the listing asked.
  struct TListed {
    std::size_t entries = 0;
    int asked = 0;
    int error = 0;
  };
  TListed ListFiles(int yesAt, ShortNames shortNames) const {
    TStopAt stop{yesAt};
    TFindHandle listing(Handle, "*.txt", ListFilter::All, shortNames, NameOrder::Name, stop.Stop());
    TListed listed;
    TFindData entry;
    while (listing.FindNext(entry)) ++listed.entries;
    listed.asked = stop.asked;
    listed.error = listing.Error();
    return listed;
  }
  TListed ListFolders(int yesAt) const {
    TStopAt stop{yesAt};
    std::vector<TSubFolder> subs;
    TListed listed;
    listed.error = ListEnterableFolders(*Handle, NameOrder::Name, subs, stop.Stop());
    listed.entries = subs.size();
    listed.asked = stop.asked;
    return listed;
  }

  // The names listing appends to what it is given: the entry already there stays.
  static TListed ListNamesOnly(int yesAt) {
    TStopAt stop{yesAt};
    std::vector<TListedName> names{{"kept", 0}};
    TListed listed;
    listed.error = ListNames(*Folder / "*.txt", names, stop.Stop());
    EXPECT_EQ(names.front().Name, "kept");
    listed.entries = names.size() - 1;
    listed.asked = stop.asked;
    return listed;
  }

  static TFsTempFolder* Folder;
  std::shared_ptr<const TFolderHandle> Handle;
};

TFsTempFolder* ListingStopTest::Folder = nullptr;

TEST_F(ListingStopTest, EachAskWhileTheFilesAreListedCanEndTheListing) {
  for (const ShortNames shortNames : {ShortNames::Skip, ShortNames::Make}) {
    SCOPED_TRACE(shortNames == ShortNames::Make ? "with short names" : "without short names");
    const TListed whole = ListFiles(0, shortNames);
    ASSERT_EQ(whole.entries, std::size_t{kFiles});
    EXPECT_EQ(whole.error, 0);
    // It asks while it reads, not once at the end; and not for each entry, which
    // would cost a listing of a million names its speed.
    ASSERT_GE(whole.asked, 3);
    EXPECT_LT(whole.asked, kFiles / 100);
    for (int yesAt = 1; yesAt <= whole.asked; ++yesAt) {
      const TListed stopped = ListFiles(yesAt, shortNames);
      EXPECT_EQ(stopped.entries, 0u) << "stopped at ask " << yesAt;
      EXPECT_EQ(stopped.asked, yesAt) << "it went on after a yes";
      EXPECT_EQ(stopped.error, 0) << "a stopped listing is no unreadable folder";
    }
  }
}

// Listed whole first, then stopped at each of its asks in turn: a yes ends it at once.
template <class List>
void ExpectEachAskEndsTheListing(const List& list, std::size_t entries) {
  const auto whole = list(0);
  ASSERT_EQ(whole.entries, entries);
  ASSERT_GE(whole.asked, 3);
  EXPECT_LT(whole.asked, kFiles / 100);
  for (int yesAt = 1; yesAt <= whole.asked; ++yesAt) {
    const auto stopped = list(yesAt);
    EXPECT_EQ(stopped.entries, 0u) << "stopped at ask " << yesAt;
    EXPECT_EQ(stopped.asked, yesAt) << "it went on after a yes";
    EXPECT_EQ(stopped.error, 0);
  }
}

TEST_F(ListingStopTest, EachAskWhileTheSubFoldersAreListedCanEndTheListing) {
  ExpectEachAskEndsTheListing([this](int yesAt) { return ListFolders(yesAt); }, kSubFolders.size());
}

TEST_F(ListingStopTest, EachAskWhileOnlyTheNamesAreListedCanEndTheListing) {
  ExpectEachAskEndsTheListing(ListNamesOnly, std::size_t{kFiles});
}

TEST_F(ListingStopTest, ASmallFolderIsAskedAboutOnceBeforeItIsSorted) {
  TFsTempFolder small;
  small.Write("one.txt");
  small.MakeFolder("sub");
  auto handle = std::make_shared<TFolderHandle>();
  ASSERT_EQ(TFolderHandle::Open(small.Path(), *handle), 0);
  for (const int yesAt : {0, 1}) {
    TStopAt stop{yesAt};
    TFindHandle listing(handle, "*.txt", ListFilter::All, ShortNames::Skip, NameOrder::Name, stop.Stop());
    TFindData entry;
    EXPECT_EQ(listing.FindNext(entry), yesAt == 0) << yesAt;
    EXPECT_EQ(stop.asked, 1);
    TStopAt subStop{yesAt};
    std::vector<TSubFolder> subs;
    EXPECT_EQ(ListEnterableFolders(*handle, NameOrder::Name, subs, subStop.Stop()), 0);
    EXPECT_EQ(subs.size(), yesAt == 0 ? 1u : 0u);
    EXPECT_EQ(subStop.asked, 1);
  }
}

}  // namespace
}  // namespace vt
