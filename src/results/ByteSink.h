#pragma once
// Where a result stream is written: a string in memory or a file through a
// 4096-byte buffer.
#include <array>
#include <string>
#include <string_view>

#include "platform/ReplacingFile.h"

namespace vt {

class TByteSink {
 public:
  virtual ~TByteSink() = default;
  // False once anything could not be written; later writes are then dropped.
  virtual bool Write(std::string_view bytes) = 0;
  // About how many bytes are coming in all; a hint only.
  virtual void Expect(std::size_t /*bytes*/) {}
};

class TStringSink final : public TByteSink {
 public:
  bool Write(std::string_view bytes) override;
  void Expect(std::size_t bytes) override { Bytes_.reserve(bytes); }
  std::string& Bytes() { return Bytes_; }

 private:
  std::string Bytes_;
};

class TBufferedFileSink final : public TByteSink {
 public:
  static constexpr std::size_t kBufferSize = 4096;

  // Writes into an open file; Flush() must be called to learn whether all went out.
  explicit TBufferedFileSink(TReplacingFile& file) : File_(file) {}
  TBufferedFileSink(const TBufferedFileSink&) = delete;
  TBufferedFileSink& operator=(const TBufferedFileSink&) = delete;

  bool Write(std::string_view bytes) override;
  // Writes out what the buffer holds; false when any write failed.
  bool Flush();
  // The errno of the first failed write, 0 while none failed.
  int Error() const { return Error_; }

 private:
  bool WriteThrough(std::string_view bytes);

  TReplacingFile& File_;
  std::array<char, kBufferSize> Buffer_{};
  std::size_t Used_ = 0;
  int Error_ = 0;
};

}  // namespace vt
