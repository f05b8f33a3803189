#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <set>
#include <string_view>
#include <utility>

#include "passes/SimulationClashes.h"
#include "platform/NameTaken.h"
#include "support/TempFolder.h"

namespace vt {
namespace {

struct TRow {
  std::string folder, oldName, newName;
};

struct ClashCase {
  const char* what;
  std::vector<TRow> rows;
  std::set<std::string> existing;  // folder + new name taken by another entry
  std::vector<TRowClash> clashes;
  std::size_t failing;
};

TEST(SimulationClashes, RowsSharingANewNameOrMeetingAnExistingOne) {
  const ClashCase cases[] = {
      {"no rows", {}, {}, {}, 0},
      {"distinct names", {{"/d/", "a", "A"}, {"/d/", "b", "B"}}, {}, {}, 0},
      {"two rows, one name",
       {{"/d/", "IMG_1.JPG", "IMG.JPG"}, {"/d/", "IMG_2.JPG", "IMG.JPG"}},
       {},
       {{0, false, 1}, {1, false, 0}},
       1},
      {"three rows: each names the first other",
       {{"/d/", "x1", "x"}, {"/d/", "y", "y2"}, {"/d/", "x2", "x"}, {"/d/", "x3", "x"}},
       {},
       {{0, false, 2}, {2, false, 0}, {3, false, 0}},
       2},
      {"one name in two folders is no clash", {{"/d/", "a1", "a"}, {"/e/", "a2", "a"}}, {}, {}, 0},
      {"taken by a file", {{"/d/", "a", "b"}, {"/d/", "c", "d"}}, {"/d/b"}, {{0, true, 0}}, 1},
      {"taken and shared: every row fails",
       {{"/d/", "a1", "a"}, {"/d/", "a2", "a"}},
       {"/d/a"},
       {{0, true, 0}, {1, true, 0}},
       2},
      {"names are compared as bytes", {{"/d/", "a", "X"}, {"/d/", "b", "x"}}, {}, {}, 0},
      {"a folder met again after another",
       {{"/d/", "a1", "a"}, {"/e/", "b", "c"}, {"/d/", "a2", "a"}},
       {},
       {{0, false, 2}, {2, false, 0}},
       1},
  };
  for (const auto& c : cases) {
    TClashCheck check([&](std::string_view folder, std::string_view, std::string_view newName) {
      return c.existing.count(std::string(folder) + std::string(newName)) > 0;
    });
    for (const auto& row : c.rows) check.Add(row.folder, row.oldName, row.newName);
    EXPECT_EQ(check.FindRows(), c.clashes) << c.what;
    EXPECT_EQ(FailingRows(check.Find()), c.failing) << c.what;
  }
}

TEST(SimulationClashes, ExistenceIsAskedOncePerNewName) {
  int asked = 0;
  TClashCheck check([&](std::string_view, std::string_view, std::string_view) {
    ++asked;
    return false;
  });
  for (int i = 0; i < 5; ++i) check.Add("/d/", "f" + std::to_string(i), "same");
  check.Add("/d/", "g", "other");
  EXPECT_EQ(check.FindRows().size(), 5u);
  EXPECT_EQ(asked, 2);
}

// The window's finder looks at some rows of a table it does not copy.
struct FinderCase {
  const char* what;
  std::vector<std::uint32_t> rows;  // the rows looked at
  std::vector<TRowClash> clashes;
};

TEST(SimulationClashes, OnlyTheRowsGivenAreLookedAtAndKeepTheirNumbers) {
  const std::vector<TRow> table = {
      {"/d/", "a1", "a"}, {"/d/", "a2", "a"}, {"/d/", "b", "c"}, {"/d/", "a3", "a"}, {"/e/", "a4", "a"},
  };
  const FinderCase cases[] = {
      {"none", {}, {}},
      {"all", {0, 1, 2, 3, 4}, {{0, false, 1}, {1, false, 0}, {3, false, 0}}},
      {"a row left out clashes with none", {0, 2, 3}, {{0, false, 3}, {3, false, 0}}},
      {"one row of a name is no clash", {1, 2, 4}, {}},
  };
  for (const auto& c : cases) {
    TClashFinder finder(
        c.rows,
        [&](std::size_t row) {
          return TRenameNames{table[row].folder, table[row].oldName, table[row].newName};
        },
        [](std::string_view, std::string_view, std::string_view) { return false; });
    EXPECT_EQ(finder.FindRows(), c.clashes) << c.what;
  }
}

TEST(SimulationClashes, AGroupOfManyRowsNamesItsFirstRowAndAsksWithItsName) {
  // Enough rows that a sort which is not stable would mix a group's order.
  TClashCheck check([](std::string_view, std::string_view oldName, std::string_view) {
    EXPECT_TRUE(oldName == "x0" || oldName == "y0") << oldName;
    return false;
  });
  for (int i = 0; i < 60; ++i) check.Add("/d/", (i % 2 ? "y" : "x") + std::to_string(i / 2), i % 2 ? "y" : "x");
  const std::vector<TRowClash> rows = check.FindRows();
  ASSERT_EQ(rows.size(), 60u);
  for (const TRowClash& row : rows) {
    const std::size_t first = row.Row % 2;  // x0 is row 0, y0 row 1
    EXPECT_EQ(row.OtherRow, row.Row == first ? first + 2 : first) << row.Row;
  }
}

// A table mixing every kind of row: shared names, taken names, names met in
// two folders, rows left out.
std::vector<TRow> MixedTable(std::size_t rows) {
  std::vector<TRow> table;
  for (std::size_t i = 0; i < rows; ++i) {
    const std::string folder = i % 7 == 3 ? "/e/" : "/d/";
    table.push_back({folder, "f" + std::to_string(i), "n" + std::to_string(i % 5 == 0 ? i / 10 : i)});
  }
  return table;
}

TEST(SimulationClashes, AFinderDoneStepByStepFindsWhatItFindsInOneGo) {
  // Sizes around the steps taken at a time, so that every phase ends inside a
  // slice, at its edge and just past it.
  const std::size_t steps[] = {1, 2, 3, 8};
  const std::size_t sizes[] = {0, 1, 2, 7, 8, 9, 15, 16, 17, 64};
  for (const std::size_t size : sizes) {
    const std::vector<TRow> table = MixedTable(size);
    std::vector<std::uint32_t> rows;
    for (std::uint32_t i = 0; i < size; ++i)
      if (i % 11 != 4) rows.push_back(i);
    const auto namesOf = [&](std::size_t row) {
      return TRenameNames{table[row].folder, table[row].oldName, table[row].newName};
    };
    int asked = 0;
    const auto taken = [&](std::string_view folder, std::string_view, std::string_view name) {
      ++asked;
      return folder == "/d/" && name.size() > 1 && name[1] == '3';
    };
    const std::vector<TRowClash> whole = TClashFinder(rows, namesOf, taken).FindRows();
    const int askedInOneGo = std::exchange(asked, 0);
    for (const std::size_t step : steps) {
      TClashFinder finder(rows, namesOf, taken);
      std::size_t slices = 1;
      while (!finder.Step(step)) ++slices;
      EXPECT_EQ(finder.RowClashes(), whole) << size << " rows, " << step << " at a time";
      EXPECT_EQ(std::exchange(asked, 0), askedInOneGo) << size << " rows, " << step << " at a time";
      // Rows grouped, names asked, rows looked at: each a step, none idle.
      const std::size_t work = 2 * rows.size() + std::size_t(askedInOneGo);
      EXPECT_EQ(slices, std::max<std::size_t>(1, (work + step - 1) / step)) << size << " rows, " << step;
    }
    if (size == 64) {
      EXPECT_GT(whole.size(), 10u);  // the table has clashes of each kind
    }
  }
}

TEST(SimulationClashes, ManyNamesAndOneLongGroup) {
  TClashCheck check([](std::string_view, std::string_view, std::string_view) { return false; });
  for (int i = 0; i < 500; ++i) check.Add("/d/", "a" + std::to_string(i), i % 2 ? "same" : "n" + std::to_string(i));
  const std::vector<TRowClash> rows = check.FindRows();
  ASSERT_EQ(rows.size(), 250u);
  EXPECT_EQ(rows.front(), (TRowClash{1, false, 3}));
  EXPECT_EQ(rows.back(), (TRowClash{499, false, 1}));
  const std::vector<TClash> clashes = check.Find();
  ASSERT_EQ(clashes.size(), 1u);
  EXPECT_EQ(clashes[0].Rows, 250u);
}

// Renames done one after another, as a pass whose renames make room for each
// other does them: the rows come in the order of its plan.
TEST(SimulationClashes, RenamesInOrderFindFreeWhatEarlierRowsLeft) {
  struct Case {
    const char* what;
    std::vector<TRow> rows;
    std::set<std::string> existing;  // folder + name held now (the pass's own old names too)
    std::vector<TRowClash> clashes;
    std::size_t failing;
    std::size_t waiting;  // rows whose new name is another row's old name
  };
  const Case cases[] = {
      {"a shift, its end first",
       {{"/d/", "3", "4"}, {"/d/", "2", "3"}, {"/d/", "1", "2"}},
       {"/d/1", "/d/2", "/d/3"},
       {},
       0,
       2},
      {"a shift in the wrong order fails where the name is still held",
       {{"/d/", "1", "2"}, {"/d/", "2", "3"}},
       {"/d/1", "/d/2"},
       {{0, true, 0}},
       1,
       1},
      {"a swap through a temporary name",
       {{"/d/", "a", ".t"}, {"/d/", "b", "a"}, {"/d/", ".t", "b"}},
       {"/d/a", "/d/b"},
       {},
       0,
       3},
      {"a name an earlier row took", {{"/d/", "a", "x"}, {"/d/", "b", "x"}}, {"/d/a", "/d/b"}, {{1, false, 0}}, 1, 0},
      {"held by a file the pass leaves: the rename waiting for it fails too",
       {{"/d/", "2", "3"}, {"/d/", "1", "2"}},
       {"/d/1", "/d/2", "/d/3"},
       {{0, true, 0}, {1, true, 0}},
       2,
       1},
      {"a change of case keeps its own name", {{"/d/", "a", "A"}}, {"/d/a", "/d/A"}, {}, 0, 0},
      {"a name left in one folder is not free in another",
       {{"/d/", "a", "z"}, {"/e/", "b", "a"}},
       {"/d/a", "/e/a", "/e/b"},
       {{1, true, 0}},
       1,
       0},
  };
  for (const auto& c : cases) {
    TClashCheck check([&](std::string_view folder, std::string_view, std::string_view newName) {
      return c.existing.count(std::string(folder) + std::string(newName)) > 0;
    });
    for (const auto& row : c.rows) check.Add(row.folder, row.oldName, row.newName);
    EXPECT_EQ(check.FindRowsInOrder(), c.clashes) << c.what;
    EXPECT_EQ(FailingRows(check.FindInOrder()), c.failing) << c.what;
    EXPECT_EQ(check.WaitingRenames(), c.waiting) << c.what;
  }
}

std::uint64_t OneHashForAll(std::string_view) { return 7; }
bool AlwaysExact(const TFolderHandle&) { return true; }
bool NeverExact(const TFolderHandle&) { return false; }

// A real folder, asked about often enough that its names are read: the clashes
// found are those a look at each name finds, whether a name missing from the
// reading is taken as free (exact names), its hash is shared by every name (each
// found name looked up), or the folder folds case (every name looked up).
TEST(SimulationClashes, AFolderReadForItsNamesFindsWhatLooksFind) {
  test::TTempFolder dir;
  const std::string folder = dir.Folder();
  for (const char* name : {"a", "b", "c", "taken", "sub/x"}) dir.WriteFile(name);
  std::vector<TRow> rows;
  // Enough free new names first that the folder is read before the rest is asked.
  for (std::uint32_t i = 0; i < TNameTakenLook::kLooksBeforeReading + 4; ++i)
    rows.push_back({folder, "a", "new-" + std::to_string(i)});
  const std::size_t first = rows.size();
  rows.insert(rows.end(), {{folder, "a", "taken"},
                           {folder, "b", "sub"},
                           {folder, "c", "Taken"},
                           {folder, "b", "c"},
                           {folder, "c", "d"},
                           {folder, "a", "d"}});
  const auto row = [first](std::size_t i) { return std::uint32_t(first + i); };
  const struct {
    const char* how;
    TNameLookWays ways;
  } ways[] = {{"exact", {AlwaysExact, HashOfName}},
              {"exact, every hash alike", {AlwaysExact, OneHashForAll}},
              {"folding case", {NeverExact, HashOfName}}};
  const std::vector<TRowClash> grouped = {
      {row(0), true, 0}, {row(1), true, 0}, {row(3), true, 0}, {row(4), false, row(5)}, {row(5), false, row(4)}};
  // In order "c" is left before "b" takes it, and "d" is taken by the row before;
  // "Taken" differs from "taken" by case only, which the walk folds, and is free.
  const std::vector<TRowClash> inOrder = {{row(0), true, 0}, {row(1), true, 0}, {row(5), false, row(4)}};
  for (const auto& way : ways) {
    SCOPED_TRACE(way.how);
    const auto look = std::make_shared<TNameTakenLook>(way.ways);
    TClashCheck check([look](std::string_view in, std::string_view oldName, std::string_view newName) {
      return look->Taken(in, oldName, newName);
    });
    for (const TRow& r : rows) check.Add(r.folder, r.oldName, r.newName);
    EXPECT_EQ(check.FindRows(), grouped);
    const auto lookInOrder = std::make_shared<TNameTakenLook>(way.ways);
    TClashCheck ordered([lookInOrder](std::string_view in, std::string_view oldName, std::string_view newName) {
      return lookInOrder->Taken(in, oldName, newName);
    });
    for (const TRow& r : rows) ordered.Add(r.folder, r.oldName, r.newName);
    EXPECT_EQ(ordered.FindRowsInOrder(), inOrder);
  }
}

}  // namespace
}  // namespace vt
