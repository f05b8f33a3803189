#include "platform/Terminal.h"

#include <signal.h>
#include <unistd.h>

#include <atomic>

namespace vt {

namespace {

std::atomic<int> Interrupts{0};
static_assert(std::atomic<int>::is_always_lock_free);

void OnInterrupt(int) {
  if (Interrupts.fetch_add(1) >= 1) {
    signal(SIGINT, SIG_DFL);
    raise(SIGINT);
  }
}

}  // namespace

bool IsTerminal(TStandardStream stream) {
  return isatty(stream == TStandardStream::Output ? STDOUT_FILENO : STDERR_FILENO) == 1;
}

void InstallInterruptHandler() {
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGINT, &action, nullptr);
}

bool InterruptRequested() { return Interrupts.load() > 0; }

void IgnoreBrokenPipe() { signal(SIGPIPE, SIG_IGN); }

}  // namespace vt
