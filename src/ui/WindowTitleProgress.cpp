#include "ui/WindowTitleProgress.h"

#include <QAbstractItemModel>
#include <QEvent>
#include <QLocale>
#include <QTimer>
#include <QWidget>

namespace vt {

QString ProgressTitle(const QString& title, long long rows) {
  QLocale locale;
  if (locale.numberOptions().testFlag(QLocale::OmitGroupSeparator) || locale.groupSeparator().isEmpty()) {
    locale = QLocale(QLocale::English);
    locale.setNumberOptions(QLocale::DefaultNumberOptions);
  }
  return QStringLiteral("%1 \u2013 %2 %3").arg(title, locale.toString(rows), rows == 1 ? "file" : "files");
}

TWindowTitleProgress::TWindowTitleProgress(QWidget& window, QAbstractItemModel& rows, std::function<bool()> passAlive,
                                           std::initializer_list<QWidget*> commands)
    : QObject(&window), Window_(window), Rows_(rows), PassAlive_(std::move(passAlive)), Title_(window.windowTitle()) {
  connect(&Rows_, &QAbstractItemModel::rowsInserted, this, &TWindowTitleProgress::RowsArrived);
  for (QWidget* command : commands) command->installEventFilter(this);
  Watch_.setInterval(250);
  connect(&Watch_, &QTimer::timeout, this, &TWindowTitleProgress::Update);
}

bool TWindowTitleProgress::eventFilter(QObject* /*watched*/, QEvent* event) {
  // A pass starts and ends by switching its commands; its owner may mark it
  // ended only after that, so look once the switch is over.
  if (event->type() == QEvent::EnabledChange) RowsArrived();
  return false;
}

// Rows come in bursts: the title changes at most once per turn of the event loop.
void TWindowTitleProgress::RowsArrived() {
  if (UpdatePending_) return;
  UpdatePending_ = true;
  QTimer::singleShot(0, this, &TWindowTitleProgress::Update);
}

void TWindowTitleProgress::Update() {
  UpdatePending_ = false;
  const bool alive = PassAlive_();
  Window_.setWindowTitle(alive ? ProgressTitle(Title_, Rows_.rowCount()) : Title_);
  if (alive && !Watch_.isActive()) Watch_.start();
  if (!alive) Watch_.stop();
}

}  // namespace vt
