#pragma once
// Which run and result commands are available, as plain values: the rules the
// window applies to its buttons and menu items (each button always together with
// its menu item), kept apart from any widget so both front ends and the tests
// share them.
#include "passes/PassEvents.h"

namespace vt {

struct TCommandStates {
  bool Rename = true;        // BtRename, RenameItem
  bool Simulate = true;      // BtSimul, SimulItem
  bool Recover = false;      // SpBtUndo, UndoItem
  bool SaveResult = false;   // BtSaveAsResult, SaveAsItem
  bool ClearResult = false;  // BtClearResult, ClearResultItem
  bool operator==(const TCommandStates&) const = default;
};

// What the rules look at besides the commands themselves.
struct TWindowFacts {
  bool HasRows = false;     // the result table has at least one row
  bool Simulation = false;  // the pass started last is a simulation and has not ended
  bool Running = false;     // a pass runs and has not been stopped
  bool PassAlive = false;   // a pass has started and not yet ended, stopped or not
};

// EnableSearchControls(enable): Rename and Simulate follow enable; Recover needs
// rows and no simulation; Save Result (not after a simulation) and Clear Result
// are only ever switched on here.
TCommandStates EnableSearchControls(TCommandStates states, bool enable, const TWindowFacts& facts);

// Simulate takes Save Result away before its pass starts: a simulation's rows
// record no renames.
TCommandStates SimulationStarts(TCommandStates states);

// The end of a pass offers Recover when the table has rows (before
// EnableSearchControls(true) decides it again).
TCommandStates PassEndsWithRows(TCommandStates states);

// A pass has started: the run commands off, and Save Result too for a simulation.
TCommandStates PassStarts(TCommandStates states, TPassKind kind);

// A pass has ended: the run commands back, Recover when the table has rows and
// the pass was no simulation.
TCommandStates PassEnds(TCommandStates states, TPassKind kind, bool hasRows);

// A result file with rows was loaded: Recover and Clear Result on, Rename and
// Simulate off; Save Result as it was. Without rows nothing changes. While a pass
// is alive nothing that would start another pass is switched on.
TCommandStates ResultLoaded(TCommandStates states, const TWindowFacts& facts);

// The table was cleared: Recover, Clear and Save Result off, Rename and Simulate
// on (not while a pass is alive).
TCommandStates ResultCleared(TCommandStates states, const TWindowFacts& facts);

// The questions closing the window may ask, in the order they come.
enum class TCloseQuestion {
  None,
  StopPass,    // 61185 "Process in progress, ..."
  SaveResult,  // 61186 "Do you want to save result before clearing?"
};

// The first question of a close request: the running pass first, then rows that
// Save Result would keep.
TCloseQuestion FirstCloseQuestion(const TWindowFacts& facts, const TCommandStates& states);

}  // namespace vt
