#include "UiTestApp.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QWidget>
#include <memory>

#include "support/QtThreadSanitizer.h"
#include "ui/Startup.h"

namespace vt::test {
namespace {

QTemporaryDir& StateDir() {
  static QTemporaryDir dir;
  return dir;
}

class TApplicationEnvironment : public testing::Environment {
 public:
  void SetUp() override {
    qputenv("XDG_STATE_HOME", StateDir().path().toUtf8());
    // The preview switch is kept there: never the user's own.
    qputenv("XDG_CONFIG_HOME", StateDir().path().toUtf8());
    static int argc = 1;
    static char name[] = "ui_tests";
    static char* argv[] = {name, nullptr};
    App_ = std::make_unique<QApplication>(argc, argv);
    SetUpApplication(*App_);
  }
  void TearDown() override { App_.reset(); }

 private:
  std::unique_ptr<QApplication> App_;
};

[[maybe_unused]] testing::Environment* const kEnvironment =
    testing::AddGlobalTestEnvironment(new TApplicationEnvironment);

}  // namespace

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > limit.count()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 20);
  }
  return true;
}

QString StateHome() { return StateDir().path() + "/"; }

QString RecordsFolderForTests() { return StateHome() + "veltrane/"; }

QString NamedAncestor(const QWidget* w) {
  while (w && (w->objectName().isEmpty() || w->objectName().startsWith("qt_"))) w = w->parentWidget();
  return w ? w->objectName() : QString();
}

}  // namespace vt::test

extern "C" const char* __tsan_default_suppressions() { return vt::test::kQtThreadSanitizerSuppressions; }
