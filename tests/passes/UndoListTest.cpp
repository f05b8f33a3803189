// The compact list a recover works from gives back every row as it was added,
// however many rows it grew to since and wherever their folders repeat.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "passes/UndoList.h"

namespace vt {
namespace {

struct TOwnedRow {
  std::string Path, NewName, OldName;
  std::optional<TRenameStatus> Status;
  TPathTexts Texts = TPathTexts::MayBeCut;
  std::optional<TFileIdentity> Identity;
};

void ExpectRow(const TUndoList& list, std::size_t i, const TOwnedRow& want) {
  SCOPED_TRACE(i);
  const TUndoList::TRow got = list[i];
  EXPECT_EQ(got.Path, want.Path);
  EXPECT_EQ(list.Path(i), want.Path);
  EXPECT_EQ(got.NewFileName, want.NewName);
  EXPECT_EQ(got.OldFileName, want.OldName);
  EXPECT_EQ(got.Status, want.Status);
  EXPECT_EQ(got.Texts, want.Texts);
  EXPECT_EQ(got.Identity, want.Identity);
  // A system call takes the names as they are.
  EXPECT_EQ(got.NewFileName.data()[got.NewFileName.size()], '\0');
  EXPECT_EQ(got.OldFileName.data()[got.OldFileName.size()], '\0');
}

TEST(UndoList, GivesBackEveryRowAsAdded) {
  const TFileIdentity file{7, 42, 3, -5, 0100644};
  const std::vector<TOwnedRow> cases = {
      {"/a/", "new.txt", "old.txt", TRenameStatus::rsOk, TPathTexts::Whole, file},
      {"/a/", "", "", std::nullopt, TPathTexts::MayBeCut, std::nullopt},  // empty names and a status text unknown
      {"/b/", "x", "y", TRenameStatus::rsError, TPathTexts::MayBeCut, std::nullopt},
      {"/a/", std::string(300, 'n'), std::string("a\0b", 3), TRenameStatus::rsCanBeRenamed, TPathTexts::Whole,
       TFileIdentity{}},
      {"/b/", "same", "same", TRenameStatus::rsNoChange, TPathTexts::Whole, file},
      {"", "p", "q", TRenameStatus::rsFileNotFound, TPathTexts::MayBeCut, std::nullopt},
  };
  TUndoList list;
  for (const TOwnedRow& row : cases)
    list.Add({row.Path, row.NewName, row.OldName, row.Status, row.Texts, row.Identity});
  ASSERT_EQ(list.size(), cases.size());
  for (std::size_t i = 0; i < cases.size(); ++i) ExpectRow(list, i, cases[i]);
  // Moved, it still gives them: its folders are looked up by views of its own.
  const TUndoList moved = std::move(list);
  for (std::size_t i = 0; i < cases.size(); ++i) ExpectRow(moved, i, cases[i]);
}

TEST(UndoList, TextsStayWhereTheyAreWhileItGrows) {
  TUndoList list;
  constexpr std::size_t kRows = 60000;  // several blocks of names, folders taken turn about
  const auto row = [](std::size_t i) {
    return TOwnedRow{"/folder" + std::to_string(i % 3) + "/",
                     "new-" + std::to_string(i) + std::string(i % 50, 'n'),
                     "old-" + std::to_string(i),
                     TRenameStatus::rsOk,
                     TPathTexts::Whole,
                     i % 2 != 0 ? std::optional<TFileIdentity>(TFileIdentity{1, i, i, 0, 0}) : std::nullopt};
  };
  list.Add({"/folder0/", "first", "zero", TRenameStatus::rsOk, TPathTexts::Whole, std::nullopt});
  const std::string_view firstName = list.NewFileName(0);
  const std::string_view firstPath = list.Path(0);
  for (std::size_t i = 1; i < kRows; ++i) {
    const TOwnedRow made = row(i);
    list.Add({made.Path, made.NewName, made.OldName, made.Status, made.Texts, made.Identity});
  }
  EXPECT_EQ(firstName, "first");
  EXPECT_EQ(firstName.data(), list.NewFileName(0).data());
  EXPECT_EQ(firstPath.data(), list.Path(0).data());
  for (const std::size_t i : {std::size_t{1}, std::size_t{2}, std::size_t{3}, kRows / 2, kRows - 1})
    ExpectRow(list, i, row(i));
  list.Clear();
  EXPECT_TRUE(list.empty());
}

}  // namespace
}  // namespace vt
