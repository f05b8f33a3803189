// The queue between a pass and its owner, and the owner itself: rows in pass
// order, the end seen only once every row is taken, a bound that holds a pass
// back from a reader that is behind, and an owner that never leaves its worker
// behind, even when no one reads.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
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

std::vector<TPassRow> Rows(int from, int count) {
  std::vector<TPassRow> rows;
  for (int i = from; i < from + count; ++i) rows.push_back(Row(i));
  return rows;
}

std::vector<std::string> NamesFrom(int from, int count) { return Names(Rows(from, count)); }

TEST(RowQueueTest, BatchesKeepPassOrderAmongSingleRows) {
  TRowQueue queue;
  std::vector<TPassRow> batch = Rows(1, 3);
  queue.Push(Row(0));
  queue.PushAll(batch);
  EXPECT_TRUE(batch.empty());
  queue.PushAll(batch);  // nothing to push
  queue.Push(Row(4));
  batch = Rows(5, 2);
  queue.PushAll(batch);
  queue.End();
  std::vector<TPassRow> rows;
  std::vector<TUnreadableFolder> unreadable;
  EXPECT_TRUE(queue.Take(rows, unreadable));
  EXPECT_EQ(Names(rows), NamesFrom(0, 7));
}

// A batch that finds the queue empty changes hands whole; one that finds rows
// there joins them. Either way the reader gets the rows in pass order, after
// those it holds, and the worker's batch is empty again.
TEST(RowQueueTest, BatchesHandedOverWholeKeepPassOrderAcrossTakes) {
  TRowQueue queue;
  std::vector<TPassRow> rows;
  std::vector<TUnreadableFolder> unreadable;
  std::vector<TPassRow> batch = Rows(0, 3);
  queue.PushAll(batch);
  EXPECT_TRUE(batch.empty());
  EXPECT_FALSE(queue.Take(rows, unreadable));
  batch = Rows(3, 2);
  queue.PushAll(batch);
  EXPECT_TRUE(batch.empty());
  batch = Rows(5, 2);
  queue.PushAll(batch);
  queue.Push(Row(7));
  queue.End();
  EXPECT_TRUE(queue.Take(rows, unreadable));
  EXPECT_EQ(Names(rows), NamesFrom(0, 8));
}

TEST(RowQueueTest, AReaderWaitsOutItsTimeoutForFewerRowsThanABatch) {
  TRowQueue queue;
  queue.Push(Row(0));
  const auto start = std::chrono::steady_clock::now();
  queue.WaitForRows(std::chrono::milliseconds(30));
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(30));
}

TEST(RowQueueTest, AWaitingReaderIsWokenByTheBatchThatFillsAWakeBatch) {
  TRowQueue queue;
  std::atomic<bool> woken{false};
  std::thread reader([&] {
    queue.WaitForRows(std::chrono::minutes(2));
    woken.store(true);
  });
  constexpr int kStep = 100;
  int pushed = 0;
  while (pushed + kStep < static_cast<int>(TRowQueue::kWakeBatch)) {
    std::vector<TPassRow> batch = Rows(pushed, kStep);
    queue.PushAll(batch);
    pushed += kStep;
  }
  EXPECT_FALSE(woken.load());
  std::vector<TPassRow> last = Rows(pushed, kStep);
  const auto start = std::chrono::steady_clock::now();
  queue.PushAll(last);
  reader.join();
  // Woken by the push, not by the end of its wait.
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::minutes(1));
  std::vector<TPassRow> rows;
  std::vector<TUnreadableFolder> unreadable;
  queue.Take(rows, unreadable);
  EXPECT_EQ(Names(rows), NamesFrom(0, pushed + kStep));
}

TEST(RowQueueTest, ABoundHoldsBatchesUntilTheReaderTakesThem) {
  constexpr int kBound = 8, kBatch = 5, kBatches = 6;
  TRowQueue queue(kBound);
  std::atomic<int> batches{0};
  std::thread worker([&] {
    for (int b = 0; b < kBatches; ++b) {
      std::vector<TPassRow> batch = Rows(b * kBatch, kBatch);
      queue.PushAll(batch);
      batches.fetch_add(1);
    }
    queue.End();
  });
  while (batches.load() < 2) std::this_thread::yield();
  std::vector<TPassRow> rows;
  std::vector<TUnreadableFolder> unreadable;
  // Two batches got in below the bound; the third waits for this take.
  EXPECT_FALSE(queue.Take(rows, unreadable));
  EXPECT_EQ(Names(rows), NamesFrom(0, 2 * kBatch));
  std::vector<TPassRow> all = std::move(rows);
  for (bool ended = false; !ended;) {
    queue.WaitForRows(std::chrono::milliseconds(10));
    rows.clear();
    ended = queue.Take(rows, unreadable);
    all.insert(all.end(), rows.begin(), rows.end());
  }
  worker.join();
  EXPECT_EQ(Names(all), NamesFrom(0, kBatch * kBatches));
}

// The window's Stop while the pass waits for its reader: what was renamed has
// its row, and nothing past the block in hand is touched.
TEST(PassThreadTest, AStopFromTheReaderLeavesNoRenameWithoutItsRow) {
  constexpr int kFiles = 1200;
  TTempTree tree;
  for (int i = 0; i < kFiles; ++i) tree.File("f" + std::to_string(10000 + i) + ".txt");
  TSearchPassOptions options;
  options.Folder = tree.Root();
  options.Masks = "*.txt";
  std::atomic<bool> recordAll{false};
  std::vector<TPassRow> rows;
  std::vector<TUnreadableFolder> unreadable;
  {
    TPassThread pass(options, CaptureSettings(InsertAtBeginning("x")), TPassMode::Rename, recordAll, 1);
    while (rows.empty()) {
      pass.Rows().WaitForRows(std::chrono::milliseconds(10));
      pass.Rows().Take(rows, unreadable);
    }
    pass.RequestStop();
    while (!pass.Rows().Take(rows, unreadable)) pass.Rows().WaitForRows(std::chrono::milliseconds(10));
  }
  // Held by the bound, the worker was at most two blocks past the rows first taken.
  EXPECT_LE(rows.size(), 3 * 256u);
  std::size_t renamed = 0;
  for (const TPassRow& row : rows) {
    ASSERT_EQ(row.Status, TRenameStatus::rsOk) << row.OldName;
    EXPECT_EQ(row.NewName, "x" + row.OldName);
    EXPECT_TRUE(tree.Exists(row.NewName)) << row.NewName;
    ++renamed;
  }
  EXPECT_EQ(ListedFiles(tree.Root(), "x*").size(), renamed);
  EXPECT_EQ(ListedFiles(tree.Root(), "f*").size(), kFiles - renamed);
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
