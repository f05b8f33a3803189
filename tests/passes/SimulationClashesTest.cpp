#include <gtest/gtest.h>

#include <cstdint>
#include <set>

#include "passes/SimulationClashes.h"

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
    TClashCheck check([&](const std::string& folder, const std::string&, const std::string& newName) {
      return c.existing.count(folder + newName) > 0;
    });
    for (const auto& row : c.rows) check.Add(row.folder, row.oldName, row.newName);
    EXPECT_EQ(check.FindRows(), c.clashes) << c.what;
    EXPECT_EQ(FailingRows(check.Find()), c.failing) << c.what;
  }
}

TEST(SimulationClashes, ExistenceIsAskedOncePerNewName) {
  int asked = 0;
  TClashCheck check([&](const std::string&, const std::string&, const std::string&) {
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
    const TClashFinder finder(
        c.rows,
        [&](std::size_t row) {
          return TRenameNames{table[row].folder, table[row].oldName, table[row].newName};
        },
        [](const std::string&, const std::string&, const std::string&) { return false; });
    EXPECT_EQ(finder.FindRows(), c.clashes) << c.what;
  }
}

TEST(SimulationClashes, AGroupOfManyRowsNamesItsFirstRowAndAsksWithItsName) {
  // Enough rows that a sort which is not stable would mix a group's order.
  TClashCheck check([](const std::string&, const std::string& oldName, const std::string&) {
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

}  // namespace
}  // namespace vt
