#pragma once
// The new names the file list shows beside its names, row by row in the list's
// order. Packed: a list of 100,000 files costs five bytes a row besides the new
// names' own bytes, and nothing for a name that stays.
#include <QHash>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vt {

enum class TPreviewMark : std::uint8_t {
  Same,     // the name stays: plain look
  Renamed,  // a new name that works
  Clash,    // a new name another row or an existing entry has
  Refused,  // a row the pass would refuse
};

class TFilePreview {
 public:
  void Reserve(std::size_t rows, std::size_t bytes);
  // The next row; newName is ignored for a name that stays.
  void Add(std::string_view newName, TPreviewMark mark);
  std::size_t Size() const { return Marks_.size(); }
  std::string_view NewName(std::size_t row) const;
  TPreviewMark Mark(std::size_t row) const { return Marks_[row]; }
  void SetMark(std::size_t row, TPreviewMark mark) { Marks_[row] = mark; }

  // Why a marked row is marked, by row: only the few rows of a clash or a refusal have one.
  QHash<int, QString> Tips;
  std::size_t Clashes = 0;  // rows marked Clash

 private:
  std::string Bytes_;
  std::vector<std::uint32_t> Ends_;  // of each row's new name in Bytes_
  std::vector<TPreviewMark> Marks_;
};

}  // namespace vt
