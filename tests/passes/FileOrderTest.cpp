#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "passes/FileOrder.h"
#include "passes/MediaFiles.h"
#include "passes/PassTestSupport.h"
#include "passes/RowQueue.h"
#include "passes/SearchThread.h"

namespace vt::test {
namespace {

void SetModified(const std::string& path, std::time_t when) {
  const timespec times[2] = {{when, 0}, {when, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0) << path;
}

// Photos whose names, dates and sizes each give another order; two lack a date taken.
void MakePhotos(const TTempTree& tree) {
  struct Photo {
    const char* Name;
    const char* Taken;
    std::size_t Padding;  // bytes after the picture, for its size
    std::time_t Modified;
  };
  for (const Photo& p : {
           Photo{"IMG_10.jpg", "2025:06:14 08:00:00", 1500, 1'700'000'300},
           Photo{"IMG_9.jpg", "2025:06:14 12:00:00", 500, 1'700'000'100},
           Photo{"img_2.jpg", "2024:12:31 23:59:59", 2000, 1'700'000'200},
           Photo{"IMG_100.jpg", "", 1000, 1'700'000'500},
           Photo{"a.jpg", "", 0, 1'700'000'400},
       }) {
    WriteJpeg(tree.Path(p.Name), {p.Taken, "Canon", {}, 1, 1, {}});
    std::ofstream(tree.Path(p.Name), std::ios::binary | std::ios::app) << std::string(p.Padding, '\0');
    SetModified(tree.Path(p.Name), p.Modified);
  }
}

TEST(FileOrder, EachOrderTreatsAndNumbersTheFilesOfAFolder) {
  struct Case {
    TFileOrder Order;
    TOrderDirection Direction;
    std::vector<std::string> Files;
  };
  constexpr auto kUp = TOrderDirection::Ascending;
  constexpr auto kDown = TOrderDirection::Descending;
  for (const Case& c : {
           Case{TFileOrder::Name, kUp, {"a.jpg", "IMG_10.jpg", "IMG_100.jpg", "img_2.jpg", "IMG_9.jpg"}},
           Case{TFileOrder::Name, kDown, {"IMG_9.jpg", "img_2.jpg", "IMG_100.jpg", "IMG_10.jpg", "a.jpg"}},
           Case{TFileOrder::Natural, kUp, {"a.jpg", "img_2.jpg", "IMG_9.jpg", "IMG_10.jpg", "IMG_100.jpg"}},
           Case{TFileOrder::Natural, kDown, {"IMG_100.jpg", "IMG_10.jpg", "IMG_9.jpg", "img_2.jpg", "a.jpg"}},
           Case{TFileOrder::Modified, kUp, {"IMG_9.jpg", "img_2.jpg", "IMG_10.jpg", "a.jpg", "IMG_100.jpg"}},
           Case{TFileOrder::Modified, kDown, {"IMG_100.jpg", "a.jpg", "IMG_10.jpg", "img_2.jpg", "IMG_9.jpg"}},
           // Those without a date taken last, by name, whichever the direction.
           Case{TFileOrder::Taken, kUp, {"img_2.jpg", "IMG_10.jpg", "IMG_9.jpg", "a.jpg", "IMG_100.jpg"}},
           Case{TFileOrder::Taken, kDown, {"IMG_9.jpg", "IMG_10.jpg", "img_2.jpg", "a.jpg", "IMG_100.jpg"}},
           Case{TFileOrder::Size, kUp, {"a.jpg", "IMG_9.jpg", "IMG_100.jpg", "IMG_10.jpg", "img_2.jpg"}},
           Case{TFileOrder::Size, kDown, {"img_2.jpg", "IMG_10.jpg", "IMG_100.jpg", "IMG_9.jpg", "a.jpg"}},
       }) {
    SCOPED_TRACE(static_cast<int>(c.Order) * 2 + static_cast<int>(c.Direction));
    TTempTree tree;
    MakePhotos(tree);
    TTestOwner owner;
    TSearchPassOptions options;
    options.Folder = tree.Root();
    options.Order = c.Order;
    options.Direction = c.Direction;
    RunSearch(owner, options, Numbers("1"));
    std::vector<std::string> files, expectedNames;
    for (const TRowTexts& row : RowTexts(owner.Table)) files.push_back(row.File + " " + row.NewName);
    std::vector<std::string> expected;
    for (std::size_t i = 0; i < c.Files.size(); ++i) {
      expected.push_back(c.Files[i] + " " + std::to_string(i + 1) + ".jpg");
      expectedNames.push_back(std::to_string(i + 1) + ".jpg");
    }
    EXPECT_EQ(files, expected);
    std::sort(expectedNames.begin(), expectedNames.end());
    EXPECT_EQ(tree.Names(), expectedNames);
  }
}

// The rows of a pass as "file new-name status", in their order.
std::vector<std::string> Rows(const TSearchPassOptions& options, const TControlValues& controls, TPassMode mode) {
  TRowQueue queue;
  const std::atomic<bool> recordAll{false};
  {
    TSearchThread pass(queue, options, CaptureSettings(controls), mode, recordAll);
    pass.Execute();
  }
  queue.End();
  std::vector<TPassRow> rows;
  std::vector<TUnreadableFolder> unreadable;
  while (!queue.Take(rows, unreadable)) {
  }
  std::vector<std::string> texts;
  for (const TPassRow& row : rows)
    texts.push_back(row.OldName + " " + row.NewName + " " + std::to_string(int(row.Status)));
  return texts;
}

// A simulation judged from a listing kept gives what the listing gave when it
// was made, in every order; a renaming pass and a walk of sub-folders never
// take one, since the folder may have changed since.
TEST(FileOrder, AListingKeptIsJudgedAsWhenItWasMade) {
  for (const TFileOrder order :
       {TFileOrder::Name, TFileOrder::Natural, TFileOrder::Modified, TFileOrder::Taken, TFileOrder::Size}) {
    for (const TOrderDirection direction : {TOrderDirection::Ascending, TOrderDirection::Descending}) {
      SCOPED_TRACE(static_cast<int>(order) * 2 + static_cast<int>(direction));
      TTempTree tree;
      MakePhotos(tree);
      TSearchPassOptions options;
      options.Folder = tree.Root();
      options.Masks = "*.jpg;IMG_1*";
      options.Order = order;
      options.Direction = direction;
      std::shared_ptr<const TListedFolder> kept;
      options.OnListed = [&kept](std::shared_ptr<const TListedFolder> listed) { kept = std::move(listed); };
      const std::vector<std::string> first = Rows(options, Numbers("1"), TPassMode::Simulate);
      ASSERT_NE(kept, nullptr);
      ASSERT_EQ(first.size(), 7u);  // IMG_10 and IMG_100 twice
      tree.File("IMG_0.jpg");
      options.OnListed = nullptr;
      options.Listed = kept;
      EXPECT_EQ(Rows(options, Numbers("1"), TPassMode::Simulate), first);

      const auto seesNewFile = [](const std::vector<std::string>& rows) {
        return std::any_of(rows.begin(), rows.end(),
                           [](const std::string& row) { return row.starts_with("IMG_0.jpg "); });
      };
      options.IncludeSubDirs = true;
      EXPECT_TRUE(seesNewFile(Rows(options, Numbers("1"), TPassMode::Simulate))) << "a walk lists anew";
      options.IncludeSubDirs = false;
      EXPECT_TRUE(seesNewFile(Rows(options, Numbers("1"), TPassMode::Rename))) << "a rename lists anew";
    }
  }
}

// Enough photos for their dates to be read on several threads: the pass and
// the file list put them in the order taken all the same, those without a
// date last.
TEST(FileOrder, AFolderReadOnSeveralThreadsIsInTheOrderTaken) {
  constexpr int kPhotos = 300;
  TTempTree tree;
  std::vector<std::pair<int, std::string>> taken;
  for (int i = 0; i < kPhotos; ++i) {
    const int minute = (i * 7) % kPhotos;  // a permutation: 7 and 300 share no factor
    char date[32];
    std::snprintf(date, sizeof date, "2025:06:14 %02d:%02d:00", minute / 60, minute % 60);
    const std::string name = "IMG_" + std::to_string(i) + ".jpg";
    WriteJpeg(tree.Path(name), {date, "Canon", {}, 1, 1, {}});
    taken.emplace_back(minute, name);
  }
  std::sort(taken.begin(), taken.end());
  std::vector<std::string> expected;
  for (const auto& [minute, name] : taken) expected.push_back(name);
  WriteJpeg(tree.Path("undated_a.jpg"), {{}, "Canon", {}, 1, 1, {}});
  tree.File("undated_b.jpg", "not a photo");
  expected.insert(expected.end(), {"undated_a.jpg", "undated_b.jpg"});

  TSearchPassOptions options;
  options.Folder = tree.Root();
  options.Order = TFileOrder::Taken;
  TTestOwner owner;
  owner.Simulate = true;
  RunSearch(owner, options, Numbers("1"));
  std::vector<std::string> passed;
  for (const TRowTexts& row : RowTexts(owner.Table)) passed.push_back(row.File);
  EXPECT_EQ(passed, expected);

  std::vector<std::string> listed = tree.Names();
  ArrangeNames(tree.Root(), TFileOrder::Taken, TOrderDirection::Ascending, listed, {});
  EXPECT_EQ(listed, expected);
}

TEST(FileOrder, KeysOrderStablyAndKeylessFilesComeLast) {
  const std::vector<std::optional<std::int64_t>> keys{5, std::nullopt, 3, 5, std::nullopt, 1};
  EXPECT_EQ(ArrangeByKeys(keys, TOrderDirection::Ascending), (std::vector<std::uint32_t>{5, 2, 0, 3, 1, 4}));
  EXPECT_EQ(ArrangeByKeys(keys, TOrderDirection::Descending), (std::vector<std::uint32_t>{0, 3, 2, 5, 1, 4}));
}

TEST(FileOrder, RestartPerFolderNumbersEachFolderFromTheStart) {
  for (const bool restart : {false, true}) {
    SCOPED_TRACE(restart);
    TTempTree tree;
    tree.File("a.txt");
    tree.File("b.txt");
    tree.Folder("sub");
    tree.File("sub/c.txt");
    tree.File("sub/d.txt");
    TSearchPassOptions options;
    options.Folder = tree.Root();
    options.Masks = "*.txt";
    options.IncludeSubDirs = true;
    options.RestartPerFolder = restart;
    TTestOwner owner;
    owner.Simulate = true;
    RunSearch(owner, options, Numbers("1"));
    std::vector<std::string> names;
    for (const TRowTexts& row : RowTexts(owner.Table)) names.push_back(row.NewName);
    EXPECT_EQ(names, restart ? (std::vector<std::string>{"1.txt", "2.txt", "1.txt", "2.txt"})
                             : (std::vector<std::string>{"1.txt", "2.txt", "3.txt", "4.txt"}));
  }
}

}  // namespace
}  // namespace vt::test
