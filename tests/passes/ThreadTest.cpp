#include "platform/Thread.h"

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace vt {
namespace {

// A self-freeing thread that logs what happens, and where.
class TLoggingThread final : public TThread {
 public:
  static void Start(IDispatcher& dispatcher, std::vector<std::string>& log, int calls) {
    new TLoggingThread(dispatcher, log, calls);
  }
  ~TLoggingThread() override { Synchronize([this] { Log_.push_back("released"); }); }

 private:
  TLoggingThread(IDispatcher& dispatcher, std::vector<std::string>& log, int calls)
      : TThread(dispatcher), Log_(log), Calls_(calls), Window_(std::this_thread::get_id()) {
    OnTerminate = [this] { Log_.push_back(OnWindow() ? "end on window" : "end off window"); };
    Resume();
  }
  void Execute() override {
    for (int i = 0; i < Calls_; ++i)
      Synchronize([this, i] { Log_.push_back("call " + std::to_string(i) + (OnWindow() ? "" : " off window")); });
  }
  bool OnWindow() const { return std::this_thread::get_id() == Window_; }

  std::vector<std::string>& Log_;
  const int Calls_;
  const std::thread::id Window_;
};

TEST(ThreadTest, CallsRunOnTheWindowThreadInOrderThenTheEndThenTheRelease) {
  TQueueDispatcher dispatcher;
  std::vector<std::string> log;
  TLoggingThread::Start(dispatcher, log, 3);
  dispatcher.RunUntil([&] { return dispatcher.ReleasedCount() == 1; });
  EXPECT_EQ(log, (std::vector<std::string>{"call 0", "call 1", "call 2", "end on window", "released"}));
}

TEST(ThreadTest, SynchronizeOnTheWindowThreadRunsAtOnce) {
  TQueueDispatcher dispatcher;
  bool ran = false;
  dispatcher.Synchronize([&] { ran = true; });
  EXPECT_TRUE(ran);
}

TEST(ThreadTest, RunUntilReturnsAtOnceWhenDone) {
  TQueueDispatcher dispatcher;
  int checks = 0;
  dispatcher.RunUntil([&] { return ++checks > 0; });
  EXPECT_EQ(checks, 1);
}

TEST(ThreadTest, SeveralPassesAreAllReleased) {
  TQueueDispatcher dispatcher;
  std::vector<std::string> logs[4];
  for (auto& log : logs) TLoggingThread::Start(dispatcher, log, 2);
  dispatcher.RunUntil([&] { return dispatcher.ReleasedCount() == 4; });
  for (const auto& log : logs) EXPECT_EQ(log.back(), "released");
}

// A worker that synchronises without pause must not starve the ticks.
TEST(ThreadTest, TicksKeepComingWhileAWorkerSynchronisesAllTheTime) {
  TQueueDispatcher dispatcher;
  std::atomic<bool> quit{false};
  std::atomic<int> calls{0};
  std::thread worker([&] {
    while (!quit.load()) dispatcher.Synchronize([&] { ++calls; });
  });
  dispatcher.RunUntil([&] { return calls.load() >= 50; });
  int ticks = 0;
  const int callsBefore = calls.load();
  dispatcher.RunUntil([&] { return ticks >= 3; }, std::chrono::milliseconds(10), [&] { ++ticks; });
  const int callsDuring = calls.load() - callsBefore;
  quit = true;
  dispatcher.RunUntil([&] { return true; });
  // The worker may be waiting in one last call: serve it until it has gone.
  std::atomic<bool> joined{false};
  std::thread joiner([&] {
    worker.join();
    joined = true;
  });
  dispatcher.RunUntil([&] { return joined.load(); }, std::chrono::milliseconds(1), [] {});
  joiner.join();
  EXPECT_GE(ticks, 3);
  EXPECT_GT(callsDuring, 0);
}

TEST(ThreadTest, CallsOfSeveralWorkersAtOnceEachRunOnceOnTheWindowThread) {
  TQueueDispatcher dispatcher;
  const std::thread::id window = std::this_thread::get_id();
  constexpr int kWorkers = 3;
  constexpr int kCalls = 2000;
  int runs[kWorkers] = {};
  int offWindow = 0;
  int total = 0;
  std::vector<std::thread> workers;
  for (int w = 0; w < kWorkers; ++w) {
    workers.emplace_back([&, w] {
      for (int i = 0; i < kCalls; ++i)
        dispatcher.Synchronize([&, w, i] {
          if (std::this_thread::get_id() != window) ++offWindow;
          // a call sees the effects of the same worker's earlier calls
          if (runs[w] == i) ++runs[w];
          ++total;
        });
    });
  }
  dispatcher.RunUntil([&] { return total == kWorkers * kCalls; });
  for (std::thread& worker : workers) worker.join();
  for (int w = 0; w < kWorkers; ++w) EXPECT_EQ(runs[w], kCalls);
  EXPECT_EQ(offWindow, 0);
}

TEST(ThreadTest, ADispatcherRunsTheCallsOfAStartedPassBeforeItGoes) {
  std::vector<std::string> log;
  {
    TQueueDispatcher dispatcher;
    TLoggingThread::Start(dispatcher, log, 3);
  }
  EXPECT_EQ(log, (std::vector<std::string>{"call 0", "call 1", "call 2", "end on window", "released"}));
}

class TOwnedThread final : public TThread {
 public:
  explicit TOwnedThread(IDispatcher& dispatcher, std::atomic<bool>& ran) : TThread(dispatcher), Ran_(ran) {
    FreeOnTerminate = false;
    Resume();
  }
  ~TOwnedThread() override { WaitFor(); }
  void Execute() override { Ran_ = true; }

 private:
  std::atomic<bool>& Ran_;
};

TEST(ThreadTest, AThreadThatDoesNotFreeItselfIsJoinedByItsOwner) {
  TQueueDispatcher dispatcher;
  std::atomic<bool> ran{false};
  { TOwnedThread thread(dispatcher, ran); }
  EXPECT_TRUE(ran.load());
  EXPECT_EQ(dispatcher.ReleasedCount(), 0u);
}

}  // namespace
}  // namespace vt
