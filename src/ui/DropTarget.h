#pragma once
// Folders and files dropped on the window open as if named on the command line.
#include <QObject>

namespace vt {

class TForm1;

class TDropTarget : public QObject {
 public:
  // Makes the window accept drops; owned by the window.
  explicit TDropTarget(TForm1& form);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  TForm1& Form_;
};

}  // namespace vt
