#include "results/ByteSink.h"

#include <cstring>

namespace vt {

bool TStringSink::Write(std::string_view bytes) {
  Bytes_.append(bytes);
  return true;
}

bool TBufferedFileSink::Write(std::string_view bytes) {
  if (Error_) return false;
  if (bytes.size() > kBufferSize - Used_) {
    if (!Flush()) return false;
    // A piece that fills the buffer by itself goes out directly, in one write.
    if (bytes.size() >= kBufferSize) return WriteThrough(bytes);
  }
  std::memcpy(Buffer_.data() + Used_, bytes.data(), bytes.size());
  Used_ += bytes.size();
  return true;
}

bool TBufferedFileSink::Flush() {
  const std::size_t used = Used_;
  Used_ = 0;
  return WriteThrough(std::string_view(Buffer_.data(), used));
}

bool TBufferedFileSink::WriteThrough(std::string_view bytes) {
  if (!Error_ && !bytes.empty()) Error_ = File_.Write(bytes);
  return Error_ == 0;
}

}  // namespace vt
