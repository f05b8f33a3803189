#include "platform/WriteAheadFile.h"

#include <utility>

namespace vt {

TWriteAheadFile::TWriteAheadFile(TAppendFile& file) : File_(file), Thread_([this] { Run(); }) {}

TWriteAheadFile::~TWriteAheadFile() {
  {
    const std::lock_guard lock(Mutex_);
    Ending_ = true;
  }
  Changed_.notify_all();
  Thread_.join();
}

TWriteAheadFile::TTicket TWriteAheadFile::Queue(std::string_view bytes) {
  TTicket ticket = 0;
  {
    const std::lock_guard lock(Mutex_);
    Queued_.append(bytes);
    ticket = ++Last_;
  }
  Changed_.notify_all();
  return ticket;
}

bool TWriteAheadFile::Written(TTicket ticket) {
  const std::lock_guard lock(Mutex_);
  return Written_ >= ticket;
}

int TWriteAheadFile::Await(TTicket ticket) {
  std::unique_lock lock(Mutex_);
  Changed_.wait(lock, [&] { return Written_ >= ticket || Error_ != 0; });
  return Written_ >= ticket ? 0 : Error_;
}

void TWriteAheadFile::Run() {
  std::string writing;
  for (;;) {
    TTicket ticket = 0;
    {
      std::unique_lock lock(Mutex_);
      Changed_.wait(lock, [&] { return !Queued_.empty() || Ending_; });
      if (Queued_.empty()) return;
      writing.swap(Queued_);
      ticket = Last_;
      if (Error_ != 0) {
        // The journal has a gap from here on: nothing after it may look written.
        Queued_.clear();
        writing.clear();
        continue;
      }
    }
    const int error = File_.Append(writing);
    writing.clear();
    {
      const std::lock_guard lock(Mutex_);
      if (error == 0)
        Written_ = ticket;
      else
        Error_ = error;
    }
    Changed_.notify_all();
  }
}

}  // namespace vt
