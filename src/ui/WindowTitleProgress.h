#pragma once
// While a pass runs, the window's title counts the rows listed so far
// ("Veltrane – 16,598 files"); it goes back to the bare title at the end.
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>

class QAbstractItemModel;
class QWidget;

namespace vt {

// The title for a count of rows, grouped as the locale groups numbers (a plain
// comma where the locale groups none, as in "C").
QString ProgressTitle(const QString& title, long long rows);

class TWindowTitleProgress : public QObject {
 public:
  // window's title is kept; passAlive says whether a pass has started and not ended.
  // commands are the buttons a pass disables at its start and enables at its end.
  TWindowTitleProgress(QWidget& window, QAbstractItemModel& rows, std::function<bool()> passAlive,
                       std::initializer_list<QWidget*> commands);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void RowsArrived();
  void Update();

  QWidget& Window_;
  QAbstractItemModel& Rows_;
  std::function<bool()> PassAlive_;
  QString Title_;
  bool UpdatePending_ = false;
  // While the title counts, it looks again now and then: a pass may end without a last row.
  QTimer Watch_;
};

}  // namespace vt
