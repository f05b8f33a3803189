// Reading back a journal whose rows come in descending order, as a recover that
// renamed a long chain back last first writes them: 180,000 rows by default,
// read whole and streamed, each timed over several rounds. Target: under 0.5 s.
//   bench_journal_read [ROWS] [ROUNDS] [FOLDER]
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "passes/PassJournalWriter.h"
#include "results/JournalReader.h"
#include "results/JournalRowStream.h"

namespace {

constexpr double kTargetMs = 500.0;
constexpr std::size_t kBlock = 256;

bool WriteDescending(const std::string& path, std::size_t rows) {
  vt::TPassJournalWriter writer;
  if (!writer.Create(path, vt::TDurability::Kernel,
                     vt::TJournalHeader{vt::TJournalKind::Recover, 1, "/x.vtj", "bench"}))
    return false;
  const std::string folder = "/home/user/Pictures/2026/summer/";
  std::vector<std::string> olds, news;
  std::vector<vt::TJournalEntry> entries;
  for (std::size_t end = rows; end > 0;) {
    const std::size_t first = end > kBlock ? end - kBlock : 0;
    olds.clear();
    news.clear();
    for (std::size_t row = end; row-- > first;) {
      olds.push_back(std::to_string(row + 1) + ".jpeg");
      news.push_back(std::to_string(row + 2) + ".jpeg");
    }
    entries.clear();
    for (std::size_t i = 0; i < olds.size(); ++i)
      entries.push_back(
          vt::TJournalEntry{end - 1 - i, folder, olds[i], news[i], vt::TRenameStatus::rsCanBeRenamed, 0, true});
    if (!writer.Intend(entries)) return false;
    for (vt::TJournalEntry& entry : entries) entry.Status = vt::TRenameStatus::rsOk;
    writer.Settled(entries);
    end = first;
  }
  return writer.Finish(vt::TJournalEnd::Completed).HasValue();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

bool Time(const char* what, int rounds, const std::function<bool()>& step) {
  std::vector<double> wall;
  for (int r = 0; r < rounds; ++r) {
    const auto start = std::chrono::steady_clock::now();
    if (!step()) {
      std::printf("%-24s FAILED\n", what);
      return false;
    }
    wall.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  const double median = Median(wall);
  std::printf("%-24s wall median %8.2f ms, slowest %8.2f ms (target < %.0f ms: %s)\n", what, median,
              *std::max_element(wall.begin(), wall.end()), kTargetMs, median < kTargetMs ? "met" : "MISSED");
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const std::size_t rows = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 180000;
  const int rounds = argc > 2 ? std::atoi(argv[2]) : 5;
  const std::filesystem::path folder = argc > 3 ? argv[3] : std::filesystem::temp_directory_path();
  const std::string path = (folder / ("bench-journal-read-" + std::to_string(::getpid()) + ".vtj")).string();
  if (!WriteDescending(path, rows)) {
    std::printf("cannot write %s\n", path.c_str());
    return 1;
  }
  std::printf("%zu rows in descending order, %ju bytes\n", rows,
              static_cast<std::uintmax_t>(std::filesystem::file_size(path)));
  bool ok = Time("read whole", rounds, [&] {
    const vt::TExpected<vt::TJournal> journal = vt::LoadJournal(path);
    return journal && journal->Rows.size() == rows && journal->Rows.front().Row == 0;
  });
  ok = Time("streamed (record)", rounds,
            [&] {
              vt::TJournalRowStream stream(path);
              return stream.Open() && stream.RowCount() == rows;
            }) &&
       ok;
  std::filesystem::remove(path);
  return ok ? 0 : 1;
}
