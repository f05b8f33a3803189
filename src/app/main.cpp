// Veltrane: the window program. It keeps no settings; it opens the folder or
// files named on its command line.
#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "app/NoDisplay.h"
#include "app/StartUsage.h"
#include "app/TestDrive.h"
#include "engine/StartArguments.h"
#include "platform/GraphicalSession.h"
#include "platform/Terminal.h"
#include "ui/Form1.h"
#include "ui/OpenPaths.h"
#include "ui/Startup.h"
#include "ui/StopSignalWatcher.h"

namespace {

std::vector<std::string> Arguments(int argc, char* argv[]) { return {argv + 1, argv + argc}; }

// Help and version need no display; other options wait until Qt has taken its own.
std::optional<int> PrintAndLeave(const vt::TStartParse& args) {
  if (!args) return std::nullopt;
  if (args->Action == vt::StartAction::PrintHelp) {
    std::fputs(vt::StartUsageText().c_str(), stdout);
    return 0;
  }
  if (args->Action == vt::StartAction::PrintVersion) {
    std::fputs(vt::StartVersionText().c_str(), stdout);
    return 0;
  }
  return std::nullopt;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (const auto status = PrintAndLeave(vt::ParseStartArguments(Arguments(argc, argv)))) return *status;
  if (!vt::GraphicalSessionNamed()) return vt::ReportNoDisplay();
  // Past ulimit -f a save or a journal fails with EFBIG and says so in a box.
  vt::IgnoreFileSizeSignal();
  std::optional<vt::TNoDisplayGuard> guard(std::in_place);
  QApplication app(argc, argv);
  guard.reset();
  // QApplication has removed the options it understood from argv.
  const vt::TStartParse parsed = vt::ParseStartArguments(Arguments(argc, argv));
  if (!parsed) {
    std::fprintf(stderr, "veltrane: unknown option '%s'\nTry 'veltrane --help'.\n", parsed.Error().Option.c_str());
    return 2;
  }
  const vt::TStartArguments& args = *parsed;
  vt::SetUpApplication(app);
  const vt::TApplicationWindows windows = vt::CreateApplicationWindows();
  const vt::TStopSignalWatcher stopSignals(*windows.Form1);
  windows.Form1->show();
  // Asked once the window is up, before the paths given are opened.
  QTimer::singleShot(0, windows.Form1.get(), [&windows] { windows.Form1->OfferUnfinishedPass(); });
  if (!args.Paths.empty()) {
    for (const std::string& path : vt::PlanOpen(args.Paths, "", vt::PathKindOf).Missing)
      std::fprintf(stderr, "veltrane: %s: no such file or folder\n", path.c_str());
    QTimer::singleShot(0, windows.Form1.get(), [&windows, &args] { vt::OpenPaths(*windows.Form1, args.Paths); });
  }
  vt::StartTestDrive(*windows.Form1);
  return QApplication::exec();
}
