#include "ui/Form1PassEvents.h"

#include <QString>
#include <utility>
#include <vector>

#include "engine/Messages.h"
#include "passes/CommandStates.h"
#include "ui/ErrorReasons.h"
#include "ui/Form1.h"

namespace vt {

void TForm1PassEvents::PassStarted(TPassKind kind) {
  Form_.SetPanelText(0, QString());
  Form_.ApplyCommandStates(PassStarts(Form_.CurrentCommandStates(), kind));
}

void TForm1PassEvents::PassRows(std::span<TPassRow> rows) {
  TResultTable& table = Form_.ResultTable();
  // Noted first: the list may ask for a row's reason as soon as it is in.
  if (TErrorReasons* reasons = Form_.ErrorReasons()) {
    std::size_t index = table.RowCount();
    for (const TPassRow& row : rows) reasons->Note(index++, row.Status, row.SystemError);
  }
  // Moved, not copied: a copy of a row's folder counts a reference up on the
  // line the pass's worker counts up for every row it makes, and the dropped
  // copy counts it down again, both across the cores.
  std::vector<TResultRow> moved;
  moved.reserve(rows.size());
  for (TPassRow& row : rows) moved.emplace_back(std::move(row));
  table.AppendRows(std::move(moved));
}

// The window lists what it could read; a folder it could not read has no row.
void TForm1PassEvents::FolderUnreadable(const std::string& /*folder*/, int /*error*/) {}

void TForm1PassEvents::PassEnded(TPassKind kind, TPassStopped stopped) {
  Form_.SetPanelText(0, QString::fromUtf8(Message(Msg::ProcessOk)));
  Form_.RefreshFileList();
  Form_.ApplyCommandStates(PassEnds(Form_.CurrentCommandStates(), kind, Form_.ResultTable().RowCount() > 0));
  // "Process stopped by user..." stays; a recover pass leaves panel 1 alone.
  if (kind != TPassKind::Recover && stopped == TPassStopped::No) Form_.SetPanelText(1, QString());
}

void TForm1PassEvents::PassStopping() { Form_.SetPanelText(1, QString::fromUtf8(Message(Msg::StoppedByUser))); }

}  // namespace vt
