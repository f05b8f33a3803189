#include "ui/Form1RunControl.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QTabWidget>
#include <utility>

#include "browse/BusyCursor.h"
#include "engine/Messages.h"
#include "passes/JournalWhat.h"
#include "ui/Form1.h"
#include "ui/Form1Commands.h"
#include "ui/MessageBoxes.h"

namespace vt {
namespace {

// While the window waits for a pass to end it still paints, now and then.
constexpr std::chrono::milliseconds kPaintTick{30};
// Rows of a running pass reach the table this often: as often as a screen
// shows them, and seldom enough that a batch costs the window little.
constexpr std::chrono::milliseconds kRowTick{20};
// What one turn of the timer may spend on rows; the rest waits for the next.
constexpr std::chrono::milliseconds kRowBudget{10};

}  // namespace

TForm1RunControl::TForm1RunControl(TForm1& form, const QCheckBox& allRecord)
    : Form_(form), Events_(form), Control_(form.ResultTable(), Events_) {
  // A pass reads the box for every entry: ticking it during a pass counts from the next one.
  Control_.SetRecordAllMessages(allRecord.isChecked());
  QObject::connect(&allRecord, &QCheckBox::toggled, this,
                   [this](bool checked) { Control_.SetRecordAllMessages(checked); });
  RowTimer_.setInterval(kRowTick);
  QObject::connect(&RowTimer_, &QTimer::timeout, this, [this] { PumpRows(); });
  qApp->installEventFilter(this);
}

void TForm1RunControl::PassStarted(const char* starter) {
  if (!Control_.PassAlive()) return;
  Starter_ = Form_.findChild<QWidget*>(starter);
  FocusMovedByUser_ = false;
  RowTimer_.start();
}

// The commands are disabled during a pass, so the focus has moved on, to Stop
// and then to Quit, where the next Space would quit. It goes back to what
// started the pass, unless the user has put it somewhere else meanwhile.
void TForm1RunControl::ReturnFocus() {
  QWidget* const starter = Starter_;
  Starter_ = nullptr;
  if (starter == nullptr || !starter->isEnabled()) return;
  const QWidget* const now = Form_.focusWidget();
  const bool chosen = FocusMovedByUser_ && now != nullptr && now->isEnabled() &&
                      now->objectName() != QLatin1String("BtQuit") && now->objectName() != QLatin1String("BtCancel");
  if (!chosen) starter->setFocus(Qt::OtherFocusReason);
}

void TForm1RunControl::PumpRows() {
  if (Control_.PassAlive()) {
    const bool stopped = StopAsked();
    if (Control_.Pump(kRowBudget)) return;
    PassEnded(stopped);
  }
  // The timer runs on until the record's worker has ended.
  if (!Journal_.WaitForRecord(std::chrono::milliseconds(0))) return;
  RowTimer_.stop();
  TakeRecord();
}

bool TForm1RunControl::StopAsked() const { return Control_.Pass() && Control_.Pass()->StopRequested(); }

void TForm1RunControl::PassEnded(bool stopped) {
  ReturnFocus();
  Journal_.Finish(stopped, FailureReport());
  if (std::exchange(RecoverRunning_, false) && !stopped && !EndingBySignal_ && AfterRecover)
    QTimer::singleShot(0, &Form_, AfterRecover);
}

void TForm1RunControl::TakeRecord() { Journal_.TakeRecord(FailureReport()); }

TForm1PassJournal::TFailureReport TForm1RunControl::FailureReport() const {
  return EndingBySignal_ ? TForm1PassJournal::TFailureReport::StandardError : TForm1PassJournal::TFailureReport::Box;
}

void TForm1RunControl::Settle() {
  if (Control_.PassAlive())
    WaitForPassEnd();
  else
    WaitForRecord();
}

TForm1RunControl::~TForm1RunControl() {
  qApp->removeEventFilter(this);
  RowTimer_.stop();
  // Gone without a close (the program ends, the owner drops the window): the
  // record is finished as a close would, so no later start-up takes it for a
  // pass that was cut off. Nothing reaches the window any more.
  const bool alive = Control_.PassAlive();
  if (TPassThread* pass = Control_.Pass()) {
    pass->RequestStop();
    pass->Join();
  }
  Journal_.Finish(alive, TForm1PassJournal::TFailureReport::StandardError);
  Journal_.TakeRecord(TForm1PassJournal::TFailureReport::StandardError);
}

void TForm1RunControl::BtRenameClick(const TSearchPassOptions& checkedOptions, const TRenameSettings& checkedSettings) {
  // The journal of a pass still finishing is ended, and its record kept, before
  // the next one starts.
  Settle();
  TSearchPassOptions options = checkedOptions;
  const TRenameSettings& settings = checkedSettings;
  if (!Journal_.Start(TJournalKind::Rename, options.Folder, JournalWhat(settings, options.Masks))) return;
  options.Journal = Journal_.Writer();
  LastPassChains_ = options.Chains;
  Control_.Rename(options, settings);
  PassStarted("BtRename");
  Form_.ShowResultPage();
}

void TForm1RunControl::BtSimulClick() {
  Settle();
  Journal_.SetTableJournal({});  // the rows it leaves are no record's
  const TSearchPassOptions options = Form_.PassOptions();
  LastPassChains_ = options.Chains;
  Control_.Simulate(options, Form_.PassSettings());
  PassStarted("BtSimul");
  Form_.ShowResultPage();
}

void TForm1RunControl::BtCancelClick() { StopPass(); }

void TForm1RunControl::StopPass() {
  if (Control_.Stop()) Events_.PassStopping();
}

void TForm1RunControl::SpBtUndoClick() {
  // The rows to undo are those of the record: its journal is the table's once kept.
  Settle();
  if (!Journal_.Start(TJournalKind::Recover, Journal_.TableJournal(), "recover")) return;
  Control_.Recover(Journal_.Writer());
  RecoverRunning_ = Control_.PassAlive();
  // Its rows replace the table's: the result list is where they are read.
  PassStarted("ListView");
  Form_.ShowResultPage();
}

void TForm1RunControl::FormCloseQuery(bool& canClose) {
  // A close asked for while the window waits for a pass is that same close.
  if (Closing_) {
    canClose = false;
    return;
  }
  Closing_ = true;
  // A record that failed says so before the close asks anything, as it would
  // have had the pass ended earlier.
  if (!Control_.PassAlive()) WaitForRecord();
  canClose = EndingBySignal_ || Control_.CloseQuery(*this);
  // The record of the pass is its journal, kept: a signal asks nothing,
  // also when it came while this close was asking (its box was turned down).
  if (EndingBySignal_) {
    StopPass();
    if (Control_.PassAlive()) WaitForPassEnd();
    canClose = true;
  }
  // The window goes with its record kept.
  if (canClose) WaitForRecord();
  Closing_ = false;
}

void TForm1RunControl::FormKeyDown(int key) {
  if (key == Qt::Key_Escape) {
    BtCancelClick();
    // The stop text and the rows already pushed appear at once.
    if (Control_.PassAlive()) PumpRows();
    QCoreApplication::processEvents();
  } else if (key == Qt::Key_F1) {
    Form_.TriggerHelpTopics();
  }
}

bool TForm1RunControl::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if ((type != QEvent::KeyPress && type != QEvent::MouseButtonPress) || !watched->isWidgetType()) return false;
  const auto* widget = static_cast<QWidget*>(watched);
  if (type == QEvent::MouseButtonPress) {
    if (Starter_ && widget->window() == &Form_) FocusMovedByUser_ = true;
    return false;
  }
  // A key goes to the focused control and then up to its parents: take it once,
  // where it starts.
  QWidget* const first = Form_.focusWidget() ? Form_.focusWidget() : &Form_;
  if (widget != first || widget->window() != &Form_) return false;
  const int key = static_cast<QKeyEvent*>(event)->key();
  if (Starter_ && (key == Qt::Key_Tab || key == Qt::Key_Backtab)) FocusMovedByUser_ = true;
  FormKeyDown(key);
  return false;  // the control gets the key too
}

TAnswer TForm1RunControl::Ask(TCloseQuestion question) {
  if (EndingBySignal_) return TAnswer::Cancel;  // the close ends the window all the same
  const int message = question == TCloseQuestion::StopPass ? Msg::CloseDuringPass : Msg::SaveBeforeClearing;
  return ShowMessageBox(TMessageKind::Confirmation, QString::fromUtf8(Message(message)));
}

TCommandStates TForm1RunControl::CommandStates() const { return Form_.CurrentCommandStates(); }

void TForm1RunControl::ShowResultPage() { Form_.ShowResultPage(); }

// Save Result does nothing but save: its command is the save the question offers.
void TForm1RunControl::SaveResultToFile() { Form_.TriggerSaveResult(); }

void TForm1RunControl::WaitForPassEnd() {
  TBusyCursor busy;
  bool stopped = StopAsked();
  // Only the pass's rows and painting: no click or key is handled meanwhile.
  Control_.WaitForPass(kPaintTick, [this, &stopped] {
    stopped = stopped || StopAsked();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  });
  RowTimer_.stop();
  PassEnded(stopped);
  WaitForRecord();
}

void TForm1RunControl::WaitForRecord() {
  if (!Journal_.KeepingRecord()) return;
  TBusyCursor busy;
  // Only painting: no click or key is handled meanwhile.
  while (!Journal_.WaitForRecord(kPaintTick)) QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  RowTimer_.stop();
  TakeRecord();
}

}  // namespace vt
