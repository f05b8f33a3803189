#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "passes/RenamePool.h"

namespace vt::test {
namespace {

TEST(RenamePool, TellsRenamesThatTouchOneName) {
  const TEntryId here{1, 10}, there{1, 11};
  struct Case {
    const char* Why;
    TPoolRename One, Other;
    bool Touch;
  };
  const Case cases[] = {
      {"names apart", {here, "a", "b"}, {here, "c", "d"}, false},
      {"one old name", {here, "a", "b"}, {here, "a", "c"}, true},
      {"one new name", {here, "a", "b"}, {here, "c", "b"}, true},
      {"the new name is the other's old", {here, "a", "b"}, {here, "b", "c"}, true},
      {"the old name is the other's new", {here, "b", "c"}, {here, "a", "b"}, true},
      {"ASCII case apart", {here, "a.JPG", "x"}, {here, "y", "A.jpg"}, true},
      {"other case beyond ASCII", {here, "\xC3\xA9", "x"}, {here, "\xC3\x89", "y"}, false},
      {"a prefix", {here, "ab", "x"}, {here, "a", "y"}, false},
      {"another folder", {here, "a", "b"}, {there, "a", "b"}, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RenamesTouchOneName(c.One, c.Other), c.Touch) << c.Why;
    EXPECT_EQ(RenamesTouchOneName(c.Other, c.One), c.Touch) << c.Why << ", the other way";
  }
}

// What the workers did, as a fake volume sees it.
class TWatchedRenames {
 public:
  explicit TWatchedRenames(const std::vector<TPoolRename>& jobs) : Jobs_(jobs), Ends_(jobs.size(), 0) {}

  void Attempt(std::size_t job) {
    {
      const std::lock_guard lock(Lock_);
      for (const std::size_t other : InFlight_)
        if (RenamesTouchOneName(Jobs_[job], Jobs_[other])) ++Overlaps;
      // As one by one: every earlier rename that touches its names has ended.
      for (std::size_t earlier = 0; earlier < job; ++earlier)
        if (Ends_[earlier] == 0 && RenamesTouchOneName(Jobs_[job], Jobs_[earlier])) ++EarlierUnended;
      InFlight_.push_back(job);
      MostInFlight = std::max(MostInFlight, InFlight_.size());
    }
    // Long enough for the others to start theirs meanwhile, as a server's round trip is.
    for (int i = 0; i < 200; ++i) std::this_thread::yield();
    const std::lock_guard lock(Lock_);
    std::erase(InFlight_, job);
    ++Ends_[job];
  }
  std::vector<int> Ends() {
    const std::lock_guard lock(Lock_);
    return Ends_;
  }

  std::size_t Overlaps = 0;
  std::size_t EarlierUnended = 0;
  std::size_t MostInFlight = 0;

 private:
  const std::vector<TPoolRename>& Jobs_;
  std::mutex Lock_;
  std::vector<std::size_t> InFlight_;
  std::vector<int> Ends_;
};

// Names that come back every few renames, as shifts and case changes make them.
std::vector<TPoolRename> BlockWithSharedNames(const TEntryId& folder, std::vector<std::string>& names) {
  names.clear();
  for (int i = 0; i < 300; ++i) {
    names.push_back("f" + std::to_string(i % 7));
    names.push_back(i % 5 == 0 ? "F" + std::to_string((i + 1) % 7) : "g" + std::to_string(i));
  }
  std::vector<TPoolRename> jobs;
  for (std::size_t i = 0; i < names.size(); i += 2) jobs.push_back({folder, names[i], names[i + 1]});
  return jobs;
}

TEST(RenamePool, RunsEveryRenameOnceNeverTwoOnOneNameAtOnce) {
  std::vector<std::string> names;
  const std::vector<TPoolRename> jobs = BlockWithSharedNames({1, 10}, names);
  TRenamePool pool(8);
  std::size_t mostInFlight = 0;
  // The same workers over several blocks, as a pass feeds them.
  for (int block = 0; block < 3; ++block) {
    SCOPED_TRACE(block);
    TWatchedRenames watched(jobs);
    std::atomic<std::size_t> badWorkers{0};
    const std::size_t started = pool.Run(
        jobs,
        [&](std::size_t worker, std::size_t job) {
          if (worker >= pool.Workers()) ++badWorkers;
          watched.Attempt(job);
        },
        [] { return false; });
    EXPECT_EQ(started, jobs.size());
    EXPECT_EQ(watched.Ends(), std::vector<int>(jobs.size(), 1));
    EXPECT_EQ(watched.Overlaps, 0u);
    EXPECT_EQ(watched.EarlierUnended, 0u);
    EXPECT_EQ(badWorkers.load(), 0u);
    mostInFlight = std::max(mostInFlight, watched.MostInFlight);
  }
  EXPECT_GT(mostInFlight, 1u);
}

// A stop starts no more renames; those started end, and are the block's first.
TEST(RenamePool, AStopLeavesTheTailUnstarted) {
  std::vector<std::string> names;
  const std::vector<TPoolRename> jobs = BlockWithSharedNames({1, 10}, names);
  TRenamePool pool(8);
  for (const std::size_t stopAfter : {std::size_t{0}, std::size_t{1}, std::size_t{37}}) {
    SCOPED_TRACE(stopAfter);
    TWatchedRenames watched(jobs);
    std::atomic<std::size_t> begun{0};
    const std::size_t started = pool.Run(
        jobs,
        [&](std::size_t, std::size_t job) {
          ++begun;
          watched.Attempt(job);
        },
        [&] { return begun.load() >= stopAfter; });
    EXPECT_GE(started, stopAfter);
    EXPECT_LT(started, stopAfter + pool.Workers() + 1);
    std::vector<int> ends(jobs.size(), 0);
    std::fill(ends.begin(), ends.begin() + static_cast<std::ptrdiff_t>(started), 1);
    EXPECT_EQ(watched.Ends(), ends);
  }
}

TEST(RenamePool, AnEmptyBlockEndsAtOnce) {
  TRenamePool pool(3);
  std::atomic<int> calls{0};
  EXPECT_EQ(pool.Run(
                {}, [&](std::size_t, std::size_t) { ++calls; }, [] { return false; }),
            0u);
  EXPECT_EQ(calls.load(), 0);
}

}  // namespace
}  // namespace vt::test
