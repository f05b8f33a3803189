#include "platform/Terminal.h"

#include <signal.h>
#include <unistd.h>

#include <atomic>

namespace vt {

namespace {

constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};

std::atomic<int> Interrupts{0};
std::atomic<int> FirstSignal{0};
static_assert(std::atomic<int>::is_always_lock_free);

void OnInterrupt(int signo) {
  int none = 0;
  FirstSignal.compare_exchange_strong(none, signo);
  if (Interrupts.fetch_add(1) >= 1) {
    signal(signo, SIG_DFL);
    raise(signo);
  }
}

}  // namespace

bool IsTerminal(TStandardStream stream) {
  switch (stream) {
    case TStandardStream::Input: return isatty(STDIN_FILENO) == 1;
    case TStandardStream::Output: return isatty(STDOUT_FILENO) == 1;
    case TStandardStream::Error: return isatty(STDERR_FILENO) == 1;
  }
  return false;
}

void InstallInterruptHandler() {
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (const int signo : kStopSignals) sigaction(signo, &action, nullptr);
}

bool InterruptRequested() { return Interrupts.load() > 0; }

int InterruptSignal() { return FirstSignal.load(); }

void IgnoreBrokenPipe() { signal(SIGPIPE, SIG_IGN); }

void IgnoreFileSizeSignal() { signal(SIGXFSZ, SIG_IGN); }

}  // namespace vt
