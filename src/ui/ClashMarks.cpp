#include "ui/ClashMarks.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QEvent>
#include <QHelpEvent>
#include <QPainter>
#include <QStyle>
#include <QTableView>
#include <QTimer>
#include <QToolTip>
#include <algorithm>
#include <cstdint>

#include "engine/Messages.h"
#include "engine/RenameStatus.h"
#include "passes/ResultTable.h"
#include "ui/ErrorReasons.h"
#include "ui/NameBytes.h"

namespace vt {

namespace {

QString Quoted(const std::string& name) { return QStringLiteral("\u201C%1\u201D").arg(NameText(name)); }

}  // namespace

std::vector<TClashMark> FindClashMarks(const TResultTable& table, const TNameTakenCheck& taken) {
  // The finder looks at the table's own names: copying them would cost a second
  // table at the end of a pass.
  std::vector<std::uint32_t> renames;
  for (std::size_t i = 0; i < table.RowCount(); ++i)
    if (table.Row(i).KnownStatus() == TRenameStatus::rsCanBeRenamed) renames.push_back(std::uint32_t(i));
  const TClashFinder finder(
      std::move(renames),
      [&table](std::size_t i) {
        const TResultRow& row = table.Row(i);
        return TRenameNames{row.Path(), row.OldName, row.NewName};
      },
      taken);
  std::vector<TClashMark> marks;
  for (const TRowClash& clash : finder.FindRows()) {
    const TResultRow& row = table.Row(clash.Row);
    const QString tip = clash.WithExisting ? QStringLiteral("%1 exists already in this folder").arg(Quoted(row.NewName))
                                           : QStringLiteral("%1 is also the new name of %2")
                                                 .arg(Quoted(row.NewName), Quoted(table.Row(clash.OtherRow).OldName));
    marks.push_back({int(clash.Row), tip});
  }
  return marks;
}

QString ClashCountText(std::size_t rows) {
  return rows == 1 ? QStringLiteral("1 new name clashes") : QStringLiteral("%1 new names clash").arg(rows);
}

TClashMarks::TClashMarks(QTableView& view, int statusColumn)
    : QStyledItemDelegate(&view), View_(view), StatusColumn_(statusColumn) {
  view.setItemDelegate(this);
}

void TClashMarks::SetMarks(const std::vector<TClashMark>& marks) {
  Tips_.clear();
  for (const TClashMark& mark : marks) Tips_.insert(mark.Row, mark.Tip);
  View_.viewport()->update();
}

void TClashMarks::SetNotes(const QHash<int, QString>& notes) { Notes_ = notes; }

void TClashMarks::Clear() {
  Notes_.clear();
  if (Tips_.isEmpty()) return;
  Tips_.clear();
  View_.viewport()->update();
}

void TClashMarks::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  QStyledItemDelegate::paint(painter, option, index);
  if (index.column() != StatusColumn_ || !Tips_.contains(index.row())) return;
  // A warning sign at the cell's right end, over the end of the text if need be.
  const int side = std::min(option.rect.height() - 2, 14);
  const QRect place(option.rect.right() - side - 2, option.rect.top() + (option.rect.height() - side) / 2, side, side);
  const QIcon warning = QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
  warning.paint(painter, place);
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
}

bool TClashMarksWatch::eventFilter(QObject* /*watched*/, QEvent* event) {
  if (event->type() == QEvent::EnabledChange && !Pending_) {
    // Looked at once the switch is over: the pass's end handler may still be running.
    Pending_ = true;
    QTimer::singleShot(0, this, &TClashMarksWatch::Look);
  }
  return false;
}

bool TClashMarksWatch::EndedOnItsOwn() const {
  const QString panel1 = Window_.PanelText(1);
  return !Window_.PassAlive() && Window_.PanelText(0) == QString::fromUtf8(Message(Msg::ProcessOk)) &&
         (panel1.isEmpty() || panel1 == CountText_);
}

void TClashMarksWatch::Look() {
  Pending_ = false;
  // The commands are back but the pass is not yet gone: look again shortly.
  const bool commandsBack =
      std::all_of(Commands_.begin(), Commands_.end(), [](const QWidget* command) { return command->isEnabled(); });
  if (commandsBack && Window_.PassAlive()) {
    Pending_ = true;
    QTimer::singleShot(10, this, &TClashMarksWatch::Look);
    return;
  }
  const bool ended = EndedOnItsOwn();
  const std::vector<TClashMark> marks = ended ? FindClashMarks(Table_) : std::vector<TClashMark>{};
  Marks_.SetMarks(marks);
  const QHash<int, QString> reasons =
      !Window_.PassAlive() && Window_.ErrorReasons ? Window_.ErrorReasons() : QHash<int, QString>{};
  Marks_.SetNotes(reasons);
  QString count;
  if (!marks.empty())
    count = ClashCountText(marks.size());
  else if (ended && !reasons.isEmpty())
    count = ErrorCountText(int(reasons.size()));
  // Panel 1 is changed only where it holds this watch's count or is to get one.
  if (count != CountText_ && (Window_.PanelText(1) == CountText_ || Window_.PanelText(1).isEmpty()))
    Window_.SetPanelText(1, count);
  CountText_ = count;
}

}  // namespace vt
