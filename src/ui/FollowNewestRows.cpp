#include "ui/FollowNewestRows.h"

#include <QAbstractItemView>
#include <QScrollBar>

namespace vt {

// Watched on the scroll bar, not on the model: the range also grows after the
// rows are in (a laid-out header, a horizontal bar that appears), and a list
// at its end must stay there then too.
TFollowNewestRows::TFollowNewestRows(QAbstractItemView& view) : QObject(&view) {
  QScrollBar* bar = view.verticalScrollBar();
  connect(bar, &QScrollBar::valueChanged, this, [this, bar](int value) { AtEnd_ = value == bar->maximum(); });
  connect(bar, &QScrollBar::rangeChanged, this, [this, bar](int, int maximum) {
    if (AtEnd_) bar->setValue(maximum);
  });
}

}  // namespace vt
