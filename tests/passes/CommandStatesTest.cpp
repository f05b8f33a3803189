// The enabling of the run and result commands through a session's steps, and
// the close request's first question.
#include <gtest/gtest.h>

#include <ostream>

#include "passes/CommandStates.h"

namespace vt {

void PrintTo(const TCommandStates& s, std::ostream* out) {
  *out << "{Rename " << s.Rename << ", Simulate " << s.Simulate << ", Recover " << s.Recover << ", Save "
       << s.SaveResult << ", Clear " << s.ClearResult << "}";
}

namespace {

TCommandStates States(bool rename, bool simulate, bool recover, bool save, bool clear) {
  return {rename, simulate, recover, save, clear};
}

TWindowFacts Facts(bool hasRows, bool simulation, bool passAlive = false) {
  TWindowFacts facts;
  facts.HasRows = hasRows;
  facts.Simulation = simulation;
  facts.Running = passAlive;
  facts.PassAlive = passAlive;
  return facts;
}

// The window's steps, as the run control's events take them.
TCommandStates RenameStarts(TCommandStates s) { return PassStarts(s, TPassKind::Rename); }
TCommandStates SimulateStarts(TCommandStates s) { return PassStarts(s, TPassKind::Simulate); }
TCommandStates SearchPassEnds(TCommandStates s, bool rows, bool simulation) {
  return PassEnds(s, simulation ? TPassKind::Simulate : TPassKind::Rename, rows);
}

TEST(CommandStates, AtStartOnlyRenameAndSimulateAreOffered) {
  EXPECT_EQ(TCommandStates{}, States(true, true, false, false, false));
}

TEST(CommandStates, ThroughRenameSimulateAndRecoverPasses) {
  struct Step {
    const char* What;
    TCommandStates (*Apply)(TCommandStates);
    TCommandStates Expected;
  };
  const Step steps[] = {
      {"a rename pass runs: Save and Clear come at once", RenameStarts, States(false, false, false, true, true)},
      {"it ends with rows", [](TCommandStates s) { return SearchPassEnds(s, true, false); },
       States(true, true, true, true, true)},
      {"a simulation runs: Save goes", SimulateStarts, States(false, false, false, false, true)},
      {"it ends with rows: Recover and Save stay off", [](TCommandStates s) { return SearchPassEnds(s, true, true); },
       States(true, true, false, false, true)},
      {"a rename pass runs after it: Save comes back", RenameStarts, States(false, false, false, true, true)},
      {"it ends without rows: no Recover", [](TCommandStates s) { return SearchPassEnds(s, false, false); },
       States(true, true, false, true, true)},
      {"a recover runs", [](TCommandStates s) { return PassStarts(s, TPassKind::Recover); },
       States(false, false, false, true, true)},
      {"it ends with rows: Recover again", [](TCommandStates s) { return PassEnds(s, TPassKind::Recover, true); },
       States(true, true, true, true, true)},
  };
  TCommandStates states;
  for (const Step& step : steps) {
    SCOPED_TRACE(step.What);
    states = step.Apply(states);
    EXPECT_EQ(states, step.Expected);
  }
}

TEST(CommandStates, EnablingNeverTakesSaveOrClearAway) {
  for (const bool enable : {false, true})
    for (const bool rows : {false, true})
      for (const bool simulation : {false, true}) {
        const TCommandStates after =
            EnableSearchControls(States(false, false, false, true, true), enable, Facts(rows, simulation));
        EXPECT_TRUE(after.SaveResult);
        EXPECT_TRUE(after.ClearResult);
        EXPECT_EQ(after.Rename, enable);
        EXPECT_EQ(after.Simulate, enable);
        EXPECT_EQ(after.Recover, enable && rows && !simulation);
      }
}

TEST(CommandStates, LoadAndClear) {
  struct Case {
    const char* What;
    TCommandStates Before;
    TWindowFacts Facts;
    bool Load;  // else clear
    TCommandStates Expected;
  };
  const TCommandStates idle = States(true, true, false, true, false);
  const TCommandStates running = States(false, false, false, true, true);
  const Case cases[] = {
      {"load with rows", idle, Facts(true, false), true, States(false, false, true, true, true)},
      {"load with rows keeps Save off", States(true, true, false, false, false), Facts(true, false), true,
       States(false, false, true, false, true)},
      {"load without rows changes nothing", idle, Facts(false, false), true, idle},
      {"load during a pass offers no Recover", running, Facts(true, false, true), true,
       States(false, false, false, true, true)},
      {"clear", States(true, true, true, true, true), Facts(false, false), false,
       States(true, true, false, false, false)},
      {"clear after a load", States(false, false, true, true, true), Facts(false, false), false,
       States(true, true, false, false, false)},
      {"clear during a pass starts nothing", running, Facts(false, false, true), false,
       States(false, false, false, false, false)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    EXPECT_EQ(c.Load ? ResultLoaded(c.Before, c.Facts) : ResultCleared(c.Before, c.Facts), c.Expected);
  }
}

TEST(CommandStates, FirstCloseQuestion) {
  struct Case {
    bool Running, Rows, Save;
    TCloseQuestion Expected;
  };
  const Case cases[] = {
      {true, false, false, TCloseQuestion::StopPass},  {true, true, true, TCloseQuestion::StopPass},
      {false, true, true, TCloseQuestion::SaveResult}, {false, true, false, TCloseQuestion::None},
      {false, false, true, TCloseQuestion::None},      {false, false, false, TCloseQuestion::None},
  };
  for (const Case& c : cases) {
    TWindowFacts facts = Facts(c.Rows, false);
    facts.Running = c.Running;
    TCommandStates states;
    states.SaveResult = c.Save;
    EXPECT_EQ(FirstCloseQuestion(facts, states), c.Expected)
        << "running " << c.Running << ", rows " << c.Rows << ", save " << c.Save;
  }
}

}  // namespace
}  // namespace vt
