#pragma once
// Where a result stream is read from: bytes in memory or a file through a
// 4096-byte buffer. Both know how many bytes are left, so that no length read
// from the stream makes the reader allocate more than the input can hold.
#include <array>
#include <cstdint>
#include <cstdio>
#include <string_view>

namespace vt {

class TByteSource {
 public:
  virtual ~TByteSource() = default;
  // Fills all of dest, or returns false when the input ends first.
  virtual bool Read(char* dest, std::size_t count) = 0;
  // The next byte without taking it; false at the end of the input.
  virtual bool Peek(std::uint8_t& byte) = 0;
  // An upper bound of the bytes still to come.
  virtual std::uint64_t Remaining() const = 0;
};

class TMemorySource final : public TByteSource {
 public:
  explicit TMemorySource(std::string_view bytes) : Bytes_(bytes) {}
  bool Read(char* dest, std::size_t count) override;
  bool Peek(std::uint8_t& byte) override;
  std::uint64_t Remaining() const override { return Bytes_.size() - Position_; }

 private:
  std::string_view Bytes_;
  std::size_t Position_ = 0;
};

class TBufferedFileSource final : public TByteSource {
 public:
  static constexpr std::size_t kBufferSize = 4096;

  // Reads an open file of the given size; does not close it.
  TBufferedFileSource(std::FILE* file, std::uint64_t size);
  bool Read(char* dest, std::size_t count) override;
  bool Peek(std::uint8_t& byte) override;
  std::uint64_t Remaining() const override;

 private:
  bool Refill();

  std::FILE* File_;
  std::uint64_t Size_;
  std::uint64_t Consumed_ = 0;
  std::array<char, kBufferSize> Buffer_{};
  std::size_t Begin_ = 0;
  std::size_t End_ = 0;
};

}  // namespace vt
