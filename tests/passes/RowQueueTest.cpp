// The queue between a pass and its owner, and the owner itself: rows in pass
// order, the end seen only once every row is taken, a bound that holds a pass
// back from a reader that is behind, and an owner that never leaves its worker
// behind, even when no one reads.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "passes/PassTestSupport.h"
#include "passes/PassThread.h"
#include "passes/RowQueue.h"

namespace vt::test {
namespace {

TPassRow Row(int i) {
  TPassRow row;
  row.OldName = "f" + std::to_string(i);
  return row;
}

std::vector<std::string> Names(const std::vector<TPassRow>& rows) {
  std::vector<std::string> names;
  for (const TPassRow& row : rows) names.push_back(row.OldName);
  return names;
}

TEST(RowQueueTest, RowsComeOutInPassOrderAndTheEndOnlyWithTheLastOfThem) {
  TRowQueue queue;
  std::vector<TPassRow> rows;
  std::vector<TUnreadableFolder> unreadable;
  EXPECT_FALSE(queue.Take(rows, unreadable));
  EXPECT_TRUE(rows.empty());

  queue.Push(Row(0));
  queue.Push(Row(1));
  EXPECT_FALSE(queue.Take(rows, unreadable));
  queue.Push(Row(2));
  queue.PushUnreadable({"/gone/", 2});
  queue.End();
  // Rows not yet handed on stay in front of the new ones.
  EXPECT_TRUE(queue.Take(rows, unreadable));
  EXPECT_EQ(Names(rows), (std::vector<std::string>{"f0", "f1", "f2"}));
  ASSERT_EQ(unreadable.size(), 1u);
  EXPECT_EQ(unreadable[0].Folder, "/gone/");
  rows.clear();
  EXPECT_TRUE(queue.Take(rows, unreadable));
  EXPECT_TRUE(rows.empty());
}

TEST(RowQueueTest, ABoundHoldsTheWorkerUntilTheReaderTakesAndUnbindLetsItGo) {
  constexpr int kBound = 8;
  TRowQueue queue(kBound);
  std::atomic<int> pushed{0};
  std::thread worker([&] {
    for (int i = 0; i < 3 * kBound; ++i) {
      queue.Push(Row(i));
      pushed.fetch_add(1);
    }
    queue.End();
  });
  while (pushed.load() < kBound) std::this_thread::yield();
  std::vector<TPassRow> rows;
  std::vector<TUnreadableFolder> unreadable;
  // The worker waits at the bound: the first take gets exactly the rows below it.
  EXPECT_FALSE(queue.Take(rows, unreadable));
  EXPECT_EQ(rows.size(), static_cast<std::size_t>(kBound));
  queue.Unbind();
  worker.join();
  EXPECT_TRUE(queue.Take(rows, unreadable));
  ASSERT_EQ(rows.size(), static_cast<std::size_t>(3 * kBound));
  for (int i = 0; i < 3 * kBound; ++i) EXPECT_EQ(rows[static_cast<std::size_t>(i)].OldName, "f" + std::to_string(i));
}

TEST(PassThreadTest, AnOwnerNoOneReadsForStillStopsAndJoinsItsPass) {
  TTempTree tree;
  for (int i = 0; i < 600; ++i) tree.File("f" + std::to_string(i) + ".txt");
  TSearchPassOptions options;
  options.Folder = tree.Root();
  options.Masks = "*.txt";
  std::atomic<bool> recordAll{false};
  std::atomic<int> recorded{0};
  options.OnRecorded = [&](TSearchThread&, const TPassRow&) { recorded.fetch_add(1); };
  {
    TPassThread pass(options, CaptureSettings(InsertAtBeginning("x")), TPassMode::Rename, recordAll, 1);
    // The second row waits for a reader that never comes.
    while (recorded.load() < 1) std::this_thread::yield();
  }
  // Stopped in the block it was holding rows of: nothing after that block was renamed.
  EXPECT_LE(ListedFiles(tree.Root(), "x*").size(), 256u);
  EXPECT_GE(ListedFiles(tree.Root(), "f*").size(), 344u);
}

TEST(PassThreadTest, RowsOfOneFolderShareOneFolderText) {
  TTempTree tree;
  tree.File("a.txt");
  tree.File("b.txt");
  tree.Folder("sub");
  tree.File("sub/c.txt");
  TSearchPassOptions options;
  options.Folder = tree.Root();
  options.Masks = "*.txt";
  options.IncludeSubDirs = true;
  std::atomic<bool> recordAll{false};
  TPassThread pass(options, CaptureSettings(InsertAtBeginning("x")), TPassMode::Simulate, recordAll);
  pass.Join();
  std::vector<TPassRow> rows;
  std::vector<TUnreadableFolder> unreadable;
  ASSERT_TRUE(pass.Rows().Take(rows, unreadable));
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].Folder.get(), rows[1].Folder.get());
  EXPECT_EQ(*rows[0].Folder, tree.Root());
  EXPECT_EQ(*rows[2].Folder, tree.Path("sub/"));
  for (const TPassRow& row : rows) {
    EXPECT_EQ(row.Status, TRenameStatus::rsCanBeRenamed);
    EXPECT_EQ(row.NewName, "x" + row.OldName);
  }
}

}  // namespace
}  // namespace vt::test
