#include "ui/Form1Commands.h"

#include <QAbstractButton>
#include <QAction>
#include <QPushButton>
#include <QToolButton>

#include "ui/Form1Controls.h"

namespace vt {
namespace {

void SetCommand(QAction* item, QAbstractButton* button, bool enabled) {
  item->setEnabled(enabled);
  button->setEnabled(enabled);
}

}  // namespace

TCommandStates CommandStates(const TForm1Controls& f) {
  TCommandStates states;
  states.Rename = f.RenameItem->isEnabled();
  states.Simulate = f.SimulItem->isEnabled();
  states.Recover = f.UndoItem->isEnabled();
  states.SaveResult = f.SaveAsItem->isEnabled();
  states.ClearResult = f.ClearResultItem->isEnabled();
  return states;
}

void SetCommandStates(TForm1Controls& f, const TCommandStates& states) {
  SetCommand(f.RenameItem, f.BtRename, states.Rename);
  SetCommand(f.SimulItem, f.BtSimul, states.Simulate);
  SetCommand(f.UndoItem, f.SpBtUndo, states.Recover);
  f.SaveAsItem->setEnabled(states.SaveResult);
  f.ClearResultItem->setEnabled(states.ClearResult);
}

}  // namespace vt
