#include "ui/Form1.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolButton>
#include <vector>

#include "ui/AccessibleNames.h"
#include "ui/ButtonImages.h"
#include "ui/ClashMarks.h"
#include "ui/CommandLink.h"
#include "ui/ControlFactory.h"
#include "ui/ControlPage.h"
#include "ui/DropTarget.h"
#include "ui/ErrorReasons.h"
#include "ui/FollowNewestRows.h"
#include "ui/Form1RunControl.h"
#include "ui/FrmAbout.h"
#include "ui/MessageBoxes.h"
#include "ui/RefusalWarning.h"
#include "ui/ResultListView.h"
#include "ui/ResultPage.h"
#include "ui/WindowFont.h"
#include "ui/WindowTitleProgress.h"

namespace vt {
namespace {

constexpr int kClientWidth = 620;
constexpr int kClientHeight = 394;
constexpr int kPanelWidth = 200;
constexpr int kStatusColumn = 3;
// Boxes open over one another at most, for a signal to turn down.
constexpr int kMostModals = 8;

}  // namespace

TForm1::TForm1(QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                              Qt::MSWindowsFixedSizeDialogHint) {
  setObjectName("Form1");
  setWindowTitle("Veltrane");
  setFont(WindowFont());

  BuildMenus();
  BuildWindowControls();
  LinkCommands();
  SetFocusOrder();
  FormCreate();
  RunControl_ = std::make_unique<TForm1RunControl>(*this, ResultPage_->AllRecord());
  ConnectHandlers();
  AddDesktopHelpers();

  // Not resizable: the window is as big as the menu bar and the fixed client area.
  layout()->setSizeConstraint(QLayout::SetFixedSize);
  adjustSize();
}

TForm1::~TForm1() {
  // A pass still running is stopped and its worker joined while every control is there.
  RunControl_.reset();
  // The table is a member and goes before the widgets that show it.
  if (ResultPage_) ResultPage_->List().Detach();
}

// Around the controls: drops, progress in the title, following rows, clashes
// of a simulation, names for screen readers.
void TForm1::AddDesktopHelpers() {
  TResultListView& list = ResultPage_->List();
  new TDropTarget(*this);
  new TWindowTitleProgress(*this, *list.model(), [this] { return RunControl_ && RunControl().PassAlive(); },
                           {BtRename, BtSimul});
  new TFollowNewestRows(list);
  ErrorReasons_ = new TErrorReasons(*list.model());
  auto* clashMarks = new TClashMarks(list, kStatusColumn);
  new TClashMarksWatch(
      *clashMarks, ResultTable_,
      {[this] { return RunControl_ && RunControl().PassAlive(); }, [this] { return ErrorReasons_->Reasons(); },
       [this](int panel) { return PanelText(panel); },
       [this](int panel, const QString& text) { SetPanelText(panel, text); },
       [this] { return RunControl_ && RunControl_->LastPassChains() ? TClashOrder::InOrder : TClashOrder::Grouped; },
       [this](int panel, const QString& tip) {
         if (panel >= 0 && panel < 2) StatusPanels[panel]->setToolTip(tip);
       }},
      {BtRename, BtSimul});
  SetAccessibleNames(*this);
}

void TForm1::BuildWindowControls() {
  ClientArea = new QWidget(this);
  ClientArea->setObjectName("ClientArea");
  ClientArea->setFixedSize(kClientWidth, kClientHeight);
  setCentralWidget(ClientArea);

  PageControl1 = new QTabWidget(ClientArea);
  PageControl1->setObjectName("PageControl1");
  PageControl1->setGeometry(0, 0, 620, 339);

  BtQuit = MakeButton(ClientArea, "BtQuit", "Quit", 10, 344, 75, 26);
  BtQuit->setIcon(ButtonIcon(DoorImage()));
  BtQuit->setIconSize({16, 16});

  SpBtUndo = new QToolButton(ClientArea);
  SpBtUndo->setObjectName("SpBtUndo");
  SpBtUndo->setGeometry(276, 344, 26, 26);
  SpBtUndo->setToolButtonStyle(Qt::ToolButtonIconOnly);
  SpBtUndo->setFocusPolicy(Qt::NoFocus);
  SpBtUndo->setIcon(ButtonIcon(UndoArrowImage()));
  SpBtUndo->setIconSize({20, 20});

  BtSimul = MakeButton(ClientArea, "BtSimul", "Simulate", 312, 344, 79, 26);
  BtSimul->setIcon(ButtonIcon(HollowBoltImage()));
  BtSimul->setIconSize({20, 20});

  BtCancel = MakeButton(ClientArea, "BtCancel", "Stop", 400, 344, 101, 26);
  BtCancel->setIcon(ButtonIcon(ProhibitionImage()));
  BtCancel->setIconSize({16, 16});

  BtRename = MakeButton(ClientArea, "BtRename", "Rename", 510, 344, 101, 26);
  QFont bold = BtRename->font();
  bold.setBold(true);
  BtRename->setFont(bold);
  BtRename->setIcon(ButtonIcon(LightningBoltImage()));
  BtRename->setIconSize({20, 20});

  StatusBar = new QStatusBar(ClientArea);
  StatusBar->setObjectName("StatusBar");
  StatusBar->setSizeGripEnabled(false);
  StatusBar->setGeometry(0, 375, 620, 19);
  StatusBar->setContentsMargins(0, 0, 0, 0);
  for (int i = 0; i < 2; ++i) {
    auto* panel = new QLabel(StatusBar);
    panel->setObjectName(QString("StatusPanel%1").arg(i));
    panel->setFixedWidth(kPanelWidth);
    panel->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    panel->setTextFormat(Qt::PlainText);
    StatusBar->addWidget(panel);
    StatusPanels[i] = panel;
  }

  // The pages, once the window's own controls are there.
  ControlPage_ = new TControlPage(PageControl1);
  ExecMnu->addAction(ControlPage_->ChainsItem());
  ResultPage_ = new TResultPage(ResultTable_, ResultLayout_, PageControl1);
  PageControl1->addTab(ControlPage_, "Control");
  PageControl1->addTab(ResultPage_, "Result");
}

void TForm1::SetPanelText(int panel, const QString& text) {
  if (panel >= 0 && panel < 2) StatusPanels[panel]->setText(text);
}

QString TForm1::PanelText(int panel) const { return panel >= 0 && panel < 2 ? StatusPanels[panel]->text() : QString(); }

void TForm1::LinkCommands() {
  // The button and the menu item of a command share one action.
  LinkButtonToAction(BtRename, RenameItem);
  LinkButtonToAction(BtSimul, SimulItem);
  LinkButtonToAction(SpBtUndo, UndoItem);
  LinkButtonToAction(BtCancel, StopItem);
  LinkButtonToAction(BtQuit, QuitItem);
  ResultPage_->LinkCommands(LoadResultItem, SaveAsItem, ClearResultItem);
  SpBtUndo->setToolTip("Undo");
}

void TForm1::SetFocusOrder() {
  // Within each page top-down as the pages list their fields; controls on pages
  // not shown are skipped by the focus chain.
  std::vector<QWidget*> order{PageControl1};
  for (const std::vector<QWidget*>& page : {ControlPage_->FocusOrder(), ResultPage_->FocusOrder()})
    order.insert(order.end(), page.begin(), page.end());
  order.insert(order.end(), {BtCancel, BtRename, BtSimul, BtQuit});
  for (std::size_t i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
}

void TForm1::FormCreate() {
  // The pages have made their own first selections.
  PageControl1->setCurrentWidget(ControlPage_);
}

void TForm1::ConnectHandlers() {
  connect(AboutItem, &QAction::triggered, this, &TForm1::AboutItemClick);
  connect(HelpItem, &QAction::triggered, this, &TForm1::HelpItemClick);
  connect(RenameItem, &QAction::triggered, this, &TForm1::BtRenameClick);
  connect(SimulItem, &QAction::triggered, this, &TForm1::BtSimulClick);
  connect(StopItem, &QAction::triggered, this, &TForm1::BtCancelClick);
  connect(UndoItem, &QAction::triggered, this, &TForm1::SpBtUndoClick);
  connect(HistoryItem, &QAction::triggered, this, &TForm1::HistoryItemClick);
  connect(QuitItem, &QAction::triggered, this, &TForm1::BtQuitClick);
  connect(SaveAsItem, &QAction::triggered, this, &TForm1::BtSaveAsResultClick);
  connect(LoadResultItem, &QAction::triggered, this, &TForm1::BtLoadResultClick);
  connect(ClearResultItem, &QAction::triggered, this, &TForm1::BtClearResultClick);
}

TRunControl& TForm1::RunControl() { return RunControl_->Control(); }
bool TForm1::FSimulation() const { return RunControl_->Control().Simulation(); }
bool TForm1::FRunning() const { return RunControl_->Control().Running(); }
bool TForm1::KeepingRecord() const { return RunControl_ && RunControl_->KeepingRecord(); }

TSearchPassOptions TForm1::PassOptions() const { return ControlPage_->PassOptions(); }
TRenameSettings TForm1::PassSettings() const { return ControlPage_->Settings(); }
void TForm1::ShowResultPage() { PageControl1->setCurrentWidget(ResultPage_); }
void TForm1::TriggerHelpTopics() { HelpItem->trigger(); }
void TForm1::TriggerSaveResult() { SaveAsItem->trigger(); }

void TForm1::RefreshFileList() { ControlPage_->RefreshFileList(); }

void TForm1::BtCancelClick() { RunControl_->BtCancelClick(); }
void TForm1::SpBtUndoClick() { RunControl_->SpBtUndoClick(); }
void TForm1::BtQuitClick() { close(); }
void TForm1::EndBySignal() {
  RunControl_->EndingBySignal();
  // An open box or dialog would hold the close until someone answers it: each
  // is turned down as its Cancel would, and the close goes on once its loop has
  // returned (a close already asking its questions ends by itself then).
  for (int open = 0; open < kMostModals; ++open) {
    auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!modal) break;
    modal->reject();
  }
  close();
}
void TForm1::FormCloseQuery(bool& canClose) {
  if (RunControl_) RunControl_->FormCloseQuery(canClose);  // none while the window is destroyed
}

void TForm1::closeEvent(QCloseEvent* event) {
  bool canClose = true;
  FormCloseQuery(canClose);
  event->setAccepted(canClose);
}

// The About box is the application's window of that name, which start-up makes
// after the main window; a window without one shows nothing.
void TForm1::AboutItemClick() {
  for (QWidget* window : QApplication::topLevelWidgets())
    if (auto* about = qobject_cast<TFrmAbout*>(window); about && about->objectName() == "FrmAbout") {
      about->exec();
      return;
    }
}

bool TForm1::CheckSettings() {
  const TCheckOutcome outcome = vt::CheckSettings(ControlPage_->Values(), ShowCheckMessage);
  if (outcome.MayStart) return true;
  PageControl1->setCurrentWidget(ControlPage_);
  ControlPage_->FocusCheckedField(outcome.Focus);
  return false;
}

void TForm1::BtRenameClick() {
  if (!CheckSettings()) return;
  // The pass renames what was looked at, whatever changes meanwhile.
  const TSearchPassOptions options = PassOptions();
  const TRenameSettings settings = PassSettings();
  // The look counts in the status bar; what it said before comes back after.
  const QString said = PanelText(0);
  const TLookWindow window{*this, *StopItem,
                           [this, said](const QString& text) { SetPanelText(0, text.isEmpty() ? said : text); }};
  if (!RefusalsAllowPass(options, settings, window)) return;
  RunControl_->BtRenameClick(options, settings);
}

void TForm1::BtSimulClick() {
  if (!CheckSettings()) return;
  RunControl_->BtSimulClick();
}

void TForm1::CenterOnScreen() {
  const QScreen* screen = this->screen();
  if (!screen) return;
  QRect frame = frameGeometry();
  frame.moveCenter(screen->availableGeometry().center());
  move(frame.topLeft());
}

void TForm1::showEvent(QShowEvent* event) {
  if (!Centered_) {
    CenterOnScreen();
    Centered_ = true;
  }
  QMainWindow::showEvent(event);
}

}  // namespace vt
