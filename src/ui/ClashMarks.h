#pragma once
// The clashes of a simulation in the result list: a row whose new name another
// row of its folder also gets, or that an existing entry already has, carries a
// tooltip naming the other row or the entry and a mark in its Status cell (the
// text stays). Status panel 1 gives their number.
#include <QHash>
#include <QString>
#include <QStyledItemDelegate>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

#include "passes/SimulationClashes.h"

class QTableView;

namespace vt {

class TClashMarksLook;
class TResultTable;

struct TClashMark {
  int Row = 0;
  QString Tip;
};

// The marks of a table's "Can be renamed" rows, in row order.
std::vector<TClashMark> FindClashMarks(const TResultTable& table, const TNameTakenCheck& taken = {});
// "12 new names clash", "1 new name clashes".
QString ClashCountText(std::size_t rows);

class TClashMarks : public QStyledItemDelegate {
 public:
  // Draws the rows of view; statusColumn gets the marks.
  TClashMarks(QTableView& view, int statusColumn);

  void SetMarks(const std::vector<TClashMark>& marks);
  // The same, by row.
  void SetTips(QHash<int, QString> tips);
  // Tooltips without a mark: why a row failed.
  void SetNotes(const QHash<int, QString>& notes);
  void Clear();
  int Count() const { return int(Tips_.size()); }
  // Empty for a row without a mark or a note.
  QString TipOf(int row) const { return Tips_.contains(row) ? Tips_.value(row) : Notes_.value(row); }
  QAbstractItemModel* Model() const;
  // Where the mark of a Status cell at cell (viewport coordinates) is drawn:
  // at the right end of the part of the cell in view, clear of the scroll bar.
  QRect MarkPlace(const QRect& cell) const;

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                 const QModelIndex& index) override;

 private:
  QTableView& View_;
  int StatusColumn_;
  QHash<int, QString> Tips_;
  QHash<int, QString> Notes_;
};

// What the watch needs of the window.
struct TClashMarksWindow {
  std::function<bool()> PassAlive;
  // Why rows failed, by row; empty when the window keeps no reasons.
  std::function<QHash<int, QString>()> ErrorReasons;
  std::function<QString(int panel)> PanelText;
  std::function<void(int panel, const QString& text)> SetPanelText;
  // The order of the last pass's renames; unset: each on its own.
  std::function<TClashOrder()> Order;
  std::function<void(int panel, const QString& tip)> SetPanelTip;
};

// "1 rename waits for another", "12 renames wait for each other".
QString WaitingText(std::size_t renames);

// Marks the clashes once a pass has ended on its own ("Process Ok." in panel 0,
// nothing in panel 1, so not stopped), looking when the commands come back, and
// counts them in panel 1, or the renames that wait for each other where the
// pass did not let them make room (panel 1's tooltip names the option that
// does); else it counts the rows that failed ("3 errors"). The
// failed rows' reasons show as tooltips after any pass. Clears all of it when
// anything else happens to the commands.
// The look goes a slice at a time between the window's other events; when the
// commands or the table change meanwhile, it is dropped and looked at afresh.
class TClashMarksWatch : public QObject {
 public:
  TClashMarksWatch(TClashMarks& marks, const TResultTable& table, TClashMarksWindow window,
                   std::initializer_list<QWidget*> commands);
  ~TClashMarksWatch() override;

  // A look is due or under way: the marks and the count are not settled yet.
  bool Busy() const { return Pending_ || Look_ != nullptr; }
  // For tests: a slice does this many steps, however long they take; 0 (the
  // default) slices by time.
  void SetStepsPerSlice(std::size_t steps) { StepsPerSlice_ = steps; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void LookSoon();
  void Look();
  void LookOn();
  void Abandon();
  void TableChanged();
  void Settle(QHash<int, QString> tips, bool ended, std::size_t waiting = 0);
  bool EndedOnItsOwn() const;

  TClashMarks& Marks_;
  const TResultTable& Table_;
  TClashMarksWindow Window_;
  std::vector<QWidget*> Commands_;
  QString CountText_;  // what this watch put in panel 1
  bool Pending_ = false;
  std::unique_ptr<TClashMarksLook> Look_;
  QTimer NextSlice_;
  std::size_t StepsPerSlice_ = 0;
};

}  // namespace vt
