#include "ui/Form1PassWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QToolButton>

#include "browse/FileListBox.h"
#include "ui/ErrorReasons.h"
#include "ui/Form1.h"
#include "ui/Form1Commands.h"
#include "ui/NameBytes.h"

namespace vt {

TForm1PassWindow::TForm1PassWindow(TForm1& form, const QCheckBox& allRecord) : Form_(form) {
  // A pass reads the box for every entry: ticking it during a pass counts from the next one.
  RecordAll_ = allRecord.isChecked();
  Mirror_ = QObject::connect(&allRecord, &QCheckBox::toggled,
                             [this](bool checked) { RecordAll_.store(checked, std::memory_order_relaxed); });
}

TForm1PassWindow::~TForm1PassWindow() { QObject::disconnect(Mirror_); }

TResultTable& TForm1PassWindow::ResultTable() { return Form_.ResultTable(); }

void TForm1PassWindow::EnableSearchControls(bool enable) {
  TWindowFacts facts;
  facts.HasRows = Form_.ResultTable().RowCount() > 0;
  facts.Simulation = Form_.FSimulation();
  Form_.ApplyCommandStates(vt::EnableSearchControls(Form_.CurrentCommandStates(), enable, facts));
}

void TForm1PassWindow::SetStatusText(int panel, const std::string& text) {
  Form_.SetPanelText(panel, QString::fromStdString(text));
}

void TForm1PassWindow::PassRows(std::span<const TPassRow> rows) {
  if (TErrorReasons* reasons = Form_.ErrorReasons()) {
    std::size_t index = Form_.ResultTable().RowCount();
    for (const TPassRow& row : rows) reasons->Note(index++, row.Status, row.SystemError);
  }
  IRunWindow::PassRows(rows);
}

bool TForm1PassWindow::FRunning() const { return Form_.FRunning(); }
void TForm1PassWindow::SetFRunning(bool running) { Form_.SetFRunning(running); }
bool TForm1PassWindow::FSimulation() const { return Form_.FSimulation(); }
void TForm1PassWindow::SetFSimulation(bool simulation) { Form_.SetFSimulation(simulation); }

void TForm1PassWindow::RefreshFileList() { Form_.RefreshFileList(); }

void TForm1PassWindow::EnableUndo() { Form_.ApplyCommandStates(PassEndsWithRows(Form_.CurrentCommandStates())); }

void TForm1PassWindow::DisableSaveResult() { Form_.ApplyCommandStates(SimulationStarts(Form_.CurrentCommandStates())); }

}  // namespace vt
