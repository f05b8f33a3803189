#pragma once
// Ends the window on SIGTERM or SIGHUP as Quit answered "&Yes" would: the pass
// stops, its end is awaited and its record kept, without a question.
#include <QObject>
#include <QSocketNotifier>
#include <memory>

namespace vt {

class TForm1;

class TStopSignalWatcher final : public QObject {
 public:
  explicit TStopSignalWatcher(TForm1& form);

 private:
  TForm1& Form_;
  std::unique_ptr<QSocketNotifier> Notifier_;
};

}  // namespace vt
