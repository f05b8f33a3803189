#include "passes/HeaderReads.h"

#include <algorithm>
#include <atomic>
#include <system_error>
#include <thread>
#include <vector>

namespace vt {
namespace {

// Indexes taken a few at a time: one shared counter, touched rarely.
constexpr std::size_t kBatch = 16;
// Below this many files a second thread does not pay for its start.
constexpr std::size_t kFewestPerThread = 64;
// Reading headers mostly waits on memory and the kernel: more threads than
// cores gain nothing, and a pass should leave the machine usable.
constexpr unsigned kMostThreads = 4;

}  // namespace

unsigned HeaderThreads(std::size_t count) {
  const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
  const std::size_t useful = std::max<std::size_t>(1, count / kFewestPerThread);
  return static_cast<unsigned>(std::min<std::size_t>({cores, kMostThreads, useful}));
}

void ReadHeaders(std::size_t count, unsigned threads, TFieldReader& callerReader, const THeaderRead& read,
                 const TListingStop& stop) {
  std::atomic<std::size_t> next{0};
  std::atomic<bool> halted{false};
  // ask: the stop, on the caller's thread; nothing on a helper's.
  const auto work = [&](TFieldReader& reader, const TListingStop* ask) {
    for (;;) {
      const std::size_t from = next.fetch_add(kBatch, std::memory_order_relaxed);
      if (from >= count) return;
      const std::size_t to = std::min(count, from + kBatch);
      for (std::size_t index = from; index < to; ++index) {
        if (ask != nullptr && *ask && (*ask)()) halted.store(true, std::memory_order_relaxed);
        if (halted.load(std::memory_order_relaxed)) return;
        read(reader, index);
      }
    }
  };
  {
    std::vector<std::jthread> helpers;
    helpers.reserve(threads > 0 ? threads - 1 : 0);
    for (unsigned helper = 1; helper < threads; ++helper) {
      try {
        helpers.emplace_back([&work] {
          TFieldReader reader;
          work(reader, nullptr);
        });
      } catch (const std::system_error&) {
        break;  // no more threads to be had: those started, and the caller, read it all
      }
    }
    work(callerReader, &stop);
  }  // the helpers are joined here: what they wrote is the caller's from now on
}

}  // namespace vt
