// Result files through the window: 100,000 rows saved from and loaded into the
// main window's table while its list shows them, laid out as on screen.
//   bench_window_result_files [ROWS] [RUNS] [FOLDER]
#include <time.h>
#include <unistd.h>

#include <QApplication>
#include <QTabWidget>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "results/ResultFile.h"
#include "ui/Form1.h"
#include "ui/ResultListView.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr double kTargetMs = 200.0;

double CpuMs() {
  timespec now{};
  ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// Best and median wall clock, median CPU time; each run ends once the list has
// handled what the change posted.
int Report(const char* what, int runs, const std::function<void()>& prepare, const std::function<bool()>& work) {
  std::vector<double> wall, cpu;
  for (int i = 0; i < runs; ++i) {
    prepare();
    QCoreApplication::processEvents();
    const auto start = Clock::now();
    const double cpuStart = CpuMs();
    if (!work()) {
      std::printf("%-36s FAILED\n", what);
      return 1;
    }
    QCoreApplication::processEvents();
    wall.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    cpu.push_back(CpuMs() - cpuStart);
  }
  std::sort(wall.begin(), wall.end());
  std::sort(cpu.begin(), cpu.end());
  const bool ok = wall.front() < kTargetMs;
  std::printf("%-36s best %7.1f ms  median %7.1f ms  cpu %7.1f ms  target < %.0f ms %s\n", what, wall.front(),
              wall[wall.size() / 2], cpu[cpu.size() / 2], kTargetMs, ok ? "ok" : "SLOW");
  return ok ? 0 : 1;
}

void FillAsAPass(vt::TResultTable& table, std::size_t rows) {
  for (std::size_t i = 0; i < rows; ++i) {
    const std::string n = std::to_string(i);
    table.AppendRow("holiday photo " + n + ".jpeg", "2026-07 holiday " + n + ".jpeg",
                    "/home/user/Pictures/2026/summer/" + std::to_string(i / 500) + "/", "Ok");
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const std::size_t rows = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 100000;
  const int runs = argc > 2 ? std::atoi(argv[2]) : 7;
  const std::filesystem::path folder = argc > 3 ? argv[3] : std::filesystem::temp_directory_path();
  const std::string path = (folder / ("vt-bench-window-" + std::to_string(::getpid()) + ".vtr")).string();

  vt::TForm1 form;
  form.show();
  auto* const listView = form.findChild<vt::TResultListView*>("ListView");
  form.findChild<QTabWidget*>("PageControl1")->setCurrentWidget(form.findChild<QWidget*>("TabSheetResults"));
  FillAsAPass(form.ResultTable(), rows);
  QCoreApplication::processEvents();
  std::printf("%zu rows, folder %s\n", rows, folder.c_str());

  int slow = 0;
  slow += Report(
      "save from the window's table", runs, [] {},
      [&] { return vt::SaveResultFile(form.ResultTable(), form.ResultLayout(), path).HasValue(); });
  slow += Report(
      "load into the window's table", runs, [] {},
      [&] {
        return vt::LoadResultFile(path, form.ResultTable(), form.ResultLayout()).HasValue() &&
               form.ResultTable().RowCount() == rows && listView->model()->rowCount() == static_cast<int>(rows);
      });
  std::filesystem::remove(path);
  return slow == 0 ? 0 : 1;
}
