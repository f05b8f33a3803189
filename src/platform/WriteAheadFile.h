#pragma once
// Appends to a TAppendFile made on a thread of their own, so that the caller
// carries on while the bytes go to the disk. Appends keep the order they were
// queued in; bytes queued while an append is under way go out together in the
// next one, so one fdatasync serves them all.
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include "platform/AppendFile.h"

namespace vt {

class TWriteAheadFile {
 public:
  // Stands for the bytes of one Queue and everything queued before them.
  using TTicket = std::uint64_t;

  // file stays open while this lives.
  explicit TWriteAheadFile(TAppendFile& file);
  // Appends what is still queued, then ends the thread.
  ~TWriteAheadFile();
  TWriteAheadFile(const TWriteAheadFile&) = delete;
  TWriteAheadFile& operator=(const TWriteAheadFile&) = delete;

  TTicket Queue(std::string_view bytes);
  // Without waiting: the bytes of ticket are in the file, as its durability asks.
  bool Written(TTicket ticket);
  // Waits until they are: 0, or the errno of the first append that failed
  // before them (nothing is appended after a failure).
  int Await(TTicket ticket);

 private:
  void Run();

  TAppendFile& File_;
  std::mutex Mutex_;
  std::condition_variable Changed_;
  std::string Queued_;
  TTicket Last_ = 0;     // of the newest Queue
  TTicket Written_ = 0;  // every ticket up to this one is in the file
  int Error_ = 0;
  bool Ending_ = false;
  std::thread Thread_;  // last: started once the rest is there
};

}  // namespace vt
