#include "platform/StopSignals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>

namespace vt {
namespace {

int gWriteEnd = -1;
int gReadEnd = -1;

extern "C" void NoteStopSignal(int signo) {
  const int saved = errno;
  const auto byte = static_cast<unsigned char>(signo);
  // A full pipe already holds a signal to act on.
  [[maybe_unused]] const ssize_t written = write(gWriteEnd, &byte, 1);
  errno = saved;
}

}  // namespace

int WatchStopSignals() {
  if (gReadEnd >= 0) return gReadEnd;
  int ends[2];
  if (pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) return -1;
  gReadEnd = ends[0];
  gWriteEnd = ends[1];
  struct sigaction action {};
  action.sa_handler = NoteStopSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGHUP, &action, nullptr);
  return gReadEnd;
}

int TakeStopSignal(int fd) {
  int last = 0;
  unsigned char bytes[64];
  for (;;) {
    const ssize_t got = read(fd, bytes, sizeof bytes);
    if (got <= 0) break;
    last = bytes[got - 1];
  }
  return last;
}

}  // namespace vt
