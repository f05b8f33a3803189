// One application object for every widget test, on the offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

#include "support/QtThreadSanitizer.h"

namespace {

class QtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    App_ = std::make_unique<QApplication>(Argc_, Argv_);
  }
  void TearDown() override { App_.reset(); }

 private:
  int Argc_ = 1;
  char Name_[16] = "browse_tests";
  char* Argv_[2] = {Name_, nullptr};
  std::unique_ptr<QApplication> App_;
};

[[maybe_unused]] ::testing::Environment* const kQt = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace

extern "C" const char* __tsan_default_suppressions() { return vt::test::kQtThreadSanitizerSuppressions; }
