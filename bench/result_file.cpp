// Writing and reading a result table of 100,000 rows, in memory and through a
// file, each timed over several rounds.
//   bench_result_file [ROWS] [ROUNDS] [FOLDER]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "passes/ResultTable.h"
#include "results/ResultFile.h"

namespace {

constexpr double kTargetMs = 100.0;

vt::TResultTable MakeTable(std::size_t rows) {
  vt::TResultTable table;
  for (std::size_t i = 0; i < rows; ++i) {
    const std::string n = std::to_string(i);
    table.AppendRow("holiday photo " + n + ".jpeg", "2026-07 holiday " + n + ".jpeg",
                    "/home/user/Pictures/2026/summer/" + std::to_string(i / 500) + "/", "Ok");
  }
  return table;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// Wall-clock and processor time of the rounds, in milliseconds. On a shared
// machine the processor time shows the cost when the wall clock also shows waiting.
void Time(const char* what, int rounds, const std::function<bool()>& step) {
  std::vector<double> wall, cpu;
  for (int r = 0; r < rounds; ++r) {
    const auto start = std::chrono::steady_clock::now();
    const std::clock_t cpuStart = std::clock();
    if (!step()) {
      std::printf("%-24s FAILED\n", what);
      std::exit(1);
    }
    cpu.push_back(1000.0 * static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC);
    wall.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  const double median = Median(wall);
  std::printf("%-24s wall median %7.2f ms, fastest %7.2f ms; cpu median %7.2f ms (target < %.0f ms: %s)\n", what,
              median, *std::min_element(wall.begin(), wall.end()), Median(cpu), kTargetMs,
              median < kTargetMs ? "met" : "MISSED");
}

}  // namespace

int main(int argc, char** argv) {
  const std::size_t rows = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 100000;
  const int rounds = argc > 2 ? std::atoi(argv[2]) : 9;
  const std::filesystem::path folder = argc > 3 ? argv[3] : std::filesystem::temp_directory_path();
  const std::string path = (folder / ("bench-result-" + std::to_string(std::rand()) + ".vtr")).string();

  const vt::TResultTable table = MakeTable(rows);
  const std::string bytes = vt::WriteResultStream(table);
  std::printf("%zu rows, %zu bytes per file, %d rounds\n", rows, bytes.size(), rounds);

  Time("write stream (memory)", rounds, [&] { return vt::WriteResultStream(table).size() == bytes.size(); });
  Time("read stream (memory)", rounds, [&] {
    vt::TResultTable read;
    return vt::ReadResultStream(bytes, read).HasValue() && read.RowCount() == rows;
  });
  Time("save file", rounds, [&] { return vt::SaveResultFile(table, path).HasValue(); });
  Time("load file", rounds, [&] {
    vt::TResultTable read;
    return vt::LoadResultFile(path, read).HasValue() && read.RowCount() == rows;
  });
  std::filesystem::remove(path);
  return 0;
}
