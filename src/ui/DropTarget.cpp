#include "ui/DropTarget.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <string>
#include <vector>

#include "passes/RunControl.h"
#include "ui/Form1.h"
#include "ui/NameBytes.h"
#include "ui/OpenPaths.h"

namespace vt {

namespace {

// Local paths of the drop; empty when anything else is dropped.
std::vector<std::string> DroppedPaths(const QMimeData* data) {
  std::vector<std::string> paths;
  if (data == nullptr || !data->hasUrls()) return paths;
  for (const QUrl& url : data->urls()) {
    if (!url.isLocalFile()) return {};
    paths.push_back(NameBytes(url.toLocalFile()));
  }
  return paths;
}

}  // namespace

TDropTarget::TDropTarget(TForm1& form) : QObject(&form), Form_(form) {
  Form_.setAcceptDrops(true);
  Form_.installEventFilter(this);
}

bool TDropTarget::eventFilter(QObject* watched, QEvent* event) {
  if (watched != &Form_) return false;
  const bool enter = event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove;
  if (!enter && event->type() != QEvent::Drop) return false;
  auto* drop = static_cast<QDropEvent*>(event);
  // While a pass runs, its folder and masks stay as they are.
  const std::vector<std::string> paths =
      Form_.RunControl().PassAlive() ? std::vector<std::string>{} : DroppedPaths(drop->mimeData());
  if (paths.empty()) {
    drop->ignore();
    return true;
  }
  drop->setDropAction(Qt::CopyAction);
  drop->accept();
  // Opened once the drop is over: a box it may show must not hold the file manager's drag.
  if (event->type() == QEvent::Drop) QTimer::singleShot(0, &Form_, [form = &Form_, paths] { OpenPaths(*form, paths); });
  return true;
}

}  // namespace vt
