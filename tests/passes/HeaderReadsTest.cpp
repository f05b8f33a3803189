#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "passes/HeaderReads.h"

namespace vt::test {
namespace {

TEST(HeaderReads, EveryIndexIsReadOnceEachReaderOnOneThread) {
  struct Case {
    std::size_t Count;
    unsigned Threads;
  };
  for (const Case& c :
       {Case{0, 1}, Case{1, 1}, Case{3, 4}, Case{15, 2}, Case{16, 2}, Case{17, 2}, Case{1000, 2}, Case{1001, 4}}) {
    SCOPED_TRACE(std::to_string(c.Count) + " on " + std::to_string(c.Threads));
    std::vector<std::atomic<int>> times(c.Count);
    std::mutex lock;
    std::map<const TFieldReader*, std::thread::id> threadOf;
    bool shared = false;
    TFieldReader caller;
    ReadHeaders(c.Count, c.Threads, caller,
                [&](TFieldReader& reader, std::size_t index) {
                  times[index].fetch_add(1);
                  const std::lock_guard<std::mutex> hold(lock);
                  const auto [at, added] = threadOf.emplace(&reader, std::this_thread::get_id());
                  shared = shared || (!added && at->second != std::this_thread::get_id());
                },
                {});
    for (std::size_t index = 0; index < c.Count; ++index) EXPECT_EQ(times[index].load(), 1) << index;
    EXPECT_FALSE(shared) << "a reader's buffer used by two threads";
    EXPECT_LE(threadOf.size(), c.Threads);
  }
}

// The helpers read only until the stop is said; they wait for it here so that
// how far they got does not depend on how the threads were scheduled.
TEST(HeaderReads, AStopLeavesTheRestUnreadAndIsAskedOnTheCallersThreadOnly) {
  for (const unsigned threads : {1u, 2u, 4u}) {
    SCOPED_TRACE(threads);
    const std::thread::id callerThread = std::this_thread::get_id();
    std::atomic<bool> said{false};
    std::atomic<bool> askedElsewhere{false};
    int asks = 0;
    const TListingStop stop = [&] {
      if (std::this_thread::get_id() != callerThread) {
        askedElsewhere = true;
        return true;
      }
      said = ++asks > 10;
      return said.load();
    };
    std::atomic<std::size_t> read{0};
    TFieldReader caller;
    ReadHeaders(
        1000, threads, caller,
        [&](TFieldReader&, std::size_t) {
          if (std::this_thread::get_id() != callerThread)
            while (!said) std::this_thread::yield();
          ++read;
        },
        stop);
    EXPECT_FALSE(askedElsewhere);
    // The caller's ten, and at most the one each helper was in.
    EXPECT_GE(read.load(), 10u);
    EXPECT_LE(read.load(), 10u + threads - 1);
  }
}

}  // namespace
}  // namespace vt::test
