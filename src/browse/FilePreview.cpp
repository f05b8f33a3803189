#include "browse/FilePreview.h"

namespace vt {

void TFilePreview::Reserve(std::size_t rows, std::size_t bytes) {
  Ends_.reserve(rows);
  Marks_.reserve(rows);
  Bytes_.reserve(bytes);
}

void TFilePreview::Add(std::string_view newName, TPreviewMark mark) {
  if (mark != TPreviewMark::Same) Bytes_.append(newName);
  Ends_.push_back(std::uint32_t(Bytes_.size()));
  Marks_.push_back(mark);
}

std::string_view TFilePreview::NewName(std::size_t row) const {
  const std::uint32_t begin = row == 0 ? 0 : Ends_[row - 1];
  return std::string_view(Bytes_).substr(begin, Ends_[row] - begin);
}

}  // namespace vt
