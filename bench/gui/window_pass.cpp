// One pass through the real window, offscreen: Search/Replace "file" -> "item"
// on every name of FOLDER, started by a click on Simulate or Rename, and
// optionally stopped by a click on Stop or by Escape after a while.
//   bench_window_pass FOLDER simulate|rename|stop|escape [STOP_AFTER_MS]
// Prints one line of figures:
//   seconds      from the click to "Process Ok." (the file list then starts reading the folder
//                again, on its worker)
//   max_gap_ms   the longest wait between two ticks of a 10 ms timer while the pass ran;
//                every tick also scrolls the result list to its last row
//   settle_gap_ms  the same from "Process Ok." until the window is free again (below)
//   rows, bytes_per_row   peak resident memory above what the shown window took before
//                the click, per row of the table (the file list read again at the end and the
//                clash marks looked for after it included)
//   pass_bytes_per_row    the same, sampled at each tick while the pass ran: the rows alone
//   stop_ms      for stop and escape: from the stop to "Process Ok."
//   refill_ms    from "Process Ok." until the file list shows the folder's new names
//   end_ms       from "Process Ok." until the window is free again: the file list read
//                again, a simulation's clashes looked for (the clash marks have settled)
//                and the pass's record kept on its worker and taken by the window
//   record_ms    from "Process Ok." until the window has taken the kept record (rename)
#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "browse/FileListBox.h"
#include "browse/FilterDirectoryListBox.h"
#include "passes/RunControl.h"
#include "ui/ClashMarks.h"
#include "ui/Form1.h"
#include "ui/ResultListView.h"
#include "ui/Startup.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// A field of /proc/self/status in KiB.
long StatusKiB(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind(field, 0) == 0) return std::stol(line.substr(std::string(field).size()));
  return 0;
}

// The window's controls by objectName, as a user's tools see them.
template <class T>
T* Named(const QObject& window, const char* name) {
  T* found = window.findChild<T*>(name);
  if (!found) {
    std::fprintf(stderr, "no control named %s\n", name);
    std::exit(2);
  }
  return found;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s FOLDER simulate|rename|stop|escape [STOP_AFTER_MS]\n", argv[0]);
    return 2;
  }
  const std::string folder = argv[1];
  const std::string mode = argv[2];
  const int stopAfterMs = argc > 3 ? std::atoi(argv[3]) : 300;
  QApplication app(argc, argv);
  vt::SetUpApplication(app);

  vt::TForm1 form;
  auto* const listView = Named<vt::TResultListView>(form, "ListView");
  Named<vt::TFilterDirectoryListBox>(form, "FilterDirectoryListBox1")->SetFolder(folder);
  Named<QListWidget>(form, "LstBoxActions")->setCurrentRow(0);
  Named<QLineEdit>(form, "EdSearchFor")->setText("file");
  Named<QLineEdit>(form, "EdReplaceWith")->setText("item");
  form.show();
  for (int i = 0; i < 10; ++i) QCoreApplication::processEvents();
  // The folder is read on the list's worker: its names are in before the click, as a user would see them.
  auto* const fileList = Named<vt::TFileListBox>(form, "FileListBox1");
  while (fileList->FillPending())
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  const long startKiB = StatusKiB("VmRSS:");

  auto* const clashWatch = dynamic_cast<vt::TClashMarksWatch*>(Named<QObject>(form, "ClashMarksWatch"));
  auto* const simulate = Named<QPushButton>(form, "BtSimul");
  // Once the commands are back the watch is busy until it has looked.
  // A rename is settled once its record has been kept.
  const auto settled = [&] {
    return !form.RunControl().PassAlive() && simulate->isEnabled() && !clashWatch->Busy() && !form.KeepingRecord() &&
           !fileList->FillPending();
  };

  bool started = false, ended = false, freed = false;
  Clock::time_point clicked, stopped, endedAt, refilledAt, lastTick;
  bool refilled = false;
  double maxGapMs = 0, settleGapMs = 0;
  long passPeakKiB = 0;
  // The file list starts reading the folder again right after "Process Ok." is shown.
  QObject::connect(fileList, &vt::TFileListBox::FillStarted, [&] {
    if (started && !ended) {
      ended = true;
      endedAt = Clock::now();
    }
  });
  QObject::connect(fileList, &vt::TFileListBox::FileListChanged, [&] {
    if (ended && !refilled) {
      refilled = true;
      refilledAt = Clock::now();
    }
  });
  QTimer tick;
  QObject::connect(&tick, &QTimer::timeout, [&] {
    const Clock::time_point now = Clock::now();
    if (started && !ended) {
      maxGapMs = std::max(maxGapMs, Ms(now - lastTick));
      passPeakKiB = std::max(passPeakKiB, StatusKiB("VmRSS:"));
    }
    // A wait that began before "Process Ok." and ended after it is the end's.
    if (ended && !freed) settleGapMs = std::max(settleGapMs, Ms(now - lastTick));
    if (started && std::getenv("VELTRANE_BENCH_GAPS") && Ms(now - lastTick) > 30)
      std::fprintf(stderr, "gap %.1f ms at %.0f ms%s, %zu rows\n", Ms(now - lastTick), Ms(now - clicked),
                   ended && !freed ? " (settling)" : "", form.ResultTable().RowCount());
    lastTick = now;
    listView->scrollToBottom();
  });
  tick.start(10);
  if (mode == "stop" || mode == "escape") {
    QTimer::singleShot(stopAfterMs, [&] {
      stopped = Clock::now();
      if (mode == "stop") {
        Named<QPushButton>(form, "BtCancel")->click();
      } else {
        QWidget* focus = form.focusWidget() ? form.focusWidget() : &form;
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(focus, &escape);
      }
    });
  }

  started = true;
  clicked = lastTick = Clock::now();
  if (mode == "simulate")
    Named<QPushButton>(form, "BtSimul")->click();
  else
    Named<QPushButton>(form, "BtRename")->click();
  // Waits for events as the window's own loop would: the overload with a time
  // limit ignores WaitForMoreEvents and would spin, taking a core from the pass.
  // The tick wakes the loop at least every 10 ms.
  while (!ended) QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  // What the window does right after the pass counts too: a simulation's clash
  // marks are looked for once the commands are back.
  Clock::time_point recordAt = Clock::now();
  bool recordKept = !form.KeepingRecord();
  while (!settled()) {
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    if (!recordKept && !form.KeepingRecord()) {
      recordKept = true;
      recordAt = Clock::now();
    }
  }
  freed = true;
  const Clock::time_point freeAt = Clock::now();

  const long peakKiB = StatusKiB("VmHWM:");
  const std::size_t rows = form.ResultTable().RowCount();
  std::printf("mode=%s seconds=%.3f max_gap_ms=%.1f rows=%zu bytes_per_row=%.0f", mode.c_str(),
              Ms(endedAt - clicked) / 1000, maxGapMs, rows,
              rows ? double(peakKiB - startKiB) * 1024 / double(rows) : 0.0);
  std::printf(" pass_bytes_per_row=%.0f",
              rows ? double(std::max(passPeakKiB, startKiB) - startKiB) * 1024 / double(rows) : 0.0);
  std::printf(" settle_gap_ms=%.1f", settleGapMs);
  if (mode == "stop" || mode == "escape") std::printf(" stop_ms=%.1f", Ms(endedAt - stopped));
  std::printf(" refill_ms=%.1f end_ms=%.1f", refilled ? Ms(refilledAt - endedAt) : 0.0, Ms(freeAt - endedAt));
  std::printf(" record_ms=%.1f", std::max(0.0, Ms(recordAt - endedAt)));
  std::printf(" peak_kib=%ld start_kib=%ld\n", peakKiB, startKiB);
  return 0;
}
