#include "ui/ControlPage.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QStatusBar>
#include <QVBoxLayout>
#include <algorithm>

#include "browse/FileListBox.h"
#include "browse/FileNameModel.h"
#include "browse/FilterDirectoryListBox.h"
#include "browse/FilterDriveComboBox.h"
#include "engine/Messages.h"
#include "engine/OperationTable.h"
#include "engine/TextHelpers.h"
#include "passes/FileOrder.h"
#include "ui/ClashMarks.h"
#include "ui/ControlFactory.h"
#include "ui/NameBytes.h"
#include "ui/NamePreview.h"
#include "ui/NamePreviewWorker.h"
#include "ui/OrderChoice.h"
#include "ui/PreviewSwitch.h"
#include "ui/SettingsPages.h"

namespace vt {
namespace {

QFrame* FillPage(QWidget* page, const char* name) {
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* panel = new QFrame(page);
  panel->setObjectName(name);
  panel->setFrameShape(QFrame::NoFrame);
  layout->addWidget(panel);
  return panel;
}

QGroupBox* MakeGroup(QWidget* parent, const char* name, const QString& caption, int left, int top, int width,
                     int height) {
  auto* group = new QGroupBox(caption, parent);
  group->setObjectName(name);
  group->setGeometry(left, top, width, height);
  return group;
}

}  // namespace

TControlPage::TControlPage(QWidget* parent) : QWidget(parent) {
  setObjectName("TabSheetControls");
  Build();
  // A selection only: the settings pages already show the first operation's.
  Ui_.LstBoxActions->setCurrentRow(0);
  connect(Ui_.EdSearch, &QLineEdit::textChanged, this, &TControlPage::EdSearchChange);
  connect(Ui_.LstBoxActions, &QListWidget::currentRowChanged, this, &TControlPage::LstBoxActionsClick);
  const TOrderChoice remembered = RememberedOrder();
  Ui_.ComboOrder->setCurrentIndex(int(remembered.Order));
  Ui_.ChkBxReverse->setChecked(remembered.Direction == TOrderDirection::Descending);
  ComboOrderChange();
  connect(Ui_.ComboOrder, &QComboBox::currentIndexChanged, this, &TControlPage::ComboOrderChange);
  connect(Ui_.ChkBxReverse, &QCheckBox::toggled, this, &TControlPage::ComboOrderChange);
  // Kept when the user chooses, not when a program sets them.
  const auto remember = [this] { RememberOrder({PassOptions().Order, PassOptions().Direction}); };
  connect(Ui_.ComboOrder, &QComboBox::activated, this, remember);
  connect(Ui_.ChkBxReverse, &QCheckBox::clicked, this, remember);
  connect(Ui_.ChkBxUseFields, &QCheckBox::toggled, Ui_.PageCtrlSettings, &TSettingsPages::SetUseFields);
  WatchSettings();
  SetPreviewOn(PreviewWanted());
}

TControlPage::~TControlPage() {
  // No result is posted once the worker is joined; one already posted dies with this object.
  PreviewWorker_.reset();
}

void TControlPage::Build() {
  QFrame* panel = Ui_.Panel1 = FillPage(this, "Panel1");

  Ui_.FilterDriveComboBox1 = new TFilterDriveComboBox(panel);
  Ui_.FilterDriveComboBox1->setObjectName("FilterDriveComboBox1");
  Ui_.FilterDriveComboBox1->setGeometry(6, 8, 179, kFieldHeight);

  Ui_.FilterDirectoryListBox1 = new TFilterDirectoryListBox(panel);
  Ui_.FilterDirectoryListBox1->setObjectName("FilterDirectoryListBox1");
  Ui_.FilterDirectoryListBox1->setGeometry(6, 38, 303, 111);

  Ui_.Label1 = MakeLabel(panel, "Label1", "Search :", 327, 10);
  Ui_.EdSearch = MakeEdit(panel, "EdSearch", 384, 6, 205);
  QFont bold = Ui_.EdSearch->font();
  bold.setBold(true);
  Ui_.EdSearch->setFont(bold);
  Ui_.EdSearch->setText("*.*");

  Ui_.FileListBox1 = new TFileListBox(panel);
  Ui_.FileListBox1->setObjectName("FileListBox1");
  Ui_.FileListBox1->setGeometry(322, 38, 285, 111);

  // The drive box moves the folder list, the folder list the file list.
  Ui_.FilterDirectoryListBox1->SetFileList(Ui_.FileListBox1);
  Ui_.FilterDriveComboBox1->SetDirList(Ui_.FilterDirectoryListBox1);
  Ui_.FilterDriveComboBox1->SetIncludeDriveType(IncludeBit(TIncludeType::itFloppy) | IncludeBit(TIncludeType::itFixed) |
                                                IncludeBit(TIncludeType::itNetwork) | IncludeBit(TIncludeType::itRAM));
  Ui_.FilterDriveComboBox1->SetDriveTypeSelected(TDriveType::dtUnknown);

  Ui_.GroupBoxTreatments = MakeGroup(panel, "GroupBoxTreatments", "Options", 6, 155, 601, 40);
  Ui_.ChkBxIncSubDir = MakeCheckBox(Ui_.GroupBoxTreatments, "ChkBxIncSubDir", "Include sub-directories", 12, 18);
  // Kept for the settings it stands for; never shown and never read.
  Ui_.ChkBxForceReadOnly = MakeCheckBox(Ui_.GroupBoxTreatments, "ChkBxForceReadOnly", "Force if read only", 194, 18);
  Ui_.ChkBxForceReadOnly->hide();
  Ui_.ChkBxRestartPerFolder =
      MakeCheckBox(Ui_.GroupBoxTreatments, "ChkBxRestartPerFolder", "Restart numbering in each folder", 152, 18);
  Ui_.ChkBxUseFields = MakeCheckBox(Ui_.GroupBoxTreatments, "ChkBxUseFields", "Use fields", 341, 18);
  Ui_.ChkBxUseFields->setToolTip(
      "Fill in fields such as {taken}, {make} or {artist} in the text inserted or in "
      "Number's base name, from each file (see Help)");
  Ui_.LblOrder = MakeLabel(Ui_.GroupBoxTreatments, "LblOrder", "Order :", 419, 20);
  Ui_.ComboOrder = MakeDropDown(Ui_.GroupBoxTreatments, "ComboOrder",
                                {"Name", "Natural", "Date modified", "Date taken", "Size"}, 457, 15, 91);
  Ui_.ComboOrder->setToolTip(
      "The order files are treated and numbered in, within each folder; "
      "files without a date taken come after those with one");
  Ui_.LblOrder->setBuddy(Ui_.ComboOrder);
  // Arrows for a caption: the row has no room left for a word.
  Ui_.ChkBxReverse = MakeCheckBox(Ui_.GroupBoxTreatments, "ChkBxReverse", "\u21C5", 552, 18);
  Ui_.ChkBxReverse->setAccessibleName("Reverse");
  Ui_.ChkBxReverse->setToolTip(
      "Reverse: the order turned round, Z to A, newest or largest first; "
      "files without a date taken still come last");
  // The Options group has no room left: the choice is an item of the Execute
  // menu, which the window adds; the page holds it, as it reads it.
  Ui_.ChainsItem = new QAction("Let renames make room for each other", this);
  Ui_.ChainsItem->setObjectName("ChainsItem");
  Ui_.ChainsItem->setCheckable(true);
  Ui_.ChainsItem->setToolTip(
      "A rename whose new name another file of the pass still has waits until that file has moved; "
      "a swap or a shift over a full range goes through a temporary name (see Help)");

  Ui_.GroupBoxActions = MakeGroup(panel, "GroupBoxActions", "Functions", 6, 206, 601, 100);
  Ui_.LstBoxActions = new QListWidget(Ui_.GroupBoxActions);
  Ui_.LstBoxActions->setObjectName("LstBoxActions");
  Ui_.LstBoxActions->setGeometry(12, 20, 127, 69);
  Ui_.LstBoxActions->addItems(TSettingsPages::OperationItems());
  Ui_.LstBoxActions->setSelectionMode(QAbstractItemView::SingleSelection);

  Ui_.PageCtrlSettings = new TSettingsPages(Ui_.GroupBoxActions);
  Ui_.PageCtrlSettings->setGeometry(150, 6, 449, 92);
}

TSearchPassOptions TControlPage::PassOptions() const {
  TSearchPassOptions options;
  options.IncludeSubDirs = Ui_.ChkBxIncSubDir->isChecked();
  options.Folder = IncludeBackslash(Ui_.FilterDirectoryListBox1->Directory());
  options.Masks = NameBytes(Ui_.EdSearch->text());
  options.Order = static_cast<TFileOrder>(std::max(0, Ui_.ComboOrder->currentIndex()));
  if (Ui_.ChkBxReverse->isChecked()) options.Direction = TOrderDirection::Descending;
  options.RestartPerFolder = Ui_.ChkBxRestartPerFolder->isChecked();
  options.Chains = Ui_.ChainsItem->isChecked();
  return options;
}

TControlValues TControlPage::Values() const {
  TControlValues values = Ui_.PageCtrlSettings->Values();
  const std::optional<TOperation> operation = OperationAtRow(Ui_.LstBoxActions->currentRow());
  values.LstBoxActions = operation ? ChoiceValue(*operation) : -1;
  values.ChkBxUseFields = Ui_.ChkBxUseFields->isChecked();
  return values;
}

TRenameSettings TControlPage::Settings() const { return CaptureSettings(Values()); }

void TControlPage::FocusCheckedField(TCheckedField field) { Ui_.PageCtrlSettings->FocusCheckedField(field); }

void TControlPage::RefreshFileList() {
  // The mask emptied and set again: the list reads the folder anew and shows the new names.
  Ui_.FileListBox1->SetMask(std::string());
  Ui_.FileListBox1->SetMask(NameBytes(Ui_.EdSearch->text()));
}

std::vector<QWidget*> TControlPage::FocusOrder() const {
  std::vector<QWidget*> order{Ui_.FileListBox1,   Ui_.ChkBxIncSubDir, Ui_.ChkBxRestartPerFolder,
                              Ui_.ChkBxUseFields, Ui_.ComboOrder,     Ui_.ChkBxReverse,
                              Ui_.EdSearch};
  const std::vector<QWidget*> settings = Ui_.PageCtrlSettings->FocusOrder();
  order.insert(order.end(), settings.begin(), settings.end());
  order.insert(order.end(), {Ui_.LstBoxActions, Ui_.FilterDirectoryListBox1, Ui_.FilterDriveComboBox1});
  return order;
}

void TControlPage::WatchSettings() {
  // Every field of the settings pages, those added later too: the preview reads
  // them all through the capture a pass uses.
  const auto touched = [this] {
    SettingsTouched_ = true;
    PreviewSoon();
  };
  for (auto* edit : Ui_.PageCtrlSettings->findChildren<QLineEdit*>())
    connect(edit, &QLineEdit::textChanged, this, touched);
  for (auto* box : Ui_.PageCtrlSettings->findChildren<QCheckBox*>()) connect(box, &QCheckBox::toggled, this, touched);
  for (auto* combo : Ui_.PageCtrlSettings->findChildren<QComboBox*>()) {
    connect(combo, &QComboBox::currentIndexChanged, this, touched);
    connect(combo, &QComboBox::currentTextChanged, this, touched);
  }
  connect(Ui_.LstBoxActions, &QListWidget::currentRowChanged, this, touched);
  connect(Ui_.ChkBxUseFields, &QCheckBox::toggled, this, touched);
  connect(Ui_.ChainsItem, &QAction::toggled, this, &TControlPage::PreviewSoon);
  connect(Ui_.FileListBox1, &TFileListBox::FileListChanged, this, &TControlPage::PreviewSoon);
  connect(Ui_.FileListBox1->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] {
    if (!PreviewSettled()) PreviewRowsInView();
  });
}

void TControlPage::SetPreviewOn(bool on) {
  PreviewOn_ = on;
  UpdatePreview();
}

bool TControlPage::PreviewSettled() const { return !PreviewDue_ && (!PreviewOn_ || PreviewShown_ == PreviewStarted_); }

// Once per turn of the event loop, however many fields one keystroke changes.
void TControlPage::PreviewSoon() {
  if (PreviewDue_) return;
  PreviewDue_ = true;
  QMetaObject::invokeMethod(this, &TControlPage::UpdatePreview, Qt::QueuedConnection);
}

void TControlPage::UpdatePreview() {
  PreviewDue_ = false;
  const std::uint64_t generation = ++PreviewStarted_;
  TFileNameModel& model = Ui_.FileListBox1->NameModel();
  if (PreviewWorker_) PreviewWorker_->Drop(generation);
  if (!PreviewOn_) {
    PreviewShown_ = generation;
    model.ClearPreview();
    SayInStatusBar({});
    return;
  }
  // The checks of a pass, without a message box: a confirmation counts as given.
  const TControlValues values = Values();
  int refusedBy = 0;
  const TCheckOutcome outcome = CheckSettings(values, [&refusedBy](const TCheckMessage& message) {
    if (message.Kind == TMessageKind::Error && refusedBy == 0) refusedBy = message.Id;
    return TAnswer::Yes;
  });
  if (!outcome.MayStart) {
    PreviewShown_ = generation;
    model.ClearPreview();
    const int id = outcome.RefusedBy != 0 ? outcome.RefusedBy : refusedBy;
    SayInStatusBar(SettingsTouched_ && id != 0 ? QStringLiteral("No preview: %1").arg(QString::fromUtf8(Message(id)))
                                               : QString());
    return;
  }
  PreviewSettings_ = CaptureSettings(values);
  PreviewRowsInView();
  if (!PreviewWorker_) {
    PreviewWorker_ = std::make_unique<TNamePreviewWorker>(
        [this] { QMetaObject::invokeMethod(this, &TControlPage::TakePreview, Qt::QueuedConnection); });
  }
  const TSearchPassOptions options = PassOptions();
  PreviewWorker_->Start(generation,
                        TPreviewJob{model.SharedNames(),
                                    Ui_.FileListBox1->Folder().ends_with('/') ? Ui_.FileListBox1->Folder()
                                                                              : Ui_.FileListBox1->Folder() + "/",
                                    options.Masks, options.Order, options.Direction, PreviewSettings_, options.Chains});
}

void TControlPage::PreviewRowsInView() {
  if (!PreviewOn_ || PreviewShown_ == PreviewStarted_) return;
  const auto [first, last] = Ui_.FileListBox1->RowsInView();
  TFileNameModel& model = Ui_.FileListBox1->NameModel();
  model.SetPreviewInView(first, PreviewInView(model.Names(), first, last, PreviewSettings_));
}

void TControlPage::TakePreview() {
  if (!PreviewWorker_) return;
  if (auto finished = PreviewWorker_->TakeDone()) PreviewDone(finished->Generation, std::move(finished->Preview));
}

void TControlPage::PreviewDone(std::uint64_t generation, std::shared_ptr<const TFilePreview> preview) {
  // A preview of settings or names no longer shown: a newer one is under way.
  if (generation != PreviewStarted_ || PreviewDue_) return;
  PreviewShown_ = generation;
  const std::size_t clashes = preview->Clashes;
  Ui_.FileListBox1->NameModel().SetPreview(std::move(preview));
  SayInStatusBar(clashes > 0 ? ClashCountText(clashes) : QString());
}

void TControlPage::SayInStatusBar(const QString& text) {
  auto* bar = window()->findChild<QStatusBar*>(QStringLiteral("StatusBar"));
  if (bar == nullptr || !isVisible()) {
    Said_ = text;
    return;
  }
  // Another's message stays.
  if (!text.isEmpty())
    bar->showMessage(text);
  else if (!Said_.isEmpty() && bar->currentMessage() == Said_)
    bar->clearMessage();
  Said_ = text;
}

// A message hides the status bar's panels: the preview's count is said only
// while its list is in sight, so another page's panels stay readable.
void TControlPage::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (Said_.isEmpty()) return;
  if (auto* bar = window()->findChild<QStatusBar*>(QStringLiteral("StatusBar"))) bar->showMessage(Said_);
}

void TControlPage::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  auto* bar = window()->findChild<QStatusBar*>(QStringLiteral("StatusBar"));
  if (bar != nullptr && !Said_.isEmpty() && bar->currentMessage() == Said_) bar->clearMessage();
}

void TControlPage::EdSearchChange() { Ui_.FileListBox1->SetMask(NameBytes(Ui_.EdSearch->text())); }

// The file list shows the files in the order a pass would treat them in.
void TControlPage::ComboOrderChange() {
  const TSearchPassOptions options = PassOptions();
  if (options.Order == TFileOrder::Name && options.Direction == TOrderDirection::Ascending) {
    Ui_.FileListBox1->SetArrange({});
    return;
  }
  Ui_.FileListBox1->SetArrange([order = options.Order, direction = options.Direction](
                                   const std::string& folder, std::vector<std::string>& files,
                                   const TListingStop& stop) { ArrangeNames(folder, order, direction, files, stop); });
}

void TControlPage::LstBoxActionsClick() { Ui_.PageCtrlSettings->ShowOperationPage(Ui_.LstBoxActions->currentRow()); }

}  // namespace vt
