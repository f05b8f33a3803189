#pragma once
// The arrows of a spin field. The value of the pair is the number in the edit
// box; the arrows read it from there, step by one within their limits (no
// wrap-around) and write the new value back. The Up and Down keys in the edit
// box step it too.
#include <QWidget>
#include <optional>

class QLineEdit;
class QToolButton;

namespace vt {

class TUpDown : public QWidget {
  Q_OBJECT
 public:
  explicit TUpDown(QWidget* parent = nullptr);

  void SetAssociate(QLineEdit* edit);
  QLineEdit* Associate() const { return Associate_; }
  void SetRange(int min, int max);
  int Min() const { return Min_; }
  int Max() const { return Max_; }
  // Writes the value into the edit box.
  void SetPosition(int position);
  // The number the edit box shows (typed or written), within the limits; the
  // last position when its text is no number.
  int Position() const;
  // What a click on an arrow does: +1 for up, -1 for down.
  void Step(int delta);

 signals:
  void PositionChanged(int position);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ReadAssociate();
  std::optional<int> AssociateValue() const;
  void WriteAssociate();

  QLineEdit* Associate_ = nullptr;
  QToolButton* Up_ = nullptr;
  QToolButton* Down_ = nullptr;
  int Min_ = 0;
  int Max_ = 100;
  int Position_ = 0;
};

}  // namespace vt
