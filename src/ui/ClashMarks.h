#pragma once
// The clashes of a simulation in the result list: a row whose new name another
// row of its folder also gets, or that an existing entry already has, carries a
// tooltip naming the other row or the entry and a mark in its Status cell (the
// text stays). Status panel 1 gives their number.
#include <QHash>
#include <QString>
#include <QStyledItemDelegate>
#include <functional>
#include <vector>

#include "passes/SimulationClashes.h"

class QTableView;

namespace vt {

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
  // Tooltips without a mark: why a row failed.
  void SetNotes(const QHash<int, QString>& notes);
  void Clear();
  int Count() const { return int(Tips_.size()); }
  // Empty for a row without a mark or a note.
  QString TipOf(int row) const { return Tips_.contains(row) ? Tips_.value(row) : Notes_.value(row); }

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
};

// Marks the clashes once a pass has ended on its own ("Process Ok." in panel 0,
// nothing in panel 1, so not stopped), looking when the commands come back, and
// counts them in panel 1; else it counts the rows that failed ("3 errors"). The
// failed rows' reasons show as tooltips after any pass. Clears all of it when
// anything else happens to the commands.
class TClashMarksWatch : public QObject {
 public:
  TClashMarksWatch(TClashMarks& marks, const TResultTable& table, TClashMarksWindow window,
                   std::initializer_list<QWidget*> commands);

  // A look is due or under way: the marks and the count are not settled yet.
  bool Busy() const { return Pending_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Look();
  bool EndedOnItsOwn() const;

  TClashMarks& Marks_;
  const TResultTable& Table_;
  TClashMarksWindow Window_;
  std::vector<QWidget*> Commands_;
  QString CountText_;  // what this watch put in panel 1
  bool Pending_ = false;
};

}  // namespace vt
