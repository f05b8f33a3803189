#pragma once
// Text for a standard stream, collected and written in large pieces: a pass of
// many rows must not pay a system call per row.
#include <cstdio>
#include <string>
#include <string_view>

namespace vt {

class TOutputBuffer {
 public:
  explicit TOutputBuffer(std::FILE* stream) : Stream_(stream) {}
  ~TOutputBuffer() { Flush(); }
  TOutputBuffer(const TOutputBuffer&) = delete;
  TOutputBuffer& operator=(const TOutputBuffer&) = delete;

  // The buffer to append to; call Written() after appending.
  std::string& Text() { return Text_; }
  void Written() {
    if (Text_.size() >= kChunk) Flush();
  }
  void Write(std::string_view text) {
    Text_.append(text);
    Written();
  }
  // Writes what is pending; false once any write has failed (later text is dropped).
  bool Flush();
  bool Failed() const { return Failed_; }

 private:
  static constexpr std::size_t kChunk = 1 << 16;
  std::FILE* Stream_;
  std::string Text_;
  bool Failed_ = false;
};

}  // namespace vt
