#include "ui/HistoryWindow.h"

#include <QAction>
#include <QDateTime>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTreeView>
#include <QVBoxLayout>

namespace vt {
namespace {

QString Text(const std::string& bytes) { return QString::fromStdString(bytes); }

enum TColumn { ColId, ColStarted, ColFolder, ColOperation, ColOk, ColState, ColCount };

}  // namespace

QString HistoryStateText(const THistoryEntry& entry) {
  if (entry.Kind == THistoryKind::Orphan) return "orphan, no journal";
  if (entry.Kind == THistoryKind::Recover) return "recover cut short";
  if (entry.Running) return "running";
  switch (entry.State) {
    case TPassState::CanBeUndone: return "can be undone";
    case TPassState::Undone: return "undone";
    case TPassState::PartlyUndone: return "partly undone";
    case TPassState::Unfinished: break;
  }
  return "unfinished";
}

QString HistoryStartText(std::uint64_t utcNs) {
  const QDateTime local = QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(utcNs / 1000000U));
  const int offset = local.offsetFromUtc();
  const int minutes = (offset < 0 ? -offset : offset) / 60;
  return local.toString("yyyy-MM-dd HH:mm:ss ") + (offset < 0 ? "-" : "+") +
         QString("%1%2").arg(minutes / 60, 2, 10, QChar('0')).arg(minutes % 60, 2, 10, QChar('0'));
}

THistoryWindow::THistoryWindow(std::string folder, QWidget* parent)
    : QWidget(parent, Qt::Window), Folder_(std::move(folder)) {
  setObjectName("HistoryWindow");
  setWindowTitle("Recover an earlier pass");
  resize(820, 360);

  auto* label = new QLabel("&Kept passes, newest first:");
  LstHistory = new QTreeView;
  LstHistory->setObjectName("LstHistory");
  LstHistory->setRootIsDecorated(false);
  LstHistory->setUniformRowHeights(true);
  LstHistory->setAllColumnsShowFocus(true);
  LstHistory->setEditTriggers(QAbstractItemView::NoEditTriggers);
  LstHistory->setSelectionMode(QAbstractItemView::SingleSelection);
  label->setBuddy(LstHistory);
  HistoryModel = new QStandardItemModel(0, ColCount, this);
  HistoryModel->setObjectName("HistoryModel");
  HistoryModel->setHorizontalHeaderLabels({"ID", "Started", "Folder", "Operation", "Ok", "State"});
  LstHistory->setModel(HistoryModel);
  LstHistory->setAccessibleName("Kept passes");

  LblHistory = new QLabel;
  LblHistory->setObjectName("LblHistory");
  LblHistory->setWordWrap(true);

  BtHistoryLoad = new QPushButton("&Load into the Result Table");
  BtHistoryLoad->setObjectName("BtHistoryLoad");
  BtHistoryLoad->setDefault(true);
  BtHistoryLoad->setEnabled(false);
  BtHistoryClose = new QPushButton("Close");
  BtHistoryClose->setObjectName("BtHistoryClose");
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(LblHistory, 1);
  buttons->addWidget(BtHistoryLoad);
  buttons->addWidget(BtHistoryClose);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(label);
  layout->addWidget(LstHistory, 1);
  layout->addLayout(buttons);

  connect(BtHistoryLoad, &QPushButton::clicked, this, &THistoryWindow::ChooseCurrent);
  connect(BtHistoryClose, &QPushButton::clicked, this, &QWidget::close);
  // Enter on a row, or a double click, chooses it.
  connect(LstHistory, &QTreeView::activated, this, &THistoryWindow::ChooseCurrent);

  auto* closeAction = new QAction(this);
  closeAction->setObjectName("HistoryCloseAction");
  closeAction->setShortcuts({QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)});
  closeAction->setShortcutContext(Qt::WindowShortcut);
  connect(closeAction, &QAction::triggered, this, &QWidget::close);
  addAction(closeAction);
}

THistoryWindow::~THistoryWindow() {
  if (Worker_.joinable()) Worker_.join();
}

bool THistoryWindow::Reading() const {
  const std::lock_guard lock(Mutex_);
  return Reading_;
}

void THistoryWindow::ShowHistory() {
  show();
  raise();
  activateWindow();
  LstHistory->setFocus(Qt::ActiveWindowFocusReason);
  Read();
}

void THistoryWindow::Read() {
  {
    const std::lock_guard lock(Mutex_);
    if (Reading_) return;
    Reading_ = true;
  }
  if (Worker_.joinable()) Worker_.join();  // ended: it has handed its list over
  if (Entries_.empty()) LblHistory->setText("Reading the kept passes…");
  Worker_ = std::jthread([this] {
    std::vector<THistoryEntry> read = ReadHistory(Folder_);
    {
      const std::lock_guard lock(Mutex_);
      Read_ = std::move(read);
    }
    // Dropped with the window, should it go first.
    QMetaObject::invokeMethod(
        this, [this] { TakeEntries(); }, Qt::QueuedConnection);
  });
}

void THistoryWindow::TakeEntries() {
  {
    const std::lock_guard lock(Mutex_);
    if (!Read_) return;
    Entries_ = std::move(*Read_);
    Read_.reset();
    Reading_ = false;
  }
  Fill();
}

void THistoryWindow::Fill() {
  const QModelIndex current = LstHistory->currentIndex();
  const QString currentId = current.isValid() ? HistoryModel->item(current.row(), ColId)->text() : QString();
  HistoryModel->removeRows(0, HistoryModel->rowCount());
  int select = 0;
  for (const THistoryEntry& entry : Entries_) {
    QList<QStandardItem*> row;
    const QString folder = Text(entry.Folder);
    for (const QString& text :
         {Text(entry.Id), HistoryStartText(entry.StartedUtcNs), folder, Text(entry.What),
          entry.Renamed ? QString::number(*entry.Renamed) : QString("?"), HistoryStateText(entry)}) {
      auto* item = new QStandardItem(text);
      item->setToolTip(text);
      row.append(item);
    }
    row[ColOk]->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    if (row[ColId]->text() == currentId) select = HistoryModel->rowCount();
    HistoryModel->appendRow(row);
  }
  LstHistory->header()->resizeSections(QHeaderView::ResizeToContents);
  const bool any = !Entries_.empty();
  LblHistory->setText(any ? QString() : QString("No pass is kept."));
  BtHistoryLoad->setEnabled(any);
  if (any) LstHistory->setCurrentIndex(HistoryModel->index(select, 0));
}

void THistoryWindow::ChooseCurrent() {
  const QModelIndex current = LstHistory->currentIndex();
  if (!current.isValid() || static_cast<std::size_t>(current.row()) >= Entries_.size() || !Chosen) return;
  Chosen(Entries_, static_cast<std::size_t>(current.row()));
}

}  // namespace vt
