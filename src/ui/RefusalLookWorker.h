#pragma once
// The look for new names a volume refuses, before a real pass, on a worker of
// its own: the window goes on painting, and Stop, Escape or a close end the
// look (the pass does not start). Other input to the windows waits out the
// look unanswered, so nothing changes what is being looked at. When the look
// takes long the status bar counts the files judged.
#include <QObject>
#include <QString>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

#include "passes/VolumeRefusals.h"

class QAction;
class QWidget;

namespace vt {

// The look itself, run on the worker: it polls stopped and counts the files
// it has judged in files.
using TRefusalFinder =
    std::function<TVolumeRefusals(const std::function<bool()>& stopped, std::atomic<std::uint64_t>& files)>;

// What of the window the look uses.
struct TLookWindow {
  QWidget& Window;
  QAction& Stop;
  std::function<void(const QString&)> Status;  // empty text: the look has ended
};

class TRefusalLookWorker final : public QObject {
 public:
  explicit TRefusalLookWorker(TLookWindow window);
  // Stops a look still under way and joins its worker.
  ~TRefusalLookWorker() override;
  TRefusalLookWorker(const TRefusalLookWorker&) = delete;
  TRefusalLookWorker& operator=(const TRefusalLookWorker&) = delete;

  // Runs find on the worker and returns once it has ended; none when stopped.
  std::optional<TVolumeRefusals> Run(TRefusalFinder find);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Stop();
  // Waits for the worker, at most limit; true once it has ended.
  bool WaitFor(std::chrono::milliseconds limit);

  TLookWindow Window_;
  std::atomic<bool> Stopped_{false};
  std::atomic<std::uint64_t> Files_{0};
  std::mutex Mutex_;
  std::condition_variable Ended_;
  bool Done_ = false;                     // under Mutex_
  std::optional<TVolumeRefusals> Found_;  // under Mutex_
  std::jthread Worker_;                   // last: joined before what it uses goes
};

}  // namespace vt
