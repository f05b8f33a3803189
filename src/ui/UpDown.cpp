#include "ui/UpDown.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace vt {
namespace {

QToolButton* MakeArrow(QWidget* parent, Qt::ArrowType arrow) {
  auto* button = new QToolButton(parent);
  button->setArrowType(arrow);
  button->setFocusPolicy(Qt::NoFocus);
  button->setAutoRepeat(true);
  button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  button->setMinimumSize(1, 1);
  return button;
}

}  // namespace

TUpDown::TUpDown(QWidget* parent) : QWidget(parent) {
  setFocusPolicy(Qt::NoFocus);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  Up_ = MakeArrow(this, Qt::UpArrow);
  Down_ = MakeArrow(this, Qt::DownArrow);
  layout->addWidget(Up_);
  layout->addWidget(Down_);
  connect(Up_, &QToolButton::clicked, this, [this] { Step(1); });
  connect(Down_, &QToolButton::clicked, this, [this] { Step(-1); });
}

void TUpDown::SetAssociate(QLineEdit* edit) {
  if (Associate_) Associate_->removeEventFilter(this);
  Associate_ = edit;
  if (Associate_) {
    Associate_->installEventFilter(this);
    WriteAssociate();
  }
}

void TUpDown::SetRange(int min, int max) {
  Min_ = min;
  Max_ = std::max(min, max);
  SetPosition(std::clamp(Position_, Min_, Max_));
}

void TUpDown::SetPosition(int position) {
  const int clamped = std::clamp(position, Min_, Max_);
  const bool changed = clamped != Position_;
  Position_ = clamped;
  WriteAssociate();
  if (changed) emit PositionChanged(Position_);
}

void TUpDown::Step(int delta) {
  ReadAssociate();
  SetPosition(Position_ + delta);
}

std::optional<int> TUpDown::AssociateValue() const {
  if (!Associate_) return std::nullopt;
  // The text may hold the locale's thousands separators the arrows wrote.
  QString text = Associate_->text().trimmed();
  text.remove(QLocale().groupSeparator());
  bool ok = false;
  const int value = text.toInt(&ok);
  if (!ok) return std::nullopt;
  return std::clamp(value, Min_, Max_);
}

int TUpDown::Position() const { return AssociateValue().value_or(Position_); }

void TUpDown::ReadAssociate() {
  if (const std::optional<int> value = AssociateValue()) Position_ = *value;
}

void TUpDown::WriteAssociate() {
  if (!Associate_) return;
  const QString text = QLocale().toString(Position_);
  if (Associate_->text() != text) Associate_->setText(text);
}

bool TUpDown::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Associate_ && event->type() == QEvent::KeyPress && isEnabled()) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
      Step(key == Qt::Key_Up ? 1 : -1);
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace vt
