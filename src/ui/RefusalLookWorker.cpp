#include "ui/RefusalLookWorker.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>
#include <utility>

namespace vt {
namespace {

// A look that ends this soon keeps the window waiting no longer than a click does.
constexpr std::chrono::milliseconds kQuickLook{100};
// How often the window looks in on the worker, and counts in the status bar.
constexpr std::chrono::milliseconds kLookTick{40};

bool IsInput(QEvent::Type type) {
  switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd: return true;
    default: return false;
  }
}

}  // namespace

TRefusalLookWorker::TRefusalLookWorker(TLookWindow window) : Window_(std::move(window)) {}

TRefusalLookWorker::~TRefusalLookWorker() {
  Stopped_.store(true);
  if (Worker_.joinable()) Worker_.join();
}

void TRefusalLookWorker::Stop() { Stopped_.store(true); }

bool TRefusalLookWorker::WaitFor(std::chrono::milliseconds limit) {
  std::unique_lock lock(Mutex_);
  return Ended_.wait_for(lock, limit, [this] { return Done_; });
}

std::optional<TVolumeRefusals> TRefusalLookWorker::Run(TRefusalFinder find) {
  Worker_ = std::jthread([this, find = std::move(find)] {
    std::optional<TVolumeRefusals> found = find([this] { return Stopped_.load(); }, Files_);
    {
      const std::lock_guard lock(Mutex_);
      Found_ = std::move(found);
      Done_ = true;
    }
    Ended_.notify_all();
  });
  if (!WaitFor(kQuickLook)) {
    QApplication::setOverrideCursor(Qt::BusyCursor);  // busy, and Stop can still be clicked
    const QMetaObject::Connection stopping = connect(&Window_.Stop, &QAction::triggered, this, [this] { Stop(); });
    qApp->installEventFilter(this);
    QEventLoop loop;
    QTimer tick;
    tick.setInterval(kLookTick);
    connect(&tick, &QTimer::timeout, &loop, [this, &loop] {
      if (WaitFor(std::chrono::milliseconds(0))) {
        loop.quit();
        return;
      }
      if (!Stopped_.load())
        Window_.Status(QStringLiteral("Looking for new names the volume refuses: %1 files\u2026")
                           .arg(Files_.load(std::memory_order_relaxed)));
    });
    tick.start();
    loop.exec();
    // The program is ending: its loops all return, the look goes with them.
    if (!WaitFor(std::chrono::milliseconds(0))) Stop();
    qApp->removeEventFilter(this);
    disconnect(stopping);
    QApplication::restoreOverrideCursor();
    Window_.Status(QString());
  }
  Worker_.join();
  const std::lock_guard lock(Mutex_);
  if (Stopped_.load()) return std::nullopt;
  return std::move(Found_);
}

bool TRefusalLookWorker::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  // Closing ends the look and goes on.
  if (type == QEvent::Close && watched == &Window_.Window) {
    Stop();
    return false;
  }
  if (!IsInput(type) || !watched->isWidgetType()) return false;
  if (type == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
    Stop();
    return true;
  }
  const auto* widget = static_cast<QWidget*>(watched);
  if (const auto* button = qobject_cast<const QAbstractButton*>(widget);
      button != nullptr && button->objectName() == QLatin1String("BtCancel") && button->window() == &Window_.Window)
    return false;
  // A shortcut taken here triggers nothing.
  if (type == QEvent::ShortcutOverride) event->accept();
  return true;
}

}  // namespace vt
