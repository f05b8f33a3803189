#pragma once
// Answers the modal windows a handler opens, one step per window in the order
// they come, and records what each showed. A window no step was left for is
// recorded and closed, so a test never hangs on it.
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <deque>
#include <functional>

class QAbstractButton;
class QMessageBox;

namespace vt::test {

class TModalScript {
 public:
  using TStep = std::function<void(QWidget* modal)>;

  TModalScript& Then(TStep step);
  // Runs action (which returns once its modal windows have closed).
  void Run(const std::function<void()>& action);

  // "title|text" of each message box, "dialog:<name>" of each other window.
  const QStringList& Seen() const { return Seen_; }
  int Unexpected() const { return Unexpected_; }
  bool Done() const { return Steps_.empty(); }

 private:
  void Poll();

  std::deque<TStep> Steps_;
  QStringList Seen_;
  QPointer<QWidget> Last_;  // the window answered last, while it is still shown
  int Unexpected_ = 0;
};

// A box's button by Qt's standard button, also where the box captions its own
// ("&Yes", "&No", "Cancel", "OK"); nullptr when it has none such.
QAbstractButton* ButtonOf(QMessageBox& box, int standardButton);

// Steps
TModalScript::TStep Press(int standardButton);        // a message box's button
TModalScript::TStep ChooseFile(const QString& path);  // a file dialog: type path, accept
TModalScript::TStep CancelDialog();                   // any dialog: reject

}  // namespace vt::test
