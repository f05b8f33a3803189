#pragma once
// Where a result stream is written: a string in memory or a file through a
// 4096-byte buffer.
#include <array>
#include <cstdio>
#include <string>
#include <string_view>

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

  // Takes over an open file; Close() must be called to learn whether all went out.
  explicit TBufferedFileSink(std::FILE* file);
  ~TBufferedFileSink() override;
  TBufferedFileSink(const TBufferedFileSink&) = delete;
  TBufferedFileSink& operator=(const TBufferedFileSink&) = delete;

  bool Write(std::string_view bytes) override;
  // Flushes the buffer and closes the file; false when any write failed.
  bool Close();

 private:
  bool Flush();
  bool WriteThrough(std::string_view bytes);

  std::FILE* File_;
  std::array<char, kBufferSize> Buffer_{};
  std::size_t Used_ = 0;
  bool Failed_ = false;
};

}  // namespace vt
