#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "passes/PassTestSupport.h"
#include "platform/FileIdentity.h"
#include "platform/SysCalls.h"
#include "support/InodeFlags.h"
#include "support/RowTexts.h"

namespace vt::test {
namespace {

class UndoThreadTest : public ::testing::Test {
 protected:
  void AddRow(const std::string& file, const std::string& newName, const std::string& status) {
    Owner.Table.AppendRow(file, newName, Tree.Root(), status);
  }
  void Run() { RunUndo(Owner); }
  // A folder inside the tree whose path, with its final "/", is `size` bytes long.
  std::string FolderOfPathSize(std::size_t size) {
    std::string path = Tree.Root();
    while (path.size() < size) {
      const std::size_t rest = size - path.size() - 1;
      const std::size_t part = rest > 255 ? 150 : rest;  // a name holds 255 bytes at most
      path += std::string(part, 'd') + "/";
    }
    std::filesystem::create_directories(path);
    return path;
  }

  TTempTree Tree;
  TTestOwner Owner;
};

// Every kind of row the table can hold, one recover row each, in row order.
TEST_F(UndoThreadTest, RecoverRowForEveryKindOfRow) {
  struct Case {
    TRowTexts Read;
    std::vector<std::string> Before;  // files present before, their content is their name
    TRowTexts Expected;               // Path is the tree's root in both
    std::vector<std::string> After;   // files present after (content: the name they had before)
  };
  const std::vector<Case> cases = {
      {{"a.txt", "b.txt", "", "Ok"}, {"b.txt"}, {"b.txt", "a.txt", "", "Ok"}, {"a.txt"}},
      {{"c.txt", "d.txt", "", "Error"}, {"c.txt"}, {"c.txt", "", "", "No change"}, {"c.txt"}},
      {{"e.txt", "f.txt", "", "Ok"}, {}, {"f.txt", "", "", "File not found"}, {}},
      {{"g.txt", "g.txt", "", "Ok"}, {"g.txt"}, {"g.txt", "", "", "No change"}, {"g.txt"}},
      {{"h.txt", "i.txt", "", "Ok"}, {"h.txt", "i.txt"}, {"i.txt", "", "", "Error"}, {"h.txt", "i.txt"}},
      {{"j.txt", "k.txt", "", "OK"}, {"k.txt"}, {"j.txt", "", "", "No change"}, {"k.txt"}},
      {{"l.txt", "m.txt", "", "ok"}, {"m.txt"}, {"l.txt", "", "", "No change"}, {"m.txt"}},
      {{"n.txt", "o.txt", "", "Can be renamed"}, {"n.txt"}, {"n.txt", "", "", "No change"}, {"n.txt"}},
      {{"p.txt", "", "", "No Match"}, {"p.txt"}, {"p.txt", "", "", "No change"}, {"p.txt"}},
      {{"q.txt", "r.txt", "", "Ok "}, {"r.txt"}, {"q.txt", "", "", "No change"}, {"r.txt"}},
  };
  for (const Case& c : cases) {
    for (const std::string& name : c.Before) Tree.File(name, name);
    AddRow(c.Read.File, c.Read.NewName, c.Read.Status);
  }
  Tree.Folder("dir.txt");  // a folder under the new name is no file
  AddRow("s.txt", "dir.txt", "Ok");

  Run();

  std::vector<TRowTexts> expected;
  for (const Case& c : cases) {
    TRowTexts row = c.Expected;
    row.Path = Tree.Root();
    expected.push_back(row);
  }
  expected.push_back({"dir.txt", "", Tree.Root(), "File not found"});
  EXPECT_EQ(RowTexts(Owner.Table), expected);
  EXPECT_EQ(Tree.Content("a.txt"), "b.txt");
  EXPECT_FALSE(Tree.Exists("b.txt"));
  EXPECT_EQ(Tree.Content("h.txt"), "h.txt");  // the refused rename back touched neither file
  EXPECT_EQ(Tree.Content("i.txt"), "i.txt");
  for (const char* untouched : {"c.txt", "g.txt", "k.txt", "m.txt", "n.txt", "p.txt", "r.txt"})
    EXPECT_EQ(Tree.Content(untouched), untouched);
}

// A rename that could not finish left the file under its temporary name and
// said so in an "Error" row: Recover brings it back. Other "Error" rows stay.
TEST_F(UndoThreadTest, FileLeftUnderItsTemporaryNameIsBroughtBack) {
  Tree.File(".vt-00003c930a077140.tmp", "notes");
  Tree.File(".vt-note.tmp", "other");
  AddRow("notes.txt", ".vt-00003c930a077140.tmp", "Error");
  AddRow("other.txt", ".vt-note.tmp", "Error");

  Run();

  EXPECT_EQ(RowTexts(Owner.Table), (std::vector<TRowTexts>{{".vt-00003c930a077140.tmp", "notes.txt", Tree.Root(), "Ok"},
                                                           {"other.txt", "", Tree.Root(), "No change"}}));
  EXPECT_EQ(Tree.Content("notes.txt"), "notes");
  EXPECT_FALSE(Tree.Exists(".vt-00003c930a077140.tmp"));
  EXPECT_EQ(Tree.Content(".vt-note.tmp"), "other");
}

TEST_F(UndoThreadTest, RowsWithMissingCellsGiveNoChange) {
  Owner.Table.AppendRow(test::LoadedRow("a.txt", {}));
  Owner.Table.AppendRow(test::LoadedRow("b.txt", {"c.txt", Tree.Root()}));
  Tree.File("c.txt");

  Run();

  EXPECT_EQ(RowTexts(Owner.Table),
            (std::vector<TRowTexts>{{"a.txt", "", "", "No change"}, {"b.txt", "", Tree.Root(), "No change"}}));
  EXPECT_TRUE(Tree.Exists("c.txt"));
}

// A result file can come from anywhere: an "Ok" row never moves a file out of its folder.
TEST_F(UndoThreadTest, NamesLeadingOutOfTheFolderAreRefused) {
  Tree.Folder("sub");
  Tree.File("sub/y.txt", "sub");
  Tree.File("y.txt", "top");
  const std::vector<std::pair<std::string, std::string>> rows = {
      {"../x.txt", "y.txt"}, {"x.txt", "sub/y.txt"}, {"", "y.txt"},   {"x.txt", ""},
      {".", "y.txt"},        {"..", "y.txt"},        {"x.txt", ".."}, {std::string("x\0y", 3), "y.txt"},
  };
  for (const auto& [file, newName] : rows) AddRow(file, newName, "Ok");

  Run();

  ASSERT_EQ(Owner.Table.RowCount(), rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(RowTexts(Owner.Table)[i], (TRowTexts{rows[i].second, "", Tree.Root(), "Error"}));
  }
  EXPECT_EQ(Tree.Names(), (std::vector<std::string>{"sub", "y.txt"}));
  EXPECT_EQ(Tree.Names("sub"), (std::vector<std::string>{"y.txt"}));
  EXPECT_EQ(Tree.Content("y.txt"), "top");
}

// A result file cuts a text at 255 bytes, without splitting a character: the folder
// of such a Path may be the parent of the one the pass worked in.
TEST_F(UndoThreadTest, PathAResultFileMayHaveCutIsRefused) {
  for (const std::size_t size : {252u, 254u, 255u}) {
    const std::string folder = FolderOfPathSize(size);
    ASSERT_EQ(folder.size(), size);
    Tree.File(folder.substr(Tree.Root().size()) + "b.txt", "unrelated");
    Owner.Table.AppendRow("a.txt", "b.txt", folder, "Ok");
  }

  Run();

  for (const TResultRow& row : Owner.Table.Rows()) {
    const std::string path(row.Path());
    EXPECT_EQ(row.KnownStatus(), TRenameStatus::rsError) << path.size();
    EXPECT_EQ(Tree.Content(path.substr(Tree.Root().size()) + "b.txt"), "unrelated");
    EXPECT_FALSE(std::filesystem::exists(path + "a.txt"));
  }
  EXPECT_EQ(Owner.Table.RowCount(), 3u);
}

// A journal never cuts a text: its rows are undone at any Path length.
TEST_F(UndoThreadTest, PathOfAJournalRowIsNeverTakenForACutOne) {
  for (const std::size_t size : {251u, 252u, 254u, 255u}) {
    const std::string folder = FolderOfPathSize(size);
    Tree.File(folder.substr(Tree.Root().size()) + "b.txt", "renamed");
    TResultRow row = TResultRow::FromTexts("a.txt", "b.txt", folder, "Ok");
    row.Marks = RowMark::WholeTexts;
    Owner.Table.AppendRow(std::move(row));
  }

  Run();

  ASSERT_EQ(Owner.Table.RowCount(), 4u);
  for (const TResultRow& row : Owner.Table.Rows()) {
    const std::string path(row.Path());
    EXPECT_EQ(row.KnownStatus(), TRenameStatus::rsOk) << path.size();
    EXPECT_EQ(Tree.Content(path.substr(Tree.Root().size()) + "a.txt"), "renamed");
  }
}

// Only a file can cut a Path: a longer one came from a pass in this run.
TEST_F(UndoThreadTest, PathLongerThanAFileHoldsIsUndone) {
  const std::string folder = FolderOfPathSize(300);
  Tree.File(folder.substr(Tree.Root().size()) + "b.txt", "renamed");
  Owner.Table.AppendRow("a.txt", "b.txt", folder, "Ok");

  Run();

  EXPECT_EQ(RowTexts(Owner.Table), (std::vector<TRowTexts>{{"b.txt", "a.txt", folder, "Ok"}}));
  EXPECT_EQ(Tree.Content(folder.substr(Tree.Root().size()) + "a.txt"), "renamed");
}

TEST_F(UndoThreadTest, RelativePathIsRefusedWhereverItWouldLead) {
  Tree.File("b.txt", "b");
  const std::string relative = std::filesystem::relative(Tree.Root(), std::filesystem::current_path()).string() + "/";
  ASSERT_NE(relative.front(), '/');
  ASSERT_TRUE(std::filesystem::exists(relative + "b.txt"));
  Owner.Table.AppendRow("a.txt", "b.txt", relative, "Ok");

  Run();

  EXPECT_EQ(RowTexts(Owner.Table), (std::vector<TRowTexts>{{"b.txt", "", relative, "Error"}}));
  EXPECT_EQ(Tree.Names(), (std::vector<std::string>{"b.txt"}));
}

// No pass renames links, FIFOs, sockets or devices, so no row undoes one.
TEST_F(UndoThreadTest, NewNameThatIsNoRegularFileIsNotFound) {
  Tree.File("target.txt", "target");
  ASSERT_EQ(::symlink("target.txt", Tree.Path("link.txt").c_str()), 0);
  ASSERT_EQ(::symlink("nowhere", Tree.Path("dangling.txt").c_str()), 0);
  ASSERT_EQ(::mkfifo(Tree.Path("fifo.txt").c_str(), 0600), 0);
  AddRow("a.txt", "link.txt", "Ok");
  AddRow("b.txt", "dangling.txt", "Ok");
  AddRow("c.txt", "fifo.txt", "Ok");
  AddRow("d.txt", "/dev/null", "Ok");

  Run();

  EXPECT_EQ(RowTexts(Owner.Table), (std::vector<TRowTexts>{{"link.txt", "", Tree.Root(), "File not found"},
                                                           {"dangling.txt", "", Tree.Root(), "File not found"},
                                                           {"fifo.txt", "", Tree.Root(), "File not found"},
                                                           {"/dev/null", "", Tree.Root(), "Error"}}));
  EXPECT_EQ(Tree.Names(), (std::vector<std::string>{"dangling.txt", "fifo.txt", "link.txt", "target.txt"}));
}

// Rows crafted to reach what no pass could have renamed: Recover renames only a
// regular file that is not immutable or append-only (a 0444 file is renamed
// back), in the folder a walk reaches under the Path, never back to a hidden name.
TEST_F(UndoThreadTest, CraftedRowsRenameOnlyWhatAPassCouldHave) {
  Tree.Folder("in/dir.txt");
  Tree.Folder("out");
  for (const char* name : {"in/y.txt", "in/z.txt", "in/ro.txt", "in/im.txt", "in/.profile", "out/y.txt"})
    Tree.File(name, name);
  ASSERT_EQ(::chmod(Tree.Path("in/ro.txt").c_str(), 0444), 0);
  TInodeFlag immutable;
  const std::string why = immutable.Set(Tree.Path("in/im.txt"), FS_IMMUTABLE_FL);
  if (!why.empty()) GTEST_SKIP() << why;
  ASSERT_EQ(::mkfifo(Tree.Path("in/fifo.txt").c_str(), 0600), 0);
  ASSERT_EQ(::symlink(Tree.Path("out").c_str(), Tree.Path("link").c_str()), 0);
  const std::string in = Tree.Path("in/");
  const struct {
    TRowTexts row;
    const char* status;
  } cases[] = {
      {{"x.txt", "y.txt", Tree.Path("link/"), "Ok"}, "Error"},
      {{"x.txt", "y.txt", Tree.Path("in/../out/"), "Ok"}, "Error"},
      {{"x.txt", "y.txt", Tree.Path("./out/"), "Ok"}, "Error"},
      {{"x.txt", "y.txt", "/proc/self/root" + Tree.Path("out/"), "Ok"}, "Error"},
      {{".bashrc", "y.txt", in, "Ok"}, "Error"},
      {{"w.txt", "ro.txt", in, "Ok"}, "Ok"},
      {{"u.txt", "im.txt", in, "Ok"}, "Error"},
      {{"w.txt", "dir.txt", in, "Ok"}, "File not found"},
      {{"w.txt", "fifo.txt", in, "Ok"}, "File not found"},
      {{"zero", "null", "/dev/", "Ok"}, "File not found"},
      {{"x.profile", ".profile", in, "Ok"}, "Ok"},  // made hidden by a pass: undone
      {{"v.txt", "z.txt", in, "Ok"}, "Ok"},
  };
  for (const auto& c : cases) Owner.Table.AppendRow(c.row.File, c.row.NewName, c.row.Path, c.row.Status);

  Run();

  ASSERT_EQ(Owner.Table.RowCount(), std::size(cases));
  for (std::size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(Owner.Table.Row(i).StatusWord(), cases[i].status) << cases[i].row.Path << cases[i].row.NewName;
  EXPECT_EQ(Tree.Names("in"),
            (std::vector<std::string>{"dir.txt", "fifo.txt", "im.txt", "v.txt", "w.txt", "x.profile", "y.txt"}));
  EXPECT_EQ(Tree.Names("out"), (std::vector<std::string>{"y.txt"}));
  EXPECT_EQ(Tree.Content("out/y.txt"), "out/y.txt");
  EXPECT_EQ(Tree.Content("in/x.profile"), "in/.profile");
  EXPECT_TRUE(std::filesystem::exists("/dev/null"));
}

TEST_F(UndoThreadTest, PathWithoutSeparatorStillNamesTheFolder) {
  Tree.File("b.txt");
  std::string path = Tree.Root();
  path.pop_back();
  Owner.Table.AppendRow("a.txt", "b.txt", path, "Ok");
  Run();
  EXPECT_EQ(RowTexts(Owner.Table), (std::vector<TRowTexts>{{"b.txt", "a.txt", path, "Ok"}}));
  EXPECT_TRUE(Tree.Exists("a.txt"));
}

TEST_F(UndoThreadTest, SecondRecoverRenamesForwardAgain) {
  Tree.File("b.txt", "content");
  AddRow("a.txt", "b.txt", "Ok");
  AddRow("c.txt", "d.txt", "Error");

  Run();
  EXPECT_EQ(RowTexts(Owner.Table),
            (std::vector<TRowTexts>{{"b.txt", "a.txt", Tree.Root(), "Ok"}, {"c.txt", "", Tree.Root(), "No change"}}));
  EXPECT_EQ(Tree.Names(), (std::vector<std::string>{"a.txt"}));

  Run();
  EXPECT_EQ(RowTexts(Owner.Table),
            (std::vector<TRowTexts>{{"a.txt", "b.txt", Tree.Root(), "Ok"}, {"c.txt", "", Tree.Root(), "No change"}}));
  EXPECT_EQ(Tree.Content("b.txt"), "content");
}

TEST_F(UndoThreadTest, UndoesARealRenamePass) {
  for (const char* name : {"a.txt", "b.txt"}) Tree.File(name, name);
  TSearchPassOptions options;
  options.Folder = Tree.Root();
  RunSearch(Owner, options, InsertAtBeginning("x"));
  ASSERT_EQ(Tree.Names(), (std::vector<std::string>{"xa.txt", "xb.txt"}));
  ASSERT_TRUE(Owner.States.Recover);

  Run();

  EXPECT_EQ(Tree.Names(), (std::vector<std::string>{"a.txt", "b.txt"}));
  EXPECT_EQ(Tree.Content("a.txt"), "a.txt");
  for (const TRowTexts& row : RowTexts(Owner.Table)) {
    EXPECT_EQ(row.File, "x" + row.NewName);
    EXPECT_EQ(row.Status, "Ok");
  }
}

// Passes that rename files into names other files of the same pass left:
// every file goes back in one recover, and the rows keep the table's order.
TEST_F(UndoThreadTest, ChainsOfNamesAreUndoneInOneRecover) {
  struct Case {
    const char* Shape;
    std::vector<std::pair<std::string, std::string>> Rows;  // File, New Name, in the order of the pass
  };
  std::vector<std::pair<std::string, std::string>> shiftDown, shiftUp, interleaved;
  for (int i = 2; i <= 11; ++i) shiftDown.emplace_back(std::to_string(i), std::to_string(i - 1));
  for (int i = 10; i >= 1; --i) shiftUp.emplace_back(std::to_string(i), std::to_string(i + 1));
  for (int i = 2; i <= 6; ++i) {
    interleaved.emplace_back(std::to_string(i), std::to_string(i - 1));
    interleaved.emplace_back("x" + std::to_string(i), "y" + std::to_string(i));
  }
  const std::vector<Case> cases = {
      {"renumber 2..11 to 1..10", shiftDown},
      {"renumber 10..1 to 11..2", shiftUp},
      {"a chain between unrelated rows", interleaved},
      {"case only, a chain through spellings", {{"b", "a"}, {"B.TXT", "b"}, {"c", "B.txt"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Shape);
    TTempTree tree;
    TTestOwner owner;
    for (const auto& [file, newName] : c.Rows) {
      tree.File(newName, file);  // the content is the name the pass found it under
      owner.Table.AppendRow(file, newName, tree.Root(), "Ok");
    }
    RunUndo(owner);
    std::vector<TRowTexts> expected;
    std::vector<std::string> names;
    for (const auto& [file, newName] : c.Rows) {
      expected.push_back({newName, file, tree.Root(), "Ok"});
      names.push_back(file);
    }
    EXPECT_EQ(RowTexts(owner.Table), expected);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(tree.Names(), names);
    for (const auto& [file, newName] : c.Rows) EXPECT_EQ(tree.Content(file), file);
  }
}

// A recover killed partway through a renumbering left the last rows back under
// their old names, and the next file back under each new name: run again with
// the files the journal recorded, those rows are "No change" (not "Error" nor
// "File not found"), the others go back, and nothing is left.
TEST_F(UndoThreadTest, RowsAlreadyBackAfterAKilledRecoverCountAsUndone) {
  struct Case {
    const char* Shape;
    int Back;  // rows the killed recover had renamed back, last first
  };
  for (const Case& c : std::vector<Case>{{"none back", 0}, {"two back", 2}, {"all back", 10}}) {
    SCOPED_TRACE(c.Shape);
    TTempTree tree;
    TTestOwner owner;
    std::vector<std::optional<TFileIdentity>> identities;
    for (int i = 2; i <= 11; ++i) {
      tree.File(std::to_string(i - 1), std::to_string(i));  // renumbered: i is now under i - 1
      owner.Table.AppendRow(std::to_string(i), std::to_string(i - 1), tree.Root(), "Ok");
      TEntryInfo info;
      ASSERT_EQ(LookAtEntry((tree.Root() + std::to_string(i - 1)).c_str(), info), 0);
      identities.push_back(IdentityOf(info));
    }
    owner.Table.SetIdentities(identities);
    for (int i = 11; i > 11 - c.Back; --i)
      std::filesystem::rename(tree.Root() + std::to_string(i - 1), tree.Root() + std::to_string(i));
    RunUndo(owner);
    std::vector<TRowTexts> expected;
    for (int i = 2; i <= 11; ++i) {
      if (i > 11 - c.Back)
        expected.push_back({std::to_string(i - 1), "", tree.Root(), "No change"});
      else
        expected.push_back({std::to_string(i - 1), std::to_string(i), tree.Root(), "Ok"});
    }
    EXPECT_EQ(RowTexts(owner.Table), expected);
    for (int i = 2; i <= 11; ++i) EXPECT_EQ(tree.Content(std::to_string(i)), std::to_string(i));
    EXPECT_EQ(tree.Names().size(), 10u);
  }
}

// Two files swapped by two passes (a to t, b to a, then t to b) are swapped
// back by recovering the later pass, then the earlier one.
TEST_F(UndoThreadTest, SwapMadeInTwoPassesIsUndoneByTwoRecovers) {
  Tree.File("a", "b-content");
  Tree.File("b", "a-content");
  // Later pass: t to b. Earlier pass: a to t, b to a.
  TTestOwner later;
  later.Table.AppendRow("t", "b", Tree.Root(), "Ok");
  RunUndo(later);
  EXPECT_EQ(RowTexts(later.Table), (std::vector<TRowTexts>{{"b", "t", Tree.Root(), "Ok"}}));
  TTestOwner earlier;
  earlier.Table.AppendRow("a", "t", Tree.Root(), "Ok");
  earlier.Table.AppendRow("b", "a", Tree.Root(), "Ok");
  RunUndo(earlier);
  EXPECT_EQ(RowTexts(earlier.Table),
            (std::vector<TRowTexts>{{"t", "a", Tree.Root(), "Ok"}, {"a", "b", Tree.Root(), "Ok"}}));
  EXPECT_EQ(Tree.Content("a"), "a-content");
  EXPECT_EQ(Tree.Content("b"), "b-content");
  EXPECT_FALSE(Tree.Exists("t"));
}

// Told as a recover, so the window leaves panel 1 alone.
TEST_F(UndoThreadTest, EndOfPassIsToldAsARecoverAndNoSimulation) {
  Tree.File("b.txt");
  AddRow("a.txt", "b.txt", "Ok");

  Run();

  EXPECT_FALSE(Owner.Control.Running());
  EXPECT_FALSE(Owner.Control.Simulation());
  EXPECT_EQ(Owner.Events, (std::vector<std::string>{"Started(Recover)", "Ended(Recover)"}));
  EXPECT_TRUE(Owner.States.Rename);
  EXPECT_TRUE(Owner.States.Recover);
}

TEST_F(UndoThreadTest, EmptyTableDoesNothingButEnd) {
  Run();
  EXPECT_EQ(Owner.Table.RowCount(), 0u);
  EXPECT_FALSE(Owner.States.Recover);
  EXPECT_TRUE(Owner.States.Rename);
  EXPECT_EQ(Owner.Events, (std::vector<std::string>{"Started(Recover)", "Ended(Recover)"}));
}

}  // namespace
}  // namespace vt::test
