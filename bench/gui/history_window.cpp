// The history window over a folder of kept passes: how long from the menu
// item until the list is filled, and the longest the window thread went
// without turning its loop meanwhile (targets: 200 ms, 33 ms).
//   bench_history_window RECORDS_FOLDER [RUNS]
#include <QApplication>
#include <QStandardItemModel>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ui/HistoryWindow.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr double kOpenMs = 200.0;
constexpr double kStallMs = 33.0;

double Ms(Clock::duration duration) { return std::chrono::duration<double, std::milli>(duration).count(); }

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: bench_history_window RECORDS_FOLDER [RUNS]\n");
    return 2;
  }
  std::string folder = argv[1];
  if (!folder.ends_with('/')) folder += '/';
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 7;
  std::vector<double> open;
  std::vector<double> stall;
  int rows = 0;
  for (int run = 0; run < runs; ++run) {
    vt::THistoryWindow window(folder);
    // Ticks as often as the loop turns: the gaps between them are the stalls.
    Clock::time_point last = Clock::now();
    double longest = 0;
    QTimer tick;
    tick.setInterval(0);
    QObject::connect(&tick, &QTimer::timeout, [&] {
      const Clock::time_point now = Clock::now();
      longest = std::max(longest, Ms(now - last));
      last = now;
    });
    tick.start();
    const Clock::time_point start = Clock::now();
    last = start;
    window.ShowHistory();
    longest = std::max(longest, Ms(Clock::now() - last));
    last = Clock::now();
    while (window.Reading()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    QCoreApplication::processEvents();
    open.push_back(Ms(Clock::now() - start));
    stall.push_back(longest);
    rows = window.HistoryModel->rowCount();
  }
  std::sort(open.begin(), open.end());
  std::sort(stall.begin(), stall.end());
  const bool ok = open[open.size() / 2] < kOpenMs && stall[stall.size() / 2] < kStallMs;
  std::printf(
      "history window, %d passes: open best %.1f ms median %.1f ms (target < %.0f); "
      "longest stall median %.1f ms worst %.1f ms (target < %.0f) %s\n",
      rows, open.front(), open[open.size() / 2], kOpenMs, stall[stall.size() / 2], stall.back(), kStallMs,
      ok ? "ok" : "SLOW");
  return ok ? 0 : 1;
}
