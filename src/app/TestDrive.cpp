#include "app/TestDrive.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

#include "passes/RunControl.h"
#include "ui/Form1.h"

namespace vt {
namespace {

constexpr int kPollMs = 10;
constexpr int kCouldNot = 3;

template <class T>
T* Control(TForm1& form, const char* name) {
  return form.findChild<T*>(QString::fromLatin1(name));
}

void Say(const std::string& text) {
  std::fprintf(stderr, "veltrane: %s\n", text.c_str());
  std::fflush(stderr);
}

void Leave(const std::string& why, int status) {
  Say(why);
  QCoreApplication::exit(status);
}

// Calls step every poll until it returns true.
void PollUntil(TForm1& form, std::function<bool()> step) {
  auto* timer = new QTimer(&form);
  timer->setInterval(kPollMs);
  QObject::connect(timer, &QTimer::timeout, timer, [timer, step = std::move(step)] {
    if (step()) timer->deleteLater();
  });
  timer->start();
}

void DriveRename(TForm1& form, const QString& search, const QString& replace) {
  Control<QListWidget>(form, "LstBoxActions")->setCurrentRow(0);  // Search/Replace
  Control<QLineEdit>(form, "EdSearchFor")->setText(search);
  Control<QLineEdit>(form, "EdReplaceWith")->setText(replace);
  Control<QPushButton>(form, "BtRename")->click();
  if (!form.RunControl().PassAlive()) return Leave("rename not started", kCouldNot);
  Say("rename started");
  auto clock = std::make_shared<QElapsedTimer>();
  clock->start();
  auto firstRows = std::make_shared<qint64>(-1);
  PollUntil(form, [&form, clock, firstRows] {
    if (*firstRows < 0 && form.ResultTable().RowCount() > 0) {
      *firstRows = clock->elapsed();
      Say("rows coming in");
    }
    if (form.RunControl().PassAlive()) return false;
    Leave("rename ended after " + std::to_string(clock->elapsed()) + " ms, " +
              std::to_string(clock->elapsed() - std::max<qint64>(*firstRows, 0)) + " ms after its first rows",
          0);
    return true;
  });
}

QAbstractButton* YesOf(QWidget* modal) {
  auto* box = qobject_cast<QMessageBox*>(modal);
  if (!box) return nullptr;
  for (QAbstractButton* button : box->buttons())
    if (button->text() == "&Yes") return button;
  return nullptr;
}

void DriveRecover(TForm1& form) {
  // Start-up asks its question from the event loop, ahead of this poll.
  auto answered = std::make_shared<bool>(false);
  auto started = std::make_shared<bool>(false);
  PollUntil(form, [&form, answered, started] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      if (QAbstractButton* yes = *answered ? nullptr : YesOf(modal)) {
        *answered = true;
        yes->click();
      }
      return false;
    }
    if (!*answered) {
      Leave("no unfinished pass was offered", kCouldNot);
      return true;
    }
    if (!*started) {
      auto* undo = Control<QToolButton>(form, "SpBtUndo");
      if (!undo->isEnabled()) {
        Leave("Recover is not enabled", kCouldNot);
        return true;
      }
      *started = true;
      undo->click();
      return false;
    }
    if (form.RunControl().PassAlive()) return false;
    Leave("recover ended: " + std::to_string(form.ResultTable().RowCount()) + " rows", 0);
    return true;
  });
}

}  // namespace

bool StartTestDrive(TForm1& form) {
  const char* value = std::getenv("VELTRANE_TEST_DRIVE");
  if (value == nullptr) return false;
  const QStringList parts = QString::fromUtf8(value).split(':');
  if (parts.value(0) == "rename" && parts.size() == 3) {
    QTimer::singleShot(0, &form, [&form, parts] { DriveRename(form, parts[1], parts[2]); });
    return true;
  }
  if (parts.value(0) == "recover") {
    QTimer::singleShot(0, &form, [&form] { DriveRecover(form); });
    return true;
  }
  Say("VELTRANE_TEST_DRIVE: unknown drive " + std::string(value));
  return false;
}

}  // namespace vt
