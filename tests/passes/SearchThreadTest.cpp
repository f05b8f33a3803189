#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <climits>
#include <filesystem>
#include <list>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "passes/PassTestSupport.h"
#include "support/DeepTree.h"
#include "support/InodeFlags.h"

namespace vt::test {
namespace {

class SearchThreadTest : public ::testing::Test {
 protected:
  TSearchPassOptions Options(const std::string& masks, bool subDirs = false) const {
    TSearchPassOptions options;
    options.Folder = Tree.Root();
    options.Masks = masks;
    options.IncludeSubDirs = subDirs;
    return options;
  }
  void Run(const TSearchPassOptions& options, const TControlValues& controls) { RunSearch(Owner, options, controls); }

  TTempTree Tree;
  TTestOwner Owner;
};

TEST_F(SearchThreadTest, AnEntryTwoMasksSelectIsHandledTwice) {
  Tree.File("a.txt");
  Tree.File("b.txt");
  const std::vector<std::string> listed = ListedFiles(Tree.Root(), "*.txt");
  ASSERT_EQ(listed.size(), 2u);

  Run(Options("*.txt;a*"), InsertAtBeginning("x"));

  std::vector<TRowTexts> expected;
  for (const std::string& name : listed) expected.push_back({name, "x" + name, Tree.Root(), "Ok"});
  expected.push_back({"a.txt", "xa.txt", Tree.Root(), "Error"});
  EXPECT_EQ(RowTexts(Owner.Table), expected);
  EXPECT_EQ(Tree.Names(), (std::vector<std::string>{"xa.txt", "xb.txt"}));
}

// Entries are drawn from the listings a block at a time, a block running on
// from one mask's listing into the next; every listing was read before the
// first rename, so a renamed file is never met again.
TEST_F(SearchThreadTest, BlocksRunAcrossListingsReadBeforeAnyRename) {
  std::vector<std::string> first, second;
  for (int i = 0; i < 300; ++i) first.push_back("f" + std::to_string(1000 + i) + ".txt");
  for (int i = 0; i < 100; ++i) second.push_back("x_" + std::to_string(1000 + i));
  for (const std::string& name : first) Tree.File(name);
  for (const std::string& name : second) Tree.File(name);

  Run(Options("*.txt;x*"), InsertAtBeginning("x"));

  std::vector<TRowTexts> expected;
  std::vector<std::string> after;
  for (const std::vector<std::string>* names : {&first, &second})
    for (const std::string& name : *names) {
      expected.push_back({name, "x" + name, Tree.Root(), "Ok"});
      after.push_back("x" + name);
    }
  EXPECT_EQ(RowTexts(Owner.Table), expected);
  std::sort(after.begin(), after.end());
  EXPECT_EQ(Tree.Names(), after);
}

TEST_F(SearchThreadTest, EachListingInNameOrderAndTheCounterFollowsIt) {
  for (const char* name : {"IMG_0010.JPG", "IMG_0001.JPG", "img_0002.jpg", "IMG_0003.JPG", "notes.txt", "A.txt"})
    Tree.File(name);
  for (const std::string folder : {"b", "A", "C"}) {
    Tree.File(folder + ".jpg");
    Tree.Folder(folder);
    Tree.File(folder + "/f.jpg");
  }
  Owner.Simulate = true;
  Run(Options("*.jpg;a*", true), NumberDefaults());

  std::vector<std::string> handled;
  for (const TRowTexts& row : RowTexts(Owner.Table))
    handled.push_back(row.Path.substr(Tree.Root().size()) + row.File + " " + row.NewName);
  EXPECT_EQ(handled, (std::vector<std::string>{"A.jpg 0.jpg", "b.jpg 1.jpg", "C.jpg 2.jpg", "IMG_0001.JPG 3.JPG",
                                               "img_0002.jpg 4.jpg", "IMG_0003.JPG 5.JPG", "IMG_0010.JPG 6.JPG",
                                               "A.jpg 7.jpg", "A.txt 8.txt",  // the second mask's listing
                                               "A/f.jpg 9.jpg", "b/f.jpg 10.jpg", "C/f.jpg 11.jpg"}));
}

TEST_F(SearchThreadTest, NaturalOrderComparesNumbersInNames) {
  for (const char* name : {"IMG_10.jpg", "IMG_9.jpg", "IMG_100.jpg", "img_2.jpg"}) Tree.File(name);
  TSearchPassOptions options = Options("*.*");
  options.Order = TFileOrder::Natural;
  Owner.Simulate = true;
  Run(options, NumberDefaults());
  std::vector<std::string> files;
  for (const TRowTexts& row : RowTexts(Owner.Table)) files.push_back(row.File);
  EXPECT_EQ(files, (std::vector<std::string>{"img_2.jpg", "IMG_9.jpg", "IMG_10.jpg", "IMG_100.jpg"}));
}

// The order's look gives the date modified: to the nanosecond, before 1970 too.
TEST_F(SearchThreadTest, ModifiedOrderFollowsTheNanosecondsAcrossTheEpoch) {
  struct File {
    const char* Name;
    timespec Modified;
  };
  const std::vector<File> files = {
      {"a.jpg", {0, 250'000'000}},
      {"b.jpg", {-1, 500'000'000}},
      {"c.jpg", {-2, 999'999'999}},
      {"d.jpg", {-1, 499'999'999}},
      {"e.jpg", {0, 0}},
      {"f.jpg", {1'700'000'000, 1}},
      {"g.jpg", {-1, 0}},
  };
  for (const File& file : files) {
    Tree.File(file.Name);
    const std::array<timespec, 2> times = {timespec{0, UTIME_OMIT}, file.Modified};
    ASSERT_EQ(::utimensat(AT_FDCWD, Tree.Path(file.Name).c_str(), times.data(), 0), 0) << file.Name;
  }
  struct Case {
    TOrderDirection Direction;
    bool Simulate;
    std::vector<std::string> Expected;
  };
  const std::vector<std::string> up = {"c.jpg", "g.jpg", "d.jpg", "b.jpg", "e.jpg", "a.jpg", "f.jpg"};
  const std::vector<std::string> down(up.rbegin(), up.rend());
  for (const Case& c : {Case{TOrderDirection::Ascending, true, up}, Case{TOrderDirection::Descending, true, down},
                        Case{TOrderDirection::Ascending, false, up}}) {
    TTestOwner owner;
    owner.Simulate = c.Simulate;
    TSearchPassOptions options = Options("*.jpg");
    options.Order = TFileOrder::Modified;
    options.Direction = c.Direction;
    RunSearch(owner, options, NumberDefaults());
    std::vector<std::string> handled;
    for (const TRowTexts& row : RowTexts(owner.Table)) handled.push_back(row.File);
    EXPECT_EQ(handled, c.Expected);
  }
}

TEST_F(SearchThreadTest, EmptyMasksSelectNothing) {
  struct Case {
    const char* Masks;
    std::size_t Rows;
  };
  for (const Case& c : {Case{"*.txt;", 1}, Case{";*.txt", 1}, Case{";;", 0}, Case{"", 0}}) {
    SCOPED_TRACE(c.Masks);
    TTempTree tree;
    tree.File("a.txt");
    tree.File("b.doc");
    TSearchPassOptions options;
    options.Folder = tree.Root();
    options.Masks = c.Masks;
    TTestOwner owner;
    owner.Simulate = true;
    RunSearch(owner, options, InsertAtBeginning("x"));
    EXPECT_EQ(owner.Table.RowCount(), c.Rows);
    if (c.Rows == 1) {
      EXPECT_EQ(RowTexts(owner.Table)[0], (TRowTexts{"a.txt", "xa.txt", tree.Root(), "Can be renamed"}));
    }
  }
}

TEST_F(SearchThreadTest, SubFoldersNamedWithADotOrLinkedAreNotEntered) {
  Tree.File("top.txt");
  Tree.Folder(".cache");
  Tree.File(".cache/c.txt");
  Tree.Folder(".hidden");
  Tree.File(".hidden/h.txt");
  Tree.Folder("Old.Files");
  Tree.File("Old.Files/o.txt");
  Tree.Folder("outside");
  Tree.File("outside/l.txt");
  ASSERT_EQ(::symlink(Tree.Path("outside").c_str(), Tree.Path("Old.Files/link").c_str()), 0);

  Run(Options("*.txt", true), InsertAtBeginning("x"));

  std::vector<std::string> renamed;
  for (const TRowTexts& row : RowTexts(Owner.Table)) {
    EXPECT_EQ(row.Status, "Ok");
    renamed.push_back(row.Path.substr(Tree.Root().size()) + row.File);
  }
  std::sort(renamed.begin(), renamed.end());
  EXPECT_EQ(renamed, (std::vector<std::string>{"Old.Files/o.txt", "outside/l.txt", "top.txt"}));
  EXPECT_TRUE(Tree.Exists(".cache/c.txt"));
  EXPECT_TRUE(Tree.Exists(".hidden/h.txt"));
  EXPECT_TRUE(Tree.Exists("Old.Files/xo.txt"));
}

// An attacker swaps a sub-folder for a link to a folder outside the tree
// after the walk listed it and before the walk enters it.
TEST_F(SearchThreadTest, ASubFolderSwappedForALinkIsNotEntered) {
  Tree.Folder("tree/sub");
  Tree.File("tree/sub/mine.txt", "mine");
  Tree.Folder("outside");
  Tree.File("outside/theirs.txt", "theirs");
  TSearchPassOptions options = Options("*.txt", true);
  options.Folder = Tree.Path("tree/");
  int swaps = 0;
  options.OnDescending = [&](const std::string& subFolder) {
    if (subFolder != Tree.Path("tree/sub/")) return;
    ++swaps;
    std::filesystem::rename(Tree.Path("tree/sub"), Tree.Path("tree/sub.moved"));
    ASSERT_EQ(::symlink(Tree.Path("outside").c_str(), Tree.Path("tree/sub").c_str()), 0);
  };
  Run(options, InsertAtBeginning("x"));
  EXPECT_EQ(swaps, 1);
  // Skipped, and said: the folder listed was not read.
  const auto& unreadable = Owner.Unreadable;
  ASSERT_EQ(unreadable.size(), 1u);
  EXPECT_EQ(unreadable[0].first, Tree.Path("tree/sub/"));
  EXPECT_TRUE(unreadable[0].second == ELOOP || unreadable[0].second == ENOTDIR) << unreadable[0].second;
  EXPECT_EQ(Owner.Table.RowCount(), 0u);
  EXPECT_EQ(Tree.Names("outside"), std::vector<std::string>{"theirs.txt"});
  EXPECT_EQ(Tree.Names("tree/sub.moved"), std::vector<std::string>{"mine.txt"});
}

// A folder renamed away between listing and entering no longer has the path
// the rows would show; the walk goes on with the next.
TEST_F(SearchThreadTest, ASubFolderGoneBeforeItIsEnteredIsSkipped) {
  for (const char* name : {"a/1.txt", "b/2.txt", "c/3.txt"}) {
    Tree.Folder(std::string(name, 1));
    Tree.File(name);
  }
  TSearchPassOptions options = Options("*.txt", true);
  options.OnDescending = [&](const std::string& subFolder) {
    if (subFolder == Tree.Path("b/")) std::filesystem::rename(Tree.Path("b"), Tree.Path("gone"));
  };
  Owner.Simulate = true;
  Run(options, InsertAtBeginning("x"));
  EXPECT_TRUE(Owner.Unreadable.empty());  // gone is not unreadable
  std::vector<std::string> paths;
  for (const TRowTexts& row : RowTexts(Owner.Table)) paths.push_back(row.Path.substr(Tree.Root().size()) + row.File);
  EXPECT_EQ(paths, (std::vector<std::string>{"a/1.txt", "c/3.txt"}));
}

TEST_F(SearchThreadTest, RenamesFilesDeeperThanAPathCanName) {
  const std::string name(250, 'd');
  TDeepChain chain(Tree.Root(), name, 20, "deep.txt", "bottom");
  ASSERT_TRUE(chain.Made());
  ASSERT_GT(chain.DeepestPath().size(), static_cast<std::size_t>(PATH_MAX));
  Run(Options("*.txt", true), InsertAtBeginning("x"));
  ASSERT_EQ(RowTexts(Owner.Table), (std::vector<TRowTexts>{{"deep.txt", "xdeep.txt", chain.DeepestPath(), "Ok"}}));
  EXPECT_EQ(chain.DeepestContent("xdeep.txt"), "bottom");
}

// Each folder visited comes right after its parent's files or after a finished
// subtree of a sibling: the folder sequence is a depth-first pre-order.
bool IsDepthFirst(const std::vector<std::string>& folders) {
  std::vector<std::string> stack;
  for (const std::string& folder : folders) {
    while (!stack.empty() && folder.rfind(stack.back(), 0) != 0) stack.pop_back();
    if (!stack.empty()) {
      const std::string rest = folder.substr(stack.back().size());
      if (std::count(rest.begin(), rest.end(), '/') != 1) return false;  // skipped a level
    }
    stack.push_back(folder);
  }
  return true;
}

TEST_F(SearchThreadTest, WalkIsDepthFirstAndTheCounterRunsAcrossFolders) {
  for (const char* folder : {"B", "B/D", "B/D/E", "C", "C/F", "G"}) Tree.Folder(folder);
  for (const char* file : {"f.txt", "B/f.txt", "B/D/f.txt", "B/D/E/f.txt", "C/f.txt", "C/F/f.txt", "G/f.txt"})
    Tree.File(file, file);

  Run(Options("*.*", true), NumberDefaults());

  const std::vector<TRowTexts> rows = RowTexts(Owner.Table);
  ASSERT_EQ(rows.size(), 7u);
  EXPECT_EQ(rows[0].Path, Tree.Root());
  std::vector<std::string> folders;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    SCOPED_TRACE(rows[i].Path);
    EXPECT_EQ(rows[i].File, "f.txt");
    EXPECT_EQ(rows[i].NewName, std::to_string(i) + ".txt");
    EXPECT_EQ(rows[i].Status, "Ok");
    folders.push_back(rows[i].Path);
    // the file renamed is the one found in that folder
    const std::string relative = rows[i].Path.substr(Tree.Root().size());
    EXPECT_EQ(Tree.Content(relative + rows[i].NewName), relative + "f.txt");
  }
  EXPECT_TRUE(IsDepthFirst(folders));
}

TEST_F(SearchThreadTest, SeveralFilesGivenOneNameRenameOnlyTheFirst) {
  for (const char* name : {"a1.txt", "b1.txt", "c1.txt"}) Tree.File(name, name);
  const std::vector<std::string> listed = ListedFiles(Tree.Root(), "*.txt");
  TControlValues controls;
  controls.LstBoxActions = ControlIndex(TOperation::Remove);  // remove the first character
  controls.ComboItemToDelete = ControlIndex(TRemoveKind::Characters);
  controls.UpDownNbrDelete = 1;

  Run(Options("*.txt"), controls);

  std::vector<TRowTexts> expected;
  for (const std::string& name : listed)
    expected.push_back({name, "1.txt", Tree.Root(), expected.empty() ? "Ok" : "Error"});
  EXPECT_EQ(RowTexts(Owner.Table), expected);
  EXPECT_EQ(Tree.Content("1.txt"), listed[0]);
  for (std::size_t i = 1; i < listed.size(); ++i) EXPECT_EQ(Tree.Content(listed[i]), listed[i]);
}

TEST_F(SearchThreadTest, TruncateToShortNamesGetsTheListingsShortNames) {
  // The listing leaves 8.3 names out unless this operation is selected.
  Tree.File("Long File Name.txt");
  Tree.File("short.txt");
  TControlValues controls;
  controls.LstBoxActions = ControlIndex(TOperation::Truncate);
  controls.ComboTruncateTo = ControlIndex(TTruncateKind::ShortName);

  Run(Options("*.txt"), controls);

  EXPECT_TRUE(Tree.Exists("LONGFI~1.TXT"));
  EXPECT_TRUE(Tree.Exists("short.txt"));
  ASSERT_EQ(Owner.Table.RowCount(), 2u);
  for (const TResultRow& row : Owner.Table.Rows())
    EXPECT_EQ(row.KnownStatus(), row.OldName == "short.txt" ? TRenameStatus::rsNoChange : TRenameStatus::rsOk)
        << row.OldName;
}

TEST_F(SearchThreadTest, SimulationRenamesNothingAndEndsSimulationMode) {
  Tree.File("a.txt");
  Tree.File("b.txt");
  Owner.Simulate = true;

  Run(Options("*.*"), InsertAtBeginning("x"));

  ASSERT_EQ(Owner.Table.RowCount(), 2u);
  for (const TRowTexts& row : RowTexts(Owner.Table)) {
    EXPECT_EQ(row.NewName, "x" + row.File);
    EXPECT_EQ(row.Status, "Can be renamed");
  }
  EXPECT_EQ(Tree.Names(), (std::vector<std::string>{"a.txt", "b.txt"}));
  EXPECT_FALSE(Owner.Control.Running());
  EXPECT_FALSE(Owner.Control.Simulation());
  EXPECT_TRUE(Owner.States.Rename);
  EXPECT_FALSE(Owner.States.Recover);     // re-decided while the simulation was still set
  EXPECT_FALSE(Owner.States.SaveResult);  // a simulation's rows record no renames
  // Told once, as a simulation that was not stopped.
  EXPECT_EQ(Owner.Events, (std::vector<std::string>{"Started(Simulate)", "Ended(Simulate)"}));
}

TEST_F(SearchThreadTest, RealPassEnablesUndoOnlyWithRows) {
  struct Case {
    const char* Search;
    bool Undo;
  };
  for (const Case& c : {Case{"a", true}, Case{"zzz", false}}) {
    SCOPED_TRACE(c.Search);
    TTempTree tree;
    tree.File("a.txt");
    TSearchPassOptions options;
    options.Folder = tree.Root();
    TTestOwner owner;
    RunSearch(owner, options, RemoveText(c.Search));  // "a" leaves an empty name
    EXPECT_EQ(owner.Table.RowCount(), c.Undo ? 1u : 0u);
    EXPECT_EQ(owner.States.Recover, c.Undo);
    EXPECT_TRUE(owner.States.Rename);
    EXPECT_FALSE(owner.Control.Running());
    EXPECT_EQ(owner.LastEvent(), "Ended(Rename)");
  }
}

TEST_F(SearchThreadTest, NoMatchRowsOnlyWhenAllMessagesAreRecorded) {
  Tree.File("photo.jpg");
  for (const bool all : {false, true}) {
    SCOPED_TRACE(all);
    Owner.Control.SetRecordAllMessages(all);
    Run(Options("*.*"), RemoveText("zzz"));
    const std::vector<TRowTexts> expected =
        all ? std::vector<TRowTexts>{{"photo.jpg", "", Tree.Root(), "No Match"}} : std::vector<TRowTexts>{};
    EXPECT_EQ(RowTexts(Owner.Table), expected);
  }
  // "No change" is recorded whatever the check box says.
  Owner.Control.SetRecordAllMessages(false);
  TControlValues controls;
  controls.LstBoxActions = ControlIndex(TOperation::Remove);
  controls.ComboItemToDelete = ControlIndex(TRemoveKind::Characters);
  controls.UpDownNbrDelete = 9;
  controls.ComboDeleteFrom = ControlIndex(TRemoveFrom::End);
  Run(Options("*.*"), controls);
  EXPECT_EQ(RowTexts(Owner.Table), (std::vector<TRowTexts>{{"photo.jpg", "", Tree.Root(), "No change"}}));
}

TEST_F(SearchThreadTest, EntriesOtherThanPlainFilesAreLeftAlone) {
  for (const char* name : {"a.txt", "b.txt", "c.txt"}) Tree.File(name);
  Tree.File(".hidden.txt");
  ASSERT_EQ(::symlink("a.txt", Tree.Path("link.txt").c_str()), 0);
  ASSERT_EQ(::mkfifo(Tree.Path("pipe.txt").c_str(), 0644), 0);
  Tree.Folder("folder.txt");

  Run(Options("*.*"), NumberDefaults());

  // Only the plain files are renamed, and only they move the counter.
  std::vector<std::string> newNames;
  for (const TRowTexts& row : RowTexts(Owner.Table)) {
    EXPECT_EQ(row.Status, "Ok");
    newNames.push_back(row.NewName);
  }
  EXPECT_EQ(newNames, (std::vector<std::string>{"0.txt", "1.txt", "2.txt"}));
  EXPECT_EQ(Tree.Names(),
            (std::vector<std::string>{".hidden.txt", "0.txt", "1.txt", "2.txt", "folder.txt", "link.txt", "pipe.txt"}));
}

// Photos copied from a card are often mode 0444: renaming them is a change of
// the folder, which Linux allows. Only the immutable and append-only flags
// stop a rename, and Recover follows the same rule as the pass.
TEST_F(SearchThreadTest, OnlyImmutableOrAppendOnlyFilesAreReadOnly) {
  struct Case {
    const char* Name;
    mode_t Mode;
    int Flag;
    bool Renamed;
  };
  const std::vector<Case> cases = {
      {"IMG_0041.JPG", 0644, 0, true},
      {"IMG_0042.JPG", 0444, 0, true},
      {"IMG_0043.JPG", 0400, 0, true},
      {"IMG_0044.JPG", 0644, FS_IMMUTABLE_FL, false},
      {"IMG_0045.JPG", 0444, FS_APPEND_FL, false},
  };
  std::list<TInodeFlag> flags;
  for (const Case& c : cases) {
    Tree.File(c.Name, c.Name);
    ASSERT_EQ(::chmod(Tree.Path(c.Name).c_str(), c.Mode), 0);
    if (c.Flag == 0) continue;
    const std::string why = flags.emplace_back().Set(Tree.Path(c.Name), c.Flag);
    if (!why.empty()) GTEST_SKIP() << why;
  }
  // Number looks at each file in the listing, Insert leaves the look to the rename;
  // an order by date or size looks at each file itself (a date taken through the file opened for its
  // header), and the listing leaves the flags to that look.
  for (const TFileOrder order : {TFileOrder::Name, TFileOrder::Modified, TFileOrder::Size, TFileOrder::Taken})
    for (const TControlValues& controls : {NumberDefaults(), InsertAtBeginning("Rome ")}) {
      for (const bool simulate : {true, false}) {
        SCOPED_TRACE(testing::Message() << "order " << static_cast<int>(order) << " " << controls.LstBoxActions
                                        << (simulate ? " simulated" : " renamed"));
        TTestOwner owner;
        owner.Simulate = simulate;
        TSearchPassOptions options = Options("*.JPG");
        options.Order = order;
        RunSearch(owner, options, controls);
        std::vector<std::string> files;
        for (const TRowTexts& row : RowTexts(owner.Table)) {
          EXPECT_EQ(row.Status, simulate ? "Can be renamed" : "Ok") << row.File;
          files.push_back(row.File);
        }
        std::sort(files.begin(), files.end());
        EXPECT_EQ(files, (std::vector<std::string>{"IMG_0041.JPG", "IMG_0042.JPG", "IMG_0043.JPG"}));
        if (simulate) continue;
        for (const Case& c : cases) EXPECT_EQ(Tree.Exists(c.Name), !c.Renamed) << c.Name;
        RunUndo(owner);
        for (const TRowTexts& row : RowTexts(owner.Table)) EXPECT_EQ(row.Status, "Ok") << row.File;
        for (const Case& c : cases) {
          EXPECT_EQ(Tree.Content(c.Name), c.Name);
          struct stat st {};
          ASSERT_EQ(::stat(Tree.Path(c.Name).c_str(), &st), 0);
          EXPECT_EQ(st.st_mode & 0777, c.Mode) << c.Name;
        }
      }
    }
}

TEST_F(SearchThreadTest, MaskWithAFolderPartRenamesTheFileFoundThere) {
  Tree.File("a.txt", "top");
  Tree.Folder("sub");
  Tree.File("sub/a.txt", "sub");

  Run(Options("sub/*.txt"), InsertAtBeginning("x"));

  EXPECT_EQ(RowTexts(Owner.Table), (std::vector<TRowTexts>{{"a.txt", "xa.txt", Tree.Root() + "sub/", "Ok"}}));
  EXPECT_EQ(Tree.Content("a.txt"), "top");
  EXPECT_EQ(Tree.Content("sub/xa.txt"), "sub");
}

TEST_F(SearchThreadTest, StartFolderWithoutSeparatorGetsOne) {
  Tree.File("a.txt");
  TSearchPassOptions options = Options("*.txt");
  options.Folder.pop_back();
  Owner.Simulate = true;
  Run(options, InsertAtBeginning("x"));
  EXPECT_EQ(RowTexts(Owner.Table), (std::vector<TRowTexts>{{"a.txt", "xa.txt", Tree.Root(), "Can be renamed"}}));
}

TEST_F(SearchThreadTest, ProgressCountsTheEntriesHandled) {
  for (const char* name : {"a.txt", "b.txt", "c.txt", "d.doc"}) Tree.File(name);
  std::atomic<std::uint64_t> progress{0};
  TSearchPassOptions options = Options("*.txt;*.doc");
  options.Progress = &progress;
  Owner.Simulate = true;
  Run(options, InsertAtBeginning("x"));
  EXPECT_EQ(progress.load(), 4u);
}

TEST_F(SearchThreadTest, TickingRecordAllDuringThePassAffectsTheEntriesThatFollow) {
  // Removing "abc" empties a name ("No change", always a row); "zzz" files give
  // "No Match". The box is ticked once the pass has recorded abc.txt.
  Tree.File("abc.txt");
  Tree.Folder("sub");
  Tree.File("sub/zzz1.txt");
  Tree.File("sub/zzz2.txt");
  Tree.Folder("sub/deeper");
  Tree.File("sub/deeper/zzz3.txt");
  TSearchPassOptions options = Options("*.txt", true);
  options.OnRecorded = [this](TSearchThread&, const TPassRow& row) {
    if (row.OldName == "abc.txt") Owner.Control.SetRecordAllMessages(true);
  };
  Owner.Simulate = true;

  Run(options, RemoveText("abc"));

  std::vector<std::string> recorded;
  for (const TRowTexts& row : RowTexts(Owner.Table)) recorded.push_back(row.File + " " + row.Status);
  std::vector<std::string> expected{"abc.txt No change"};
  for (const std::string& name : ListedFiles(Tree.Path("sub/"), "*.txt")) expected.push_back(name + " No Match");
  expected.push_back("zzz3.txt No Match");
  EXPECT_EQ(recorded, expected);
}

// Stop requested by the window while the pass handles a folder: the block of
// entries in hand is finished, nothing after it is.
TEST_F(SearchThreadTest, StopDuringHandlingFinishesOnlyTheBlockInHand) {
  for (int i = 0; i < 300; ++i) Tree.File("f" + std::to_string(1000 + i) + ".txt");
  Tree.Folder("sub");
  Tree.File("sub/s.txt");
  TSearchPassOptions options = Options("*.txt", true);
  options.OnRecorded = [](TSearchThread& pass, const TPassRow&) { pass.RequestStop(); };

  Run(options, InsertAtBeginning("x"));

  ASSERT_EQ(Owner.Table.RowCount(), 256u);
  const std::vector<std::string> names = Tree.Names();
  EXPECT_EQ(std::count_if(names.begin(), names.end(), [](const std::string& n) { return n[0] == 'x'; }), 256);
  EXPECT_TRUE(Tree.Exists("sub/s.txt"));
  EXPECT_EQ(Owner.LastEvent(), "Ended(Rename, stopped)");
  EXPECT_TRUE(Owner.States.Recover);
}

void CreateEmptyFiles(const std::string& folder, int count) {
  for (int i = 0; i < count; ++i) {
    const std::string path = folder + "file" + std::to_string(i) + ".txt";
    const int fd = ::open(path.c_str(), O_CREAT | O_WRONLY | O_EXCL, 0644);
    ASSERT_GE(fd, 0) << path;
    ::close(fd);
  }
}

TEST_F(SearchThreadTest, StopWhileListingALargeFolderHandlesNothingOfIt) {
  constexpr int kFiles = 100000;
  TTempTree tree(FastTempBase());
  tree.Folder("big");
  CreateEmptyFiles(tree.Path("big/"), kFiles);
  tree.Folder("big/sub");
  tree.File("big/sub/s.txt");
  int collected = 0;
  TSearchPassOptions options;
  options.Masks = "*.*;*.txt";
  options.IncludeSubDirs = true;
  options.Folder = tree.Path("big/");
  options.OnCollected = [&](TSearchThread& pass, const TFindData&) {
    if (++collected == 10) pass.RequestStop();
  };
  Run(options, InsertAtBeginning("x"));

  EXPECT_EQ(Owner.Table.RowCount(), 0u);
  // The first mask's listing ended after the entry in hand; the second one and
  // the sub-folders' listing handed out nothing.
  EXPECT_EQ(collected, 10);
  const std::vector<std::string> names = tree.Names("big");
  EXPECT_EQ(names.size(), kFiles + 1u);
  EXPECT_EQ(std::count_if(names.begin(), names.end(), [](const std::string& n) { return n[0] == 'x'; }), 0);
  EXPECT_TRUE(tree.Exists("big/sub/s.txt"));
  EXPECT_EQ(Owner.LastEvent(), "Ended(Rename, stopped)");
  EXPECT_FALSE(Owner.States.Recover);
  EXPECT_TRUE(Owner.States.Rename);
}

TEST_F(SearchThreadTest, UnlistableFolderContributesNothing) {
  TSearchPassOptions options = Options("*.*", true);
  options.Folder = Tree.Path("missing/");
  Run(options, InsertAtBeginning("x"));
  EXPECT_EQ(Owner.Unreadable, (std::vector<std::pair<std::string, int>>{{Tree.Path("missing/"), ENOENT}}));
  EXPECT_EQ(Owner.Table.RowCount(), 0u);
  EXPECT_EQ(Owner.LastEvent(), "Ended(Rename)");
}

}  // namespace
}  // namespace vt::test
