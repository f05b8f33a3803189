#include "app/screenshot/ScreenshotPass.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <atomic>
#include <chrono>

#include "browse/FilterDirectoryListBox.h"
#include "engine/RenameSettings.h"
#include "passes/PassWindow.h"
#include "passes/SearchThread.h"
#include "ui/Form1.h"

namespace vt {

namespace {

// The pass's view of the window, over TForm1's own controls and fields.
class TShotPassWindow final : public IPassWindow {
 public:
  explicit TShotPassWindow(TForm1& form) : Form_(form), RecordAll_(form.ChkBxAllRecord->isChecked()) {}

  TResultTable& ResultTable() override { return Form_.ResultTable(); }
  void EnableSearchControls(bool enable) override {
    Form_.BtRename->setEnabled(enable);
    Form_.BtSimul->setEnabled(enable);
  }
  void SetStatusText(int panel, const std::string& text) override {
    Form_.SetPanelText(panel, QString::fromStdString(text));
  }
  bool FRunning() const override { return Running_; }
  void SetFRunning(bool running) override { Running_ = running; }
  bool FSimulation() const override { return Form_.FSimulation(); }
  void SetFSimulation(bool simulation) override { Form_.SetFSimulation(simulation); }
  void RefreshFileList() override {}
  void EnableUndo() override {}  // never after a simulation
  const std::atomic<bool>& RecordAllMessages() const override { return RecordAll_; }

 private:
  TForm1& Form_;
  bool Running_ = false;
  std::atomic<bool> RecordAll_;
};

TControlValues SearchReplaceValues(const TForm1& form) {
  TControlValues values;
  values.LstBoxActions = form.LstBoxActions->currentRow();
  values.EdSearchFor = form.EdSearchFor->text().toStdString();
  values.EdReplaceWith = form.EdReplaceWith->text().toStdString();
  values.ChkBxSearchRecursive = form.ChkBxSearchRecursive->isChecked();
  values.ChkBxCaseSensitive = form.ChkBxCaseSensitive->isChecked();
  values.ChkBxSearchInExt = form.ChkBxSearchInExt->isChecked();
  return values;
}

}  // namespace

bool SimulateSearchReplace(TForm1& form) {
  TShotPassWindow window(form);
  TSearchPassOptions options;
  options.Folder = form.FilterDirectoryListBox1->Directory();
  options.Masks = form.EdSearch->text().toStdString();
  options.IncludeSubDirs = form.ChkBxIncSubDir->isChecked();

  window.SetFSimulation(true);
  form.ResultTable().SetTextColor(TextColor::Gray);
  form.ResultTable().Clear();
  window.SetStatusText(0, {});
  window.EnableSearchControls(false);
  window.SetFRunning(true);
  const std::size_t released = form.Dispatcher().ReleasedCount();
  TSearchThread::Start(window, form.Dispatcher(), options, SearchReplaceValues(form));
  form.PageControl1->setCurrentWidget(form.TabSheetResults);

  const auto limit = std::chrono::steady_clock::now() + std::chrono::minutes(1);
  while (form.Dispatcher().ReleasedCount() == released) {
    if (std::chrono::steady_clock::now() > limit) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  }
  return true;
}

}  // namespace vt
