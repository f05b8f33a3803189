// Types into Search/Replace on the Control page, one character every 100 ms,
// over a folder of many files (tmpfs where there is one), and times the file
// list's preview after each keystroke: until the rows in view show the new
// names, until the whole list and the clash count are in, and the longest the
// window's loop was held meanwhile. Then the memory the whole preview costs per
// file. With "busy", one spinning process per core runs beside it.
// Besides the loop's longest hold by the clock, the longest stretch of work of
// the window's thread by its own CPU time: on a shared machine the clock also
// counts the turns other processes take, the thread's CPU time only its own work.
#include <malloc.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <QApplication>
#include <QLineEdit>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "browse/FileListBox.h"
#include "browse/FileNameModel.h"
#include "browse/FilterDirectoryListBox.h"
#include "ui/ControlPage.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double ThreadCpuMs() {
  timespec now{};
  ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

template <class T>
T* Named(const QObject& parent, const char* name) {
  return parent.findChild<T*>(QString::fromLatin1(name));
}

std::string TmpfsRoot() {
  for (const char* candidate : {"/dev/shm", "/run/user"})
    if (::access(candidate, W_OK) == 0) return candidate;
  return std::filesystem::temp_directory_path().string();
}

void MakeFiles(const std::string& folder, int count) {
  std::filesystem::create_directories(folder);
  char name[64];
  for (int i = 0; i < count; ++i) {
    // One in a thousand is named as the file before it will be: the clashes to find.
    if (i % 1000 == 999)
      std::snprintf(name, sizeof name, "Rome 2025 - %07d.jpg", i - 1);
    else
      std::snprintf(name, sizeof name, "IMG_%07d.jpg", i);
    std::ofstream(folder + "/" + name);
  }
}

std::size_t HeapInUse() { return mallinfo2().uordblks; }

void WaitUntil(const std::function<bool()>& done) {
  while (!done()) QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 5);
}

double Percentile(std::vector<double> values, double p) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  return values[std::min(values.size() - 1, std::size_t(p * double(values.size() - 1) + 0.5))];
}

struct TRun {
  std::vector<double> inView, whole;
  double gap = 0;
  double work = 0;  // the window thread's CPU time between two ticks, at most
};

// kKeystrokes characters, a new one every 100 ms: the search text, then the
// replacement, over and over.
constexpr int kKeystrokes = 50;

TRun Type(vt::TControlPage& page) {
  auto* search = Named<QLineEdit>(page, "EdSearchFor");
  auto* replace = Named<QLineEdit>(page, "EdReplaceWith");
  auto* list = Named<vt::TFileListBox>(page, "FileListBox1");
  const std::string searchText = "IMG_", replaceText = "Rome 2025 - ";
  TRun run;
  Clock::time_point typed, last = Clock::now();
  double lastCpu = ThreadCpuMs();
  bool inViewDue = false;
  QObject::connect(&list->NameModel(), &QAbstractItemModel::dataChanged, [&] {
    if (!inViewDue) return;
    inViewDue = false;
    run.inView.push_back(Ms(Clock::now() - typed));
  });
  QTimer tick;
  QObject::connect(&tick, &QTimer::timeout, [&] {
    const Clock::time_point now = Clock::now();
    const double cpu = ThreadCpuMs();
    run.gap = std::max(run.gap, Ms(now - last));
    run.work = std::max(run.work, cpu - lastCpu);
    last = now;
    lastCpu = cpu;
  });
  tick.start(5);
  for (int key = 0; key < kKeystrokes; ++key) {
    const std::size_t at = std::size_t(key) % (searchText.size() + replaceText.size());
    if (at == 0) {
      search->clear();
      replace->clear();
      WaitUntil([&] { return page.PreviewSettled(); });
    }
    const Clock::time_point next = Clock::now() + std::chrono::milliseconds(100);
    last = Clock::now();
    lastCpu = ThreadCpuMs();
    typed = Clock::now();
    inViewDue = true;
    if (at < searchText.size())
      search->insert(QString(QChar(searchText[at])));
    else
      replace->insert(QString(QChar(replaceText[at - searchText.size()])));
    WaitUntil([&] { return page.PreviewSettled(); });
    run.whole.push_back(Ms(Clock::now() - typed));
    // A keystroke the checks refuse leaves the names plain: nothing to time in view.
    inViewDue = false;
    WaitUntil([&] { return Clock::now() >= next; });
  }
  return run;
}

int Report(const char* what, double value, double limit, const char* unit) {
  const bool ok = value < limit;
  std::printf("  %-44s %9.1f %s  target < %.0f %s %s\n", what, value, unit, limit, unit, ok ? "ok" : "SLOW");
  return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("XDG_CONFIG_HOME", (std::filesystem::temp_directory_path() / "vt-bench-preview-config").string().c_str());
  QApplication app(argc, argv);
  const int files = argc > 1 ? std::atoi(argv[1]) : 100000;
  const bool busy = argc > 2 && std::string(argv[2]) == "busy";

  std::string root = TmpfsRoot() + "/vt-bench-preview-XXXXXX";
  if (::mkdtemp(root.data()) == nullptr) return 2;
  MakeFiles(root + "/files", files);

  std::vector<pid_t> spinners;
  if (busy) {
    for (unsigned i = 0; i < std::max(1u, std::thread::hardware_concurrency()); ++i) {
      const pid_t pid = ::fork();
      if (pid == 0)
        for (;;) ::getppid();
      if (pid > 0) spinners.push_back(pid);
    }
  }

  int slow = 0;
  {
    vt::TControlPage page;
    page.resize(620, 320);
    page.show();
    auto* list = Named<vt::TFileListBox>(page, "FileListBox1");
    Named<vt::TFilterDirectoryListBox>(page, "FilterDirectoryListBox1")->SetFolder(root + "/files");
    WaitUntil([&] { return !list->FillPending() && list->count() == files && page.PreviewSettled(); });

    // The heap with the list alone, then with the whole preview of every name renamed.
    page.SetPreviewOn(false);
    const std::size_t without = HeapInUse();
    page.SetPreviewOn(true);
    Named<QLineEdit>(page, "EdSearchFor")->setText("IMG_");
    Named<QLineEdit>(page, "EdReplaceWith")->setText("Rome 2025 - ");
    WaitUntil([&] { return page.PreviewSettled(); });
    const std::size_t with = HeapInUse();
    const vt::TFilePreview* preview = list->NameModel().WholePreview();
    std::printf("-- %d files on %s%s; %zu new names clash\n", files, root.c_str(),
                busy ? ", one busy process per core" : "", preview != nullptr ? preview->Clashes : std::size_t{0});

    const TRun run = Type(page);
    slow += Report("rows in view after a keystroke, p95", Percentile(run.inView, 0.95), 50, "ms");
    std::printf("  %-44s %9.1f ms\n", "rows in view after a keystroke, median", Percentile(run.inView, 0.5));
    slow += Report("whole list and clash count, p95", Percentile(run.whole, 0.95), 1000, "ms");
    slow += Report("longest the window was held", run.gap, 33, "ms");
    std::printf("  %-44s %9.1f ms\n", "longest work of the window thread (its CPU)", run.work);
    slow += Report("preview memory per file", double(with - std::min(with, without)) / files, 120, "bytes");
  }

  for (const pid_t pid : spinners) {
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
  }
  std::error_code ignored;
  std::filesystem::remove_all(root, ignored);
  return slow == 0 ? 0 : 1;
}
