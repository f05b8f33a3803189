#pragma once
// The result table as a model: the typed rows of the window's list. The window
// shows it; passes append to it on the window thread; result files read and
// write it. How it is laid out on screen and in a file is not its concern.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

#include "passes/PassRow.h"
#include "passes/ResultRow.h"
#include "platform/FileIdentity.h"

namespace vt {

// A deque: a table of a million rows grows without moving its rows, and never
// holds the old and the new room at once as a growing vector does.
using TResultRows = std::deque<TResultRow>;

// What the rows of the pass that starts are: a view shows a simulation's apart.
enum class TPassRows : std::uint8_t { Renames, Simulation };

// Told of every change, so that a view can follow the model.
class IResultTableObserver {
 public:
  virtual ~IResultTableObserver() = default;
  virtual void RowsAppended(std::size_t first, std::size_t count) = 0;
  virtual void RowsCleared() = 0;
  virtual void PassRowsStarted(TPassRows /*rows*/) {}
};

class TResultTable {
 public:
  std::size_t RowCount() const { return Rows_.size(); }
  const TResultRow& Row(std::size_t index) const { return Rows_[index]; }
  const TResultRows& Rows() const { return Rows_; }
  void AppendRow(TResultRow row);
  // Many rows at once, told to the observer as one append.
  void AppendRows(std::vector<TResultRow> rows);
  // Rows of a pass, told to the observer as one append.
  void AppendRows(std::span<const TPassRow> rows);
  // A row of four texts (TResultRow::FromTexts).
  void AppendRow(std::string_view file, std::string_view newName, std::string_view path, std::string_view status);
  void Clear();

  // A pass starts whose rows are of this kind; told to the observer each time.
  void StartPassRows(TPassRows rows);

  void SetObserver(IResultTableObserver* observer) { Observer_ = observer; }

  // The files of the rows, where a journal recorded them (by row); Recover
  // goes by them to tell a file already back under its old name.
  void SetIdentities(std::vector<std::optional<TFileIdentity>> identities) { Identities_ = std::move(identities); }
  std::optional<TFileIdentity> IdentityOf(std::size_t row) const {
    return row < Identities_.size() ? Identities_[row] : std::nullopt;
  }

 private:
  TResultRows Rows_;
  std::vector<std::optional<TFileIdentity>> Identities_;
  IResultTableObserver* Observer_ = nullptr;
};

}  // namespace vt
