// Rename, Simulate, Stop, Recover and the close request for an owner without
// widgets: the run state, what the owner is told while a pass runs and after
// it, and that a pass never outlives the run control.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "passes/PassTestSupport.h"
#include "passes/RunControl.h"

namespace vt::test {
namespace {

class RunControlTest : public ::testing::Test {
 protected:
  TSearchPassOptions Options(const std::string& masks = "*.txt") const {
    TSearchPassOptions options;
    options.Folder = Tree.Root();
    options.Masks = masks;
    return options;
  }
  // Holds the worker at the first entry a listing returns whose name is name,
  // until the owner has asked for a stop or Release() is called.
  void HoldAt(TSearchPassOptions& options, const std::string& name) {
    options.OnCollected = [this, name](TSearchThread& pass, const TFindData& entry) {
      if (entry.cFileName != name) return;
      Held = true;
      while (!Released && !pass.StopRequested()) std::this_thread::yield();
    };
  }
  // The rows pushed before the hold are in the table afterwards.
  void WaitUntilHeld() {
    while (!Held) {
      Control.Pump();
      std::this_thread::yield();
    }
    Control.Pump();
  }
  void Release() { Released = true; }

  TTempTree Tree;
  std::atomic<bool> Held{false}, Released{false};
  TTestOwner Owner;  // last: its pass goes first
  TRunControl& Control = Owner.Control;
};

// What the run control tells the table of the rows of the passes it starts.
struct TPassRowsSeen final : IResultTableObserver {
  explicit TPassRowsSeen(TResultTable& table) : Table(table) { Table.SetObserver(this); }
  ~TPassRowsSeen() override { Table.SetObserver(nullptr); }
  void RowsAppended(std::size_t, std::size_t) override {}
  void RowsCleared() override {}
  void PassRowsStarted(TPassRows rows) override { Started.push_back(rows); }
  TResultTable& Table;
  std::vector<TPassRows> Started;
};

TEST_F(RunControlTest, RenameClearsTheTableAndRunsWithTheCommandsOff) {
  Tree.File("a.txt");
  Tree.File("b.txt");
  Owner.Table.AppendRow("old", "older", "/", "Ok");
  TPassRowsSeen seen(Owner.Table);
  TSearchPassOptions options = Options();
  HoldAt(options, "a.txt");

  Control.Rename(options, CaptureSettings(InsertAtBeginning("x")));
  WaitUntilHeld();
  EXPECT_EQ(Owner.Table.RowCount(), 0u);
  EXPECT_EQ(Owner.Events, std::vector<std::string>{"Started(Rename)"});
  EXPECT_FALSE(Owner.States.Rename);
  EXPECT_TRUE(Control.Running());
  EXPECT_TRUE(Control.PassAlive());
  EXPECT_EQ(seen.Started, (std::vector<TPassRows>{TPassRows::Renames}));
  EXPECT_TRUE(Owner.States.SaveResult);  // rows of a real pass can be saved while it runs
  Release();
  Control.WaitForPass();

  EXPECT_FALSE(Control.PassAlive());
  EXPECT_FALSE(Control.Running());
  EXPECT_EQ(Owner.Events, (std::vector<std::string>{"Started(Rename)", "Ended(Rename)"}));
  EXPECT_TRUE(Owner.States.Rename);
  EXPECT_TRUE(Owner.States.Recover);
  EXPECT_EQ(Owner.Table.RowCount(), 2u);
  EXPECT_EQ(Tree.Names(), (std::vector<std::string>{"xa.txt", "xb.txt"}));
  EXPECT_EQ(Owner.CallsOffOwnerThread.load(), 0);
}

TEST_F(RunControlTest, SimulateRunsGreyWithoutSaveAndEndsWithoutRecover) {
  Tree.File("a.txt");
  Owner.States.SaveResult = true;
  TPassRowsSeen seen(Owner.Table);
  TSearchPassOptions options = Options();
  HoldAt(options, "a.txt");

  Control.Simulate(options, CaptureSettings(InsertAtBeginning("x")));
  WaitUntilHeld();
  EXPECT_TRUE(Control.Simulation());
  EXPECT_EQ(seen.Started, (std::vector<TPassRows>{TPassRows::Simulation}));
  EXPECT_FALSE(Owner.States.SaveResult);
  Release();
  Control.WaitForPass();

  EXPECT_FALSE(Control.Simulation());
  EXPECT_FALSE(Owner.States.Recover);
  EXPECT_FALSE(Owner.States.SaveResult);
  EXPECT_TRUE(Owner.States.Rename);
  EXPECT_EQ(seen.Started.size(), 1u);  // the rows stay a simulation's
  ASSERT_EQ(RowTexts(Owner.Table), (std::vector<TRowTexts>{{"a.txt", "xa.txt", Tree.Root(), "Can be renamed"}}));
  EXPECT_EQ(Tree.Names(), (std::vector<std::string>{"a.txt"}));
}

TEST_F(RunControlTest, StopShowsItsTextAtOnceAndTheCommandsComeBackAtTheEnd) {
  for (int i = 0; i < 5; ++i) Tree.File("f" + std::to_string(i) + ".txt");
  const std::vector<std::string> before = Tree.Names();
  TSearchPassOptions options = Options();
  HoldAt(options, ListedFiles(Tree.Root(), "*.txt").front());

  Control.Rename(options, CaptureSettings(InsertAtBeginning("x")));
  WaitUntilHeld();
  EXPECT_TRUE(Control.Stop());
  EXPECT_FALSE(Control.Running());
  EXPECT_TRUE(Control.PassAlive());
  EXPECT_FALSE(Owner.States.Rename);
  EXPECT_EQ(Owner.LastEvent(), "Started(Rename)");  // the end is told once the pass has ended
  EXPECT_FALSE(Control.Stop());                     // stopping: a second Stop does nothing
  Control.WaitForPass();

  EXPECT_EQ(Owner.Events, (std::vector<std::string>{"Started(Rename)", "Ended(Rename, stopped)"}));
  EXPECT_TRUE(Owner.States.Rename);
  EXPECT_EQ(Owner.Table.RowCount(), 0u);  // stopped while the folder was listed
  EXPECT_EQ(Tree.Names(), before);
}

TEST_F(RunControlTest, StopWhenIdleDoesNothing) {
  EXPECT_FALSE(Control.Stop());
  EXPECT_TRUE(Owner.Events.empty());
}

TEST_F(RunControlTest, StopDuringRecoverChangesOnlyTheRunState) {
  Tree.File("new1.txt");
  Tree.File("new2.txt");
  Owner.Table.AppendRow("old1.txt", "new1.txt", Tree.Root(), "Ok");
  Owner.Table.AppendRow("old2.txt", "new2.txt", Tree.Root(), "Ok");

  Control.Recover();
  // The worker waits for the owner to empty the table: nothing of it has run yet.
  EXPECT_TRUE(Control.Running());
  EXPECT_FALSE(Owner.States.Rename);
  EXPECT_TRUE(Control.Stop());
  EXPECT_FALSE(Control.Running());
  Control.WaitForPass();

  EXPECT_EQ(Tree.Names(), (std::vector<std::string>{"old1.txt", "old2.txt"}));
  EXPECT_EQ(Owner.Table.RowCount(), 2u);
  // A recover runs to its end: it ends as one that was not stopped.
  EXPECT_EQ(Owner.Events, (std::vector<std::string>{"Started(Recover)", "Ended(Recover)"}));
  EXPECT_TRUE(Owner.States.Rename);
  EXPECT_TRUE(Owner.States.Recover);
}

TEST_F(RunControlTest, RecoverRefillsTheTableAndIsToldAsARecover) {
  Owner.Table.AppendRow("a.txt", "b.txt", Tree.Root(), "Error");
  Control.Recover();
  EXPECT_EQ(Owner.Events, std::vector<std::string>{"Started(Recover)"});
  EXPECT_TRUE(Control.Running());
  EXPECT_FALSE(Control.Simulation());
  EXPECT_EQ(Owner.Table.RowCount(), 0u);  // read, then refilled by the pass
  Control.WaitForPass();
  EXPECT_EQ(RowTexts(Owner.Table), (std::vector<TRowTexts>{{"a.txt", "", Tree.Root(), "No change"}}));
  EXPECT_EQ(Owner.Events, (std::vector<std::string>{"Started(Recover)", "Ended(Recover)"}));
}

TEST_F(RunControlTest, ASecondPassWaitsUntilTheFirstHasGone) {
  Tree.File("a.txt");
  Control.Simulate(Options(), CaptureSettings(InsertAtBeginning("x")));
  Control.Rename(Options(), CaptureSettings(InsertAtBeginning("y")));
  Control.WaitForPass();
  EXPECT_EQ(RowTexts(Owner.Table), (std::vector<TRowTexts>{{"a.txt", "ya.txt", Tree.Root(), "Ok"}}));
  EXPECT_EQ(Tree.Names(), (std::vector<std::string>{"ya.txt"}));
}

TEST_F(RunControlTest, ABudgetHandsRowsOnInSlicesAndTheEndComesWithTheLast) {
  constexpr int kFiles = 3000;  // more than one slice
  for (int i = 0; i < kFiles; ++i) Tree.File("f" + std::to_string(i) + ".txt");
  Control.Simulate(Options(), CaptureSettings(InsertAtBeginning("x")));
  Control.Pass()->Join();  // every row is waiting in the queue
  EXPECT_TRUE(Control.Pump(std::chrono::microseconds(0)));
  const std::size_t first = Owner.Table.RowCount();
  EXPECT_GT(first, 0u);
  EXPECT_LT(first, std::size_t(kFiles));
  EXPECT_TRUE(Control.Running());  // not ended while rows wait
  while (Control.Pump(std::chrono::microseconds(0))) {
  }
  EXPECT_EQ(Owner.Table.RowCount(), std::size_t(kFiles));
  EXPECT_EQ(Owner.LastEvent(), "Ended(Simulate)");
  EXPECT_FALSE(Control.Running());
}

TEST_F(RunControlTest, ThePassDoesNotOutliveTheRunControl) {
  for (int i = 0; i < 200; ++i) Tree.File("f" + std::to_string(i) + ".txt");
  {
    TRunControl control(Owner.Table, Owner);
    TSearchPassOptions options = Options();
    HoldAt(options, ListedFiles(Tree.Root(), "*.txt")[1]);
    control.Rename(options, CaptureSettings(InsertAtBeginning("x")));
    while (!Held) std::this_thread::yield();
    EXPECT_TRUE(control.PassAlive());
  }  // stops the pass and joins its worker
  // An owner letting its run control go is told nothing more.
  EXPECT_EQ(Owner.Events, std::vector<std::string>{"Started(Rename)"});
  EXPECT_EQ(ListedFiles(Tree.Root(), "x*").size(), 0u);  // stopped while listing
}

// A close request as the window answers it.
class TCloseWindow final : public ICloseQueryWindow {
 public:
  TCloseWindow(TRunControl& control, TTestOwner& owner) : Control_(control), Owner_(owner) {}
  TAnswer Answers[2] = {TAnswer::Yes, TAnswer::Yes};  // to 61185, to 61186
  std::vector<std::string> Log;
  std::function<void()> WhileAsked;

  TAnswer Ask(TCloseQuestion question) override {
    const bool stop = question == TCloseQuestion::StopPass;
    Log.push_back(stop ? "ask 61185" : "ask 61186, rows " + Rows());
    if (WhileAsked) WhileAsked();
    return Answers[stop ? 0 : 1];
  }
  TCommandStates CommandStates() const override { return Owner_.States; }
  void ShowResultPage() override { Log.push_back("result page"); }
  void SaveResultToFile() override { Log.push_back("save, rows " + Rows()); }
  void WaitForPassEnd() override {
    Log.push_back(Control_.Running() ? "wait, running" : "wait");
    Control_.WaitForPass();
  }

 private:
  std::string Rows() const { return std::to_string(Owner_.Table.RowCount()); }
  TRunControl& Control_;
  TTestOwner& Owner_;
};

TEST_F(RunControlTest, CloseWhileIdle) {
  struct Case {
    const char* What;
    int Rows;
    bool Save;
    TAnswer Answer;
    bool Closes;
    std::vector<std::string> Log;
  };
  const Case cases[] = {
      {"no rows", 0, true, TAnswer::Cancel, true, {}},
      {"rows of a simulation", 2, false, TAnswer::Cancel, true, {}},
      {"rows, Yes", 2, true, TAnswer::Yes, true, {"result page", "ask 61186, rows 2", "save, rows 2"}},
      {"rows, No", 2, true, TAnswer::No, true, {"result page", "ask 61186, rows 2"}},
      {"rows, Cancel", 2, true, TAnswer::Cancel, false, {"result page", "ask 61186, rows 2"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    TTestOwner owner;
    for (int i = 0; i < c.Rows; ++i) owner.Table.AppendRow("a", "b", "/", "Ok");
    owner.States.SaveResult = c.Save;
    TCloseWindow close(owner.Control, owner);
    close.Answers[1] = c.Answer;
    EXPECT_EQ(owner.Control.CloseQuery(close), c.Closes);
    EXPECT_EQ(close.Log, c.Log);
  }
}

class RunControlCloseTest : public RunControlTest {
 protected:
  // A pass over a.txt and sub/b.txt held at b.txt: one row in the table.
  void StartHeld() {
    Tree.File("a.txt");
    Tree.Folder("sub");
    Tree.File("sub/b.txt");
    TSearchPassOptions options = Options();
    options.IncludeSubDirs = true;
    HoldAt(options, "b.txt");
    Control.Rename(options, CaptureSettings(InsertAtBeginning("x")));
    WaitUntilHeld();
    ASSERT_EQ(Owner.Table.RowCount(), 1u);
  }
  TCloseWindow Close{Control, Owner};
};

TEST_F(RunControlCloseTest, AnsweredNoTheWindowAndThePassGoOn) {
  StartHeld();
  for (const TAnswer answer : {TAnswer::No, TAnswer::Cancel}) {
    Close.Log.clear();
    Close.Answers[0] = answer;
    EXPECT_FALSE(Control.CloseQuery(Close));
    EXPECT_EQ(Close.Log, std::vector<std::string>{"ask 61185"});
    EXPECT_TRUE(Control.Running());
  }
  Release();
  Control.WaitForPass();
  EXPECT_EQ(Tree.Names("sub"), std::vector<std::string>{"xb.txt"});  // the pass went on
}

TEST_F(RunControlCloseTest, AnsweredYesThePassStopsAndEndsBeforeTheSaveQuestion) {
  StartHeld();
  Close.Answers[1] = TAnswer::Cancel;  // closes all the same
  EXPECT_TRUE(Control.CloseQuery(Close));
  // Closing sets the stop request only: the pass still counts as running, not stopped.
  EXPECT_EQ(Close.Log, (std::vector<std::string>{"ask 61185", "wait, running", "ask 61186, rows 1"}));
  EXPECT_FALSE(Control.PassAlive());
  EXPECT_EQ(Owner.LastEvent(), "Ended(Rename, stopped)");
  EXPECT_EQ(Tree.Names("sub"), std::vector<std::string>{"b.txt"});
}

TEST_F(RunControlCloseTest, AnsweredYesTheSaveHoldsARowForEveryRename) {
  StartHeld();
  // The pass goes on while the question is shown: it may rename one more file.
  Close.WhileAsked = [this] {
    if (Close.Log.size() == 1) Release();
  };
  EXPECT_TRUE(Control.CloseQuery(Close));
  const std::size_t renamed = ListedFiles(Tree.Root(), "x*").size() + ListedFiles(Tree.Path("sub/"), "x*").size();
  EXPECT_EQ(Close.Log.back(), "save, rows " + std::to_string(renamed));
  EXPECT_FALSE(Control.PassAlive());
}

TEST_F(RunControlCloseTest, AfterStopTheCloseWaitsForTheLastRowThenAsksAsWhenIdle) {
  StartHeld();
  EXPECT_TRUE(Control.Stop());
  Close.Answers[1] = TAnswer::Cancel;
  EXPECT_FALSE(Control.CloseQuery(Close));
  EXPECT_EQ(Close.Log, (std::vector<std::string>{"wait", "result page", "ask 61186, rows 1"}));
  EXPECT_FALSE(Control.PassAlive());
}

TEST_F(RunControlCloseTest, ClearDuringAPassLetsTheLaterRowsAppend) {
  StartHeld();
  Owner.Table.Clear();
  Release();
  Control.WaitForPass();
  EXPECT_EQ(RowTexts(Owner.Table), (std::vector<TRowTexts>{{"b.txt", "xb.txt", Tree.Path("sub/"), "Ok"}}));
  EXPECT_EQ(Owner.LastEvent(), "Ended(Rename)");
}

TEST_F(RunControlCloseTest, NoSaveQuestionAfterASimulation) {
  Tree.File("a.txt");
  TSearchPassOptions options = Options();
  HoldAt(options, "a.txt");
  Control.Simulate(options, CaptureSettings(InsertAtBeginning("x")));
  WaitUntilHeld();
  EXPECT_TRUE(Control.CloseQuery(Close));
  EXPECT_EQ(Close.Log, (std::vector<std::string>{"ask 61185", "wait, running"}));
}

}  // namespace
}  // namespace vt::test
