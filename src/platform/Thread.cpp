#include "platform/Thread.h"

namespace vt {

TQueueDispatcher::TQueueDispatcher() : Owner_(std::this_thread::get_id()) {}

void TQueueDispatcher::Synchronize(const std::function<void()>& call) {
  if (std::this_thread::get_id() == Owner_) {
    call();
    return;
  }
  Pending pending{&call};
  std::unique_lock lock(Mutex_);
  Queue_.push_back(&pending);
  Wake_.notify_all();
  Wake_.wait(lock, [&] { return pending.Done; });
}

void TQueueDispatcher::RunUntil(const std::function<bool()>& done) {
  RunUntil(done, std::chrono::milliseconds::max(), {});
}

void TQueueDispatcher::RunUntil(const std::function<bool()>& done, std::chrono::milliseconds tick,
                                const std::function<void()>& onTick) {
  std::unique_lock lock(Mutex_);
  while (!done()) {
    if (tick == std::chrono::milliseconds::max()) {
      Wake_.wait(lock, [&] { return !Queue_.empty(); });
    } else if (!Wake_.wait_for(lock, tick, [&] { return !Queue_.empty(); })) {
      lock.unlock();
      if (onTick) onTick();
      lock.lock();
      continue;
    }
    Pending* pending = Queue_.front();
    Queue_.pop_front();
    lock.unlock();
    (*pending->Call)();
    lock.lock();
    pending->Done = true;
    Wake_.notify_all();
  }
}

TThread::TThread(IDispatcher& dispatcher) : Dispatcher_(dispatcher) {}

TThread::~TThread() {
  if (Thread_.joinable()) {
    if (Thread_.get_id() == std::this_thread::get_id())
      Thread_.detach();  // a self-freeing pass is released on its own thread
    else
      Thread_.join();
  }
}

void TThread::Resume() {
  Thread_ = std::thread([this] { Run(); });
}

void TThread::Run() {
  Execute();
  if (OnTerminate) Dispatcher_.Synchronize(OnTerminate);
  if (FreeOnTerminate) delete this;
}

}  // namespace vt
