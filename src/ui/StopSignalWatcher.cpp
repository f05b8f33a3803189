#include "ui/StopSignalWatcher.h"

#include "platform/StopSignals.h"
#include "ui/Form1.h"

namespace vt {

TStopSignalWatcher::TStopSignalWatcher(TForm1& form) : Form_(form) {
  const int fd = WatchStopSignals();
  if (fd < 0) return;
  Notifier_ = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
  connect(Notifier_.get(), &QSocketNotifier::activated, this, [this, fd] {
    if (TakeStopSignal(fd) != 0) Form_.EndBySignal();
  });
}

}  // namespace vt
