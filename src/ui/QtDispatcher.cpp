#include "ui/QtDispatcher.h"

#include <QMetaObject>
#include <QThread>

namespace vt {

TQtDispatcher::TQtDispatcher(QObject* parent) : QObject(parent) {}

TQtDispatcher::~TQtDispatcher() {
  ShutDown_ = true;
  JoinReleased();
}

void TQtDispatcher::Synchronize(const std::function<void()>& call) {
  if (QThread::currentThread() == thread()) {
    call();
    return;
  }
  if (ShutDown_) return;
  // The posted call is dropped, and the worker woken, if the window goes first.
  QMetaObject::invokeMethod(
      this,
      [this, &call] {
        if (!ShutDown_) call();
      },
      Qt::BlockingQueuedConnection);
}

void TQtDispatcher::Released(std::thread worker) {
  {
    std::lock_guard lock(Mutex_);
    Released_.push_back(std::move(worker));
  }
  QMetaObject::invokeMethod(this, &TQtDispatcher::JoinReleased, Qt::QueuedConnection);
}

void TQtDispatcher::JoinReleased() {
  std::vector<std::thread> workers;
  {
    std::lock_guard lock(Mutex_);
    workers.swap(Released_);
  }
  // A released worker has nothing left to do but return.
  for (std::thread& worker : workers) {
    if (worker.joinable()) worker.join();
    ++ReleasedCount_;
  }
}

void TQtDispatcher::Shutdown() { ShutDown_ = true; }

}  // namespace vt
