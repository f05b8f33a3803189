#include "results/ByteSink.h"

#include <cstring>

namespace vt {

bool TStringSink::Write(std::string_view bytes) {
  Bytes_.append(bytes);
  return true;
}

TBufferedFileSink::TBufferedFileSink(std::FILE* file) : File_(file) {
  // This buffer is the only one: the C library's own would copy every byte again.
  if (File_) std::setvbuf(File_, nullptr, _IONBF, 0);
}

TBufferedFileSink::~TBufferedFileSink() { Close(); }

bool TBufferedFileSink::Write(std::string_view bytes) {
  if (Failed_ || !File_) return false;
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
  if (Failed_) return false;
  if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), File_) != bytes.size())
    Failed_ = true;
  return !Failed_;
}

bool TBufferedFileSink::Close() {
  if (!File_) return !Failed_;
  if (!Failed_) Flush();
  if (std::fclose(File_) != 0) Failed_ = true;
  File_ = nullptr;
  return !Failed_;
}

}  // namespace vt
