#pragma once
// A typed row as the texts it shows and saves, for comparing.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "passes/ResultRow.h"

namespace vt::test {

// New Name, Path, Status and any more, as many as the row has.
inline std::vector<std::string> SubTexts(const TResultRow& row) {
  std::vector<std::string> texts;
  for (std::size_t column = 1; column <= row.SubCount(); ++column) texts.emplace_back(row.Cell(column));
  return texts;
}

// File first, then the sub-texts.
inline std::vector<std::string> RowTexts(const TResultRow& row) {
  std::vector<std::string> texts{row.OldName};
  for (std::string& text : SubTexts(row)) texts.push_back(std::move(text));
  return texts;
}

// A row as a result file may hold it: File, then any number of sub-texts.
inline TResultRow LoadedRow(std::string file, std::vector<std::string> subs) {
  TResultRow row;
  row.OldName = std::move(file);
  if (subs.size() > 0) row.NewName = subs[0];
  if (subs.size() > 1) row.Folder = std::make_shared<const std::string>(subs[1]);
  auto kept = std::make_shared<TKeptCells>();
  kept->SubCount = subs.size();
  const std::optional<TRenameStatus> status = subs.size() > 2 ? StatusOfText(subs[2]) : std::nullopt;
  if (status)
    row.Status = *status;
  else
    kept->StatusText = subs.size() > 2 ? subs[2] : std::string();
  for (std::size_t i = 3; i < subs.size(); ++i) kept->More.push_back(subs[i]);
  row.Kept = std::move(kept);
  return row;
}

}  // namespace vt::test
