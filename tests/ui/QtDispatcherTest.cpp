// The Qt window-thread dispatcher the passes synchronise through.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <future>
#include <memory>
#include <thread>

#include "UiTestApp.h"
#include "ui/QtDispatcher.h"

namespace vt {
namespace {

using test::WaitUntil;

TEST(QtDispatcher, OnTheWindowThreadTheCallRunsAtOnce) {
  TQtDispatcher dispatcher;
  int runs = 0;
  dispatcher.Synchronize([&] { ++runs; });
  EXPECT_EQ(runs, 1);
}

TEST(QtDispatcher, WorkerWaitsUntilTheCallHasRunOnTheWindowThread) {
  TQtDispatcher dispatcher;
  QThread* const window = QThread::currentThread();
  std::atomic<bool> done{false};
  bool onWindowThread = false;
  int value = 0;
  int seenByWorker = -1;
  std::thread worker([&] {
    dispatcher.Synchronize([&] {
      onWindowThread = QThread::currentThread() == window;
      value = 42;
    });
    seenByWorker = value;  // written before Synchronize returned
    done = true;
  });
  EXPECT_TRUE(WaitUntil([&] { return done.load(); }));
  worker.join();
  EXPECT_TRUE(onWindowThread);
  EXPECT_EQ(seenByWorker, 42);
}

TEST(QtDispatcher, CallsFromSeveralWorkersRunOneAfterTheOther) {
  TQtDispatcher dispatcher;
  constexpr int kWorkers = 4, kCalls = 50;
  int total = 0;  // only ever touched on the window thread
  std::atomic<int> finished{0};
  std::vector<std::thread> workers;
  for (int w = 0; w < kWorkers; ++w)
    workers.emplace_back([&] {
      for (int i = 0; i < kCalls; ++i) dispatcher.Synchronize([&] { ++total; });
      ++finished;
    });
  EXPECT_TRUE(WaitUntil([&] { return finished.load() == kWorkers; }));
  for (auto& w : workers) w.join();
  EXPECT_EQ(total, kWorkers * kCalls);
}

TEST(QtDispatcher, ModalBoxesRunTheCallsToo) {
  TQtDispatcher dispatcher;
  std::atomic<bool> ran{false};
  std::thread worker;
  QMessageBox box(QMessageBox::Information, "Information", "waiting", QMessageBox::Ok);
  QTimer::singleShot(0, [&] {
    worker = std::thread([&] {
      dispatcher.Synchronize([&] { ran = true; });
      QMetaObject::invokeMethod(&box, "accept", Qt::QueuedConnection);
    });
  });
  box.exec();  // the worker's call is run by the box's own loop
  worker.join();
  EXPECT_TRUE(ran);
}

TEST(QtDispatcher, ReleasedWorkersAreJoinedAndCounted) {
  TQtDispatcher dispatcher;
  constexpr int kWorkers = 3;
  for (int i = 0; i < kWorkers; ++i) {
    // As a self-freeing pass does: the thread hands itself over as its last step.
    std::promise<std::thread> handOver;
    std::thread worker([&dispatcher, future = handOver.get_future()]() mutable {
      dispatcher.Released(future.get());
    });
    handOver.set_value(std::move(worker));
  }
  EXPECT_TRUE(WaitUntil([&] { return dispatcher.ReleasedCount() == kWorkers; }));
}

// A self-freeing thread in the manner of a pass: rows through Synchronize, then
// its end handler on the window thread.
class TCountingThread final : public TThread {
 public:
  static void Start(IDispatcher& dispatcher, std::vector<int>& rows, bool& ended) {
    auto* thread = new TCountingThread(dispatcher, rows, ended);  // frees itself
    thread->Resume();
  }

 private:
  TCountingThread(IDispatcher& dispatcher, std::vector<int>& rows, bool& ended)
      : TThread(dispatcher), Rows_(rows) {
    Window_ = QThread::currentThread();
    OnTerminate = [&ended, this] { ended = QThread::currentThread() == Window_; };
  }
  void Execute() override {
    for (int i = 0; i < 10; ++i) Synchronize([this, i] { Rows_.push_back(i); });
  }
  std::vector<int>& Rows_;
  QThread* Window_ = nullptr;
};

TEST(QtDispatcher, RunsASelfFreeingPassToItsEnd) {
  TQtDispatcher dispatcher;
  std::vector<int> rows;
  bool ended = false;
  TCountingThread::Start(dispatcher, rows, ended);
  EXPECT_TRUE(WaitUntil([&] { return dispatcher.ReleasedCount() == 1; }));
  EXPECT_EQ(rows, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
  EXPECT_TRUE(ended);
}

TEST(QtDispatcher, RunUntilAnswersCallsWithoutTheEventLoop) {
  TQtDispatcher dispatcher;
  std::vector<int> rows;
  bool ended = false;
  int posted = 0;  // an event posted before: RunUntil must not handle it
  QTimer::singleShot(0, [&] { ++posted; });
  TCountingThread::Start(dispatcher, rows, ended);
  dispatcher.RunUntil([&] { return dispatcher.ReleasedCount() == 1; });
  EXPECT_EQ(rows.size(), 10u);
  EXPECT_TRUE(ended);
  EXPECT_EQ(posted, 0);
  QCoreApplication::processEvents();
  EXPECT_EQ(posted, 1);
}

TEST(QtDispatcher, RunUntilTicksWhileWaiting) {
  TQtDispatcher dispatcher;
  int ticks = 0;
  dispatcher.RunUntil([&] { return ticks == 3; }, std::chrono::milliseconds(1), [&] { ++ticks; });
  EXPECT_EQ(ticks, 3);
}

TEST(QtDispatcher, ADispatcherGoesOnlyAfterEveryWorkerThatStarted) {
  auto dispatcher = std::make_unique<TQtDispatcher>();
  std::vector<int> rows;
  bool ended = false;
  TCountingThread::Start(*dispatcher, rows, ended);
  // No loop runs: the worker waits in its first call until the shutdown lets it go on
  // without the window, then hands its thread over to a dispatcher that must still be there.
  dispatcher.reset();
  EXPECT_TRUE(rows.empty());
  EXPECT_FALSE(ended);
}

TEST(QtDispatcher, ShutdownReleasesAWorkerWaitingForItsCall) {
  TQtDispatcher dispatcher;
  std::atomic<bool> ran{false}, returned{false};
  std::thread worker([&] {
    dispatcher.Synchronize([&] { ran = true; });
    returned = true;
  });
  // The window thread runs no loop here: the call stays queued until the shutdown drops it.
  while (dispatcher.PendingCount() == 0) std::this_thread::yield();
  EXPECT_FALSE(returned);
  dispatcher.Shutdown();
  worker.join();
  EXPECT_TRUE(returned);
  EXPECT_FALSE(ran);
  EXPECT_EQ(dispatcher.PendingCount(), 0u);
}

TEST(QtDispatcher, AfterShutdownNoCallReachesTheWindow) {
  TQtDispatcher dispatcher;
  dispatcher.Shutdown();
  std::atomic<bool> ran{false}, returned{false};
  std::thread worker([&] {
    dispatcher.Synchronize([&] { ran = true; });
    returned = true;
  });
  worker.join();  // no window loop runs: the worker must not wait for one
  EXPECT_TRUE(returned);
  EXPECT_FALSE(ran);
}

}  // namespace
}  // namespace vt
