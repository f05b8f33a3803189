#pragma once
// The main window as the passes and the run control see it. Every call comes on
// the window thread, except that workers read the mirror of "To Record all
// messages", which the window keeps up to date.
#include <QObject>
#include <atomic>

#include "passes/RunWindow.h"

class QCheckBox;

namespace vt {

class TForm1;

class TForm1PassWindow final : public IRunWindow {
 public:
  // allRecord: "All record", read by the pass through RecordAllMessages.
  TForm1PassWindow(TForm1& form, const QCheckBox& allRecord);
  ~TForm1PassWindow() override;
  TForm1PassWindow(const TForm1PassWindow&) = delete;
  TForm1PassWindow& operator=(const TForm1PassWindow&) = delete;

  TResultTable& ResultTable() override;
  void EnableSearchControls(bool enable) override;
  void SetStatusText(int panel, const std::string& text) override;
  bool FRunning() const override;
  void SetFRunning(bool running) override;
  bool FSimulation() const override;
  void SetFSimulation(bool simulation) override;
  void RefreshFileList() override;
  void EnableUndo() override;
  const std::atomic<bool>& RecordAllMessages() const override { return RecordAll_; }
  void DisableSaveResult() override;
  void PassRows(std::span<const TPassRow> rows) override;

 private:
  TForm1& Form_;
  std::atomic<bool> RecordAll_{false};
  QMetaObject::Connection Mirror_;
};

}  // namespace vt
