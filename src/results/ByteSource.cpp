#include "results/ByteSource.h"

#include <algorithm>
#include <cstring>

namespace vt {

bool TMemorySource::Read(char* dest, std::size_t count) {
  if (count > Bytes_.size() - Position_) {
    Position_ = Bytes_.size();
    return false;
  }
  if (count > 0) std::memcpy(dest, Bytes_.data() + Position_, count);
  Position_ += count;
  return true;
}

bool TMemorySource::Peek(std::uint8_t& byte) {
  if (Position_ >= Bytes_.size()) return false;
  byte = static_cast<std::uint8_t>(Bytes_[Position_]);
  return true;
}

TBufferedFileSource::TBufferedFileSource(std::FILE* file, std::uint64_t size) : File_(file), Size_(size) {
  std::setvbuf(File_, nullptr, _IONBF, 0);
}

std::uint64_t TBufferedFileSource::Remaining() const { return Consumed_ < Size_ ? Size_ - Consumed_ : 0; }

bool TBufferedFileSource::Refill() {
  Begin_ = 0;
  End_ = std::fread(Buffer_.data(), 1, Buffer_.size(), File_);
  return End_ > 0;
}

bool TBufferedFileSource::Read(char* dest, std::size_t count) {
  while (count > 0) {
    if (Begin_ == End_) {
      // A large piece skips the buffer.
      if (count >= kBufferSize) {
        const std::size_t got = std::fread(dest, 1, count, File_);
        Consumed_ += got;
        return got == count;
      }
      if (!Refill()) return false;
    }
    const std::size_t take = std::min(count, End_ - Begin_);
    std::memcpy(dest, Buffer_.data() + Begin_, take);
    Begin_ += take;
    Consumed_ += take;
    dest += take;
    count -= take;
  }
  return true;
}

bool TBufferedFileSource::Peek(std::uint8_t& byte) {
  if (Begin_ == End_ && !Refill()) return false;
  byte = static_cast<std::uint8_t>(Buffer_[Begin_]);
  return true;
}

}  // namespace vt
