#include "passes/CommandStates.h"

namespace vt {

TCommandStates EnableSearchControls(TCommandStates states, bool enable, const TWindowFacts& facts) {
  states.Rename = enable;
  states.Simulate = enable;
  states.Recover = enable && facts.HasRows && !facts.Simulation;
  if (!states.SaveResult && !facts.Simulation) states.SaveResult = true;
  if (!states.ClearResult) states.ClearResult = true;
  return states;
}

TCommandStates SimulationStarts(TCommandStates states) {
  states.SaveResult = false;
  return states;
}

TCommandStates PassEndsWithRows(TCommandStates states) {
  states.Recover = true;
  return states;
}

TCommandStates PassStarts(TCommandStates states, TPassKind kind) {
  TWindowFacts facts;
  facts.Simulation = kind == TPassKind::Simulate;
  if (facts.Simulation) states = SimulationStarts(states);
  return EnableSearchControls(states, false, facts);
}

TCommandStates PassEnds(TCommandStates states, TPassKind kind, bool hasRows) {
  TWindowFacts facts;
  facts.HasRows = hasRows;
  // Decided while the pass still counts as a simulation, so Recover stays off after one.
  facts.Simulation = kind == TPassKind::Simulate;
  if (hasRows) states = PassEndsWithRows(states);
  return EnableSearchControls(states, true, facts);
}

TCommandStates ResultLoaded(TCommandStates states, const TWindowFacts& facts) {
  if (!facts.HasRows) return states;
  if (!facts.PassAlive) states.Recover = true;
  states.Rename = false;
  states.Simulate = false;
  states.ClearResult = true;
  return states;
}

TCommandStates ResultCleared(TCommandStates states, const TWindowFacts& facts) {
  states.Recover = false;
  states.ClearResult = false;
  states.SaveResult = false;
  if (!facts.PassAlive) {
    states.Rename = true;
    states.Simulate = true;
  }
  return states;
}

TCloseQuestion FirstCloseQuestion(const TWindowFacts& facts, const TCommandStates& states) {
  if (facts.Running) return TCloseQuestion::StopPass;
  if (facts.HasRows && states.SaveResult) return TCloseQuestion::SaveResult;
  return TCloseQuestion::None;
}

}  // namespace vt
