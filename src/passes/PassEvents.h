#pragma once
// What the run control tells the front end that owns it about the passes it
// runs. Every call is made on the owner's thread, from the run control's Pump
// or from the command that starts the pass; never from a pass's worker.
#include <cstdint>
#include <span>
#include <string>

#include "passes/PassEnd.h"
#include "passes/PassRow.h"

namespace vt {

enum class TPassKind : std::uint8_t { Rename, Simulate, Recover };

class IPassEvents {
 public:
  virtual ~IPassEvents() = default;
  // The table has been emptied for the pass (a recover's once its rows were
  // read) and the run state says running; the worker starts next.
  virtual void PassStarted(TPassKind kind) = 0;
  // The next rows the pass pushed, in pass order. The table is the owner's to
  // fill: it may keep them, or only write them out. The rows are dropped after
  // the call, so the owner may move them out instead of copying them.
  virtual void PassRows(std::span<TPassRow> rows) = 0;
  // A folder of the walk could not be read (errno); it contributed nothing.
  virtual void FolderUnreadable(const std::string& folder, int error) = 0;
  // The worker has ended, every row has been handed on and the run state is
  // idle again. stopped: a stop was asked of it.
  virtual void PassEnded(TPassKind kind, TPassStopped stopped) = 0;
};

}  // namespace vt
