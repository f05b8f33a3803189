#include "ui/ClashMarks.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QEvent>
#include <QHelpEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QTableView>
#include <QTimer>
#include <QToolTip>
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <limits>

#include "engine/Messages.h"
#include "passes/ResultTable.h"
#include "ui/ClashMarksLook.h"
#include "ui/ErrorReasons.h"

namespace vt {

std::vector<TClashMark> FindClashMarks(const TResultTable& table, const TNameTakenCheck& taken) {
  TClashMarksLook look(table, taken);
  look.Step(std::numeric_limits<std::size_t>::max());
  const QHash<int, QString> tips = look.TakeTips();
  std::vector<TClashMark> marks;
  marks.reserve(std::size_t(tips.size()));
  for (auto tip = tips.cbegin(); tip != tips.cend(); ++tip) marks.push_back({tip.key(), tip.value()});
  std::sort(marks.begin(), marks.end(), [](const TClashMark& a, const TClashMark& b) { return a.Row < b.Row; });
  return marks;
}

QString WaitingText(std::size_t renames) {
  return renames == 1 ? QStringLiteral("1 rename waits for another")
                      : QStringLiteral("%1 renames wait for each other").arg(renames);
}

QString ClashCountText(std::size_t rows) {
  return rows == 1 ? QStringLiteral("1 new name clashes") : QStringLiteral("%1 new names clash").arg(rows);
}

TClashMarks::TClashMarks(QTableView& view, int statusColumn)
    : QStyledItemDelegate(&view), View_(view), StatusColumn_(statusColumn) {
  view.setItemDelegate(this);
}

void TClashMarks::SetMarks(const std::vector<TClashMark>& marks) {
  QHash<int, QString> tips;
  for (const TClashMark& mark : marks) tips.insert(mark.Row, mark.Tip);
  SetTips(std::move(tips));
}

void TClashMarks::SetTips(QHash<int, QString> tips) {
  if (tips.isEmpty() && Tips_.isEmpty()) return;
  Tips_ = std::move(tips);
  View_.viewport()->update();
}

QAbstractItemModel* TClashMarks::Model() const { return View_.model(); }

void TClashMarks::SetNotes(const QHash<int, QString>& notes) { Notes_ = notes; }

void TClashMarks::Clear() {
  Notes_.clear();
  if (Tips_.isEmpty()) return;
  Tips_.clear();
  View_.viewport()->update();
}

// A Status column wider than the list runs on past the viewport's edge, and a
// style may lay its scroll bar over the viewport: the sign goes at the right
// end of what is seen of the cell, over the end of the text if need be.
QRect TClashMarks::MarkPlace(const QRect& cell) const {
  QRect seen = View_.viewport()->rect();
  const QScrollBar* bar = View_.verticalScrollBar();
  if (bar->isVisible()) {
    // The bar sits in a container of the view's own, beside the viewport or over it.
    const QRect barRect(View_.viewport()->mapFromGlobal(bar->mapToGlobal(QPoint(0, 0))), bar->size());
    if (barRect.intersects(seen)) seen.setRight(std::min(seen.right(), barRect.left() - 1));
  }
  const int right = std::min(cell.right(), seen.right());
  const int side = std::max(std::min(cell.height() - 2, 14), 1);
  const int left = std::max(right - side - 1, cell.left());
  return {left, cell.top() + (cell.height() - side) / 2, side, side};
}

void TClashMarks::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  QStyledItemDelegate::paint(painter, option, index);
  if (index.column() != StatusColumn_ || !Tips_.contains(index.row())) return;
  const QIcon warning = QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
  warning.paint(painter, MarkPlace(option.rect));
}

bool TClashMarks::helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                            const QModelIndex& index) {
  const QString tip = index.isValid() ? TipOf(index.row()) : QString();
  if (event->type() == QEvent::ToolTip && !tip.isEmpty()) {
    QToolTip::showText(event->globalPos(), tip, view);
    return true;
  }
  return QStyledItemDelegate::helpEvent(event, view, option, index);
}

TClashMarksWatch::TClashMarksWatch(TClashMarks& marks, const TResultTable& table, TClashMarksWindow window,
                                   std::initializer_list<QWidget*> commands)
    : QObject(&marks), Marks_(marks), Table_(table), Window_(std::move(window)), Commands_(commands) {
  setObjectName("ClashMarksWatch");
  for (QWidget* command : Commands_) command->installEventFilter(this);
  NextSlice_.setSingleShot(true);
  NextSlice_.setInterval(0);
  connect(&NextSlice_, &QTimer::timeout, this, &TClashMarksWatch::LookOn);
  if (QAbstractItemModel* model = marks.Model()) {
    connect(model, &QAbstractItemModel::modelReset, this, &TClashMarksWatch::TableChanged);
    connect(model, &QAbstractItemModel::rowsInserted, this, &TClashMarksWatch::TableChanged);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &TClashMarksWatch::TableChanged);
  }
}

TClashMarksWatch::~TClashMarksWatch() = default;

bool TClashMarksWatch::eventFilter(QObject* /*watched*/, QEvent* event) {
  if (event->type() == QEvent::EnabledChange) {
    // A look under way was for the commands as they were.
    Abandon();
    LookSoon();
  }
  return false;
}

// Looked at once the switch is over: the pass's end handler may still be running.
void TClashMarksWatch::LookSoon() {
  if (Pending_) return;
  Pending_ = true;
  QTimer::singleShot(0, this, &TClashMarksWatch::Look);
}

void TClashMarksWatch::Abandon() {
  NextSlice_.stop();
  Look_.reset();
}

void TClashMarksWatch::TableChanged() {
  // The look views the table's rows: it goes before it could read one that is gone.
  if (!Look_) return;
  Abandon();
  LookSoon();
}

bool TClashMarksWatch::EndedOnItsOwn() const {
  const QString panel1 = Window_.PanelText(1);
  return !Window_.PassAlive() && Window_.PanelText(0) == QString::fromUtf8(Message(Msg::ProcessOk)) &&
         (panel1.isEmpty() || panel1 == CountText_);
}

void TClashMarksWatch::Look() {
  Pending_ = false;
  Abandon();
  // The commands are back but the pass is not yet gone: look again shortly.
  const bool commandsBack =
      std::all_of(Commands_.begin(), Commands_.end(), [](const QWidget* command) { return command->isEnabled(); });
  if (commandsBack && Window_.PassAlive()) {
    Pending_ = true;
    QTimer::singleShot(10, this, &TClashMarksWatch::Look);
    return;
  }
  if (!EndedOnItsOwn()) {
    Settle({}, false);
    return;
  }
  // No marks of what was there before while the new ones are looked for.
  Marks_.SetTips({});
  Look_ = std::make_unique<TClashMarksLook>(Table_, TNameTakenCheck{},
                                            Window_.Order ? Window_.Order() : TClashOrder::Grouped);
  LookOn();
}

void TClashMarksWatch::LookOn() {
  if (!Look_) return;
  // About half a frame each, so that input and painting get their turn.
  constexpr auto kSlice = std::chrono::milliseconds(8);
  constexpr std::size_t kStepsBetweenClockReads = 64;
  bool done = false;
  if (StepsPerSlice_ > 0) {
    done = Look_->Step(StepsPerSlice_);
  } else {
    const auto until = std::chrono::steady_clock::now() + kSlice;
    do {
      done = Look_->Step(kStepsBetweenClockReads);
    } while (!done && std::chrono::steady_clock::now() < until);
  }
  if (!done) {
    NextSlice_.start();
    return;
  }
  QHash<int, QString> tips = Look_->TakeTips();
  const std::size_t waiting = Look_->Waiting();
  Look_.reset();
  Settle(std::move(tips), true, waiting);
}

void TClashMarksWatch::Settle(QHash<int, QString> tips, bool ended, std::size_t waiting) {
  const std::size_t marks = std::size_t(tips.size());
  Marks_.SetTips(std::move(tips));
  const QHash<int, QString> reasons =
      !Window_.PassAlive() && Window_.ErrorReasons ? Window_.ErrorReasons() : QHash<int, QString>{};
  Marks_.SetNotes(reasons);
  QString count;
  if (waiting > 0)
    count = WaitingText(waiting);
  else if (marks > 0)
    count = ClashCountText(marks);
  else if (ended && !reasons.isEmpty())
    count = ErrorCountText(int(reasons.size()));
  // Panel 1 is changed only where it holds this watch's count or is to get one.
  if (count != CountText_ && (Window_.PanelText(1) == CountText_ || Window_.PanelText(1).isEmpty())) {
    Window_.SetPanelText(1, count);
    if (Window_.SetPanelTip)
      Window_.SetPanelTip(1, waiting > 0 ? QStringLiteral("Their new names are the old names of other files of the "
                                                          "pass. Tick \u201CLet renames make room for each other\u201D "
                                                          "in the Execute menu and simulate again.")
                                         : QString());
  }
  CountText_ = count;
}

}  // namespace vt
