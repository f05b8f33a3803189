#include "cli/OutputBuffer.h"

namespace vt {

bool TOutputBuffer::Flush() {
  if (!Failed_ && !Text_.empty()) {
    if (std::fwrite(Text_.data(), 1, Text_.size(), Stream_) != Text_.size()) Failed_ = true;
    if (!Failed_ && std::fflush(Stream_) != 0) Failed_ = true;
  }
  Text_.clear();
  return !Failed_;
}

}  // namespace vt
