#pragma once
// The kernel's own refusal of a write part-way: a file-size limit for this
// process, with SIGXFSZ ignored so that the write fails with EFBIG instead of
// ending the test. Both are restored when it goes.
#include <signal.h>
#include <sys/resource.h>

namespace vt::test {

class TFileSizeLimit {
 public:
  explicit TFileSizeLimit(rlim_t bytes) {
    if (::getrlimit(RLIMIT_FSIZE, &saved_) != 0) return;
    rlimit small = saved_;
    small.rlim_cur = bytes;
    handler_ = ::signal(SIGXFSZ, SIG_IGN);
    applied_ = ::setrlimit(RLIMIT_FSIZE, &small) == 0;
  }
  ~TFileSizeLimit() { Lift(); }
  TFileSizeLimit(const TFileSizeLimit&) = delete;
  TFileSizeLimit& operator=(const TFileSizeLimit&) = delete;

  bool Applied() const { return applied_; }
  void Lift() {
    if (!applied_) return;
    ::setrlimit(RLIMIT_FSIZE, &saved_);
    ::signal(SIGXFSZ, handler_);
    applied_ = false;
  }

 private:
  rlimit saved_{};
  sighandler_t handler_ = SIG_DFL;
  bool applied_ = false;
};

}  // namespace vt::test
