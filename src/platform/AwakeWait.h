#pragma once
// A synchronised call is answered within microseconds while both threads are
// awake; sleeping and being woken for each one costs far more. Each side of a
// hand-over waits awake for a short while before it sleeps.
#include <chrono>
#include <thread>

namespace vt {

inline constexpr std::chrono::microseconds kAwakeWait{40};

inline void Relax(int round) {
#if defined(__x86_64__) || defined(__i386__)
  if (round < 64) {
    __builtin_ia32_pause();
    return;
  }
#endif
  (void)round;
  std::this_thread::yield();  // let a thread waiting for a core run
}

// True as soon as ready() holds; false when it still does not after the wait.
template <typename Ready>
bool AwaitAwake(Ready ready, std::chrono::microseconds wait = kAwakeWait) {
  const auto until = std::chrono::steady_clock::now() + wait;
  for (int round = 0;; ++round) {
    if (ready()) return true;
    if ((round & 15) == 15 && std::chrono::steady_clock::now() >= until) return false;
    Relax(round);
  }
}

}  // namespace vt
