#pragma once
// Finding the clash marks of a table a slice at a time: at a million rows the
// look takes seconds, and the window must keep answering meanwhile.
#include <QHash>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "passes/SimulationClashes.h"

namespace vt {

class TResultTable;

// The tooltip of a clashing row: its new name is taken by an existing entry, or
// is also the new name of the row named otherOldName. The file list's preview says the same.
QString ClashTipText(std::string_view newName, bool withExisting, std::string_view otherOldName);

// Of the renames at the rows given (ascending): those whose new name is the old
// name of another of them in their folder (case aside), which wait unless
// renames make room for each other; as CountWaitingRenames counts them.
std::size_t CountWaitingRows(const TResultTable& table, std::span<const std::uint32_t> renames);

// Looks at the table's own rows: whoever runs it must drop it before the table
// changes.
class TClashMarksLook {
 public:
  // order: that of the pass that made the table.
  explicit TClashMarksLook(const TResultTable& table, TNameTakenCheck taken = {},
                           TClashOrder order = TClashOrder::Grouped);

  // Works on for at most steps (a row looked at, a name asked, a mark made);
  // true once all the marks are made.
  bool Step(std::size_t steps);
  // The tips of the marked rows, by row; once done.
  QHash<int, QString> TakeTips() { return std::move(Tips_); }
  // Of a pass whose renames did not make room for each other: the rows whose
  // new name is the old name of another row of their folder; once done.
  std::size_t Waiting() const { return Waiting_; }

 private:
  enum class TPhase : std::uint8_t { Collect, Find, Tips, Done };

  void CollectRow(std::size_t row);
  void MakeTip(std::size_t clash);

  const TResultTable& Table_;
  TNameTakenCheck Taken_;
  TClashOrder Order_;
  std::size_t Waiting_ = 0;
  TPhase Phase_ = TPhase::Collect;
  std::size_t Done_ = 0;  // of the current phase's items
  std::vector<std::uint32_t> Renames_;
  std::optional<TClashFinder> Finder_;
  QHash<int, QString> Tips_;
};

}  // namespace vt
